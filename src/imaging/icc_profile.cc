#include "imaging/icc_profile.h"

#include <cstdint>

#include "imaging/byte_order.h"

namespace shifrodel {
namespace {

constexpr std::size_t kIccHeaderSize = 128;

std::string_view ColourSpaceOf(PixelFormat format) {
  switch (format) {
    case PixelFormat::kGrey8:
      return "GRAY";
    case PixelFormat::kRgb8:
      return "RGB ";
    case PixelFormat::kCmyk8:
      return "CMYK";
  }
  return {};
}

}  // namespace

bool IccProfileFits(std::string_view profile, PixelFormat format) {
  if (profile.size() < kIccHeaderSize) return false;
  const auto* bytes = reinterpret_cast<const std::uint8_t*>(profile.data());
  const std::uint32_t declared = LoadBe32(bytes);
  if (declared < kIccHeaderSize || declared > profile.size()) return false;
  return profile.substr(36, 4) == "acsp" && profile.substr(16, 4) == ColourSpaceOf(format);
}

}  // namespace shifrodel
