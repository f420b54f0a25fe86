#include "imaging/psd_builder.h"

#include <cmath>

namespace shifrodel::testing {

std::string Be16(std::uint32_t value) {
  return {static_cast<char>(value >> 8 & 0xFF), static_cast<char>(value & 0xFF)};
}

std::string Be32(std::uint32_t value) { return Be16(value >> 16) + Be16(value & 0xFFFF); }

std::string PackBitsRow(const std::string& row) {
  std::string out;
  std::size_t i = 0;
  while (i < row.size()) {
    std::size_t run = 1;
    while (i + run < row.size() && run < 128 && row[i + run] == row[i]) ++run;
    if (run >= 3) {
      out.push_back(static_cast<char>(257 - run));
      out.push_back(row[i]);
      i += run;
      continue;
    }
    std::size_t literal = 0;
    while (i + literal < row.size() && literal < 128) {
      if (i + literal + 2 < row.size() && row[i + literal] == row[i + literal + 1] &&
          row[i + literal] == row[i + literal + 2]) {
        break;
      }
      ++literal;
    }
    out.push_back(static_cast<char>(literal - 1));
    out.append(row, i, literal);
    i += literal;
  }
  return out;
}

std::string ResolutionInfo(double dpi) {
  const auto fixed = static_cast<std::uint32_t>(std::lround(dpi * 65536));
  return Be32(fixed) + Be16(1) + Be16(1) + Be32(fixed) + Be16(1) + Be16(1);
}

std::string LayerSection(std::int16_t count) {
  std::string layer;
  layer += Be32(0) + Be32(0) + Be32(0) + Be32(0);  // an empty rectangle
  layer += Be16(0);                                // no channels
  layer += "8BIMnorm";
  layer += std::string("\xFF\0\0\0", 4);  // opacity, clipping, flags, filler
  layer += Be32(0);                       // no extra data
  std::string info = Be16(static_cast<std::uint16_t>(count));
  for (int i = 0; i < (count < 0 ? -count : count); ++i) info += layer;
  return Be32(static_cast<std::uint32_t>(info.size())) + info + Be32(0);
}

std::string BuildPsd(const PsdSpec& spec) {
  std::string file = "8BPS" + Be16(spec.version) + std::string(6, '\0');
  file += Be16(spec.channels) + Be32(spec.height) + Be32(spec.width) + Be16(spec.depth) +
          Be16(spec.mode);
  file += Be32(static_cast<std::uint32_t>(spec.colour_data.size())) + spec.colour_data;
  std::string resources;
  for (const PsdResource& r : spec.resources) {
    resources += r.signature + Be16(r.id) + std::string(2, '\0');  // empty name, padded
    resources += Be32(static_cast<std::uint32_t>(r.data.size())) + r.data;
    if (r.data.size() % 2 != 0) resources.push_back('\0');
  }
  file += Be32(static_cast<std::uint32_t>(resources.size())) + resources;
  file += Be32(static_cast<std::uint32_t>(spec.layer_section.size())) + spec.layer_section;
  file += Be16(spec.compression);
  if (spec.image_data) return file + *spec.image_data;
  if (spec.compression != 1) {
    for (const std::string& plane : spec.planes) file += plane;
    return file;
  }
  const std::size_t row_bytes = (std::size_t{spec.width} * spec.depth + 7) / 8;
  std::string table, rows;
  for (const std::string& plane : spec.planes) {
    for (std::size_t at = 0; at + row_bytes <= plane.size(); at += row_bytes) {
      const std::string packed = PackBitsRow(plane.substr(at, row_bytes));
      table += Be16(static_cast<std::uint32_t>(packed.size()));
      rows += packed;
    }
  }
  return file + table + rows;
}

}  // namespace shifrodel::testing
