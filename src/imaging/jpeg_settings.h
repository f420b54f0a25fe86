// How one JPEG file is to be written: the quality, the colour model and the
// coding, the density and the metadata that go into it. Every conversion
// builds its own, from the source, so nothing carries over between files.
#ifndef SHIFRODEL_IMAGING_JPEG_SETTINGS_H_
#define SHIFRODEL_IMAGING_JPEG_SETTINGS_H_

#include <cstdint>
#include <string>
#include <vector>

namespace shifrodel {

// The colour model of the coded image. Scans are written as YCbCr; a JPEG
// source keeps its own model.
enum class JpegColourModel { kGrey, kYCbCr, kRgb, kCmyk, kYcck };

// An application segment (APP0 to APP15) or a comment, as it stood in a
// JPEG source.
struct JpegMarker {
  int code = 0;  // 0xE0 to 0xEF, or 0xFE for a comment
  std::string data;
};

struct JpegSettings {
  int quality = 80;  // 1 to 100
  JpegColourModel colour_model = JpegColourModel::kYCbCr;
  bool progressive = false;
  // Dots per inch, as the JFIF header carries them.
  std::uint16_t x_density = 300;
  std::uint16_t y_density = 300;
  // Written after the encoder's own JFIF and Adobe headers, in this order.
  std::vector<JpegMarker> markers;
  // Written as ICC_PROFILE segments; empty for none.
  std::string icc_profile;
};

struct JfifDensity {
  std::uint16_t x = 300;
  std::uint16_t y = 300;
};

// The density written for a source's resolution in dots per inch: that
// resolution rounded, or 300 x 300 when the source has none or less than 2.
JfifDensity DensityForResolution(double x_dpi, double y_dpi);

}  // namespace shifrodel

#endif  // SHIFRODEL_IMAGING_JPEG_SETTINGS_H_
