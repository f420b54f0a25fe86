// What every fuzz target does with one input: the format's decoder opens it
// and is driven row by row in uneven batches, and an image within the budget
// then goes through the whole conversion to JPEG. A few bytes may declare a
// vast image (a blank run-length page, a deflate bomb), so the work per input
// is capped rather than left to time out.
#ifndef SHIFRODEL_FUZZ_FUZZ_ONE_IMAGE_H_
#define SHIFRODEL_FUZZ_FUZZ_ONE_IMAGE_H_

#include <cstddef>
#include <cstdint>
#include <memory>

#include "imaging/image_decoder.h"
#include "imaging/source_format.h"
#include "platform/file_system.h"

namespace shifrodel {

// Output samples decoded per input at most.
constexpr std::uint64_t kFuzzSampleBudget = 256u << 10;

using OpenDecoderFn = std::unique_ptr<ImageDecoder> (*)(File&);

// Traps when a decoder breaks its contract: an empty image, or a read past
// the last row that succeeds.
void FuzzOneImage(const std::uint8_t* data, std::size_t size, SourceFormat format,
                  OpenDecoderFn open);

}  // namespace shifrodel

#endif  // SHIFRODEL_FUZZ_FUZZ_ONE_IMAGE_H_
