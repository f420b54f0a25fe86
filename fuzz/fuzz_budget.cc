#include "fuzz_budget.h"

#include <algorithm>
#include <vector>

namespace shifrodel {

void DrainRows(ImageDecoder& decoder) {
  const ImageHeader& header = decoder.header();
  const std::uint64_t row_samples =
      std::uint64_t{header.width} * static_cast<std::uint64_t>(ChannelCount(header.format));
  if (row_samples == 0 || header.height == 0) __builtin_trap();
  if (row_samples > kFuzzSampleBudget) return;
  const std::uint64_t rows =
      std::min<std::uint64_t>(header.height, kFuzzSampleBudget / row_samples);
  std::vector<std::uint8_t> out(static_cast<std::size_t>(row_samples * 3));  // three rows
  std::uint64_t done = 0;
  for (std::uint32_t batch = 1; done < rows; batch = batch % 3 + 1) {
    const auto count = static_cast<std::uint32_t>(std::min<std::uint64_t>(batch, rows - done));
    if (!decoder.ReadRows(out.data(), count)) return;
    done += count;
  }
  if (done == header.height && decoder.ReadRows(out.data(), 1)) __builtin_trap();
}

}  // namespace shifrodel
