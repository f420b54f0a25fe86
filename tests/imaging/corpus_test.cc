// The public test images: every good file converts, save the variants that
// the layer does not read, and every file of a bad folder fails cleanly.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <set>

#include "imaging/convert.h"
#include "imaging/image_fixtures.h"
#include "imaging/memory_file.h"
#include "platform/file_system.h"
#include "text/cp1251_codec.h"

namespace shifrodel {
namespace {

namespace fs = std::filesystem;

// Files that fail by design, and why.
const std::set<std::string> kUnsupported = {
    "10ct_32bit_128.tiff",                 // 32-bit floating-point samples
    "test_float64_predictor2_be_lzw.tif",  // 64-bit floating-point samples
    "16_bit_binary_pgm.tiff",              // 32-bit integer samples
    "hopper_unknown_pixel_mode.tif",       // 32-bit integer samples
    "12bit.cropped.tif",                   // 12-bit samples
    "testfax3_bug54_1dnoEOL.tif",          // 1-D fax strips without EOL codes: libtiff 4.5 stops
    "jpeg_lossless_sel1.jpg",              // lossless JPEG
    "monkey12.jpg",                        // 12-bit JPEG
    "mjpeg.jpg",                           // damaged entropy data (extraneous bytes before RST1)
};

std::optional<fs::path> CorpusFolder(const char* name) {
  const char* root = std::getenv("SHIFRODEL_CORPUS");
  if (root == nullptr || !fs::is_directory(fs::path(root) / name)) return std::nullopt;
  return fs::path(root) / name;
}

std::optional<std::string> ConvertFile(const fs::path& path, SourceFormat format) {
  std::string cp1251;
  if (!Utf8ToCp1251(path.string(), &cp1251)) return std::nullopt;
  const std::optional<std::string> bytes = NativeFileSystem().ReadWholeFile(cp1251);
  if (!bytes) return std::nullopt;
  MemoryFile file(*bytes);
  return ConvertToJpeg(file, format, 80, nullptr);
}

void CheckFolder(const char* name, SourceFormat format) {
  const auto folder = CorpusFolder(name);
  if (!folder) GTEST_SKIP() << "no corpus folder " << name;
  int good = 0;
  for (const auto& entry : fs::directory_iterator(*folder)) {
    if (!entry.is_regular_file()) continue;
    const std::string file = entry.path().filename().string();
    const std::optional<std::string> jpeg = ConvertFile(entry.path(), format);
    if (kUnsupported.count(file) != 0) {
      EXPECT_FALSE(jpeg.has_value()) << file << " now converts: take it off the list";
      continue;
    }
    ASSERT_TRUE(jpeg.has_value()) << file;
    EXPECT_NE(testing::ReadJpegFrame(*jpeg).sof_marker, 0) << file;
    ++good;
  }
  EXPECT_GT(good, 0);
  const fs::path bad = *folder / "bad";
  if (!fs::is_directory(bad)) return;
  for (const auto& entry : fs::directory_iterator(bad)) {
    if (entry.is_regular_file()) {
      EXPECT_FALSE(ConvertFile(entry.path(), format).has_value()) << entry.path().filename();
    }
  }
}

TEST(CorpusTest, TiffFiles) { CheckFolder("tiff", SourceFormat::kTiff); }

TEST(CorpusTest, JpegFiles) { CheckFolder("jpeg", SourceFormat::kJpeg); }

// The same page stored in every orientation looks the same once written.
TEST(CorpusTest, TiffOrientationsLookAlike) {
  const auto folder = CorpusFolder("tiff");
  if (!folder || !fs::exists(*folder / "g4_orientation_1.tif")) GTEST_SKIP() << "no corpus";
  const auto reference =
      testing::DecodeJpeg(*ConvertFile(*folder / "g4_orientation_1.tif", SourceFormat::kTiff));
  for (int orientation : {2, 4, 5, 7, 8}) {
    const fs::path path = *folder / ("g4_orientation_" + std::to_string(orientation) + ".tif");
    if (!fs::exists(path)) continue;
    const auto image = testing::DecodeJpeg(*ConvertFile(path, SourceFormat::kTiff));
    ASSERT_EQ(image.width, reference.width) << orientation;
    ASSERT_EQ(image.height, reference.height) << orientation;
    double difference = 0;
    for (std::size_t i = 0; i < image.pixels.size(); ++i) {
      difference += std::abs(image.pixels[i] - reference.pixels[i]);
    }
    EXPECT_LT(difference / image.pixels.size(), 4.0) << orientation;
  }
}

}  // namespace
}  // namespace shifrodel
