#include "imaging/tiff_lzw_encoder.h"

#include <cstring>

namespace shifrodel {
namespace {

constexpr std::uint32_t kClearCode = 256;
constexpr std::uint32_t kEndCode = 257;
constexpr std::uint32_t kFirstCode = 258;
// The table is cleared when its next code would be 4094, so that the
// decoder, one entry behind, never needs a code wider than 12 bits.
constexpr std::uint32_t kFullCode = 4094;
constexpr int kMinWidth = 9;
constexpr std::uint32_t kEmpty = 0xFFFFFFFFu;

// Packs codes from the most significant bit into a buffer that the caller
// has made large enough.
class CodeWriter {
 public:
  explicit CodeWriter(std::uint8_t* out) : out_(out) {}

  void Put(std::uint32_t code, int width) {
    bits_ = (bits_ << width) | code;
    count_ += width;
    if (count_ >= 32) {
      count_ -= 32;
      const auto word = static_cast<std::uint32_t>(bits_ >> count_);
      out_[0] = static_cast<std::uint8_t>(word >> 24);
      out_[1] = static_cast<std::uint8_t>(word >> 16);
      out_[2] = static_cast<std::uint8_t>(word >> 8);
      out_[3] = static_cast<std::uint8_t>(word);
      out_ += 4;
    }
  }

  // Writes the bits still held, the last byte padded with zeros; returns
  // the end of the output.
  std::uint8_t* Finish() {
    while (count_ >= 8) {
      count_ -= 8;
      *out_++ = static_cast<std::uint8_t>(bits_ >> count_);
    }
    if (count_ > 0) *out_++ = static_cast<std::uint8_t>(bits_ << (8 - count_));
    count_ = 0;
    return out_;
  }

 private:
  std::uint8_t* out_;
  std::uint64_t bits_ = 0;
  int count_ = 0;
};

inline std::uint32_t Slot(std::uint32_t key, int bits) {
  return (key * 2654435761u) >> (32 - bits);
}

}  // namespace

std::span<const std::uint8_t> TiffLzwEncoder::Encode(const std::uint8_t* data, std::size_t size) {
  // At most one 12-bit code per byte, a Clear code per table, the final codes.
  const std::size_t capacity = size + size / 2 + size / 2048 + 16;
  if (capacity > out_capacity_) {
    out_ = std::make_unique_for_overwrite<std::uint8_t[]>(capacity);
    out_capacity_ = capacity;
  }
  CodeWriter writer(out_.get());
  writer.Put(kClearCode, kMinWidth);
  if (size == 0) {
    writer.Put(kEndCode, kMinWidth);
    return {out_.get(), writer.Finish()};
  }

  std::memset(table_.data(), 0xFF, sizeof table_);
  constexpr std::uint32_t kMask = (1u << kHashBits) - 1;
  std::uint32_t next_code = kFirstCode;
  int width = kMinWidth;
  std::uint32_t width_limit = (1u << kMinWidth) - 1;
  std::uint32_t prefix = data[0];

  for (std::size_t i = 1; i < size; ++i) {
    const std::uint32_t key = (prefix << 8) | data[i];
    std::uint32_t slot = Slot(key, kHashBits);
    std::uint32_t entry;
    while ((entry = table_[slot]) != kEmpty && (entry >> 12) != key) slot = (slot + 1) & kMask;
    if (entry != kEmpty) {
      prefix = entry & 0xFFF;
      continue;
    }
    writer.Put(prefix, width);
    table_[slot] = (key << 12) | next_code;
    prefix = data[i];
    if (++next_code == kFullCode) {
      writer.Put(kClearCode, width);
      std::memset(table_.data(), 0xFF, sizeof table_);
      next_code = kFirstCode;
      width = kMinWidth;
      width_limit = (1u << kMinWidth) - 1;
    } else if (next_code > width_limit) {
      ++width;
      width_limit = (1u << width) - 1;
    }
  }

  // The last string, and the entry the decoder will add for it.
  writer.Put(prefix, width);
  if (++next_code == kFullCode) {
    writer.Put(kClearCode, width);
    width = kMinWidth;
  } else if (next_code > width_limit) {
    ++width;
  }
  writer.Put(kEndCode, width);
  return {out_.get(), writer.Finish()};
}

}  // namespace shifrodel
