#include "imaging/psd_layers.h"

#include <algorithm>
#include <cstring>

#include "imaging/byte_order.h"

namespace shifrodel {
namespace {

constexpr int kMaxChannels = 56;

bool Is(const std::uint8_t* bytes, const char* text) { return std::memcmp(bytes, text, 4) == 0; }

bool ReadU32(StretchReader& in, std::uint32_t* value) {
  std::uint8_t bytes[4];
  if (!in.Read(bytes, 4)) return false;
  *value = LoadBe32(bytes);
  return true;
}

bool CheckLayerRecord(StretchReader& in, std::uint64_t* channel_data) {
  std::uint8_t head[18];
  if (!in.Read(head, sizeof head)) return false;
  const std::int32_t top = LoadBeS32(head), left = LoadBeS32(head + 4);
  const std::int32_t bottom = LoadBeS32(head + 8), right = LoadBeS32(head + 12);
  const int channels = LoadBe16(head + 16);
  if (bottom < top || right < left || channels > kMaxChannels) return false;
  for (int c = 0; c < channels; ++c) {
    std::uint8_t info[6];
    if (!in.Read(info, sizeof info)) return false;
    *channel_data += LoadBe32(info + 2);
  }
  std::uint8_t blend[12];
  std::uint32_t extra;
  return in.Read(blend, sizeof blend) && Is(blend, "8BIM") && ReadU32(in, &extra) && in.Skip(extra);
}

// A layer count and its records, then their channel data: all inside `in`.
bool CheckLayerInfo(StretchReader& in, PsdLayout& layout) {
  std::uint8_t count_bytes[2];
  if (!in.Read(count_bytes, 2)) return false;
  const int count = LoadBeS16(count_bytes);
  if (count < 0) layout.merged_alpha = true;
  std::uint64_t channel_data = 0;
  for (int i = 0; i < (count < 0 ? -count : count); ++i) {
    if (!CheckLayerRecord(in, &channel_data)) return false;
  }
  return channel_data <= in.remaining();
}

// Tagged blocks are 4-byte aligned; one that cannot be followed ends the walk
// quietly, since writers differ in their padding.
bool CheckTaggedBlocks(StretchReader& in, PsdLayout& layout) {
  while (in.remaining() >= 12) {
    std::uint8_t head[12];
    if (!in.Read(head, sizeof head) || !(Is(head, "8BIM") || Is(head, "8B64"))) return true;
    const std::uint8_t* key = head + 4;
    const std::uint32_t size = LoadBe32(head + 8);
    if (size > in.remaining()) return true;
    if (Is(key, "Mtrn") || Is(key, "Mt16") || Is(key, "Mt32")) layout.merged_alpha = true;
    if ((Is(key, "Layr") || Is(key, "Lr16") || Is(key, "Lr32")) && size > 0) {
      StretchReader block = in.Sub(size);
      if (!CheckLayerInfo(block, layout)) return false;
    }
    if (!in.Skip(std::min<std::uint64_t>((size + 3) / 4 * 4, in.remaining()))) return true;
  }
  return true;
}

}  // namespace

bool CheckPsdLayers(StretchReader& section, PsdLayout& layout) {
  if (section.remaining() == 0) return true;
  std::uint32_t info_size;
  if (!ReadU32(section, &info_size) || info_size > section.remaining()) return false;
  if (info_size > 0) {
    StretchReader info = section.Sub(info_size);
    if (!CheckLayerInfo(info, layout) || !section.Skip(info_size)) return false;
  }
  std::uint32_t mask_size;
  if (section.remaining() < 4) return true;
  if (!ReadU32(section, &mask_size) || !section.Skip(mask_size)) return false;
  return CheckTaggedBlocks(section, layout) && !section.failed();
}

}  // namespace shifrodel
