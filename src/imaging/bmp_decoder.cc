#include "imaging/bmp_decoder.h"

#include <optional>
#include <vector>

#include "imaging/bmp_layout.h"
#include "imaging/bmp_rle_rows.h"
#include "imaging/bmp_row_converter.h"
#include "imaging/file_bytes.h"
#include "imaging/icc_profile.h"
#include "imaging/row_decoder.h"

namespace shifrodel {
namespace {

// Grey output for a grey palette, unless an RGB profile comes with it.
PixelFormat OutputFormat(const BmpLayout& layout) {
  const bool indexed = layout.bit_count <= 8;
  return indexed && layout.grey_palette && !IccProfileFits(layout.icc_profile, PixelFormat::kRgb8)
             ? PixelFormat::kGrey8
             : PixelFormat::kRgb8;
}

class BmpDecoder final : public RowDecoder {
 public:
  BmpDecoder(File& file, BmpLayout layout)
      : file_(file), layout_(std::move(layout)), converter_(layout_, OutputFormat(layout_)) {
    SetHeader(layout_.width, layout_.height, OutputFormat(layout_), layout_.x_dpi, layout_.y_dpi,
              layout_.icc_profile);
  }

  bool Prepare() {
    if (layout_.coding == BmpCoding::kRle8 || layout_.coding == BmpCoding::kRle4) {
      rle_ = BmpRleRows::Scan(file_, layout_);
      if (!rle_) return false;
      indices_.resize(layout_.width);
      defined_.resize(layout_.width);
    } else {
      stored_.resize(static_cast<std::size_t>(layout_.row_bytes));
    }
    return true;
  }

 private:
  bool ReadRow(std::uint32_t row, std::uint8_t* out) override {
    const std::uint32_t stored_row = layout_.top_down ? row : layout_.height - 1 - row;
    if (rle_) {
      return rle_->DecodeRow(file_, stored_row, indices_.data(), defined_.data()) &&
             converter_.ConvertIndices(indices_.data(), defined_.data(), out);
    }
    return ReadAt(file_, layout_.data_offset + stored_row * layout_.stride, stored_.data(),
                  stored_.size()) &&
           converter_.ConvertStored(stored_.data(), out);
  }

  File& file_;
  BmpLayout layout_;
  BmpRowConverter converter_;
  std::optional<BmpRleRows> rle_;
  std::vector<std::uint8_t> stored_;
  std::vector<std::uint8_t> indices_;
  std::vector<std::uint8_t> defined_;
};

}  // namespace

std::unique_ptr<ImageDecoder> OpenBmpDecoder(File& file) {
  std::optional<BmpLayout> layout = ReadBmpLayout(file);
  if (!layout) return nullptr;
  auto decoder = std::make_unique<BmpDecoder>(file, std::move(*layout));
  if (!decoder->Prepare()) return nullptr;
  return decoder;
}

}  // namespace shifrodel
