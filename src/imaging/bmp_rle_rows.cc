#include "imaging/bmp_rle_rows.h"

#include <algorithm>
#include <cstring>

#include "imaging/stretch_reader.h"

namespace shifrodel {
namespace {

enum class WalkEnd { kEndOfImage, kLeftRow, kEndOfData, kCorrupt };

// Interprets codes from the reader's position with the cursor at (x, y), y
// counted from the bottom. With `scan` set it runs to the end of the stream
// and notes each row it enters; otherwise it stops when the cursor leaves
// row y and stores that row's pixels.
class Walker {
 public:
  Walker(const BmpLayout& layout, StretchReader& in, std::uint64_t base)
      : width_(layout.width),
        height_(layout.height),
        rle4_(layout.coding == BmpCoding::kRle4),
        in_(in),
        base_(base) {}

  WalkEnd Walk(std::uint32_t x, std::uint32_t y, std::vector<BmpRleRows::RowCodes>* scan,
               std::uint8_t* indices, std::uint8_t* defined) {
    x_ = x;
    y_ = y;
    indices_ = indices;
    defined_ = defined;
    for (;;) {
      std::uint8_t count, value;
      if (!in_.Next(&count)) return WalkEnd::kEndOfData;
      if (!in_.Next(&value)) return WalkEnd::kCorrupt;
      if (count > 0) {
        if (!Fits(count)) return WalkEnd::kCorrupt;
        for (std::uint32_t i = 0; i < count; ++i) {
          Put(rle4_ ? (i % 2 == 0 ? value >> 4 : value & 0x0F) : value);
        }
        continue;
      }
      std::uint64_t new_x = x_, new_y = y_;
      if (value == 0) {  // end of line
        new_x = 0;
        new_y = y_ + 1;
        if (new_y > height_) return WalkEnd::kCorrupt;
      } else if (value == 1) {
        return WalkEnd::kEndOfImage;
      } else if (value == 2) {  // jump right and up
        std::uint8_t dx, dy;
        if (!in_.Next(&dx) || !in_.Next(&dy)) return WalkEnd::kCorrupt;
        new_x = x_ + dx;
        new_y = y_ + dy;
        if (new_x > width_ || new_y >= height_) return WalkEnd::kCorrupt;
      } else {  // `value` pixels stored as they are, padded to an even length
        if (!Fits(value)) return WalkEnd::kCorrupt;
        const std::uint32_t bytes = rle4_ ? (value + 1u) / 2 : value;
        std::uint8_t byte = 0;
        for (std::uint32_t i = 0; i < value; ++i) {
          if ((!rle4_ || i % 2 == 0) && !in_.Next(&byte)) return WalkEnd::kCorrupt;
          Put(rle4_ ? (i % 2 == 0 ? byte >> 4 : byte & 0x0F) : byte);
        }
        if (bytes % 2 != 0 && !in_.Next(&byte)) return WalkEnd::kCorrupt;
        continue;
      }
      const bool new_row = new_y != y_;
      x_ = static_cast<std::uint32_t>(new_x);
      y_ = static_cast<std::uint32_t>(new_y);
      if (!new_row) continue;
      if (scan == nullptr) return WalkEnd::kLeftRow;
      const std::uint64_t here = in_.position() - base_;
      scan->back().end = here;
      if (y_ < height_) scan->push_back({y_, x_, here, here});
    }
  }

  // Whether the codes have reached the end of the last row, so that a
  // stream stopping here without its end-of-image code is still whole.
  bool AtLastPixel() const { return y_ >= height_ || (y_ + 1 == height_ && x_ == width_); }

 private:
  bool Fits(std::uint32_t count) const { return y_ < height_ && count <= width_ - x_; }

  void Put(std::uint8_t index) {
    if (indices_ != nullptr) {
      indices_[x_] = index;
      defined_[x_] = 1;
    }
    ++x_;
  }

  const std::uint32_t width_;
  const std::uint32_t height_;
  const bool rle4_;
  StretchReader& in_;
  const std::uint64_t base_;
  std::uint32_t x_ = 0;
  std::uint32_t y_ = 0;
  std::uint8_t* indices_ = nullptr;
  std::uint8_t* defined_ = nullptr;
};

}  // namespace

std::optional<BmpRleRows> BmpRleRows::Scan(File& file, const BmpLayout& layout) {
  const std::uint64_t base = layout.data_offset;
  StretchReader in(file, base, base + layout.data_size);
  Walker walker(layout, in, base);
  BmpRleRows rows(layout);
  rows.rows_.push_back({0, 0, 0, 0});
  const WalkEnd end = walker.Walk(0, 0, &rows.rows_, nullptr, nullptr);
  if (in.failed() || end == WalkEnd::kCorrupt) return std::nullopt;
  if (end == WalkEnd::kEndOfData && !walker.AtLastPixel()) return std::nullopt;
  rows.rows_.back().end = in.position() - base;
  return rows;
}

bool BmpRleRows::DecodeRow(File& file, std::uint32_t row, std::uint8_t* indices,
                           std::uint8_t* defined) const {
  std::memset(defined, 0, layout_->width);
  const auto it = std::lower_bound(
      rows_.begin(), rows_.end(), row,
      [](const RowCodes& codes, std::uint32_t wanted) { return codes.row < wanted; });
  if (it == rows_.end() || it->row != row) return true;  // skipped: all blank
  const std::uint64_t base = layout_->data_offset;
  StretchReader in(file, base + it->begin, base + it->end);
  Walker walker(*layout_, in, base);
  const WalkEnd end = walker.Walk(it->x, row, nullptr, indices, defined);
  return !in.failed() && end != WalkEnd::kCorrupt;
}

}  // namespace shifrodel
