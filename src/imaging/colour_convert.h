// The plain colour arithmetic the BMP and Photoshop readers share: samples
// scaled to 8 bits, transparency laid over white paper, and simple CMYK and
// Lab conversions to RGB. No colour management: these are the textbook
// formulas, good enough for reading-room copies.
#ifndef SHIFRODEL_IMAGING_COLOUR_CONVERT_H_
#define SHIFRODEL_IMAGING_COLOUR_CONVERT_H_

#include <cstdint>

namespace shifrodel {

// A colour of opacity `alpha` (255 opaque) laid over white.
inline std::uint8_t OverWhite(std::uint8_t colour, std::uint8_t alpha) {
  return static_cast<std::uint8_t>((colour * alpha + 255 * (255 - alpha) + 127) / 255);
}

// A 16-bit sample to 8 bits, rounded.
inline std::uint8_t Scale16To8(std::uint16_t value) {
  return static_cast<std::uint8_t>((value * 255u + 32767u) / 65535u);
}

// A linear-light sample (0 black, 1 white; outside values clipped) to an
// 8-bit sRGB-encoded one. 32-bit Photoshop images hold linear light.
std::uint8_t LinearToSrgb8(float value);

// A sample the other way round, 0 to 1, for the Lab conversion's output.
std::uint8_t EncodeSrgb8(double linear);

// CMYK as Photoshop stores it, each channel 255 for no ink: the ink of each
// colour darkens its complement and black darkens all three,
// R = C * K / 255 and so on.
void CmykToRgb(std::uint8_t c, std::uint8_t m, std::uint8_t y, std::uint8_t k, std::uint8_t* rgb);

// CIE L*a*b* (D50 white, as Photoshop uses) to sRGB: L* 0 to 100, a* and
// b* about -128 to 127. Through XYZ with the Bradford-adapted sRGB matrix;
// colours outside sRGB are clipped.
void LabToRgb(double l, double a, double b, std::uint8_t* rgb);

}  // namespace shifrodel

#endif  // SHIFRODEL_IMAGING_COLOUR_CONVERT_H_
