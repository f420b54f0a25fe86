// The JPEG decoder (libjpeg), scanline by scanline. Besides the rows it
// tells how the source was coded, since a JPEG source keeps its colour
// model, its progressive or sequential coding and its metadata.
#ifndef SHIFRODEL_IMAGING_JPEG_DECODER_H_
#define SHIFRODEL_IMAGING_JPEG_DECODER_H_

#include <memory>
#include <vector>

#include "imaging/image_decoder.h"
#include "imaging/jpeg_settings.h"
#include "platform/file_system.h"

namespace shifrodel {

class JpegDecoder : public ImageDecoder {
 public:
  virtual JpegColourModel colour_model() const = 0;
  virtual bool progressive() const = 0;
  // The application segments and comments to carry over, in file order:
  // all but the JFIF header and the Adobe segment, which the encoder
  // writes itself.
  virtual const std::vector<JpegMarker>& markers() const = 0;
};

// Reads the header; nullptr when the file is not a JPEG image that can be
// decoded (12-bit and lossless files are not), or its header is damaged.
// Rows of a grey-scale image come as grey, of a CMYK or YCCK image as CMYK
// and of any other as RGB. Damaged or truncated data make ReadRows fail.
std::unique_ptr<JpegDecoder> OpenJpegDecoder(File& file);

}  // namespace shifrodel

#endif  // SHIFRODEL_IMAGING_JPEG_DECODER_H_
