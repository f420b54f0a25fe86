// What the sections of a Photoshop file (version 1) say about its merged
// image, checked against the file before anything is allocated: the header,
// the colour-mode data, the image resources, the layer section (checked for
// consistency only: its layers are not composed) and the start of the
// merged image data.
#ifndef SHIFRODEL_IMAGING_PSD_LAYOUT_H_
#define SHIFRODEL_IMAGING_PSD_LAYOUT_H_

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "platform/file_system.h"

namespace shifrodel {

enum class PsdMode : std::uint16_t {
  kBitmap = 0,
  kGreyscale = 1,
  kIndexed = 2,
  kRgb = 3,
  kCmyk = 4,
  kMultichannel = 7,
  kDuotone = 8,
  kLab = 9,
};

enum class PsdCompression : std::uint16_t { kRaw = 0, kPackBits = 1 };

// How Photoshop shows a channel beyond the colour channels: a spot channel
// holds the coverage of an ink of its own colour; the others are masks.
struct PsdExtraChannel {
  bool spot = false;
  std::array<std::uint8_t, 3> ink{};  // the ink's colour as sRGB
};

// Every side of a version 1 file lies between 1 and this.
constexpr std::uint32_t kMaxPsdSide = 30000;

struct PsdLayout {
  std::uint32_t width = 0;
  std::uint32_t height = 0;
  int channels = 0;
  int depth = 0;  // bits per sample: 1, 8, 16 or 32
  PsdMode mode = PsdMode::kRgb;
  // Indexed images: 256 red values, then 256 green, then 256 blue.
  std::array<std::uint8_t, 768> palette{};
  int transparent_index = -1;  // an indexed colour that stands for transparency
  // The first channel after the colour channels is the merged image's
  // transparency (a negative layer count, or a merged-transparency block).
  bool merged_alpha = false;
  // From the display-information resource, in order from the first channel
  // after the colour channels; empty when the file has none.
  std::vector<PsdExtraChannel> extra_channels;
  PsdCompression compression = PsdCompression::kRaw;
  std::uint64_t data_offset = 0;  // just after the compression code
  std::uint64_t row_bytes = 0;    // one row of one channel, uncompressed
  double x_dpi = 0;
  double y_dpi = 0;
  std::string icc_profile;
};

// nullopt for anything this reader does not decode: no "8BPS" signature, a
// version other than 1 (large-document files), an unsupported mode or bit
// depth, too few channels for the mode, a merged image compressed other
// than raw or with PackBits, or any section, resource or layer record that
// runs past its container or the file.
std::optional<PsdLayout> ReadPsdLayout(File& file);

}  // namespace shifrodel

#endif  // SHIFRODEL_IMAGING_PSD_LAYOUT_H_
