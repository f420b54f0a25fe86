#include "imaging/row_decoder.h"

#include <cstddef>

#include "imaging/icc_profile.h"

namespace shifrodel {

void RowDecoder::SetHeader(std::uint32_t width, std::uint32_t height, PixelFormat format,
                           double x_dpi, double y_dpi, const std::string& icc_profile) {
  header_.width = width;
  header_.height = height;
  header_.format = format;
  header_.x_dpi = x_dpi;
  header_.y_dpi = y_dpi;
  header_.icc_profile = IccProfileFits(icc_profile, format) ? icc_profile : std::string();
}

bool RowDecoder::ReadRows(std::uint8_t* out, std::uint32_t count) {
  if (failed_ || count > header_.height - next_row_) return false;
  const std::size_t row_size =
      std::size_t{header_.width} * static_cast<std::size_t>(ChannelCount(header_.format));
  for (std::uint32_t i = 0; i < count; ++i, out += row_size) {
    if (!ReadRow(next_row_, out)) {
      failed_ = true;
      return false;
    }
    ++next_row_;
  }
  return true;
}

}  // namespace shifrodel
