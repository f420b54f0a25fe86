#include "imaging/pixel_rows.h"

#include <cstring>

namespace shifrodel {

void SixteenToEightRow(const std::uint16_t* in, std::uint8_t* out, std::size_t count) {
  for (std::size_t i = 0; i < count; ++i) out[i] = SixteenToEight(in[i]);
}

void GreyToRgbRow(const std::uint8_t* grey, std::uint8_t* rgb, std::size_t width) {
  for (std::size_t i = 0; i < width; ++i) {
    rgb[0] = rgb[1] = rgb[2] = grey[i];
    rgb += 3;
  }
}

BitsToRgb::BitsToRgb(std::uint8_t zero, std::uint8_t one) {
  for (int pattern = 0; pattern < 256; ++pattern) {
    for (int bit = 0; bit < 8; ++bit) {
      const std::uint8_t v = (pattern & (0x80 >> bit)) ? one : zero;
      table_[pattern][bit * 3] = table_[pattern][bit * 3 + 1] = table_[pattern][bit * 3 + 2] = v;
    }
  }
}

void BitsToRgb::Row(const std::uint8_t* bits, std::uint8_t* rgb, std::size_t width) const {
  const std::size_t whole = width / 8;
  for (std::size_t i = 0; i < whole; ++i) {
    std::memcpy(rgb, table_[bits[i]].data(), 24);
    rgb += 24;
  }
  if (const std::size_t rest = width % 8) std::memcpy(rgb, table_[bits[whole]].data(), rest * 3);
}

void CmykToRgbRow(const std::uint8_t* cmyk, std::uint8_t* rgb, std::size_t width) {
  for (std::size_t i = 0; i < width; ++i) {
    const unsigned paper = 255u - cmyk[3];
    rgb[0] = MulDiv255(255u - cmyk[0], paper);
    rgb[1] = MulDiv255(255u - cmyk[1], paper);
    rgb[2] = MulDiv255(255u - cmyk[2], paper);
    cmyk += 4;
    rgb += 3;
  }
}

}  // namespace shifrodel
