#include "imaging/psd_decoder.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstring>
#include <optional>
#include <vector>

#include "imaging/byte_order.h"
#include "imaging/colour_convert.h"
#include "imaging/icc_profile.h"
#include "imaging/psd_channel_rows.h"
#include "imaging/psd_layout.h"
#include "imaging/row_decoder.h"

namespace shifrodel {
namespace {

// How the chosen channels make one output pixel.
enum class Assembly { kBitmap, kGrey, kIndexed, kRgb, kCmyk, kLab };

struct Plan {
  Assembly assembly = Assembly::kGrey;
  int colour_channels = 1;
  PixelFormat format = PixelFormat::kGrey8;
};

bool GreyPalette(const PsdLayout& layout) {
  for (int i = 0; i < 256; ++i) {
    if (layout.palette[i] != layout.palette[256 + i] ||
        layout.palette[i] != layout.palette[512 + i]) {
      return false;
    }
  }
  return true;
}

Plan BasicPlan(const PsdLayout& layout) {
  switch (layout.mode) {
    case PsdMode::kBitmap:
      return {Assembly::kBitmap, 1, PixelFormat::kGrey8};
    case PsdMode::kGreyscale:
    case PsdMode::kDuotone:
      return {Assembly::kGrey, 1, PixelFormat::kGrey8};
    case PsdMode::kIndexed:
      return {Assembly::kIndexed, 1,
              GreyPalette(layout) && !IccProfileFits(layout.icc_profile, PixelFormat::kRgb8)
                  ? PixelFormat::kGrey8
                  : PixelFormat::kRgb8};
    case PsdMode::kRgb:
      return {Assembly::kRgb, 3, PixelFormat::kRgb8};
    case PsdMode::kCmyk:
      return {Assembly::kCmyk, 4, PixelFormat::kRgb8};
    case PsdMode::kLab:
      return {Assembly::kLab, 3, PixelFormat::kRgb8};
    case PsdMode::kMultichannel:
      if (layout.channels >= 4) return {Assembly::kCmyk, 4, PixelFormat::kRgb8};
      if (layout.channels == 3) return {Assembly::kRgb, 3, PixelFormat::kRgb8};
      return {Assembly::kGrey, 1, PixelFormat::kGrey8};
  }
  return {};
}

// The extra channels printed as spot inks over the image: those the display
// information calls spot channels, in modes whose pixels are plain colours.
std::vector<int> SpotChannels(const PsdLayout& layout, const Plan& plan) {
  std::vector<int> spots;
  if (plan.assembly == Assembly::kBitmap || plan.assembly == Assembly::kIndexed ||
      layout.mode == PsdMode::kMultichannel) {
    return spots;
  }
  for (std::size_t i = 0; i < layout.extra_channels.size(); ++i) {
    const int channel = plan.colour_channels + static_cast<int>(i);
    if (channel >= layout.channels) break;
    if (layout.extra_channels[i].spot && !(layout.merged_alpha && i == 0)) {
      spots.push_back(channel);
    }
  }
  return spots;
}

// A spot ink over a colour: `coverage` 255 for full ink, multiplying the
// colour by the ink's as a transparent ink printed on top would.
std::uint8_t UnderInk(std::uint8_t colour, std::uint8_t ink, std::uint8_t coverage) {
  const unsigned filter = 255 * 255 - coverage * (255u - ink);
  return static_cast<std::uint8_t>((colour * filter + 255 * 255 / 2) / (255 * 255));
}

float LoadBeFloat(const std::uint8_t* p) { return std::bit_cast<float>(LoadBe32(p)); }

// Opacity 0 to 1, as 32-bit images store it; NaN counts as transparent.
std::uint16_t AlphaFromFloat(float value) {
  if (!(value > 0)) return 0;
  return static_cast<std::uint16_t>(std::lround(std::min(value, 1.0f) * 65535));
}

class PsdDecoder final : public RowDecoder {
 public:
  PsdDecoder(File& file, PsdLayout layout) : file_(file), layout_(std::move(layout)) {
    plan_ = BasicPlan(layout_);
    spots_ = SpotChannels(layout_, plan_);
    if (!spots_.empty()) plan_.format = PixelFormat::kRgb8;
    // A 32-bit image's profile describes the linear light that we encode anew.
    SetHeader(layout_.width, layout_.height, plan_.format, layout_.x_dpi, layout_.y_dpi,
              layout_.depth == 32 ? std::string() : layout_.icc_profile);
  }

