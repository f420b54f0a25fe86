#include "imaging/decode_all.h"

#include "imaging/memory_file.h"

namespace shifrodel::testing {

std::optional<DecoderOutput> DecodeAll(OpenDecoderFn open, File& file) {
  std::unique_ptr<ImageDecoder> decoder = open(file);
  if (!decoder) return std::nullopt;
  DecoderOutput image{decoder->header(), {}};
  const std::size_t row = std::size_t{image.header.width} * ChannelCount(image.header.format);
  image.pixels.resize(row * image.header.height);
  auto* out = reinterpret_cast<std::uint8_t*>(image.pixels.data());
  for (std::uint32_t y = 0; y < image.header.height; ++y, out += row) {
    if (!decoder->ReadRows(out, 1)) return std::nullopt;
  }
  return image;
}

std::optional<DecoderOutput> DecodeAll(OpenDecoderFn open, const std::string& bytes) {
  MemoryFile file(bytes);
  return DecodeAll(open, file);
}

std::string AsRgb(const DecoderOutput& image) {
  if (image.header.format == PixelFormat::kRgb8) return image.pixels;
  std::string rgb;
  rgb.reserve(image.pixels.size() * 3);
  for (const char grey : image.pixels) rgb.append(3, grey);
  return rgb;
}

}  // namespace shifrodel::testing
