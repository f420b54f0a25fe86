// The layer over the real converter: loads by extension through the file
// system, saves atomically, and reports every failure through IoFailed.
#include "imaging/image_layer.h"

#include <gtest/gtest.h>

#include "imaging/file_jpeg_converter.h"
#include "imaging/image_fixtures.h"
#include "support/faulty_file_system.h"
#include "support/temp_dir.h"

namespace shifrodel {
namespace {

using testing::FaultyFileSystem;
using testing::FsOp;

class ImageLayerTest : public ::testing::Test {
 protected:
  ImageLayerTest() : converter_(fs_), layer_(fs_, converter_) {
    testing::TiffSpec spec;
    spec.sample = [](std::uint32_t x, std::uint32_t, int s) { return x * 10u + s; };
    tiff_ = dir_.WriteFile("scan.TIF", testing::MakeTiff(spec));
  }

  testing::TempDir dir_;
  FaultyFileSystem fs_;
  FileJpegConverter converter_;
  ImageLayer layer_;
  std::string tiff_;
};

TEST_F(ImageLayerTest, LoadsByExtensionAndSavesTheJpegFile) {
  EXPECT_EQ(layer_.JpegQuality(), 80);
  layer_.LoadImageFile(tiff_);
  ASSERT_FALSE(layer_.IoFailed());
  layer_.SaveJpegFile(dir_ / "out.jpg");
  ASSERT_FALSE(layer_.IoFailed());
  const testing::DecodedImage image = testing::DecodeJpeg(dir_.ReadFile("out.jpg"));
  EXPECT_EQ(image.width, 16u);
  EXPECT_EQ(image.components, 3);
}

TEST_F(ImageLayerTest, QualityStaysWithinOneToHundred) {
  layer_.SetJpegQuality(0);
  EXPECT_EQ(layer_.JpegQuality(), 1);
  layer_.SetJpegQuality(150);
  EXPECT_EQ(layer_.JpegQuality(), 100);
}

// A file that could not be opened is not a damaged one: the file step
// offers to delete only the latter.
TEST_F(ImageLayerTest, ASourceThatCannotBeOpenedIsAFailedLoadOfItsOwnKind) {
  layer_.LoadImageFile(dir_ / "missing.tif");
  EXPECT_TRUE(layer_.IoFailed());
  EXPECT_EQ(layer_.LoadFailure(), ConversionFailure::kCannotOpen);
  fs_.Fail(FsOp::kOpenRead, tiff_);
  layer_.LoadImageFile(tiff_);
  EXPECT_TRUE(layer_.IoFailed());
  EXPECT_EQ(layer_.LoadFailure(), ConversionFailure::kCannotOpen);
  fs_.Clear();
  layer_.LoadImageFile(tiff_);
  EXPECT_EQ(layer_.LoadFailure(), ConversionFailure::kNone);
}

TEST_F(ImageLayerTest, AnExtensionWithoutDecoderOrBadContentIsABadImage) {
  const std::string png = dir_.WriteFile("scan.png", dir_.ReadFile("scan.TIF"));
  layer_.LoadImageFile(png);
  EXPECT_TRUE(layer_.IoFailed());
  EXPECT_EQ(layer_.LoadFailure(), ConversionFailure::kBadImage);
  layer_.LoadImageFile(dir_.WriteFile("scan.bmp", dir_.ReadFile("scan.TIF")));
  EXPECT_EQ(layer_.LoadFailure(), ConversionFailure::kBadImage);
}

TEST_F(ImageLayerTest, AfterAFailedLoadNothingIsSaved) {
  layer_.LoadImageFile(tiff_);
  layer_.LoadImageFile(dir_ / "missing.tif");
  layer_.SaveJpegFile(dir_ / "out.jpg");
  EXPECT_TRUE(layer_.IoFailed());
  EXPECT_FALSE(fs_.FileExists(dir_ / "out.jpg"));
}

TEST_F(ImageLayerTest, AnOutputThatCannotBeWrittenIsAFailedSaveAndARetryMayWork) {
  layer_.LoadImageFile(tiff_);
  const std::string out = dir_ / "out.jpg";
  layer_.SaveJpegFile(dir_ / "no such folder/out.jpg");
  EXPECT_TRUE(layer_.IoFailed());

  fs_.FailWritesAfter(100);  // a full disk
  layer_.SaveJpegFile(out);
  EXPECT_TRUE(layer_.IoFailed());
  EXPECT_FALSE(fs_.FileExists(out));

  fs_.Clear();
  layer_.SaveJpegFile(out);
  EXPECT_FALSE(layer_.IoFailed());
  EXPECT_TRUE(fs_.FileExists(out));
}

}  // namespace
}  // namespace shifrodel
