// Small images made in code for the image layer's tests: TIFF files written
// with libtiff and JPEG files with libjpeg, all in memory, and a reader of
// the JPEG files that the layer writes (their segments and their pixels).
#ifndef SHIFRODEL_TESTS_IMAGING_IMAGE_FIXTURES_H_
#define SHIFRODEL_TESTS_IMAGING_IMAGE_FIXTURES_H_

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace shifrodel::testing {

// A TIFF image to write. `sample(x, y, s)` gives sample s of pixel (x, y)
// in the image's own bit depth (a palette index for palette images).
struct TiffSpec {
  std::uint32_t width = 16;
  std::uint32_t height = 16;
  std::uint16_t photometric = 2;  // PHOTOMETRIC_RGB
  std::uint16_t bits = 8;
  std::uint16_t samples = 3;
  std::uint16_t compression = 1;  // COMPRESSION_NONE
  std::uint16_t planar = 1;       // PLANARCONFIG_CONTIG
  std::uint32_t tile = 0;         // tile side (a multiple of 16); 0 for strips
  std::uint32_t rows_per_strip = 0;
  std::uint16_t extra_sample = 0;  // the ExtraSamples value when samples exceed the colours
  std::uint16_t orientation = 1;
  std::optional<float> x_resolution;
  std::optional<float> y_resolution;
  std::uint16_t resolution_unit = 2;  // RESUNIT_INCH
  std::string icc_profile;
  std::vector<std::uint16_t> colormap;  // red, then green, then blue entries
  std::function<std::uint32_t(std::uint32_t x, std::uint32_t y, int s)> sample;
};
std::string MakeTiff(const TiffSpec& spec);

struct JpegSpec {
  std::uint32_t width = 16;
  std::uint32_t height = 16;
  int components = 3;   // 1 grey, 3 RGB, 4 CMYK
  int coded_space = 3;  // a J_COLOR_SPACE: JCS_GRAYSCALE 1, JCS_RGB 2, JCS_YCbCr 3, ...
  bool progressive = false;
  int density_unit = 1;  // 0 none, 1 dpi, 2 dots per cm
  int x_density = 200;
  int y_density = 200;
  std::vector<std::pair<int, std::string>> markers;  // written after the headers
  std::function<std::uint8_t(std::uint32_t x, std::uint32_t y, int c)> sample;
};
std::string MakeJpeg(const JpegSpec& spec);

// A 128-byte ICC profile header for colour space "RGB ", "GRAY" or "CMYK",
// followed by `filler` bytes.
std::string FakeIccProfile(const char space[4], std::size_t filler = 100);

// The segments of a JPEG file up to its first scan.
struct JpegSegment {
  int marker = 0;  // 0xC0 for SOF0 and so on
  std::string payload;
};
std::vector<JpegSegment> ReadJpegSegments(const std::string& jpeg);

struct JpegFrame {
  int sof_marker = 0;  // 0xC0 baseline, 0xC2 progressive
  std::uint32_t width = 0;
  std::uint32_t height = 0;
  std::vector<std::pair<int, int>> sampling;  // h, v of each component
  int jfif_unit = -1;                         // -1 without a JFIF header
  int x_density = 0;
  int y_density = 0;
  bool adobe = false;
  std::vector<JpegSegment> metadata;  // APPn and COM, JFIF and Adobe left out
  std::string icc_profile;            // the ICC_PROFILE segments joined
};
JpegFrame ReadJpegFrame(const std::string& jpeg);

// The pixels of a JPEG file, as libjpeg decodes them by default (grey,
// RGB or CMYK), row after row.
struct DecodedImage {
  std::uint32_t width = 0;
  std::uint32_t height = 0;
  int components = 0;
  std::vector<std::uint8_t> pixels;
  const std::uint8_t* at(std::uint32_t x, std::uint32_t y) const {
    return pixels.data() + (std::size_t{y} * width + x) * components;
  }
};
DecodedImage DecodeJpeg(const std::string& jpeg);

}  // namespace shifrodel::testing

#endif  // SHIFRODEL_TESTS_IMAGING_IMAGE_FIXTURES_H_
