// BMP and Photoshop sources through the whole conversion: a grey palette is
// expanded to colour, the resolution becomes the JPEG density, and only a
// profile of the pixels' own colour space goes along.
#include <gtest/gtest.h>

#include <cstdlib>

#include "imaging/bmp_builder.h"
#include "imaging/convert.h"
#include "imaging/image_fixtures.h"
#include "imaging/memory_file.h"
#include "imaging/psd_builder.h"

namespace shifrodel {
namespace {

using testing::BmpSpec;
using testing::DecodeJpeg;
using testing::FakeIccProfile;
using testing::PsdSpec;
using testing::ReadJpegFrame;

std::optional<std::string> Convert(const std::string& bytes, SourceFormat format) {
  MemoryFile file(bytes);
  return ConvertToJpeg(file, format, 95, nullptr);
}

TEST(BmpConversion, GreyPaletteBecomesAColourJpegAtItsDensity) {
  BmpSpec spec;
  spec.width = 16;
  spec.height = 16;
  spec.bit_count = 1;
  spec.palette = {0x000000, 0xFFFFFF};
  spec.rows.assign(16, std::string("\xFF\x00", 2));  // left half white
  spec.x_ppm = spec.y_ppm = 11811;                   // 300 dpi
  const auto jpeg = Convert(BuildBmp(spec), SourceFormat::kBmp);
  ASSERT_TRUE(jpeg.has_value());
  const auto frame = ReadJpegFrame(*jpeg);
  EXPECT_EQ(frame.sampling.size(), 3u);
  EXPECT_EQ(frame.x_density, 300);
  const auto image = DecodeJpeg(*jpeg);
  ASSERT_EQ(image.width, 16u);
  EXPECT_GT(image.at(2, 8)[0], 240);
  EXPECT_LT(image.at(13, 8)[0], 15);
}

TEST(PsdConversion, CmykLosesItsProfileRgbKeepsIt) {
  for (const bool cmyk : {true, false}) {
    PsdSpec spec;
    spec.mode = cmyk ? 4 : 3;
    spec.channels = cmyk ? 4 : 3;
    spec.width = spec.height = 8;
    spec.planes.assign(spec.channels, std::string(64, '\xFF'));
    const std::string profile = FakeIccProfile(cmyk ? "CMYK" : "RGB ");
    spec.resources = {{0x03ED, testing::ResolutionInfo(200)}, {0x040F, profile}};
    const auto jpeg = Convert(BuildPsd(spec), SourceFormat::kPsd);
    ASSERT_TRUE(jpeg.has_value());
    const auto frame = ReadJpegFrame(*jpeg);
    EXPECT_EQ(frame.x_density, 200);
    EXPECT_EQ(frame.icc_profile, cmyk ? "" : profile);
    EXPECT_GT(DecodeJpeg(*jpeg).at(4, 4)[1], 250);  // no ink, white paper
  }
}

TEST(BmpConversion, ContentOfAnotherFormatFails) {
  PsdSpec psd;
  psd.planes.assign(3, std::string(1, '\0'));
  EXPECT_FALSE(Convert(BuildPsd(psd), SourceFormat::kBmp).has_value());
  BmpSpec bmp;
  bmp.rows = {std::string(3, '\0')};
  EXPECT_FALSE(Convert(BuildBmp(bmp), SourceFormat::kPsd).has_value());
}

}  // namespace
}  // namespace shifrodel
