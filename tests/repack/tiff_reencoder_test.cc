// The re-encoder on files made with libtiff: everything survives, only the
// encoding changes; what cannot be carried is refused before anything is
// written.
#include "imaging/tiff_reencoder.h"

#include <gtest/gtest.h>

#include "repack/tiff_fixture.h"
#include "support/temp_dir.h"
#include "text/cp1251_codec.h"

namespace shifrodel::testing {
namespace {

struct RoundTrip {
  const char* name;
  std::vector<TestPage> pages;
  const char* mode = "w";
  // The predictor every page of the LZW version should have.
  std::uint16_t predictor = PREDICTOR_NONE;
};

TestPage Page(std::function<void(TestPage&)> change) {
  TestPage page;
  change(page);
  return page;
}

std::vector<RoundTrip> RoundTrips() {
  const auto rgb = [](TestPage& p) {
    p.samples = 3;
    p.photometric = PHOTOMETRIC_RGB;
  };
  return {
      {"Grey8", {TestPage{}}, "w", PREDICTOR_HORIZONTAL},
      {"Rgb8", {Page(rgb)}, "w", PREDICTOR_HORIZONTAL},
      {"Grey16", {Page([](TestPage& p) { p.bits = 16; })}, "w", PREDICTOR_HORIZONTAL},
      {"Rgb16BigEndian",
       {Page([&](TestPage& p) {
         rgb(p);
         p.bits = 16;
       })},
       "wb",
       PREDICTOR_HORIZONTAL},
      {"SignedGrey16",
       {Page([](TestPage& p) {
         p.bits = 16;
         p.sample_format = SAMPLEFORMAT_INT;
       })},
       "w",
       PREDICTOR_HORIZONTAL},
      {"Grey12", {Page([](TestPage& p) { p.bits = 12; })}, "w", PREDICTOR_NONE},
      {"Grey4", {Page([](TestPage& p) { p.bits = 4; })}, "w", PREDICTOR_NONE},
      {"BilevelMinIsWhite",
       {Page([](TestPage& p) {
         p.bits = 1;
         p.photometric = PHOTOMETRIC_MINISWHITE;
       })},
       "w",
       PREDICTOR_NONE},
      {"Palette8",
       {Page([](TestPage& p) {
         p.photometric = PHOTOMETRIC_PALETTE;
         p.tags = [](TIFF* t) {
           std::vector<std::uint16_t> r(256), g(256), b(256);
           for (int i = 0; i < 256; ++i) {
             r[i] = static_cast<std::uint16_t>(i * 257);
             g[i] = static_cast<std::uint16_t>((255 - i) * 257);
             b[i] = static_cast<std::uint16_t>(i * 97);
           }
           TIFFSetField(t, TIFFTAG_COLORMAP, r.data(), g.data(), b.data());
         };
       })},
       "w",
       PREDICTOR_NONE},
      {"Cmyk8",
       {Page([](TestPage& p) {
         p.samples = 4;
         p.photometric = PHOTOMETRIC_SEPARATED;
         p.tags = [](TIFF* t) { TIFFSetField(t, TIFFTAG_INKSET, INKSET_CMYK); };
       })},
       "w",
       PREDICTOR_HORIZONTAL},
      {"RgbWithUnassociatedAlpha",
       {Page([&](TestPage& p) {
         rgb(p);
         p.samples = 4;
         p.extra_samples = {EXTRASAMPLE_UNASSALPHA};
       })},
       "w",
       PREDICTOR_HORIZONTAL},
      {"PlanarRgb8",
       {Page([&](TestPage& p) {
         rgb(p);
         p.planar = PLANARCONFIG_SEPARATE;
       })},
       "w",
       PREDICTOR_HORIZONTAL},
      {"TiledRgb8WithEdgeTiles",
       {Page([&](TestPage& p) {
         rgb(p);
         p.width = 100;
         p.length = 70;
         p.tile = 32;
       })},
       "w",
       PREDICTOR_HORIZONTAL},
      {"TiledPlanarRgba16",
       {Page([&](TestPage& p) {
         rgb(p);
         p.samples = 4;
         p.extra_samples = {EXTRASAMPLE_ASSOCALPHA};
         p.bits = 16;
         p.planar = PLANARCONFIG_SEPARATE;
         p.tile = 16;
       })},
       "wb",
       PREDICTOR_HORIZONTAL},
      {"Float32",
       {Page([](TestPage& p) {
         p.bits = 32;
         p.sample_format = SAMPLEFORMAT_IEEEFP;
       })},
       "w",
       PREDICTOR_FLOATINGPOINT},
      {"Float64RgbBigEndian",
       {Page([&](TestPage& p) {
         rgb(p);
         p.bits = 64;
         p.sample_format = SAMPLEFORMAT_IEEEFP;
       })},
       "wb",
       PREDICTOR_FLOATINGPOINT},
      {"Float16",
       {Page([](TestPage& p) {
         p.bits = 16;
         p.sample_format = SAMPLEFORMAT_IEEEFP;
       })},
       "w",
       PREDICTOR_FLOATINGPOINT},
      {"BigTiff", {Page(rgb)}, "w8", PREDICTOR_HORIZONTAL},
      {"DeflateWithPredictor",
       {Page([](TestPage& p) {
         p.compression = COMPRESSION_ADOBE_DEFLATE;
         p.predictor = PREDICTOR_HORIZONTAL;
       })},
       "w",
       PREDICTOR_HORIZONTAL},
      {"PackBits",
       {Page([](TestPage& p) { p.compression = COMPRESSION_PACKBITS; })},
       "w",
       PREDICTOR_HORIZONTAL},
      {"LzwWithoutPredictor",
       {Page([](TestPage& p) { p.compression = COMPRESSION_LZW; })},
       "w",
       PREDICTOR_HORIZONTAL},
      {"BilevelG4",
       {Page([](TestPage& p) {
         p.bits = 1;
         p.photometric = PHOTOMETRIC_MINISWHITE;
         p.compression = COMPRESSION_CCITTFAX4;
         p.rows_per_strip = 64;
       })},
       "w",
       PREDICTOR_NONE},
      {"OneStripOfAllRows",
       {Page([](TestPage& p) { p.rows_per_strip = p.length; })},
       "w",
       PREDICTOR_HORIZONTAL},
      {"ThreePagesOfOneKind",
       {Page([](TestPage& p) { p.seed = 1; }), Page([](TestPage& p) { p.seed = 2; }),
        Page([](TestPage& p) {
          p.seed = 3;
          p.width = 40;
        })},
       "w",
       PREDICTOR_HORIZONTAL},
  };
}

class ReencoderRoundTrip : public ::testing::TestWithParam<RoundTrip> {};

TEST_P(ReencoderRoundTrip, KeepsEverySampleAndTagAndChangesOnlyTheEncoding) {
  const RoundTrip& c = GetParam();
  TempDir dir;
  const std::string original = dir / "scan.tif";
  const std::string copy = dir / "scan.tif_";
  WriteTestTiff(original, c.pages, c.mode);
  if (HasFatalFailure()) return;

  TiffReencoder reencoder(NativeFileSystem());
  ASSERT_TRUE(reencoder.Open(original)) << reencoder.why();
  ASSERT_TRUE(reencoder.Write(copy)) << reencoder.why();
  EXPECT_TRUE(reencoder.Verify(copy)) << reencoder.why();

  const auto before = DecodedPages(original);
  ASSERT_EQ(before.size(), c.pages.size());
  EXPECT_EQ(DecodedPages(copy), before);
  EXPECT_EQ(CarriedTagListing(copy), CarriedTagListing(original));
  for (std::size_t p = 0; p < c.pages.size(); ++p) {
    EXPECT_EQ(CompressionOf(copy, static_cast<int>(p)), COMPRESSION_LZW);
  }
  TIFF* t = TIFFOpen(Cp1251ToUtf8(copy).c_str(), "r");
  ASSERT_NE(t, nullptr);
  std::uint16_t predictor = 0;
  TIFFGetFieldDefaulted(t, TIFFTAG_PREDICTOR, &predictor);
  TIFFClose(t);
  EXPECT_EQ(predictor, c.predictor);
}

INSTANTIATE_TEST_SUITE_P(Kinds, ReencoderRoundTrip, ::testing::ValuesIn(RoundTrips()),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace shifrodel::testing

namespace shifrodel::testing {
namespace {

TEST(Reencoder, KeepsEveryPageOfAMixedFile) {
  TempDir dir;
  const std::string original = dir / "pages.tif";
  const std::string copy = dir / "pages.tif_";
  TestPage grey;
  TestPage rgb16;
  rgb16.samples = 3;
  rgb16.photometric = PHOTOMETRIC_RGB;
  rgb16.bits = 16;
  TestPage bilevel;
  bilevel.bits = 1;
  bilevel.photometric = PHOTOMETRIC_MINISWHITE;
  bilevel.compression = COMPRESSION_CCITTFAX4;
  TestPage tiled;
  tiled.tile = 16;
  tiled.compression = COMPRESSION_ADOBE_DEFLATE;
  WriteTestTiff(original, {grey, rgb16, bilevel, tiled});
  if (HasFatalFailure()) return;

  TiffReencoder reencoder(NativeFileSystem());
  ASSERT_TRUE(reencoder.Open(original)) << reencoder.why();
  ASSERT_TRUE(reencoder.Write(copy)) << reencoder.why();
  EXPECT_TRUE(reencoder.Verify(copy)) << reencoder.why();
  const auto pages = DecodedPages(copy);
  EXPECT_EQ(pages.size(), 4u);
  EXPECT_EQ(pages, DecodedPages(original));
  EXPECT_EQ(CarriedTagListing(copy), CarriedTagListing(original));
  for (int p = 0; p < 4; ++p) EXPECT_EQ(CompressionOf(copy, p), COMPRESSION_LZW) << p;
}

}  // namespace
}  // namespace shifrodel::testing

namespace shifrodel::testing {
namespace {

const TIFFFieldInfo kPrivateTags[] = {
    {65000, -1, -1, TIFF_ASCII, FIELD_CUSTOM, 1, 0, const_cast<char*>("PrivateText")},
    {65001, -1, -1, TIFF_LONG, FIELD_CUSTOM, 1, 1, const_cast<char*>("PrivateNumbers")},
    {65002, -1, -1, TIFF_UNDEFINED, FIELD_CUSTOM, 1, 1, const_cast<char*>("PrivateBlob")},
};

// Writes one page, with private tags and the common metadata blocks, and
// with an EXIF directory (holding a maker note when asked).
void WriteWithMetadata(const std::string& path, bool maker_note) {
  TIFF* t = TIFFOpen(Cp1251ToUtf8(path).c_str(), "w");
  ASSERT_NE(t, nullptr);
  TIFFMergeFieldInfo(t, kPrivateTags, 3);
  TIFFSetField(t, TIFFTAG_IMAGEWIDTH, 64);
  TIFFSetField(t, TIFFTAG_IMAGELENGTH, 32);
  TIFFSetField(t, TIFFTAG_BITSPERSAMPLE, 8);
  TIFFSetField(t, TIFFTAG_SAMPLESPERPIXEL, 1);
  TIFFSetField(t, TIFFTAG_PHOTOMETRIC, PHOTOMETRIC_MINISBLACK);
  TIFFSetField(t, TIFFTAG_ROWSPERSTRIP, 32);
  TIFFSetField(t, TIFFTAG_SOFTWARE, "ScanStation 7");
  TIFFSetField(t, TIFFTAG_IMAGEDESCRIPTION, Cp1251ToUtf8("\xF4 12 \xEE\xEF 1").c_str());
  TIFFSetField(t, 65000, "private text");
  const std::uint32_t numbers[] = {1, 2, 3, 70000};
  TIFFSetField(t, 65001, 4, numbers);
  TIFFSetField(t, 65002, 5, "\x01\x02\x03\x04\x05");
  const std::string icc(300, '\x11'), xmp = "<x:xmpmeta/>", iptc(16, '\x1C');
  const std::string photoshop = "8BIM\x04\x04\0\0\0\0\0\0";
  TIFFSetField(t, TIFFTAG_ICCPROFILE, static_cast<std::uint32_t>(icc.size()), icc.data());
  TIFFSetField(t, TIFFTAG_XMLPACKET, static_cast<std::uint32_t>(xmp.size()), xmp.data());
  TIFFSetField(t, TIFFTAG_RICHTIFFIPTC, static_cast<std::uint32_t>(iptc.size() / 4), iptc.data());
  TIFFSetField(t, TIFFTAG_PHOTOSHOP, static_cast<std::uint32_t>(photoshop.size()),
               photoshop.data());
  TIFFSetField(t, TIFFTAG_EXIFIFD, std::uint64_t{0});
  std::string strip(64 * 32, '\0');
  for (std::size_t i = 0; i < strip.size(); ++i) strip[i] = static_cast<char>(i / 3);
  TIFFWriteEncodedStrip(t, 0, strip.data(), static_cast<tmsize_t>(strip.size()));
  ASSERT_EQ(TIFFWriteDirectory(t), 1);

  ASSERT_EQ(TIFFCreateEXIFDirectory(t), 0);
  TIFFSetField(t, EXIFTAG_DATETIMEORIGINAL, "2021:03:04 05:06:07");
  TIFFSetField(t, EXIFTAG_EXPOSURETIME, 0.01);
  if (maker_note) TIFFSetField(t, EXIFTAG_MAKERNOTE, 8, "MAKER\0\0\1");
  std::uint64_t exif = 0;
  ASSERT_EQ(TIFFWriteCustomDirectory(t, &exif), 1);
  ASSERT_EQ(TIFFSetDirectory(t, 0), 1);
  TIFFSetField(t, TIFFTAG_EXIFIFD, exif);
  ASSERT_EQ(TIFFRewriteDirectory(t), 1);
  TIFFClose(t);
}

TEST(Reencoder, CarriesPrivateTagsMetadataBlocksAndTheExifDirectory) {
  TempDir dir;
  const std::string original = dir / "meta.tif";
  const std::string copy = dir / "meta.tif_";
  WriteWithMetadata(original, false);
  if (HasFatalFailure()) return;

  TiffReencoder reencoder(NativeFileSystem());
  ASSERT_TRUE(reencoder.Open(original)) << reencoder.why();
  ASSERT_TRUE(reencoder.Write(copy)) << reencoder.why();
  EXPECT_TRUE(reencoder.Verify(copy)) << reencoder.why();
  const std::string listing = CarriedTagListing(copy);
  EXPECT_EQ(listing, CarriedTagListing(original));
  EXPECT_NE(listing.find("2021:03:04 05:06:07"), std::string::npos) << listing;
  EXPECT_NE(listing.find("ScanStation 7"), std::string::npos) << listing;

  TIFF* t = TIFFOpen(Cp1251ToUtf8(copy).c_str(), "r");
  ASSERT_NE(t, nullptr);
  std::uint32_t count = 0;
  const std::uint32_t* numbers = nullptr;
  ASSERT_EQ(TIFFGetField(t, 65001, &count, &numbers), 1);
  EXPECT_EQ(std::vector<std::uint32_t>(numbers, numbers + count),
            (std::vector<std::uint32_t>{1, 2, 3, 70000}));
  const char* text = nullptr;
  ASSERT_EQ(TIFFGetField(t, 65000, &count, &text), 1);
  EXPECT_STREQ(text, "private text");
  const void* icc = nullptr;
  ASSERT_EQ(TIFFGetField(t, TIFFTAG_ICCPROFILE, &count, &icc), 1);
  EXPECT_EQ(std::string(static_cast<const char*>(icc), count), std::string(300, '\x11'));
  TIFFClose(t);
}

struct Refusal {
  const char* name;
  std::function<void(const std::string& path)> make;
  const char* reason;  // a part of why()
};

void WriteFile(const std::string& path, const std::string& content) {
  FILE* f = std::fopen(Cp1251ToUtf8(path).c_str(), "wb");
  ASSERT_NE(f, nullptr);
  std::fwrite(content.data(), 1, content.size(), f);
  std::fclose(f);
}

std::vector<Refusal> Refusals() {
  TestPage jpeg;
  jpeg.compression = COMPRESSION_JPEG;
  TestPage reversed;
  reversed.tags = [](TIFF* t) { TIFFSetField(t, TIFFTAG_FILLORDER, FILLORDER_LSB2MSB); };
  TestPage parent;
  parent.tags = [](TIFF* t) {
    const std::uint64_t offsets[1] = {0};
    TIFFSetField(t, TIFFTAG_SUBIFD, 1, offsets);
  };
  return {
      {"ZeroBytes", [](const std::string& p) { WriteFile(p, ""); }, "not a TIFF file"},
      {"JpegNamedTif",
       [](const std::string& p) { WriteFile(p, std::string("\xFF\xD8\xFF\xE0\0\x10JFIF\0", 11)); },
       "not a TIFF file"},
      {"JpegCompressed", [=](const std::string& p) { WriteTestTiff(p, {jpeg}); }, "JPEG"},
      {"JpegSecondPage",
       [=](const std::string& p) {
         WriteTestTiff(p, {TestPage{}, jpeg});
       },
       "JPEG"},
      {"ReversedBitOrder", [=](const std::string& p) { WriteTestTiff(p, {reversed}); },
       "FillOrder"},
      {"SubIfds",
       [=](const std::string& p) {
         WriteTestTiff(p, {parent, TestPage{}});
       },
       "sub-IFDs"},
      {"ExifMakerNote", [](const std::string& p) { WriteWithMetadata(p, true); }, "maker note"},
  };
}

class ReencoderRefusal : public ::testing::TestWithParam<Refusal> {};

TEST_P(ReencoderRefusal, RefusesBeforeWritingAnything) {
  TempDir dir;
  const std::string path = dir / "x.tif";
  GetParam().make(path);
  if (HasFatalFailure()) return;
  TiffReencoder reencoder(NativeFileSystem());
  EXPECT_FALSE(reencoder.Open(path));
  EXPECT_NE(reencoder.why().find(GetParam().reason), std::string::npos) << reencoder.why();
}

INSTANTIATE_TEST_SUITE_P(Files, ReencoderRefusal, ::testing::ValuesIn(Refusals()),
                         [](const auto& info) { return std::string(info.param.name); });

// Overwrites the first occurrence of `what` in a file.
void Tamper(const std::string& path, const std::string& what, const std::string& with) {
  FILE* f = std::fopen(Cp1251ToUtf8(path).c_str(), "r+b");
  ASSERT_NE(f, nullptr);
  std::string content(1 << 20, '\0');
  content.resize(std::fread(content.data(), 1, content.size(), f));
  const std::size_t at = content.find(what);
  ASSERT_NE(at, std::string::npos);
  std::fseek(f, static_cast<long>(at), SEEK_SET);
  std::fwrite(with.data(), 1, with.size(), f);
  std::fclose(f);
}

TEST(Reencoder, VerifyFindsATagThatDiffers) {
  TempDir dir;
  const std::string original = dir / "meta.tif";
  const std::string copy = dir / "meta.tif_";
  WriteWithMetadata(original, false);
  if (HasFatalFailure()) return;
  TiffReencoder reencoder(NativeFileSystem());
  ASSERT_TRUE(reencoder.Open(original) && reencoder.Write(copy)) << reencoder.why();
  Tamper(copy, "ScanStation 7", "ScanStation 8");
  EXPECT_FALSE(reencoder.Verify(copy));
  EXPECT_NE(reencoder.why().find("tag 305"), std::string::npos) << reencoder.why();
}

TEST(Reencoder, VerifyFindsSamplesThatDiffer) {
  TempDir dir;
  const std::string original = dir / "scan.tif";
  const std::string copy = dir / "scan.tif_";
  TestPage page;
  page.width = 512;
  page.length = 512;
  WriteTestTiff(original, {page});
  if (HasFatalFailure()) return;
  TiffReencoder reencoder(NativeFileSystem());
  ASSERT_TRUE(reencoder.Open(original) && reencoder.Write(copy)) << reencoder.why();
  // The strips start after the 8-byte header; change some codes well inside.
  FILE* f = std::fopen(Cp1251ToUtf8(copy).c_str(), "r+b");
  ASSERT_NE(f, nullptr);
  std::fseek(f, 4000, SEEK_SET);
  std::fputc(std::fgetc(f) ^ 0x10, f);
  std::fclose(f);
  EXPECT_FALSE(reencoder.Verify(copy));
  EXPECT_NE(reencoder.why().find("page 1"), std::string::npos) << reencoder.why();
}

TEST(Reencoder, ASourceThatCannotBeDecodedFailsTheWrite) {
  TempDir dir;
  const std::string original = dir / "scan.tif";
  TestPage page;
  page.width = 512;
  page.length = 512;
  page.compression = COMPRESSION_LZW;
  page.rows_per_strip = 512;
  WriteTestTiff(original, {page});
  if (HasFatalFailure()) return;
  FILE* f = std::fopen(Cp1251ToUtf8(original).c_str(), "r+b");
  ASSERT_NE(f, nullptr);
  std::fseek(f, 200, SEEK_SET);
  const std::string garbage(2000, '\xFF');
  std::fwrite(garbage.data(), 1, garbage.size(), f);
  std::fclose(f);

  TiffReencoder reencoder(NativeFileSystem());
  ASSERT_TRUE(reencoder.Open(original)) << reencoder.why();
  EXPECT_FALSE(reencoder.Write(dir / "scan.tif_"));
  EXPECT_TRUE(reencoder.created());
}

}  // namespace
}  // namespace shifrodel::testing
