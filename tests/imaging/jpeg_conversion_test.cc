// A JPEG source keeps its colour model, its coding and its metadata; the
// next file gets its own settings again.
#include <gtest/gtest.h>
#include <jpeglib.h>

#include "imaging/convert.h"
#include "imaging/image_fixtures.h"
#include "imaging/memory_file.h"

namespace shifrodel {
namespace {

using testing::JpegFrame;
using testing::JpegSpec;
using testing::MakeJpeg;
using testing::ReadJpegFrame;

std::optional<std::string> Convert(const std::string& bytes, SourceFormat format) {
  MemoryFile file(bytes);
  return ConvertToJpeg(file, format, 85, nullptr);
}

JpegSpec Flat(int components, int coded_space, std::vector<std::uint8_t> value) {
  JpegSpec spec;
  spec.components = components;
  spec.coded_space = coded_space;
  spec.sample = [value](std::uint32_t, std::uint32_t, int c) { return value[c]; };
  return spec;
}

using Sampling = std::vector<std::pair<int, int>>;

TEST(JpegConversionTest, TheSourceKeepsItsColourModel) {
  const struct {
    const char* name;
    JpegSpec spec;
    Sampling sampling;
    bool adobe;
  } kCases[] = {
      {"grey", Flat(1, JCS_GRAYSCALE, {90}), {{1, 1}}, false},
      {"ycbcr", Flat(3, JCS_YCbCr, {200, 40, 90}), {{2, 2}, {1, 1}, {1, 1}}, false},
      {"rgb", Flat(3, JCS_RGB, {200, 40, 90}), {{1, 1}, {1, 1}, {1, 1}}, true},
      {"cmyk", Flat(4, JCS_CMYK, {20, 200, 60, 100}), {{1, 1}, {1, 1}, {1, 1}, {1, 1}}, true},
      {"ycck", Flat(4, JCS_YCCK, {20, 200, 60, 100}), {{2, 2}, {1, 1}, {1, 1}, {2, 2}}, true},
  };
  for (const auto& c : kCases) {
    SCOPED_TRACE(c.name);
    const std::optional<std::string> jpeg = Convert(MakeJpeg(c.spec), SourceFormat::kJpeg);
    ASSERT_TRUE(jpeg.has_value());
    const JpegFrame frame = ReadJpegFrame(*jpeg);
    EXPECT_EQ(frame.sof_marker, 0xC0);
    EXPECT_EQ(frame.sampling, c.sampling);
    EXPECT_EQ(frame.adobe, c.adobe);
    // An RGB file goes without a JFIF header, which would make it YCbCr.
    EXPECT_EQ(frame.jfif_unit, c.spec.coded_space == JCS_RGB ? -1 : 1);
    const testing::DecodedImage image = testing::DecodeJpeg(*jpeg);
    ASSERT_EQ(image.components, c.spec.components);
    for (int ch = 0; ch < image.components; ++ch) {
      EXPECT_NEAR(image.at(5, 5)[ch], c.spec.sample(5, 5, ch), 4) << "channel " << ch;
    }
  }
}

TEST(JpegConversionTest, ProgressiveStaysProgressiveAndSequentialSequential) {
  JpegSpec spec = Flat(3, JCS_YCbCr, {10, 120, 240});
  spec.progressive = true;
  EXPECT_EQ(ReadJpegFrame(*Convert(MakeJpeg(spec), SourceFormat::kJpeg)).sof_marker, 0xC2);
  spec.progressive = false;
  EXPECT_EQ(ReadJpegFrame(*Convert(MakeJpeg(spec), SourceFormat::kJpeg)).sof_marker, 0xC0);
}

TEST(JpegConversionTest, ApplicationSegmentsAndCommentsAreCarriedOver) {
  const std::string icc =
      std::string("ICC_PROFILE\0\x01\x01", 14) + testing::FakeIccProfile("RGB ");
  const std::vector<std::pair<int, std::string>> metadata = {
      {JPEG_APP0 + 1, std::string("Exif\0\0MM\0*\0\0\0\x08\0\0", 16)},
      {JPEG_APP0 + 1, "http://ns.adobe.com/xap/1.0/\0<x:xmpmeta/>"},
      {JPEG_APP0 + 2, icc},
      {JPEG_APP0 + 13, std::string("Photoshop 3.0\08BIM\x04\x04\0\0\0\0\0\0", 26)},
      {JPEG_COM, "scanned in the reading room"},
  };
  JpegSpec spec = Flat(3, JCS_YCbCr, {10, 120, 240});
  spec.markers = metadata;
  // A second Adobe segment in the source is the encoder's own business.
  spec.markers.push_back({JPEG_APP0 + 14, std::string("Adobe\0\x64\0\0\0\0\x01", 12)});
  const JpegFrame frame = ReadJpegFrame(*Convert(MakeJpeg(spec), SourceFormat::kJpeg));
  ASSERT_EQ(frame.metadata.size(), metadata.size());
  for (std::size_t i = 0; i < metadata.size(); ++i) {
    EXPECT_EQ(frame.metadata[i].marker, metadata[i].first) << i;
    EXPECT_EQ(frame.metadata[i].payload, metadata[i].second) << i;
  }
  EXPECT_FALSE(frame.adobe);
  // One JFIF header only: the encoder's.
  int jfif = 0;
  for (const auto& s : testing::ReadJpegSegments(*Convert(MakeJpeg(spec), SourceFormat::kJpeg))) {
    if (s.marker == JPEG_APP0) ++jfif;
  }
  EXPECT_EQ(jfif, 1);
}

TEST(JpegConversionTest, DensityComesFromTheJfifHeader) {
  const struct {
    int unit, x, y, want_x, want_y;
  } kCases[] = {
      {1, 200, 150, 200, 150},
      {2, 100, 40, 254, 102},  // dots per centimetre
      {0, 1, 1, 300, 300},     // an aspect ratio only
      {1, 1, 1, 300, 300},     // less than 2
  };
  for (const auto& c : kCases) {
    JpegSpec spec = Flat(1, JCS_GRAYSCALE, {128});
    spec.density_unit = c.unit;
    spec.x_density = c.x;
    spec.y_density = c.y;
    const JpegFrame frame = ReadJpegFrame(*Convert(MakeJpeg(spec), SourceFormat::kJpeg));
    EXPECT_EQ(frame.x_density, c.want_x) << c.unit << " " << c.x;
    EXPECT_EQ(frame.y_density, c.want_y) << c.unit << " " << c.y;
  }
}

TEST(JpegConversionTest, NothingCarriesOverToTheNextFile) {
  JpegSpec grey = Flat(1, JCS_GRAYSCALE, {128});
  grey.progressive = true;
  grey.markers = {{JPEG_COM, "from the grey file"}};
  ASSERT_TRUE(Convert(MakeJpeg(grey), SourceFormat::kJpeg).has_value());

  testing::TiffSpec tiff;
  tiff.sample = [](std::uint32_t, std::uint32_t, int s) { return s == 0 ? 200u : 30u; };
  const JpegFrame frame = ReadJpegFrame(*Convert(testing::MakeTiff(tiff), SourceFormat::kTiff));
  EXPECT_EQ(frame.sof_marker, 0xC0);
  EXPECT_EQ(frame.sampling, (Sampling{{2, 2}, {1, 1}, {1, 1}}));
  EXPECT_TRUE(frame.metadata.empty());
}

}  // namespace
}  // namespace shifrodel
