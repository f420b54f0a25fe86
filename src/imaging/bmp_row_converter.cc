#include "imaging/bmp_row_converter.h"

#include "imaging/byte_order.h"
#include "imaging/colour_convert.h"

namespace shifrodel {
namespace {

std::uint8_t ScaleField(std::uint32_t pixel, const BmpMask& m) {
  const std::uint64_t value = (pixel & m.mask) >> m.shift;
  return static_cast<std::uint8_t>((value * 255 + m.max / 2) / m.max);
}

}  // namespace

bool BmpRowConverter::PutIndex(std::uint32_t index, std::uint8_t*& out) const {
  if (index >= layout_.palette.size()) return false;
  const auto& rgb = layout_.palette[index];
  if (format_ == PixelFormat::kGrey8) {
    *out++ = rgb[0];
  } else {
    *out++ = rgb[0];
    *out++ = rgb[1];
    *out++ = rgb[2];
  }
  return true;
}

void BmpRowConverter::PutBitFields(std::uint32_t pixel, std::uint8_t*& out) const {
  const auto& masks = layout_.masks;
  std::uint8_t rgb[3];
  for (int i = 0; i < 3; ++i) rgb[i] = masks[i].mask != 0 ? ScaleField(pixel, masks[i]) : 0;
  if (masks[3].mask != 0) {
    const std::uint8_t alpha = ScaleField(pixel, masks[3]);
    for (std::uint8_t& c : rgb) c = OverWhite(c, alpha);
  }
  *out++ = rgb[0];
  *out++ = rgb[1];
  *out++ = rgb[2];
}

bool BmpRowConverter::ConvertStored(const std::uint8_t* stored, std::uint8_t* out) const {
  const std::uint32_t width = layout_.width;
  switch (layout_.coding) {
    case BmpCoding::kPalette: {
      const int bits = layout_.bit_count;
      const std::uint32_t per_byte = 8 / bits;
      const std::uint32_t field = (1u << bits) - 1;
      for (std::uint32_t x = 0; x < width; ++x) {
        const int shift = 8 - bits * static_cast<int>(x % per_byte + 1);
        if (!PutIndex(stored[x / per_byte] >> shift & field, out)) return false;
      }
      return true;
    }
    case BmpCoding::kBgr24:
      for (std::uint32_t x = 0; x < width; ++x, stored += 3) {
        *out++ = stored[2];
        *out++ = stored[1];
        *out++ = stored[0];
      }
      return true;
    case BmpCoding::kBitFields:
      if (layout_.bit_count == 16) {
        for (std::uint32_t x = 0; x < width; ++x) PutBitFields(LoadLe16(stored + 2 * x), out);
      } else {
        for (std::uint32_t x = 0; x < width; ++x) PutBitFields(LoadLe32(stored + 4 * x), out);
      }
      return true;
    case BmpCoding::kRle8:
    case BmpCoding::kRle4:
      break;
  }
  return false;
}

bool BmpRowConverter::ConvertIndices(const std::uint8_t* indices, const std::uint8_t* defined,
                                     std::uint8_t* out) const {
  const int channels = ChannelCount(format_);
  for (std::uint32_t x = 0; x < layout_.width; ++x) {
    if (defined[x] != 0) {
      if (!PutIndex(indices[x], out)) return false;
    } else {
      for (int c = 0; c < channels; ++c) *out++ = 255;
    }
  }
  return true;
}

}  // namespace shifrodel
