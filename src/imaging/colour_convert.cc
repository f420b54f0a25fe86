#include "imaging/colour_convert.h"

#include <algorithm>
#include <cmath>

namespace shifrodel {
namespace {

// D50 reference white.
constexpr double kWhiteX = 0.9642;
constexpr double kWhiteY = 1.0;
constexpr double kWhiteZ = 0.8249;

double LabInverse(double t) {
  constexpr double kDelta = 6.0 / 29.0;
  return t > kDelta ? t * t * t : 3 * kDelta * kDelta * (t - 4.0 / 29.0);
}

}  // namespace

std::uint8_t EncodeSrgb8(double linear) {
  linear = std::clamp(linear, 0.0, 1.0);
  const double encoded =
      linear <= 0.0031308 ? 12.92 * linear : 1.055 * std::pow(linear, 1 / 2.4) - 0.055;
  return static_cast<std::uint8_t>(std::lround(encoded * 255));
}

std::uint8_t LinearToSrgb8(float value) {
  // NaN fails every comparison inside the clamp; treat it as black.
  return EncodeSrgb8(std::isnan(value) ? 0.0 : static_cast<double>(value));
}

void CmykToRgb(std::uint8_t c, std::uint8_t m, std::uint8_t y, std::uint8_t k, std::uint8_t* rgb) {
  rgb[0] = static_cast<std::uint8_t>((c * k + 127) / 255);
  rgb[1] = static_cast<std::uint8_t>((m * k + 127) / 255);
  rgb[2] = static_cast<std::uint8_t>((y * k + 127) / 255);
}

void LabToRgb(double l, double a, double b, std::uint8_t* rgb) {
  const double fy = (l + 16) / 116;
  const double x = kWhiteX * LabInverse(fy + a / 500);
  const double yy = kWhiteY * LabInverse(fy);
  const double z = kWhiteZ * LabInverse(fy - b / 200);
  rgb[0] = EncodeSrgb8(3.1338561 * x - 1.6168667 * yy - 0.4906146 * z);
  rgb[1] = EncodeSrgb8(-0.9787684 * x + 1.9161415 * yy + 0.0334540 * z);
  rgb[2] = EncodeSrgb8(0.0719453 * x - 0.2289914 * yy + 1.4052427 * z);
}

}  // namespace shifrodel
