// Turns the rows of a decoder as a TIFF Orientation tag asks (1 to 8), so
// that the written image stands as it should. A mirrored row is turned on
// the fly; a flip or a rotation needs the whole image, which is then held
// in memory (up to kMaxOrientedBytes).
#ifndef SHIFRODEL_IMAGING_ORIENTED_DECODER_H_
#define SHIFRODEL_IMAGING_ORIENTED_DECODER_H_

#include <cstdint>
#include <memory>

#include "imaging/image_decoder.h"

namespace shifrodel {

inline constexpr std::uint64_t kMaxOrientedBytes = std::uint64_t{1} << 30;

// The source itself for orientation 1; nullptr when the image would need
// more memory than kMaxOrientedBytes.
std::unique_ptr<ImageDecoder> OrientDecoder(std::unique_ptr<ImageDecoder> source, int orientation);

}  // namespace shifrodel

#endif  // SHIFRODEL_IMAGING_ORIENTED_DECODER_H_
