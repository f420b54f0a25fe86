// Our own BMP reader: OS/2 and Windows headers up to version 5, 1 to 32 bits
// per pixel, palettes, bit-field masks, RLE8 and RLE4. Grey palettes come out
// as kGrey8, everything else as kRgb8 with alpha laid over white.
#ifndef SHIFRODEL_IMAGING_BMP_DECODER_H_
#define SHIFRODEL_IMAGING_BMP_DECODER_H_

#include <memory>

#include "imaging/image_decoder.h"
#include "platform/file_system.h"

namespace shifrodel {

// A decoder reading `file`, which must stay open while it is used; nullptr
// when the file is not a BMP image that this reader decodes (see
// ReadBmpLayout). Uncompressed rows are read by seeking, so only one row is
// held at a time; run-length coded images keep a small table of row starts.
std::unique_ptr<ImageDecoder> OpenBmpDecoder(File& file);

}  // namespace shifrodel

#endif  // SHIFRODEL_IMAGING_BMP_DECODER_H_