  bool Prepare() {
    std::vector<int> channels;
    for (int c = 0; c < plan_.colour_channels; ++c) channels.push_back(c);
    has_alpha_ = layout_.merged_alpha;
    if (has_alpha_) channels.push_back(plan_.colour_channels);
    first_spot_slot_ = channels.size();
    channels.insert(channels.end(), spots_.begin(), spots_.end());
    const std::size_t count = channels.size();
    rows_ = PsdChannelRows::Open(file_, layout_, std::move(channels));
    if (!rows_) return false;
    stored_.resize(static_cast<std::size_t>(layout_.row_bytes));
    wide_.assign(count, std::vector<std::uint16_t>(layout_.width));
    return true;
  }

 private:
  // Every chosen channel's row as 16-bit samples (8-bit ones times 257);
  // 32-bit colour is encoded as sRGB first, 32-bit alpha kept linear.
  bool FetchRow(std::uint32_t row) {
    for (std::size_t slot = 0; slot < wide_.size(); ++slot) {
      if (!rows_->ReadRow(slot, row, stored_.data())) return false;
      std::uint16_t* wide = wide_[slot].data();
      const bool alpha = has_alpha_ && slot + 1 == first_spot_slot_;
      for (std::uint32_t x = 0; x < layout_.width; ++x) {
        switch (layout_.depth) {
          case 1:
            wide[x] = (stored_[x / 8] >> (7 - x % 8) & 1) != 0 ? 0 : 65535;  // 1 is ink
            break;
          case 8:
            wide[x] = static_cast<std::uint16_t>(stored_[x] * 257);
            break;
          case 16:
            wide[x] = LoadBe16(stored_.data() + 2 * x);
            break;
          default: {
            const float value = LoadBeFloat(stored_.data() + 4 * x);
            wide[x] = alpha ? AlphaFromFloat(value)
                            : static_cast<std::uint16_t>(LinearToSrgb8(value) * 257);
          }
        }
      }
    }
    return true;
  }

  std::uint8_t Sample(std::size_t slot, std::uint32_t x) const {
    return Scale16To8(wide_[slot][x]);
  }

  // Lab's a* and b* centre on 128 at 8 bits and on 32768 at 16.
  double LabAxis(std::uint16_t wide) const {
    return layout_.depth == 8 ? wide / 257 - 128.0 : (wide - 32768.0) / 256;
  }

  bool ReadRow(std::uint32_t row, std::uint8_t* out) override {
    if (!FetchRow(row)) return false;
    const int channels = ChannelCount(plan_.format);
    for (std::uint32_t x = 0; x < layout_.width; ++x, out += channels) {
      switch (plan_.assembly) {
        case Assembly::kBitmap:
        case Assembly::kGrey:
          std::memset(out, Sample(0, x), static_cast<std::size_t>(channels));
          break;
        case Assembly::kIndexed: {
          const int index = wide_[0][x] >> 8;
          if (index == layout_.transparent_index) {
            std::memset(out, 255, static_cast<std::size_t>(channels));
            continue;
          }
          out[0] = layout_.palette[index];
          if (channels == 3) {
            out[1] = layout_.palette[256 + index];
            out[2] = layout_.palette[512 + index];
          }
          break;
        }
        case Assembly::kRgb:
          for (int c = 0; c < 3; ++c) out[c] = Sample(c, x);
          break;
        case Assembly::kCmyk:
          CmykToRgb(Sample(0, x), Sample(1, x), Sample(2, x), Sample(3, x), out);
          break;
        case Assembly::kLab:
          LabToRgb(wide_[0][x] * 100.0 / 65535, LabAxis(wide_[1][x]), LabAxis(wide_[2][x]), out);
          break;
      }
      if (has_alpha_) {
        const std::uint8_t alpha = Sample(first_spot_slot_ - 1, x);
        for (int c = 0; c < channels; ++c) out[c] = OverWhite(out[c], alpha);
      }
      for (std::size_t i = 0; i < spots_.size(); ++i) {
        // Channels store 255 for no ink.
        const std::uint8_t coverage = 255 - Sample(first_spot_slot_ + i, x);
        const auto& ink =
            layout_.extra_channels[static_cast<std::size_t>(spots_[i] - plan_.colour_channels)].ink;
        for (int c = 0; c < 3; ++c) out[c] = UnderInk(out[c], ink[c], coverage);
      }
    }
    return true;
  }

  File& file_;
  PsdLayout layout_;
  Plan plan_;
  bool has_alpha_ = false;
  std::vector<int> spots_;  // channel numbers
  std::size_t first_spot_slot_ = 0;
  std::optional<PsdChannelRows> rows_;
  std::vector<std::uint8_t> stored_;
  std::vector<std::vector<std::uint16_t>> wide_;
};

}  // namespace

std::unique_ptr<ImageDecoder> OpenPsdDecoder(File& file) {
  std::optional<PsdLayout> layout = ReadPsdLayout(file);
  if (!layout) return nullptr;
  auto decoder = std::make_unique<PsdDecoder>(file, std::move(*layout));
  if (!decoder->Prepare()) return nullptr;
  return decoder;
}

}  // namespace shifrodel
