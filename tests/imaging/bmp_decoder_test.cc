// The BMP reader on files built in code: every header kind, bit count and
// compression, and every way a file can be broken.
#include "imaging/bmp_decoder.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "imaging/bmp_builder.h"
#include "imaging/decode_all.h"
#include "imaging/image_fixtures.h"
#include "imaging/memory_file.h"

namespace shifrodel {
namespace {

using namespace std::string_literals;

using testing::BmpSpec;
using testing::BuildBmp;
using testing::DecodeAll;
using testing::FakeIccProfile;

std::string Bytes(std::initializer_list<int> values) {
  std::string out;
  for (const int v : values) out.push_back(static_cast<char>(v));
  return out;
}

constexpr std::uint32_t kRed = 0xFF0000, kGreen = 0x00FF00, kBlue = 0x0000FF;
constexpr std::uint32_t kBlack = 0x000000, kWhite = 0xFFFFFF;

struct DecodeCase {
  const char* name;
  BmpSpec spec;
  PixelFormat format;
  std::string pixels;  // expected, top row first
};

void PrintTo(const DecodeCase& c, std::ostream* os) { *os << c.name; }

BmpSpec Spec(std::uint32_t header_size, std::int32_t width, std::int32_t height,
             std::uint16_t bits) {
  BmpSpec spec;
  spec.header_size = header_size;
  spec.width = width;
  spec.height = height;
  spec.bit_count = bits;
  return spec;
}

BmpSpec WithPalette(BmpSpec spec, std::vector<std::uint32_t> palette,
                    std::vector<std::string> rows) {
  spec.palette = std::move(palette);
  spec.rows = std::move(rows);
  return spec;
}

BmpSpec WithMasks(BmpSpec spec, std::uint32_t compression, std::array<std::uint32_t, 4> masks,
                  std::vector<std::string> rows) {
  spec.compression = compression;
  spec.masks = masks;
  spec.rows = std::move(rows);
  return spec;
}

BmpSpec Rle(std::uint32_t compression, std::int32_t width, std::int32_t height, std::string codes) {
  BmpSpec spec = Spec(40, width, height, compression == 1 ? 8 : 4);
  spec.compression = compression;
  spec.palette = {kBlack, kRed, kBlue};
  spec.data = std::move(codes);
  return spec;
}

const std::string kR = Bytes({255, 0, 0}), kG = Bytes({0, 255, 0}), kB = Bytes({0, 0, 255});
const std::string kW = Bytes({255, 255, 255}), kK = Bytes({0, 0, 0});

std::vector<DecodeCase> DecodeCases() {
  BmpSpec core24 = Spec(12, 2, 2, 24);
  core24.rows = {Bytes({255, 0, 0, 0, 255, 0}), Bytes({0, 0, 255, 255, 255, 255})};
  BmpSpec top_down = WithPalette(Spec(40, 2, -2, 8), {kRed, kBlue}, {"\1\0"s, "\0\1"s});
  return {
      {"CoreHeader24BitRowsFromTheBottom", core24, PixelFormat::kRgb8, kR + kW + kB + kG},
      {"CoreHeaderPaletteOfThreeByteEntries",
       WithPalette(Spec(12, 2, 1, 8), {kRed, kGreen}, {"\1\0"s}), PixelFormat::kRgb8, kG + kR},
      {"Os2ShortHeader4Bit", WithPalette(Spec(16, 3, 1, 4), {kRed, kGreen, kBlue}, {"\x01\x20"}),
       PixelFormat::kRgb8, kR + kG + kB},
      {"Os2LongHeader8Bit", WithPalette(Spec(64, 2, 1, 8), {kRed, kGreen, kBlue}, {"\2\1"}),
       PixelFormat::kRgb8, kB + kG},
      {"OneBitGreyPaletteComesOutGrey",
       WithPalette(Spec(40, 10, 1, 1), {kBlack, kWhite}, {"\xB3\x40"}), PixelFormat::kGrey8,
       Bytes({255, 0, 255, 255, 0, 0, 255, 255, 0, 255})},
      {"TwoBit", WithPalette(Spec(40, 5, 1, 2), {kBlack, kRed, kGreen, kBlue}, {"\x1B\x40"}),
       PixelFormat::kRgb8, kK + kR + kG + kB + kR},
      {"FourBitOddWidth", WithPalette(Spec(40, 3, 1, 4), {kRed, kGreen, kBlue}, {"\x21\x00"s}),
       PixelFormat::kRgb8, kB + kG + kR},
      {"EightBitTopDown", top_down, PixelFormat::kRgb8, kB + kR + kR + kB},
      {"SixteenBit555ByDefault",
       WithMasks(Spec(40, 4, 1, 16), 0, {},
                 {Bytes({0x00, 0x7C, 0xE0, 0x03, 0x1F, 0x00, 0x10, 0x42})}),
       PixelFormat::kRgb8, kR + kG + kB + Bytes({132, 132, 132})},
      {"SixteenBit565Masks",
       WithMasks(Spec(40, 2, 1, 16), 3, {0xF800, 0x07E0, 0x001F, 0},
                 {Bytes({0x00, 0xF8, 0x00, 0x04})}),
       PixelFormat::kRgb8, kR + Bytes({0, 130, 0})},
      {"ThirtyTwoBitIgnoresTheFourthByte",
       WithMasks(Spec(40, 2, 1, 32), 0, {}, {Bytes({0, 0, 255, 0, 255, 0, 0, 255})}),
       PixelFormat::kRgb8, kR + kB},
      {"V5AlphaLaidOverWhite",
       WithMasks(Spec(124, 3, 1, 32), 3, {0xFF0000, 0xFF00, 0xFF, 0xFF000000},
                 {Bytes({0, 0, 255, 0, 0, 0, 255, 255, 0, 0, 0, 128})}),
       PixelFormat::kRgb8, kW + kR + Bytes({127, 127, 127})},
      {"V4MasksInRgbaOrder",
       WithMasks(Spec(108, 1, 1, 32), 3, {0xFF, 0xFF00, 0xFF0000, 0xFF000000},
                 {Bytes({10, 20, 30, 255})}),
       PixelFormat::kRgb8, Bytes({10, 20, 30})},
      {"AlphaBitFieldsAfterAnInfoHeader",
       WithMasks(Spec(40, 1, 1, 16), 6, {0x0F00, 0x00F0, 0x000F, 0xF000}, {Bytes({0x0F, 0xF0})}),
       PixelFormat::kRgb8, Bytes({0, 0, 255})},
      {"V2HeaderCarriesItsMasks",
       WithMasks(Spec(52, 1, 1, 16), 3, {0x001F, 0x07E0, 0xF800, 0}, {Bytes({0x1F, 0x00})}),
       PixelFormat::kRgb8, kR},
      {"Rle8RunsLiteralsJumpsAndLineEnds",
       Rle(1, 4, 3,
           Bytes({4, 1, 0, 0,                       // bottom row: four reds
                  0, 3, 2, 1, 2, 0, 1, 0, 0, 0,     // literal blue red blue, padded; one black
                  1, 1, 0, 2, 2, 0, 1, 2, 0, 1})),  // red, jump two right, blue, end
       PixelFormat::kRgb8, kR + kW + kW + kB + kB + kR + kB + kK + kR + kR + kR + kR},
      {"Rle8EarlyEndLeavesTheRestWhite",
       Rle(1, 2, 3, Bytes({1, 1, 0, 2, 0, 1, 1, 2, 0, 1})),  // red, jump up a row, blue
       PixelFormat::kRgb8, kW + kW + kW + kB + kR + kW},
      {"Rle4NibblesAndLiterals",
       Rle(2, 5, 2, Bytes({5, 0x12, 0, 0, 0, 5, 0x01, 0x20, 0x10, 0, 0, 1})), PixelFormat::kRgb8,
       kK + kR + kB + kK + kR + kR + kB + kR + kB + kR},
      {"Rle8StreamWithoutEndCodeAfterTheLastPixel", Rle(1, 2, 1, Bytes({2, 2})), PixelFormat::kRgb8,
       kB + kB},
  };
}

class BmpDecodes : public ::testing::TestWithParam<DecodeCase> {};

TEST_P(BmpDecodes, ToTheExpectedPixels) {
  const DecodeCase& c = GetParam();
  const auto image = DecodeAll(OpenBmpDecoder, BuildBmp(c.spec));
  ASSERT_TRUE(image.has_value());
  EXPECT_EQ(image->header.width, static_cast<std::uint32_t>(c.spec.width));
  EXPECT_EQ(image->header.height,
            static_cast<std::uint32_t>(c.spec.height < 0 ? -c.spec.height : c.spec.height));
  EXPECT_EQ(image->header.format, c.format);
  EXPECT_EQ(image->pixels, c.pixels);
}

INSTANTIATE_TEST_SUITE_P(Cases, BmpDecodes, ::testing::ValuesIn(DecodeCases()),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(BmpDecoder, ResolutionInDotsPerInch) {
  BmpSpec spec = WithPalette(Spec(40, 1, 1, 8), {kRed}, {"\0"s});
  spec.x_ppm = 3780;
  spec.y_ppm = 1417;
  const auto image = DecodeAll(OpenBmpDecoder, BuildBmp(spec));
  ASSERT_TRUE(image.has_value());
  EXPECT_NEAR(image->header.x_dpi, 96.012, 1e-9);
  EXPECT_NEAR(image->header.y_dpi, 35.9918, 1e-9);
}

TEST(BmpDecoder, EmbeddedProfileTravelsWhenItDescribesTheOutput) {
  struct Case {
    std::vector<std::uint32_t> palette;
    std::string profile;
    PixelFormat format;
    bool kept;
  } cases[] = {
      {{kRed}, FakeIccProfile("RGB "), PixelFormat::kRgb8, true},
      {{kRed}, FakeIccProfile("CMYK"), PixelFormat::kRgb8, false},
      {{kWhite}, FakeIccProfile("GRAY"), PixelFormat::kGrey8, true},
      // A grey palette under an RGB profile stays RGB, so the profile fits.
      {{kWhite}, FakeIccProfile("RGB "), PixelFormat::kRgb8, true},
  };
  for (const Case& c : cases) {
    BmpSpec spec = WithPalette(Spec(124, 1, 1, 8), c.palette, {"\0"s});
    spec.icc_profile = c.profile;
    const auto image = DecodeAll(OpenBmpDecoder, BuildBmp(spec));
    ASSERT_TRUE(image.has_value());
    EXPECT_EQ(image->header.format, c.format);
    EXPECT_EQ(image->header.icc_profile, c.kept ? c.profile : "");
  }
}

TEST(BmpDecoder, RowsMayBeReadInAnyBatchesButNotPastTheEnd) {
  BmpSpec spec = WithPalette(Spec(40, 1, 3, 8), {kRed, kGreen, kBlue}, {"\0"s, "\1", "\2"});
  const std::string bytes = BuildBmp(spec);
  MemoryFile file(bytes);
  auto decoder = OpenBmpDecoder(file);
  ASSERT_NE(decoder, nullptr);
  std::string rows(9, '\0');
  auto* out = reinterpret_cast<std::uint8_t*>(rows.data());
  ASSERT_TRUE(decoder->ReadRows(out, 2));
  ASSERT_TRUE(decoder->ReadRows(out + 6, 1));
  EXPECT_EQ(rows, kB + kG + kR);
  EXPECT_FALSE(decoder->ReadRows(out, 1));
}

TEST(BmpDecoder, HugeBlankRunLengthImageNeedsNoImageBuffer) {
  // Two bytes may declare a page of 65535 x 65535 pixels: the reader keeps
  // one row, not four gigabytes.
  const std::string bytes = BuildBmp(Rle(1, 65535, 65535, Bytes({0, 1})));
  MemoryFile file(bytes);
  auto decoder = OpenBmpDecoder(file);
  ASSERT_NE(decoder, nullptr);
  std::string row(65535 * 3, '\0');
  ASSERT_TRUE(decoder->ReadRows(reinterpret_cast<std::uint8_t*>(row.data()), 1));
  EXPECT_EQ(row, std::string(row.size(), '\xFF'));
}

struct FailCase {
  const char* name;
  std::string bytes;
};

void PrintTo(const FailCase& c, std::ostream* os) { *os << c.name; }

std::string Cut(std::string bytes, std::size_t drop) {
  bytes.resize(bytes.size() - drop);
  return bytes;
}

std::string Poke(std::string bytes, std::size_t at, std::initializer_list<int> values) {
  for (const int v : values) bytes[at++] = static_cast<char>(v);
  return bytes;
}

// The files that the failure cases break, whole.
const BmpSpec kPal8 = WithPalette(Spec(40, 4, 2, 8), {kRed, kGreen}, {"\0\1\0\1"s, "\1\0\1\0"s});
const BmpSpec kRgb24 = [] {
  BmpSpec s = Spec(40, 1, 1, 24);
  s.rows = {"\0\0\0"s};
  return s;
}();

TEST(BmpDecoder, TheFilesTheFailureCasesBreakDecodeWhole) {
  EXPECT_TRUE(DecodeAll(OpenBmpDecoder, BuildBmp(kPal8)).has_value());
  EXPECT_TRUE(DecodeAll(OpenBmpDecoder, BuildBmp(kRgb24)).has_value());
  EXPECT_TRUE(DecodeAll(OpenBmpDecoder, BuildBmp(Rle(1, 2, 2, Bytes({2, 1, 0, 0, 2, 2, 0, 1}))))
                  .has_value());
}

std::vector<FailCase> FailCases() {
  const BmpSpec& pal8 = kPal8;
  const BmpSpec& rgb24 = kRgb24;
  const std::string good = BuildBmp(pal8);
  auto spec_with = [](BmpSpec spec, auto change) {
    change(spec);
    return BuildBmp(spec);
  };
  return {
      {"NotABitmap", Poke(good, 0, {'B', 'A'})},
      {"EmptyFile", ""},
      {"HeaderCutShort", good.substr(0, 30)},
      {"PixelDataCutShort", Cut(good, 5)},
      {"FileSizeFieldBeyondTheFile", spec_with(pal8, [](BmpSpec& s) { s.file_size = 100000; })},
      {"UnknownHeaderSize", Poke(good, 14, {41})},
      {"ZeroWidth", spec_with(pal8, [](BmpSpec& s) { s.width = 0; })},
      {"NegativeWidth", spec_with(pal8, [](BmpSpec& s) { s.width = -4; })},
      {"ZeroHeight", spec_with(pal8, [](BmpSpec& s) { s.height = 0; })},
      {"TwoPlanes", spec_with(pal8, [](BmpSpec& s) { s.planes = 2; })},
      {"BitCountThree", spec_with(pal8, [](BmpSpec& s) { s.bit_count = 3; })},
      {"BitCount30000", spec_with(pal8, [](BmpSpec& s) { s.bit_count = 30000; })},
      {"SixtyFourBitPixels", spec_with(rgb24, [](BmpSpec& s) { s.bit_count = 64; })},
      {"EmbeddedJpeg", spec_with(rgb24,
                                 [](BmpSpec& s) {
                                   s.compression = 4;
                                   s.rows = {"\xFF\xD8\xFF\xE0"};
                                 })},
      {"EmbeddedPng", spec_with(rgb24,
                                [](BmpSpec& s) {
                                  s.compression = 5;
                                  s.rows = {"\x89PNG\r\n\x1A\n"};
                                })},
      {"Os2HuffmanCoding", spec_with(pal8,
                                     [](BmpSpec& s) {
                                       s.header_size = 64;
                                       s.bit_count = 1;
                                       s.compression = 3;
                                     })},
      {"Os2Rle24", spec_with(rgb24,
                             [](BmpSpec& s) {
                               s.header_size = 64;
                               s.compression = 4;
                             })},
      {"UnknownCompression", spec_with(rgb24, [](BmpSpec& s) { s.compression = 7; })},
      {"Rle8WithFourBits", spec_with(Rle(1, 1, 1, "\1\1"), [](BmpSpec& s) { s.bit_count = 4; })},
      {"RleStoredTopDown", BuildBmp(Rle(1, 1, -1, "\1\1"))},
      {"BitFieldsOn24Bits", spec_with(rgb24,
                                      [](BmpSpec& s) {
                                        s.compression = 3;
                                        s.masks = {0xFF0000, 0xFF00, 0xFF, 0};
                                      })},
      {"OverlappingMasks",
       BuildBmp(WithMasks(Spec(40, 1, 1, 16), 3, {0xF800, 0x0FE0, 0x001F, 0}, {"\0\0"s}))},
      {"MaskWithAGap",
       BuildBmp(WithMasks(Spec(40, 1, 1, 16), 3, {0xE800, 0x07E0, 0x001F, 0}, {"\0\0"s}))},
      {"MaskBeyondTheBitCount",
       BuildBmp(WithMasks(Spec(40, 1, 1, 16), 3, {0xF0000, 0x07E0, 0x001F, 0}, {"\0\0"s}))},
      {"NoColourMasks", BuildBmp(WithMasks(Spec(40, 1, 1, 16), 3, {0, 0, 0, 0}, {"\0\0"s}))},
      {"PaletteLongerThanItsRoom", spec_with(pal8, [](BmpSpec& s) { s.colours_used = 305402420; })},
      {"PixelsInsideThePalette", spec_with(pal8, [](BmpSpec& s) { s.data_offset = 54; })},
      {"PixelsBeforeTheHeaderEnds", spec_with(pal8, [](BmpSpec& s) { s.data_offset = 20; })},
      {"ImageSizeBeyondTheFile", spec_with(pal8, [](BmpSpec& s) { s.image_size = 2129587950; })},
      {"DeclaresThreeMillionColumns", spec_with(rgb24,
                                                [](BmpSpec& s) {
                                                  s.width = 3000000;
                                                  s.height = 2000000;
                                                })},
      {"AbsurdDensity", spec_with(pal8, [](BmpSpec& s) { s.x_ppm = 30000000; })},
      {"NegativeDensity", spec_with(pal8, [](BmpSpec& s) { s.y_ppm = -1; })},
      {"ProfileLargerThanTheFile", Poke(spec_with(pal8,
                                                  [](BmpSpec& s) {
                                                    s.header_size = 124;
                                                    s.icc_profile = FakeIccProfile("RGB ");
                                                  }),
                                        14 + 116, {0, 0, 0, 1})},
      {"PaletteIndexOutsideThePalette",
       BuildBmp(WithPalette(Spec(40, 2, 1, 8), {kRed, kGreen}, {"\1\2"}))},
      {"RleIndexOutsideThePalette", BuildBmp(Rle(1, 1, 1, Bytes({1, 3, 0, 1})))},
      {"RleRunPastTheRowEnd", BuildBmp(Rle(1, 2, 2, Bytes({3, 1, 0, 1})))},
      {"RleRowRunningIntoTheNext", BuildBmp(Rle(1, 2, 2, Bytes({2, 1, 1, 1, 0, 1})))},
      {"RleLiteralPastTheRowEnd", BuildBmp(Rle(1, 2, 1, Bytes({0, 3, 1, 1, 1, 0, 0, 1})))},
      {"RleJumpAboveTheImage", BuildBmp(Rle(1, 2, 2, Bytes({0, 2, 0, 2, 0, 1})))},
      {"RleJumpPastTheRowEnd", BuildBmp(Rle(1, 2, 2, Bytes({0, 2, 3, 0, 0, 1})))},
      {"RleLineEndAboveTheImage", BuildBmp(Rle(1, 1, 1, Bytes({1, 1, 0, 0, 0, 0, 0, 1})))},
      {"RleCodeCutInHalf", BuildBmp(Rle(1, 2, 2, Bytes({2, 1, 0})))},
      {"RleLiteralCutShort", BuildBmp(Rle(1, 4, 1, Bytes({0, 4, 1, 1})))},
      {"RleStreamStopsBeforeTheLastRow", BuildBmp(Rle(1, 2, 2, Bytes({2, 1, 0, 0})))},
      {"Rle4RunPastTheRowEnd", BuildBmp(Rle(2, 3, 1, Bytes({4, 0x11, 0, 1})))},
      {"RleSideBeyondAnyJpeg", BuildBmp(Rle(1, 65536, 1, Bytes({0, 1})))},
  };
}

class BmpFails : public ::testing::TestWithParam<FailCase> {};

TEST_P(BmpFails, Cleanly) { EXPECT_FALSE(DecodeAll(OpenBmpDecoder, GetParam().bytes).has_value()); }

INSTANTIATE_TEST_SUITE_P(Cases, BmpFails, ::testing::ValuesIn(FailCases()),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace shifrodel
