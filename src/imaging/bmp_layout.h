// What the headers of a BMP file say about its pixels, checked against the
// file before anything is allocated: reading it tells a decoder where every
// row lies and how to turn its bytes into colours.
#ifndef SHIFRODEL_IMAGING_BMP_LAYOUT_H_
#define SHIFRODEL_IMAGING_BMP_LAYOUT_H_

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "platform/file_system.h"

namespace shifrodel {

enum class BmpCoding {
  kPalette,    // 1, 2, 4 or 8 bits of palette index per pixel
  kBitFields,  // 16 or 32 bits, channels cut out by masks
  kBgr24,      // 24 bits: blue, green, red
  kRle8,       // run-length coded 8-bit indices
  kRle4,       // run-length coded 4-bit indices
};

struct BmpMask {
  std::uint32_t mask = 0;
  int shift = 0;          // position of the mask's lowest bit
  std::uint32_t max = 0;  // mask >> shift: the channel's full value
};

// The largest side of a run-length coded image. Its size is not bounded by
// the file (a few bytes may leave a whole page blank); a JPEG file cannot be
// wider or taller anyway.
constexpr std::uint32_t kMaxRleSide = 65535;

struct BmpLayout {
  std::uint32_t width = 0;
  std::uint32_t height = 0;
  bool top_down = false;  // rows stored from the top (a negative height)
  int bit_count = 0;
  BmpCoding coding = BmpCoding::kPalette;
  // For kBitFields: red, green, blue, alpha (alpha.mask 0 when opaque).
  std::array<BmpMask, 4> masks{};
  std::vector<std::array<std::uint8_t, 3>> palette;  // R, G, B; at most 256
  bool grey_palette = false;                         // every palette entry has R = G = B
  std::uint64_t data_offset = 0;
  // Uncompressed: the distance between rows and the bytes that carry pixels.
  // Run-length coded: data_size is the length of the coded stream.
  std::uint64_t stride = 0;
  std::uint64_t row_bytes = 0;
  std::uint64_t data_size = 0;
  double x_dpi = 0;
  double y_dpi = 0;
  std::string icc_profile;  // as embedded; empty when none
};

// Reads and checks the file header, the information header, the masks and
// the palette. nullopt for anything that is not a BMP this reader decodes:
// a bad signature or header, an unsupported bit count or compression
// (embedded JPEG or PNG data, OS/2 Huffman or RLE24, 64-bit pixels), or
// sizes that the file cannot hold.
std::optional<BmpLayout> ReadBmpLayout(File& file);

}  // namespace shifrodel

#endif  // SHIFRODEL_IMAGING_BMP_LAYOUT_H_
