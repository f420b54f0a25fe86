// The JPEG encoder: pulls rows from a decoder and writes them with the
// layer's settings (libjpeg quality scaling limited to baseline values,
// standard Huffman tables, accurate integer DCT, no smoothing, 2x2 chroma
// subsampling for YCbCr) into a file in memory.
#ifndef SHIFRODEL_IMAGING_JPEG_ENCODER_H_
#define SHIFRODEL_IMAGING_JPEG_ENCODER_H_

#include <optional>
#include <string>

#include "imaging/image_decoder.h"
#include "imaging/jpeg_converter.h"
#include "imaging/jpeg_settings.h"

namespace shifrodel {

// The encoded file, or nullopt when the decoder fails or the image cannot
// be encoded (a size of 0 or over 65500 pixels). Rows of another pixel
// format than the colour model needs are converted: grey and CMYK to RGB.
// `progress`, when set, is called after every quarter megapixel or so.
std::optional<std::string> EncodeJpeg(ImageDecoder& source, const JpegSettings& settings,
                                      const ProgressFn& progress);

// How many pixels go by between two calls of the progress function.
inline constexpr std::uint64_t kProgressPixels = std::uint64_t{1} << 18;

}  // namespace shifrodel

#endif  // SHIFRODEL_IMAGING_JPEG_ENCODER_H_
