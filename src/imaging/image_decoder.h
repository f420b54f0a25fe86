// What every decoder delivers: the image's header, then its rows, top to
// bottom, a few at a time, so that no decoder needs to hold a whole page.
// The JPEG encoder pulls rows from any decoder through this interface.
#ifndef SHIFRODEL_IMAGING_IMAGE_DECODER_H_
#define SHIFRODEL_IMAGING_IMAGE_DECODER_H_

#include <cstdint>
#include <string>

namespace shifrodel {

enum class PixelFormat {
  kGrey8,  // one byte per pixel
  kRgb8,   // three bytes per pixel: R, G, B
  kCmyk8,  // four bytes per pixel (JPEG sources only: they keep their colour model)
};

constexpr int ChannelCount(PixelFormat format) {
  return format == PixelFormat::kGrey8 ? 1 : format == PixelFormat::kRgb8 ? 3 : 4;
}

struct ImageHeader {
  std::uint32_t width = 0;
  std::uint32_t height = 0;
  PixelFormat format = PixelFormat::kRgb8;
  // Resolution in dots per inch; 0 where the source has none.
  double x_dpi = 0;
  double y_dpi = 0;
  // The embedded ICC profile, empty when there is none.
  std::string icc_profile;
};

class ImageDecoder {
 public:
  virtual ~ImageDecoder() = default;
  virtual const ImageHeader& header() const = 0;
  // Decodes the next `count` rows into `out`, which holds
  // count * width * ChannelCount(format) bytes. False on any failure:
  // truncated or corrupt data, or reading past the last row.
  virtual bool ReadRows(std::uint8_t* out, std::uint32_t count) = 0;
};

}  // namespace shifrodel

#endif  // SHIFRODEL_IMAGING_IMAGE_DECODER_H_
