// The public BMP test images: every good file decodes, every bad one fails
// cleanly, and files with a reference rendering match it.
#include <gtest/gtest.h>
#include <tiffio.h>

#include <cstdlib>
#include <vector>

#include "imaging/bmp_decoder.h"
#include "imaging/corpus_files.h"
#include "imaging/decode_all.h"

namespace shifrodel {
namespace {

using testing::ConvertFile;
using testing::CorpusFolder;
using testing::DecodeFile;
using testing::DecoderOutput;
using testing::FileNames;

// A TIFF rendering as RGB rows, top to bottom, through libtiff.
std::optional<DecoderOutput> DecodeTiffFile(const std::string& path) {
  TIFF* tiff = TIFFOpen(path.c_str(), "r");
  if (tiff == nullptr) return std::nullopt;
  DecoderOutput image;
  TIFFGetField(tiff, TIFFTAG_IMAGEWIDTH, &image.header.width);
  TIFFGetField(tiff, TIFFTAG_IMAGELENGTH, &image.header.height);
  std::vector<std::uint32_t> abgr(std::size_t{image.header.width} * image.header.height);
  const bool read = TIFFReadRGBAImageOriented(tiff, image.header.width, image.header.height,
                                              abgr.data(), ORIENTATION_TOPLEFT, 0) != 0;
  TIFFClose(tiff);
  if (!read) return std::nullopt;
  for (const std::uint32_t p : abgr) {
    image.pixels.push_back(static_cast<char>(TIFFGetR(p)));
    image.pixels.push_back(static_cast<char>(TIFFGetG(p)));
    image.pixels.push_back(static_cast<char>(TIFFGetB(p)));
  }
  return image;
}

TEST(BmpCorpus, EveryGoodFileDecodesAndConverts) {
  const auto folder = CorpusFolder("bmp/good");
  if (!folder) GTEST_SKIP() << "no BMP corpus";
  for (const std::string& name : FileNames(*folder)) {
    const std::string path = *folder + "/" + name;
    EXPECT_TRUE(DecodeFile(OpenBmpDecoder, path).has_value()) << name;
    EXPECT_TRUE(ConvertFile(path, SourceFormat::kBmp).has_value()) << name;
  }
}

TEST(BmpCorpus, EveryBadFileFailsCleanly) {
  const auto folder = CorpusFolder("bmp/bad");
  if (!folder) GTEST_SKIP() << "no BMP corpus";
  for (const std::string& name : FileNames(*folder)) {
    const std::string path = *folder + "/" + name;
    EXPECT_FALSE(DecodeFile(OpenBmpDecoder, path).has_value()) << name;
    EXPECT_FALSE(ConvertFile(path, SourceFormat::kBmp).has_value()) << name;
  }
}

struct Reference {
  const char* bmp;        // in bmp/good
  const char* rendering;  // relative to the corpus
  int tolerance;          // what the rendering's format forces
};

TEST(BmpCorpus, FilesMatchTheirReferenceRenderings) {
  const auto good = CorpusFolder("bmp/good");
  const auto tiff = CorpusFolder("tiff");
  if (!good || !tiff) GTEST_SKIP() << "no BMP or TIFF corpus";
  const Reference references[] = {
      {"rgb-3c-8b.bmp", "tiff/rgb-3c-8b.tiff", 0},
      {"hopper.bmp", "tiff/hopper.tif", 0},
      // A TIFF colour map holds 16-bit values, which libtiff rounds down.
      {"palette-1c-8b.bmp", "tiff/palette-1c-8b.tiff", 1},
      // The bmpsuite files draw one picture in many codings.
      {"pal8rle.bmp", "bmp/good/pal8.bmp", 0},
      {"pal8topdown.bmp", "bmp/good/pal8.bmp", 0},
      {"pal8v4.bmp", "bmp/good/pal8.bmp", 0},
      {"pal8-0.bmp", "bmp/good/pal8.bmp", 0},
      {"pal4rle.bmp", "bmp/good/pal4.bmp", 0},
      {"rgb32.bmp", "bmp/good/rgb24.bmp", 0},
      {"rgb32bf.bmp", "bmp/good/rgb24.bmp", 0},
      // Five bits per channel are within 255 / 31 / 2 of the 8-bit value.
      {"rgb16.bmp", "bmp/good/rgb24.bmp", 4},
      {"rgb16-565.bmp", "bmp/good/rgb24.bmp", 4},
  };
  const std::string root = std::getenv("SHIFRODEL_CORPUS");
  for (const Reference& r : references) {
    SCOPED_TRACE(r.bmp);
    const auto image = DecodeFile(OpenBmpDecoder, *good + "/" + r.bmp);
    const std::string rendering = root + "/" + r.rendering;
    const auto expected = rendering.ends_with(".bmp") ? DecodeFile(OpenBmpDecoder, rendering)
                                                      : DecodeTiffFile(rendering);
    ASSERT_TRUE(image.has_value());
    ASSERT_TRUE(expected.has_value());
    ASSERT_EQ(image->header.width, expected->header.width);
    ASSERT_EQ(image->header.height, expected->header.height);
    const std::string got = AsRgb(*image), want = AsRgb(*expected);
    ASSERT_EQ(got.size(), want.size());
    int worst = 0;
    for (std::size_t i = 0; i < got.size(); ++i) {
      worst = std::max(
          worst, std::abs(static_cast<std::uint8_t>(got[i]) - static_cast<std::uint8_t>(want[i])));
    }
    EXPECT_LE(worst, r.tolerance);
  }
}

}  // namespace
}  // namespace shifrodel
