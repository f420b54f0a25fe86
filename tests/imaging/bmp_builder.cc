#include "imaging/bmp_builder.h"

#include <algorithm>

namespace shifrodel::testing {
namespace {

void Put16(std::string& out, std::size_t at, std::uint32_t value) {
  out[at] = static_cast<char>(value & 0xFF);
  out[at + 1] = static_cast<char>(value >> 8 & 0xFF);
}

void Put32(std::string& out, std::size_t at, std::uint32_t value) {
  Put16(out, at, value & 0xFFFF);
  Put16(out, at + 2, value >> 16);
}

void Append32(std::string& out, std::uint32_t value) {
  out.append(4, '\0');
  Put32(out, out.size() - 4, value);
}

}  // namespace

std::string BuildBmp(const BmpSpec& spec) {
  std::string file(14 + spec.header_size, '\0');
  file[0] = 'B';
  file[1] = 'M';
  const std::size_t h = 14;
  Put32(file, h, spec.header_size);
  if (spec.header_size == 12) {
    Put16(file, h + 4, static_cast<std::uint32_t>(spec.width));
    Put16(file, h + 6, static_cast<std::uint32_t>(spec.height));
    Put16(file, h + 8, spec.planes);
    Put16(file, h + 10, spec.bit_count);
  } else {
    Put32(file, h + 4, static_cast<std::uint32_t>(spec.width));
    Put32(file, h + 8, static_cast<std::uint32_t>(spec.height));
    Put16(file, h + 12, spec.planes);
    Put16(file, h + 14, spec.bit_count);
  }
  if (spec.header_size >= 40) {
    Put32(file, h + 16, spec.compression);
    Put32(file, h + 24, static_cast<std::uint32_t>(spec.x_ppm));
    Put32(file, h + 28, static_cast<std::uint32_t>(spec.y_ppm));
    Put32(file, h + 32,
          spec.colours_used.value_or(static_cast<std::uint32_t>(spec.palette.size())));
  }
  if (spec.header_size >= 52 && spec.header_size != 64) {
    const std::size_t count = spec.header_size >= 56 ? 4 : 3;
    for (std::size_t i = 0; i < count; ++i) Put32(file, h + 40 + 4 * i, spec.masks[i]);
  } else if (spec.compression == 3 || spec.compression == 6) {
    for (std::size_t i = 0; i < (spec.compression == 6 ? 4u : 3u); ++i) {
      Append32(file, spec.masks[i]);
    }
  }
  for (const std::uint32_t rgb : spec.palette) {
    file.push_back(static_cast<char>(rgb & 0xFF));
    file.push_back(static_cast<char>(rgb >> 8 & 0xFF));
    file.push_back(static_cast<char>(rgb >> 16 & 0xFF));
    if (spec.header_size != 12) file.push_back('\0');
  }
  const std::size_t data_offset =
      spec.data_offset.value_or(static_cast<std::uint32_t>(file.size()));
  std::string data;
  if (spec.data) {
    data = *spec.data;
  } else {
    for (const std::string& row : spec.rows) {
      data += row;
      data.append((4 - row.size() % 4) % 4, '\0');
    }
  }
  if (spec.header_size >= 40) {
    Put32(file, h + 20,
          spec.image_size.value_or(spec.data ? static_cast<std::uint32_t>(data.size()) : 0));
  }
  // An offset inside the headers only changes the field.
  file.resize(std::max(file.size(), data_offset), '\0');
  file += data;
  if (spec.header_size == 124 && !spec.icc_profile.empty()) {
    Put32(file, h + 56, 0x4D424544);  // 'MBED'
    Put32(file, h + 112, static_cast<std::uint32_t>(file.size() - h));
    Put32(file, h + 116, static_cast<std::uint32_t>(spec.icc_profile.size()));
    file += spec.icc_profile;
  }
  Put32(file, 2, spec.file_size.value_or(static_cast<std::uint32_t>(file.size())));
  Put32(file, 10, static_cast<std::uint32_t>(data_offset));
  return file;
}

}  // namespace shifrodel::testing
