// The fast road through a TIFF file: the layouts that scanners write
// (stripped, samples interleaved; bi-level, grey, palette, RGB and CMYK of
// 1 to 16 bits, with or without alpha; JPEG-compressed YCbCr too) are read
// one scanline at a time with TIFFReadScanline and turned into RGB rows.
#ifndef SHIFRODEL_IMAGING_TIFF_SCANLINE_DECODER_H_
#define SHIFRODEL_IMAGING_TIFF_SCANLINE_DECODER_H_

#include <memory>

#include "imaging/image_decoder.h"
#include "imaging/tiff_file.h"

namespace shifrodel {

// Takes the file when its first image has one of those layouts; otherwise
// returns nullptr and leaves `file` as it was.
std::unique_ptr<ImageDecoder> OpenTiffScanlineDecoder(std::unique_ptr<TiffFile>& file,
                                                      const ImageHeader& header);

}  // namespace shifrodel

#endif  // SHIFRODEL_IMAGING_TIFF_SCANLINE_DECODER_H_
