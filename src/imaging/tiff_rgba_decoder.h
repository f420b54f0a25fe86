// The general road through a TIFF file: libtiff's RGBA interface, for every
// layout that it reads and the scanline road does not take (tiles, planes
// stored apart, subsampled YCbCr, old-style JPEG, CIE Lab, LogLuv...). It
// decodes one strip or one row of tiles at a time.
#ifndef SHIFRODEL_IMAGING_TIFF_RGBA_DECODER_H_
#define SHIFRODEL_IMAGING_TIFF_RGBA_DECODER_H_

#include <memory>

#include "imaging/image_decoder.h"
#include "imaging/tiff_file.h"

namespace shifrodel {

// Takes the file; nullptr when libtiff cannot read its first image as RGBA
// or one band of it would not fit in memory.
std::unique_ptr<ImageDecoder> OpenTiffRgbaDecoder(std::unique_ptr<TiffFile> file,
                                                  const ImageHeader& header);

}  // namespace shifrodel

#endif  // SHIFRODEL_IMAGING_TIFF_RGBA_DECODER_H_
