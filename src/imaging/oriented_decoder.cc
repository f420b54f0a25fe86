#include "imaging/oriented_decoder.h"

#include <algorithm>
#include <cstring>
#include <utility>
#include <vector>

namespace shifrodel {
namespace {

void MirrorRow(std::uint8_t* row, std::uint32_t width, int channels) {
  for (std::uint32_t left = 0, right = width - 1; left < right; ++left, --right) {
    for (int c = 0; c < channels; ++c)
      std::swap(row[left * channels + c], row[right * channels + c]);
  }
}

// Orientation 2: each row mirrored as it passes.
class MirroredDecoder final : public ImageDecoder {
 public:
  explicit MirroredDecoder(std::unique_ptr<ImageDecoder> source) : source_(std::move(source)) {}
  const ImageHeader& header() const override { return source_->header(); }
  bool ReadRows(std::uint8_t* out, std::uint32_t count) override {
    if (!source_->ReadRows(out, count)) return false;
    const ImageHeader& h = header();
    const int channels = ChannelCount(h.format);
    for (std::uint32_t i = 0; i < count; ++i) {
      MirrorRow(out + std::size_t{i} * h.width * channels, h.width, channels);
    }
    return true;
  }

 private:
  std::unique_ptr<ImageDecoder> source_;
};

// Orientations 3 to 8: the stored image is read whole on the first call,
// then the rows of the turned image are gathered from it.
class TurnedDecoder final : public ImageDecoder {
 public:
  TurnedDecoder(std::unique_ptr<ImageDecoder> source, int orientation)
      : source_(std::move(source)), orientation_(orientation), header_(source_->header()) {
    if (orientation_ >= 5) {
      std::swap(header_.width, header_.height);
      std::swap(header_.x_dpi, header_.y_dpi);
    }
  }

  const ImageHeader& header() const override { return header_; }

  bool ReadRows(std::uint8_t* out, std::uint32_t count) override {
    if (stored_.empty() && !ReadStored()) return false;
    if (count > header_.height - row_) return false;
    const int channels = ChannelCount(header_.format);
    const std::uint32_t in_width = source_->header().width;
    const std::uint32_t in_height = source_->header().height;
    for (std::uint32_t i = 0; i < count; ++i, ++row_) {
      std::uint8_t* pixel = out + std::size_t{i} * header_.width * channels;
      for (std::uint32_t x = 0; x < header_.width; ++x, pixel += channels) {
        std::uint32_t in_row = 0;
        std::uint32_t in_col = 0;
        switch (orientation_) {
          case 3:
            in_row = in_height - 1 - row_;
            in_col = in_width - 1 - x;
            break;
          case 4:
            in_row = in_height - 1 - row_;
            in_col = x;
            break;
          case 5:
            in_row = x;
            in_col = row_;
            break;
          case 6:
            in_row = in_height - 1 - x;
            in_col = row_;
            break;
          case 7:
            in_row = in_height - 1 - x;
            in_col = in_width - 1 - row_;
            break;
          default:
            in_row = x;
            in_col = in_width - 1 - row_;
            break;  // 8
        }
        std::memcpy(pixel, stored_.data() + (std::size_t{in_row} * in_width + in_col) * channels,
                    channels);
      }
    }
    return true;
  }

 private:
  bool ReadStored() {
    const ImageHeader& in = source_->header();
    const std::size_t stride = std::size_t{in.width} * ChannelCount(in.format);
    // Grown as rows arrive, so a damaged file fails before it costs much.
    constexpr std::uint32_t kRowsAtOnce = 64;
    for (std::uint32_t y = 0; y < in.height; y += kRowsAtOnce) {
      const std::uint32_t rows = std::min(kRowsAtOnce, in.height - y);
      stored_.resize(stored_.size() + stride * rows);
      if (!source_->ReadRows(stored_.data() + stride * y, rows)) return false;
    }
    return true;
  }

  std::unique_ptr<ImageDecoder> source_;
  int orientation_;
  ImageHeader header_;
  std::vector<std::uint8_t> stored_;
  std::uint32_t row_ = 0;
};

}  // namespace

std::unique_ptr<ImageDecoder> OrientDecoder(std::unique_ptr<ImageDecoder> source, int orientation) {
  if (orientation == 2) return std::make_unique<MirroredDecoder>(std::move(source));
  if (orientation < 3 || orientation > 8) return source;
  const ImageHeader& h = source->header();
  if (std::uint64_t{h.width} * h.height * ChannelCount(h.format) > kMaxOrientedBytes) {
    return nullptr;
  }
  return std::make_unique<TurnedDecoder>(std::move(source), orientation);
}

}  // namespace shifrodel
