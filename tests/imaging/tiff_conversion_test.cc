// TIFF sources of every colour model the layer reads become 3-component
// YCbCr baseline JPEG files whose colours are the source's in RGB.
#include <gtest/gtest.h>
#include <tiffio.h>

#include <array>
#include <cstdlib>

#include "imaging/convert.h"
#include "imaging/image_fixtures.h"
#include "imaging/jpeg_encoder.h"
#include "imaging/memory_file.h"

namespace shifrodel {
namespace {

using testing::DecodedImage;
using testing::DecodeJpeg;
using testing::JpegFrame;
using testing::MakeTiff;
using testing::ReadJpegFrame;
using testing::TiffSpec;

using Rgb = std::array<int, 3>;

std::optional<std::string> ConvertTiff(const std::string& bytes, int quality = 95) {
  MemoryFile file(bytes);
  return ConvertToJpeg(file, SourceFormat::kTiff, quality, nullptr);
}

// The quadrant (0 top left, 1 top right, 2 bottom left, 3 bottom right) of
// a pixel of a 32 x 32 image.
int Quadrant(std::uint32_t x, std::uint32_t y) { return (y >= 16 ? 2 : 0) + (x >= 16 ? 1 : 0); }

void ExpectQuadrants(const DecodedImage& image, const std::array<Rgb, 4>& expected, int tolerance) {
  const std::uint32_t probes[4][2] = {{8, 8}, {24, 8}, {8, 24}, {24, 24}};
  for (int q = 0; q < 4; ++q) {
    const std::uint8_t* p = image.at(probes[q][0], probes[q][1]);
    for (int c = 0; c < 3; ++c) {
      EXPECT_NEAR(p[c], expected[q][c], tolerance) << "quadrant " << q << " channel " << c;
    }
  }
}

struct ModelCase {
  const char* name;
  TiffSpec spec;
  std::array<Rgb, 4> expected;
  int tolerance = 3;
};

// Four quadrant values per sample.
TiffSpec Quadrants(std::uint16_t photometric, std::uint16_t bits, std::uint16_t samples,
                   std::vector<std::array<std::uint32_t, 4>> values) {
  TiffSpec spec;
  spec.width = spec.height = 32;
  spec.photometric = photometric;
  spec.bits = bits;
  spec.samples = samples;
  spec.sample = [values](std::uint32_t x, std::uint32_t y, int s) {
    return values[s][Quadrant(x, y)];
  };
  return spec;
}

TiffSpec With(TiffSpec spec, void (*change)(TiffSpec&)) {
  change(spec);
  return spec;
}

const std::array<Rgb, 4> kColours = {
    {{200, 30, 40}, {30, 180, 60}, {40, 50, 200}, {128, 128, 128}}};

std::vector<std::array<std::uint32_t, 4>> ColourSamples(std::uint32_t scale) {
  std::vector<std::array<std::uint32_t, 4>> samples(3);
  for (int c = 0; c < 3; ++c) {
    for (int q = 0; q < 4; ++q) samples[c][q] = kColours[q][c] * scale;
  }
  return samples;
}

std::vector<std::uint16_t> Colormap(int entries) {
  std::vector<std::uint16_t> map(3 * entries, 0);
  for (int q = 0; q < 4; ++q) {
    for (int c = 0; c < 3; ++c) map[c * entries + q + 1] = kColours[q][c] * 257;
  }
  return map;
}

std::vector<ModelCase> ModelCases() {
  std::vector<ModelCase> cases;
  cases.push_back({"rgb 8", Quadrants(PHOTOMETRIC_RGB, 8, 3, ColourSamples(1)), kColours});
  cases.push_back({"rgb 16", Quadrants(PHOTOMETRIC_RGB, 16, 3, ColourSamples(257)), kColours});
  cases.push_back({"rgb 16 lzw",
                   With(Quadrants(PHOTOMETRIC_RGB, 16, 3, ColourSamples(257)),
                        [](TiffSpec& s) { s.compression = COMPRESSION_LZW; }),
                   kColours});
  const std::array<Rgb, 4> greys = {{{0, 0, 0}, {85, 85, 85}, {170, 170, 170}, {255, 255, 255}}};
  cases.push_back({"grey 8", Quadrants(PHOTOMETRIC_MINISBLACK, 8, 1, {{0, 85, 170, 255}}), greys});
  cases.push_back({"grey 16 min-is-white",
                   Quadrants(PHOTOMETRIC_MINISWHITE, 16, 1, {{255 * 257, 170 * 257, 85 * 257, 0}}),
                   greys});
  cases.push_back({"grey 4", Quadrants(PHOTOMETRIC_MINISBLACK, 4, 1, {{0, 5, 10, 15}}), greys});
  cases.push_back(
      {"grey 2 min-is-white", Quadrants(PHOTOMETRIC_MINISWHITE, 2, 1, {{3, 2, 1, 0}}), greys});
  const std::array<Rgb, 4> black_white = {{{255, 255, 255}, {0, 0, 0}, {0, 0, 0}, {255, 255, 255}}};
  cases.push_back({"bilevel g4 min-is-white",
                   With(Quadrants(PHOTOMETRIC_MINISWHITE, 1, 1, {{0, 1, 1, 0}}),
                        [](TiffSpec& s) { s.compression = COMPRESSION_CCITTFAX4; }),
                   black_white});
  cases.push_back({"bilevel min-is-black", Quadrants(PHOTOMETRIC_MINISBLACK, 1, 1, {{1, 0, 0, 1}}),
                   black_white});
  cases.push_back({"palette 8",
                   With(Quadrants(PHOTOMETRIC_PALETTE, 8, 1, {{1, 2, 3, 4}}),
                        [](TiffSpec& s) { s.colormap = Colormap(256); }),
                   kColours});
  cases.push_back({"palette 4",
                   With(Quadrants(PHOTOMETRIC_PALETTE, 4, 1, {{1, 2, 3, 4}}),
                        [](TiffSpec& s) { s.colormap = Colormap(16); }),
                   kColours});
  // Red at full, half and no opacity, and opaque blue; over white paper.
  const std::array<Rgb, 4> over_white = {
      {{255, 0, 0}, {255, 127, 127}, {255, 255, 255}, {0, 0, 255}}};
  cases.push_back(
      {"rgba unassociated",
       With(Quadrants(PHOTOMETRIC_RGB, 8, 4,
                      {{255, 255, 255, 0}, {0, 0, 0, 0}, {0, 0, 0, 255}, {255, 128, 0, 255}}),
            [](TiffSpec& s) { s.extra_sample = EXTRASAMPLE_UNASSALPHA; }),
       over_white});
  cases.push_back(
      {"rgba associated",
       With(Quadrants(PHOTOMETRIC_RGB, 8, 4,
                      {{255, 128, 0, 0}, {0, 0, 0, 0}, {0, 0, 0, 255}, {255, 128, 0, 255}}),
            [](TiffSpec& s) { s.extra_sample = EXTRASAMPLE_ASSOCALPHA; }),
       over_white});
  cases.push_back(
      {"grey with alpha",
       With(Quadrants(PHOTOMETRIC_MINISBLACK, 8, 2, {{0, 0, 0, 255}, {255, 0, 128, 255}}),
            [](TiffSpec& s) { s.extra_sample = EXTRASAMPLE_UNASSALPHA; }),
       {{{0, 0, 0}, {255, 255, 255}, {127, 127, 127}, {255, 255, 255}}}});
  cases.push_back({"cmyk 8",
                   Quadrants(PHOTOMETRIC_SEPARATED, 8, 4,
                             {{255, 0, 0, 0}, {0, 255, 0, 0}, {0, 0, 255, 0}, {0, 0, 0, 255}}),
                   {{{0, 255, 255}, {255, 0, 255}, {255, 255, 0}, {0, 0, 0}}}});
  cases.push_back({"cmyk 16",
                   Quadrants(PHOTOMETRIC_SEPARATED, 16, 4,
                             {{65535, 0, 0, 0}, {0, 65535, 0, 0}, {0, 0, 0, 0}, {0, 0, 0, 32896}}),
                   {{{0, 255, 255}, {255, 0, 255}, {255, 255, 255}, {127, 127, 127}}}});
  cases.push_back({"ycbcr jpeg",
                   With(Quadrants(PHOTOMETRIC_YCBCR, 8, 3, ColourSamples(1)),
                        [](TiffSpec& s) {
                          s.compression = COMPRESSION_JPEG;
                          s.rows_per_strip = 16;
                        }),
                   kColours, 8});
  cases.push_back(
      {"rgb tiled",
       With(Quadrants(PHOTOMETRIC_RGB, 8, 3, ColourSamples(1)), [](TiffSpec& s) { s.tile = 16; }),
       kColours});
  cases.push_back({"rgb 16 planes apart",
                   With(Quadrants(PHOTOMETRIC_RGB, 16, 3, ColourSamples(257)),
                        [](TiffSpec& s) { s.planar = PLANARCONFIG_SEPARATE; }),
                   kColours});
  // L* 100 and 0 with a* = b* = 0: libtiff's white (a warm one: its
  // display's white point is not the Lab file's) and black.
  cases.push_back(
      {"cie lab",
       Quadrants(PHOTOMETRIC_CIELAB, 8, 3, {{255, 0, 0, 255}, {0, 0, 0, 0}, {0, 0, 0, 0}}),
       {{{255, 252, 221}, {0, 0, 0}, {0, 0, 0}, {255, 252, 221}}},
       4});
  return cases;
}

TEST(TiffConversionTest, EveryColourModelBecomesYCbCrBaselineWithItsColours) {
  for (const ModelCase& c : ModelCases()) {
    SCOPED_TRACE(c.name);
    const std::optional<std::string> jpeg = ConvertTiff(MakeTiff(c.spec));
    ASSERT_TRUE(jpeg.has_value());
    const JpegFrame frame = ReadJpegFrame(*jpeg);
    EXPECT_EQ(frame.sof_marker, 0xC0);
    EXPECT_EQ(frame.sampling, (std::vector<std::pair<int, int>>{{2, 2}, {1, 1}, {1, 1}}));
    EXPECT_FALSE(frame.adobe);
    const DecodedImage image = DecodeJpeg(*jpeg);
    ASSERT_EQ(image.width, 32u);
    ASSERT_EQ(image.height, 32u);
    ExpectQuadrants(image, c.expected, c.tolerance);
  }
}

TEST(TiffConversionTest, TheOrientationTagTurnsTheImage) {
  // Stored: A B over C D, 64 wide and 32 high; each letter a colour.
  const std::array<Rgb, 4> letters = {
      {{230, 20, 20}, {20, 200, 20}, {20, 20, 230}, {240, 240, 20}}};
  const struct {
    int orientation;
    const char* shown;  // top left, top right, bottom left, bottom right
  } kCases[] = {{1, "ABCD"}, {2, "BADC"}, {3, "DCBA"}, {4, "CDAB"},
                {5, "ACBD"}, {6, "CADB"}, {7, "DBCA"}, {8, "BDAC"}};
  for (const auto& c : kCases) {
    SCOPED_TRACE(c.orientation);
    TiffSpec spec;
    spec.width = 64;
    spec.height = 32;
    spec.orientation = static_cast<std::uint16_t>(c.orientation);
    spec.x_resolution = 100;
    spec.y_resolution = 200;
    spec.sample = [&letters](std::uint32_t x, std::uint32_t y, int s) {
      return static_cast<std::uint32_t>(letters[(y >= 16 ? 2 : 0) + (x >= 32 ? 1 : 0)][s]);
    };
    const std::optional<std::string> jpeg = ConvertTiff(MakeTiff(spec));
    ASSERT_TRUE(jpeg.has_value());
    const DecodedImage image = DecodeJpeg(*jpeg);
    const bool turned = c.orientation >= 5;
    ASSERT_EQ(image.width, turned ? 32u : 64u);
    ASSERT_EQ(image.height, turned ? 64u : 32u);
    const JpegFrame frame = ReadJpegFrame(*jpeg);
    EXPECT_EQ(frame.x_density, turned ? 200 : 100);
    EXPECT_EQ(frame.y_density, turned ? 100 : 200);
    const std::uint32_t w = image.width, h = image.height;
    const std::uint32_t probes[4][2] = {
        {w / 4, h / 4}, {3 * w / 4, h / 4}, {w / 4, 3 * h / 4}, {3 * w / 4, 3 * h / 4}};
    for (int q = 0; q < 4; ++q) {
      const Rgb& want = letters[c.shown[q] - 'A'];
      const std::uint8_t* p = image.at(probes[q][0], probes[q][1]);
      for (int ch = 0; ch < 3; ++ch) EXPECT_NEAR(p[ch], want[ch], 4) << "corner " << q;
    }
  }
}

TEST(TiffConversionTest, DensityComesFromTheResolutionInDotsPerInch) {
  const struct {
    std::optional<float> x, y;
    std::uint16_t unit;
    int want_x, want_y;
  } kCases[] = {
      {400.0f, 400.0f, RESUNIT_INCH, 400, 400},
      {72.6f, 96.2f, RESUNIT_INCH, 73, 96},
      {118.11f, 39.37f, RESUNIT_CENTIMETER, 300, 100},
      {std::nullopt, std::nullopt, RESUNIT_INCH, 300, 300},
      {1.0f, 1.0f, RESUNIT_INCH, 300, 300},      // less than 2
      {300.0f, 300.0f, RESUNIT_NONE, 300, 300},  // an aspect ratio, not a resolution
  };
  for (const auto& c : kCases) {
    TiffSpec spec = Quadrants(PHOTOMETRIC_RGB, 8, 3, ColourSamples(1));
    spec.x_resolution = c.x;
    spec.y_resolution = c.y;
    spec.resolution_unit = c.unit;
    const std::optional<std::string> jpeg = ConvertTiff(MakeTiff(spec));
    ASSERT_TRUE(jpeg.has_value());
    const JpegFrame frame = ReadJpegFrame(*jpeg);
    EXPECT_EQ(frame.jfif_unit, 1);
    EXPECT_EQ(frame.x_density, c.want_x) << c.x.value_or(0);
    EXPECT_EQ(frame.y_density, c.want_y) << c.y.value_or(0);
  }
}

TEST(TiffConversionTest, AnRgbProfileGoesIntoTheOutputAndOthersDoNot) {
  TiffSpec rgb = Quadrants(PHOTOMETRIC_RGB, 8, 3, ColourSamples(1));
  rgb.icc_profile = testing::FakeIccProfile("RGB ", 70000);  // more than one segment holds
  std::optional<std::string> jpeg = ConvertTiff(MakeTiff(rgb));
  ASSERT_TRUE(jpeg.has_value());
  EXPECT_EQ(ReadJpegFrame(*jpeg).icc_profile, rgb.icc_profile);

  TiffSpec grey = Quadrants(PHOTOMETRIC_MINISBLACK, 8, 1, {{0, 85, 170, 255}});
  grey.icc_profile = testing::FakeIccProfile("GRAY");
  jpeg = ConvertTiff(MakeTiff(grey));
  ASSERT_TRUE(jpeg.has_value());
  EXPECT_TRUE(ReadJpegFrame(*jpeg).metadata.empty());
}

TEST(TiffConversionTest, QualityScalesTheStandardTables) {
  const std::string tiff = MakeTiff(Quadrants(PHOTOMETRIC_RGB, 8, 3, ColourSamples(1)));
  const auto luminance_dc = [&](int quality) {
    for (const auto& s : testing::ReadJpegSegments(*ConvertTiff(tiff, quality))) {
      if (s.marker == 0xDB) return static_cast<int>(static_cast<std::uint8_t>(s.payload[1]));
    }
    return -1;
  };
  // The first entry of the standard luminance table is 16, scaled by
  // 5000 / q percent below 50 and 200 - 2q percent above.
  EXPECT_EQ(luminance_dc(50), 16);
  EXPECT_EQ(luminance_dc(75), 8);
  EXPECT_EQ(luminance_dc(100), 1);
  EXPECT_EQ(luminance_dc(1), 255);  // limited to baseline values
}

TEST(TiffConversionTest, ProgressIsReportedThroughoutALargeImage) {
  TiffSpec spec = Quadrants(PHOTOMETRIC_MINISBLACK, 8, 1, {{0, 85, 170, 255}});
  spec.width = 2048;
  spec.height = 1024;
  const std::string tiff = MakeTiff(spec);
  MemoryFile file(tiff);
  int calls = 0;
  ASSERT_TRUE(ConvertToJpeg(file, SourceFormat::kTiff, 80, [&] { ++calls; }).has_value());
  EXPECT_EQ(calls, static_cast<int>(std::uint64_t{2048} * 1024 / kProgressPixels));
}

}  // namespace
}  // namespace shifrodel
