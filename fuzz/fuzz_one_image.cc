#include "fuzz_one_image.h"

#include <algorithm>
#include <string_view>
#include <vector>

#include "imaging/convert.h"
#include "imaging/memory_file.h"

namespace shifrodel {
namespace {

// Reads rows until the budget, the image or a failure ends.
void DrainRows(ImageDecoder& decoder, std::uint64_t row_samples) {
  const ImageHeader& header = decoder.header();
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

}  // namespace

void FuzzOneImage(const std::uint8_t* data, std::size_t size, SourceFormat format,
                  OpenDecoderFn open) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  MemoryFile file(bytes);
  const std::unique_ptr<ImageDecoder> decoder = open(file);
  if (!decoder) return;
  const ImageHeader& header = decoder->header();
  const std::uint64_t row_samples =
      std::uint64_t{header.width} * static_cast<std::uint64_t>(ChannelCount(header.format));
  if (row_samples == 0 || header.height == 0) __builtin_trap();
  if (row_samples > kFuzzSampleBudget) return;
  DrainRows(*decoder, row_samples);
  if (row_samples * header.height > kFuzzSampleBudget) return;
  MemoryFile again(bytes);
  const int quality = static_cast<int>(size % 100) + 1;
  ConvertToJpeg(again, format, quality, [] {});
}

}  // namespace shifrodel
