#include "imaging/psd_resources.h"

#include <algorithm>
#include <cstring>

#include "imaging/byte_order.h"
#include "imaging/colour_convert.h"

namespace shifrodel {
namespace {

constexpr std::uint16_t kResolutionInfo = 0x03ED;
constexpr std::uint16_t kIccProfile = 0x040F;
constexpr std::uint16_t kTransparencyIndex = 0x0417;
constexpr std::uint16_t kDisplayInfo = 0x0435;
constexpr std::uint16_t kOldDisplayInfo = 0x03EF;
constexpr std::uint8_t kSpotKind = 2;
// An embedded profile larger than this is taken for a corrupt file.
constexpr std::uint32_t kMaxProfileSize = 16u << 20;

bool KnownSignature(const std::uint8_t* s) {
  for (const char* known : {"8BIM", "MeSa", "AgHg", "PHUT", "DCSR"}) {
    if (std::memcmp(s, known, 4) == 0) return true;
  }
  return false;
}

// Horizontal and vertical resolution, 16.16 fixed-point pixels per inch;
// the unit fields only say how Photoshop shows them.
void TakeResolution(const std::uint8_t* info, PsdLayout& layout) {
  layout.x_dpi = LoadBe32(info) / 65536.0;
  layout.y_dpi = LoadBe32(info + 8) / 65536.0;
}

// A Photoshop colour record: a colour space and four 16-bit components.
std::array<std::uint8_t, 3> InkColour(const std::uint8_t* colour) {
  const std::uint8_t* v = colour + 2;
  std::array<std::uint8_t, 3> rgb{};
  switch (LoadBe16(colour)) {
    case 0:  // RGB, 0 to 65535
      for (int i = 0; i < 3; ++i) rgb[i] = static_cast<std::uint8_t>(LoadBe16(v + 2 * i) >> 8);
      break;
    case 2:  // CMYK, 65535 for no ink, as in the channels
      CmykToRgb(v[0], v[2], v[4], v[6], rgb.data());
      break;
    case 7:  // Lab: L* times 100, a* and b* signed times 100
      LabToRgb(LoadBe16(v) / 100.0, LoadBeS16(v + 2) / 100.0, LoadBeS16(v + 4) / 100.0, rgb.data());
      break;
    case 8:  // grey, 0 (no ink) to 10000 (black)
      rgb.fill(static_cast<std::uint8_t>(255 - std::min(LoadBe16(v), std::uint16_t{10000}) * 255 /
                                                   10000));
      break;
    default:  // HSB and the colour books: shown as black ink, never lost
      break;
  }
  return rgb;
}

// Entries of `entry_size` bytes after `skip` bytes: colour record (10),
// opacity (2), kind (1).
bool ReadDisplayInfo(StretchReader& section, std::uint64_t size, std::size_t skip,
                     std::size_t entry_size, PsdLayout& layout) {
  if (size < skip || !section.Skip(skip)) return false;
  layout.extra_channels.clear();
  for (std::uint64_t left = size - skip; left >= entry_size; left -= entry_size) {
    std::uint8_t entry[14];
    if (!section.Read(entry, entry_size)) return false;
    layout.extra_channels.push_back({entry[12] == kSpotKind, InkColour(entry)});
  }
  return true;
}

}  // namespace

bool ReadPsdResources(StretchReader& section, PsdLayout& layout) {
  bool new_display_info = false;
  while (section.remaining() > 0) {
    std::uint8_t head[7];
    if (!section.Read(head, sizeof head) || !KnownSignature(head)) return false;
    const std::uint16_t id = LoadBe16(head + 4);
    // A Pascal name padded to an even length, its length byte included.
    const std::uint8_t name_length = head[6];
    std::uint8_t size_bytes[4];
    if (!section.Skip(name_length + (name_length % 2 == 0 ? 1u : 0u)) ||
        !section.Read(size_bytes, 4)) {
      return false;
    }
    const std::uint32_t size = LoadBe32(size_bytes);
    if (size > section.remaining()) return false;
    // The last block may go without its padding byte.
    const std::uint64_t padded = std::min(size + std::uint64_t{size % 2}, section.remaining());
    if (id == kResolutionInfo && size >= 16) {
      std::uint8_t info[16];
      if (!section.Read(info, sizeof info) || !section.Skip(padded - sizeof info)) return false;
      TakeResolution(info, layout);
    } else if (id == kIccProfile) {
      if (size > kMaxProfileSize) return false;
      layout.icc_profile.resize(size);
      if (!section.Read(layout.icc_profile.data(), size) || !section.Skip(padded - size)) {
        return false;
      }
    } else if (id == kTransparencyIndex && size >= 2) {
      std::uint8_t index[2];
      if (!section.Read(index, 2) || !section.Skip(padded - 2)) return false;
      const std::uint16_t value = LoadBe16(index);
      layout.transparent_index = value < 256 ? value : -1;
    } else if (id == kDisplayInfo || (id == kOldDisplayInfo && !new_display_info)) {
      const std::uint64_t before = section.remaining();
      new_display_info = new_display_info || id == kDisplayInfo;
      if (!(id == kDisplayInfo ? ReadDisplayInfo(section, size, 4, 13, layout)
                               : ReadDisplayInfo(section, size, 0, 14, layout)) ||
          !section.Skip(padded - (before - section.remaining()))) {
        return false;
      }
    } else if (!section.Skip(padded)) {
      return false;
    }
  }
  return !section.failed();
}

}  // namespace shifrodel
