// BMP files built byte by byte for the reader's tests: a description of the
// headers and the stored rows, turned into the bytes of a file, with every
// field open to corruption.
#ifndef SHIFRODEL_TESTS_IMAGING_BMP_BUILDER_H_
#define SHIFRODEL_TESTS_IMAGING_BMP_BUILDER_H_

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace shifrodel::testing {

struct BmpSpec {
  std::uint32_t header_size = 40;  // 12, 16, 40, 52, 56, 64, 108 or 124
  std::int32_t width = 1;
  std::int32_t height = 1;  // negative for rows stored from the top
  std::uint16_t planes = 1;
  std::uint16_t bit_count = 24;
  std::uint32_t compression = 0;
  std::int32_t x_ppm = 0;
  std::int32_t y_ppm = 0;
  // Written into the header when it has room for them, else after it
  // (compression 3: three masks; 6: four).
  std::array<std::uint32_t, 4> masks{};
  std::vector<std::uint32_t> palette;         // 0xRRGGBB
  std::optional<std::uint32_t> colours_used;  // default: the palette's size
  // Stored rows in file order, each padded to four bytes by the builder;
  // or, when `data` is set, the pixel data exactly as given (RLE codes).
  std::vector<std::string> rows;
  std::optional<std::string> data;
  std::optional<std::uint32_t> image_size;  // default: 0 raw, the data's size for RLE
  std::string icc_profile;                  // BITMAPV5HEADER only: embedded after the pixels
  // Default: just after the palette. A smaller one only changes the field.
  std::optional<std::uint32_t> data_offset;
  std::optional<std::uint32_t> file_size;  // default: the true size
};

std::string BuildBmp(const BmpSpec& spec);

}  // namespace shifrodel::testing

#endif  // SHIFRODEL_TESTS_IMAGING_BMP_BUILDER_H_
