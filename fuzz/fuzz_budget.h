// The fuzz targets' limit on decoding work: a few bytes may declare a vast
// image (a blank run-length page, say), so the rows read from one input are
// capped, and the decoder is driven in uneven batches to reach its edges.
#ifndef SHIFRODEL_FUZZ_FUZZ_BUDGET_H_
#define SHIFRODEL_FUZZ_FUZZ_BUDGET_H_

#include <cstdint>

#include "imaging/image_decoder.h"

namespace shifrodel {

// Output samples decoded per input at most.
constexpr std::uint64_t kFuzzSampleBudget = 256u << 10;

// Reads rows of `decoder` until the budget, the image or a failure ends.
// Traps when a read past the last row succeeds, which no decoder may allow.
void DrainRows(ImageDecoder& decoder);

}  // namespace shifrodel

#endif  // SHIFRODEL_FUZZ_FUZZ_BUDGET_H_
