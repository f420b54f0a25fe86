// Photoshop files built byte by byte for the reader's tests: header,
// colour-mode data, resources, layer section and merged image, each open to
// corruption.
#ifndef SHIFRODEL_TESTS_IMAGING_PSD_BUILDER_H_
#define SHIFRODEL_TESTS_IMAGING_PSD_BUILDER_H_

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace shifrodel::testing {

struct PsdResource {
  std::uint16_t id = 0;
  std::string data;
  std::string signature = "8BIM";
};

struct PsdSpec {
  std::uint16_t version = 1;
  std::uint16_t channels = 3;
  std::uint32_t width = 1;
  std::uint32_t height = 1;
  std::uint16_t depth = 8;
  std::uint16_t mode = 3;  // RGB
  std::string colour_data;
  std::vector<PsdResource> resources;
  std::string layer_section;      // the section's content, after its length
  std::uint16_t compression = 0;  // 0 raw, 1 PackBits
  // Each channel's rows, uncompressed, one after another; the builder codes
  // them with PackBits when asked. `image_data`, when set, replaces the
  // whole merged image data after the compression code.
  std::vector<std::string> planes;
  std::optional<std::string> image_data;
};

std::string BuildPsd(const PsdSpec& spec);

// Big-endian integers, for hand-made sections.
std::string Be16(std::uint32_t value);
std::string Be32(std::uint32_t value);

// One row coded with PackBits: runs of three or more equal bytes as runs,
// the rest as literals.
std::string PackBitsRow(const std::string& row);

// The resolution resource's data: `dpi` both ways, shown in inches.
std::string ResolutionInfo(double dpi);

// A layer section with one empty layer and the given layer count, which
// may be negative (the merged image then carries transparency).
std::string LayerSection(std::int16_t count);

}  // namespace shifrodel::testing

#endif  // SHIFRODEL_TESTS_IMAGING_PSD_BUILDER_H_
