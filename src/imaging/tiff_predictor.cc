#include "imaging/tiff_predictor.h"

#include <algorithm>
#include <bit>
#include <cstring>

namespace shifrodel {
namespace {

constexpr int kSampleFormatUint = 1;
constexpr int kSampleFormatInt = 2;
constexpr int kSampleFormatFloat = 3;

void DifferenceBytes(std::uint8_t* row, std::size_t size, std::size_t stride) {
  for (std::size_t i = size; i-- > stride;)
    row[i] = static_cast<std::uint8_t>(row[i] - row[i - stride]);
}

void DifferenceWords(std::uint8_t* row, std::size_t size, std::size_t stride, bool swap) {
  const std::size_t count = size / 2;
  for (std::size_t i = count; i-- > stride;) {
    std::uint16_t a, b;
    std::memcpy(&a, row + 2 * i, 2);
    std::memcpy(&b, row + 2 * (i - stride), 2);
    a = static_cast<std::uint16_t>(a - b);
    if (swap) a = static_cast<std::uint16_t>((a << 8) | (a >> 8));
    std::memcpy(row + 2 * i, &a, 2);
  }
  if (swap) {
    for (std::size_t i = 0; i < std::min(stride, count); ++i) std::swap(row[2 * i], row[2 * i + 1]);
  }
}

void SwapSamples(std::uint8_t* data, std::size_t size, int bytes) {
  for (std::size_t i = 0; i + bytes <= size; i += bytes) std::reverse(data + i, data + i + bytes);
}

}  // namespace

TiffPredictor ChoosePredictor(int bits_per_sample, int sample_format, bool palette) {
  if (palette) return TiffPredictor::kNone;
  if (sample_format == kSampleFormatFloat) {
    const bool fits = bits_per_sample == 16 || bits_per_sample == 24 || bits_per_sample == 32 ||
                      bits_per_sample == 64;
    return fits ? TiffPredictor::kFloatingPoint : TiffPredictor::kNone;
  }
  if (sample_format != kSampleFormatUint && sample_format != kSampleFormatInt) {
    return TiffPredictor::kNone;
  }
  return bits_per_sample == 8 || bits_per_sample == 16 ? TiffPredictor::kHorizontal
                                                       : TiffPredictor::kNone;
}

void TiffSamplePreparer::Prepare(std::uint8_t* rows, std::size_t row_bytes, std::size_t row_count) {
  const int bits = layout_.bits_per_sample;
  const auto stride = static_cast<std::size_t>(layout_.stride);
  switch (layout_.predictor) {
    case TiffPredictor::kNone:
      if (layout_.swap_bytes && bits % 8 == 0 && bits > 8) {
        SwapSamples(rows, row_bytes * row_count, bits / 8);
      }
      return;
    case TiffPredictor::kHorizontal:
      for (std::size_t r = 0; r < row_count; ++r) {
        std::uint8_t* row = rows + r * row_bytes;
        if (bits == 8) {
          DifferenceBytes(row, row_bytes, stride);
        } else {
          DifferenceWords(row, row_bytes, stride, layout_.swap_bytes);
        }
      }
      return;
    case TiffPredictor::kFloatingPoint:
      if (scratch_size_ < row_bytes) {
        scratch_ = std::make_unique_for_overwrite<std::uint8_t[]>(row_bytes);
        scratch_size_ = row_bytes;
      }
      for (std::size_t r = 0; r < row_count; ++r) FloatingPointRow(rows + r * row_bytes, row_bytes);
      return;
  }
}

// The bytes of every value are spread over planes, the most significant
// byte of each value first, whatever the file's byte order; the planes are
// then differenced byte by byte.
void TiffSamplePreparer::FloatingPointRow(std::uint8_t* row, std::size_t row_bytes) {
  const auto bytes = static_cast<std::size_t>(layout_.bits_per_sample / 8);
  const std::size_t count = row_bytes / bytes;
  std::memcpy(scratch_.get(), row, count * bytes);
  for (std::size_t b = 0; b < bytes; ++b) {
    const std::size_t source = std::endian::native == std::endian::little ? bytes - 1 - b : b;
    std::uint8_t* plane = row + b * count;
    const std::uint8_t* value = scratch_.get() + source;
    for (std::size_t k = 0; k < count; ++k) plane[k] = value[k * bytes];
  }
  DifferenceBytes(row, count * bytes, static_cast<std::size_t>(layout_.stride));
}

}  // namespace shifrodel
