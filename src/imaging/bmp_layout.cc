#include "imaging/bmp_layout.h"

#include <algorithm>
#include <bit>

#include "imaging/byte_order.h"
#include "imaging/file_bytes.h"

namespace shifrodel {
namespace {

constexpr std::size_t kFileHeaderSize = 14;
constexpr std::size_t kCoreHeaderSize = 12;  // OS/2 1.x: 16-bit sides, 3-byte palette
constexpr std::size_t kMaxHeaderSize = 124;  // BITMAPV5HEADER
constexpr std::uint32_t kRgb = 0;
constexpr std::uint32_t kRle8 = 1;
constexpr std::uint32_t kRle4 = 2;
constexpr std::uint32_t kBitFields = 3;
constexpr std::uint32_t kAlphaBitFields = 6;
constexpr std::uint32_t kProfileEmbedded = 0x4D424544;  // 'MBED'
// An embedded profile larger than this is taken for a corrupt header.
constexpr std::uint32_t kMaxProfileSize = 16u << 20;
// 65535 dpi, the most a JPEG density can say, in pixels per metre.
constexpr std::int32_t kMaxPelsPerMetre = 2580118;

bool KnownHeaderSize(std::uint32_t size) {
  switch (size) {
    case 12:   // OS/2 1.x BITMAPCOREHEADER
    case 16:   // OS/2 2.x, shortened
    case 40:   // BITMAPINFOHEADER
    case 52:   // with RGB masks
    case 56:   // with RGBA masks
    case 64:   // OS/2 2.x
    case 108:  // BITMAPV4HEADER
    case 124:  // BITMAPV5HEADER
      return true;
    default:
      return false;
  }
}

std::optional<BmpMask> MakeMask(std::uint32_t mask, int bit_count) {
  BmpMask m;
  m.mask = mask;
  if (mask == 0) return m;
  if (bit_count < 32 && mask >> bit_count != 0) return std::nullopt;
  m.shift = std::countr_zero(mask);
  m.max = mask >> m.shift;
  if ((m.max & (m.max + 1)) != 0) return std::nullopt;  // not one block of bits
  return m;
}

// Masks must be single blocks of bits inside the pixel that do not overlap.
bool SetMasks(const std::array<std::uint32_t, 4>& raw, BmpLayout& layout) {
  std::uint32_t seen = 0;
  for (std::size_t i = 0; i < raw.size(); ++i) {
    const auto mask = MakeMask(raw[i], layout.bit_count);
    if (!mask || (seen & raw[i]) != 0) return false;
    seen |= raw[i];
    layout.masks[i] = *mask;
  }
  return (layout.masks[0].mask | layout.masks[1].mask | layout.masks[2].mask) != 0;
}

std::optional<double> DpiOf(std::int32_t pels_per_metre) {
  if (pels_per_metre < 0 || pels_per_metre > kMaxPelsPerMetre) return std::nullopt;
  return pels_per_metre * 0.0254;
}

}  // namespace

std::optional<BmpLayout> ReadBmpLayout(File& file) {
  const std::int64_t file_size_signed = file.Size();
  if (file_size_signed < 0) return std::nullopt;
  const auto file_size = static_cast<std::uint64_t>(file_size_signed);

  std::uint8_t head[kFileHeaderSize + kMaxHeaderSize] = {};
  if (file_size < kFileHeaderSize + kCoreHeaderSize ||
      !ReadAt(file, 0, head, kFileHeaderSize + 4)) {
    return std::nullopt;
  }
  if (head[0] != 'B' || head[1] != 'M') return std::nullopt;
  // A file shorter than its header says has been cut off.
  if (LoadLe32(head + 2) > file_size) return std::nullopt;
  const std::uint64_t data_offset = LoadLe32(head + 10);
  const std::uint32_t header_size = LoadLe32(head + kFileHeaderSize);
  if (!KnownHeaderSize(header_size) || kFileHeaderSize + header_size > file_size ||
      !ReadExactly(file, head + kFileHeaderSize + 4, header_size - 4)) {
    return std::nullopt;
  }
  const std::uint8_t* info = head + kFileHeaderSize;
  const bool core = header_size == kCoreHeaderSize;
  const bool os2 = header_size == 16 || header_size == 64;

  BmpLayout layout;
  std::int64_t width, height;
  std::uint16_t planes;
  std::uint32_t compression = kRgb, image_size = 0, colours_used = 0;
  std::int32_t x_ppm = 0, y_ppm = 0;
  if (core) {
    width = LoadLe16(info + 4);
    height = LoadLe16(info + 6);
    planes = LoadLe16(info + 8);
    layout.bit_count = LoadLe16(info + 10);
  } else {
    width = LoadLeS32(info + 4);
    height = LoadLeS32(info + 8);
    planes = LoadLe16(info + 12);
    layout.bit_count = LoadLe16(info + 14);
    if (header_size >= 40) {
      compression = LoadLe32(info + 16);
      image_size = LoadLe32(info + 20);
      x_ppm = LoadLeS32(info + 24);
      y_ppm = LoadLeS32(info + 28);
      colours_used = LoadLe32(info + 32);
    }
  }
  if (planes != 1 || width <= 0 || height == 0) return std::nullopt;
  layout.top_down = height < 0;
  layout.width = static_cast<std::uint32_t>(width);
  layout.height = static_cast<std::uint32_t>(height < 0 ? -height : height);

  const int bits = layout.bit_count;
  if (bits != 1 && bits != 2 && bits != 4 && bits != 8 && bits != 16 && bits != 24 && bits != 32) {
    return std::nullopt;
  }
  // Masks stored after a 40-byte header; larger headers hold them inside.
  std::size_t mask_bytes_after = 0;
  std::array<std::uint32_t, 4> masks{};
  switch (compression) {
    case kRgb:
      if (bits <= 8) {
        layout.coding = BmpCoding::kPalette;
      } else if (bits == 24) {
        layout.coding = BmpCoding::kBgr24;
      } else {
        layout.coding = BmpCoding::kBitFields;
        masks = bits == 16 ? std::array<std::uint32_t, 4>{0x7C00, 0x03E0, 0x001F, 0}
                           : std::array<std::uint32_t, 4>{0xFF0000, 0xFF00, 0xFF, 0};
      }
      break;
    case kRle8:
    case kRle4:
      // Run-length coded images are stored bottom-up only.
      if (bits != (compression == kRle8 ? 8 : 4) || layout.top_down) return std::nullopt;
      layout.coding = compression == kRle8 ? BmpCoding::kRle8 : BmpCoding::kRle4;
      break;
    case kBitFields:
    case kAlphaBitFields: {
      // Compression 3 under an OS/2 header is Huffman coding.
      if (os2 || (bits != 16 && bits != 32)) return std::nullopt;
      layout.coding = BmpCoding::kBitFields;
      const std::size_t count = compression == kAlphaBitFields ? 4 : 3;
      std::uint8_t stored[16] = {};
      if (header_size >= 52) {
        std::copy(info + 40, info + 40 + 4 * (header_size >= 56 ? 4 : 3), stored);
      } else {
        mask_bytes_after = 4 * count;
        if (!ReadExactly(file, stored, mask_bytes_after)) return std::nullopt;
      }
      for (std::size_t i = 0; i < 4; ++i) masks[i] = LoadLe32(stored + 4 * i);
      break;
    }
    default:  // embedded JPEG or PNG data, OS/2 RLE24, unknown codes
      return std::nullopt;
  }
  if (layout.coding == BmpCoding::kBitFields && !SetMasks(masks, layout)) return std::nullopt;

  const std::uint64_t palette_offset = kFileHeaderSize + header_size + mask_bytes_after;
  if (data_offset < palette_offset || data_offset >= file_size) return std::nullopt;
  if (bits <= 8) {
    const std::uint64_t entry = core ? 3 : 4;
    const std::uint64_t room = (data_offset - palette_offset) / entry;
    std::uint64_t count = std::uint64_t{1} << bits;
    if (colours_used != 0) {
      // A stated palette must lie whole between the headers and the pixels.
      if (colours_used > room) return std::nullopt;
      count = colours_used;
    } else if (count > room) {
      count = room;  // a short palette, as some OS/2 writers leave
    }
    count = std::min<std::uint64_t>(count, std::uint64_t{1} << bits);
    if (count == 0) return std::nullopt;
    std::vector<std::uint8_t> stored(count * entry);
    if (!ReadAt(file, palette_offset, stored.data(), stored.size())) return std::nullopt;
    layout.palette.resize(count);
    layout.grey_palette = true;
    for (std::size_t i = 0; i < count; ++i) {
      const std::uint8_t* bgr = stored.data() + i * entry;
      layout.palette[i] = {bgr[2], bgr[1], bgr[0]};
      layout.grey_palette = layout.grey_palette && bgr[0] == bgr[1] && bgr[1] == bgr[2];
    }
  }

  layout.data_offset = data_offset;
  const std::uint64_t room = file_size - data_offset;
  if (layout.coding == BmpCoding::kRle8 || layout.coding == BmpCoding::kRle4) {
    if (layout.width > kMaxRleSide || layout.height > kMaxRleSide || image_size > room) {
      return std::nullopt;
    }
    layout.data_size = image_size != 0 ? image_size : room;
  } else {
    layout.row_bytes = (std::uint64_t{layout.width} * bits + 7) / 8;
    layout.stride = (layout.row_bytes + 3) / 4 * 4;
    // The last row may lack its padding; every other byte must be there.
    if (image_size > room || layout.row_bytes > room ||
        layout.height - 1 > (room - layout.row_bytes) / layout.stride) {
      return std::nullopt;
    }
    layout.data_size = layout.stride * (layout.height - 1) + layout.row_bytes;
  }

  const auto x_dpi = DpiOf(x_ppm);
  const auto y_dpi = DpiOf(y_ppm);
  if (!x_dpi || !y_dpi) return std::nullopt;
  layout.x_dpi = *x_dpi;
  layout.y_dpi = *y_dpi;

  if (header_size == kMaxHeaderSize && LoadLe32(info + 56) == kProfileEmbedded) {
    const std::uint64_t offset = kFileHeaderSize + std::uint64_t{LoadLe32(info + 112)};
    const std::uint32_t size = LoadLe32(info + 116);
    if (size > kMaxProfileSize || offset > file_size || size > file_size - offset) {
      return std::nullopt;
    }
    layout.icc_profile.resize(size);
    if (!ReadAt(file, offset, layout.icc_profile.data(), size)) return std::nullopt;
  }
  return layout;
}

}  // namespace shifrodel
