#include "imaging/psd_layout.h"

#include <cstring>

#include "imaging/byte_order.h"
#include "imaging/file_bytes.h"
#include "imaging/psd_layers.h"
#include "imaging/psd_resources.h"
#include "imaging/stretch_reader.h"

namespace shifrodel {
namespace {

constexpr std::size_t kHeaderSize = 26;
constexpr int kMaxChannels = 56;

// Colour channels the mode needs; 0 for an unknown mode.
int ColourChannels(PsdMode mode) {
  switch (mode) {
    case PsdMode::kBitmap:
    case PsdMode::kGreyscale:
    case PsdMode::kIndexed:
    case PsdMode::kMultichannel:
    case PsdMode::kDuotone:
      return 1;
    case PsdMode::kRgb:
    case PsdMode::kLab:
      return 3;
    case PsdMode::kCmyk:
      return 4;
  }
  return 0;
}

bool DepthFits(PsdMode mode, int depth) {
  switch (mode) {
    case PsdMode::kBitmap:
      return depth == 1;
    case PsdMode::kIndexed:
      return depth == 8;
    case PsdMode::kGreyscale:
    case PsdMode::kRgb:
      return depth == 8 || depth == 16 || depth == 32;
    default:
      return depth == 8 || depth == 16;
  }
}

// A section led by its 4-byte length: a reader of its content, after which
// `file_reader` stands past the section.
std::optional<StretchReader> TakeSection(StretchReader& file_reader) {
  std::uint8_t length[4];
  if (!file_reader.Read(length, 4)) return std::nullopt;
  const std::uint32_t size = LoadBe32(length);
  if (size > file_reader.remaining()) return std::nullopt;
  StretchReader section = file_reader.Sub(size);
  if (!file_reader.Skip(size)) return std::nullopt;
  return section;
}

// The merged image must be whole: every channel's rows, raw or coded.
bool ImageDataFits(const PsdLayout& layout, std::uint64_t file_size) {
  const std::uint64_t room = file_size - layout.data_offset;
  const std::uint64_t rows = std::uint64_t{layout.height} * layout.channels;
  if (layout.compression == PsdCompression::kRaw) {
    return layout.row_bytes <= room / rows;
  }
  // The row-length table is read again by the decoder; here it only has to
  // lie in the file, with its rows after it.
  return rows * 2 <= room;
}

}  // namespace

std::optional<PsdLayout> ReadPsdLayout(File& file) {
  const std::int64_t size_signed = file.Size();
  if (size_signed < static_cast<std::int64_t>(kHeaderSize)) return std::nullopt;
  const auto file_size = static_cast<std::uint64_t>(size_signed);

  std::uint8_t head[kHeaderSize];
  if (!ReadAt(file, 0, head, sizeof head)) return std::nullopt;
  if (std::memcmp(head, "8BPS", 4) != 0 || LoadBe16(head + 4) != 1) return std::nullopt;
  PsdLayout layout;
  layout.channels = LoadBe16(head + 12);
  layout.height = LoadBe32(head + 14);
  layout.width = LoadBe32(head + 18);
  layout.depth = LoadBe16(head + 22);
  layout.mode = static_cast<PsdMode>(LoadBe16(head + 24));
  const int colour_channels = ColourChannels(layout.mode);
  if (colour_channels == 0 || layout.channels < colour_channels || layout.channels > kMaxChannels ||
      layout.width == 0 || layout.width > kMaxPsdSide || layout.height == 0 ||
      layout.height > kMaxPsdSide || !DepthFits(layout.mode, layout.depth)) {
    return std::nullopt;
  }
  layout.row_bytes = (std::uint64_t{layout.width} * layout.depth + 7) / 8;

  StretchReader in(file, kHeaderSize, file_size);
  auto colour_data = TakeSection(in);
  if (!colour_data) return std::nullopt;
  if (layout.mode == PsdMode::kIndexed &&
      !colour_data->Read(layout.palette.data(), layout.palette.size())) {
    return std::nullopt;
  }
  auto resources = TakeSection(in);
  if (!resources || !ReadPsdResources(*resources, layout)) return std::nullopt;
  auto layers = TakeSection(in);
  if (!layers || !CheckPsdLayers(*layers, layout)) return std::nullopt;

  std::uint8_t compression[2];
  if (!in.Read(compression, 2)) return std::nullopt;
  const std::uint16_t code = LoadBe16(compression);
  if (code != 0 && code != 1) return std::nullopt;  // ZIP is for layers only
  layout.compression = static_cast<PsdCompression>(code);
  layout.data_offset = in.position();
  if (!ImageDataFits(layout, file_size)) return std::nullopt;
  // Only the first channel after the colour ones can be transparency.
  if (layout.channels == colour_channels || layout.mode == PsdMode::kIndexed ||
      layout.mode == PsdMode::kBitmap || layout.mode == PsdMode::kMultichannel) {
    layout.merged_alpha = false;
  }
  return layout;
}

}  // namespace shifrodel
