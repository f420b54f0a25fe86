// Conversions of one row of pixels into the 24-bit RGB that the encoder
// takes: grey and bi-level expanded, 16-bit samples rounded to 8 bits, CMYK
// turned into RGB and transparency laid over white paper.
#ifndef SHIFRODEL_IMAGING_PIXEL_ROWS_H_
#define SHIFRODEL_IMAGING_PIXEL_ROWS_H_

#include <array>
#include <cstddef>
#include <cstdint>

namespace shifrodel {

// The nearest 8-bit value to a 16-bit one: round(v * 255 / 65535).
constexpr std::uint8_t SixteenToEight(std::uint16_t v) {
  return static_cast<std::uint8_t>((v * 255u + 32895u) >> 16);
}

// round(a * b / 255) for a, b in 0..255.
constexpr std::uint8_t MulDiv255(unsigned a, unsigned b) {
  const unsigned t = a * b + 128;
  return static_cast<std::uint8_t>((t + (t >> 8)) >> 8);
}

// `count` 16-bit samples in the machine's byte order to 8 bits each.
void SixteenToEightRow(const std::uint16_t* in, std::uint8_t* out, std::size_t count);

// Each grey byte g becomes the three bytes g, g, g.
void GreyToRgbRow(const std::uint8_t* grey, std::uint8_t* rgb, std::size_t width);

// Bi-level pixels, eight to a byte with the first in the high bit, to RGB:
// a set bit becomes `one`, a clear bit `zero`. Eight pixels at a time,
// through a table of the 24 bytes that each bit pattern gives.
class BitsToRgb {
 public:
  BitsToRgb(std::uint8_t zero, std::uint8_t one);
  void Row(const std::uint8_t* bits, std::uint8_t* rgb, std::size_t width) const;

 private:
  std::array<std::array<std::uint8_t, 24>, 256> table_;
};

// C, M, Y, K (0 = no ink) to R, G, B, as a plain ink model without a
// colour profile: R = (255 - C) * (255 - K) / 255, and so on.
void CmykToRgbRow(const std::uint8_t* cmyk, std::uint8_t* rgb, std::size_t width);

}  // namespace shifrodel

#endif  // SHIFRODEL_IMAGING_PIXEL_ROWS_H_
