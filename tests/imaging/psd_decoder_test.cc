// The Photoshop reader on files built in code: every colour mode and depth,
// both codings, transparency and spot inks, and every way a file can be
// broken.
#include "imaging/psd_decoder.h"

#include <gtest/gtest.h>

#include <bit>
#include <string>
#include <vector>

#include "imaging/decode_all.h"
#include "imaging/image_fixtures.h"
#include "imaging/psd_builder.h"

namespace shifrodel {
namespace {

using namespace std::string_literals;

using testing::Be16;
using testing::Be32;
using testing::BuildPsd;
using testing::DecodeAll;
using testing::FakeIccProfile;
using testing::LayerSection;
using testing::PsdResource;
using testing::PsdSpec;
using testing::ResolutionInfo;

std::string Bytes(std::initializer_list<int> values) {
  std::string out;
  for (const int v : values) out.push_back(static_cast<char>(v));
  return out;
}

std::string Wide(std::initializer_list<int> values) {
  std::string out;
  for (const int v : values) out += Be16(static_cast<std::uint32_t>(v));
  return out;
}

std::string Floats(std::initializer_list<float> values) {
  std::string out;
  for (const float v : values) out += Be32(std::bit_cast<std::uint32_t>(v));
  return out;
}

PsdSpec Spec(std::uint16_t mode, std::uint16_t depth, std::uint32_t width,
             std::vector<std::string> planes, std::uint32_t height = 1) {
  PsdSpec spec;
  spec.mode = mode;
  spec.depth = depth;
  spec.width = width;
  spec.height = height;
  spec.channels = static_cast<std::uint16_t>(planes.size());
  spec.planes = std::move(planes);
  return spec;
}

constexpr std::uint16_t kBitmap = 0, kGrey = 1, kIndexed = 2, kRgb = 3, kCmyk = 4;
constexpr std::uint16_t kMultichannel = 7, kDuotone = 8, kLab = 9;

// 256 reds, 256 greens, 256 blues.
std::string Palette(std::initializer_list<std::uint32_t> colours) {
  std::string palette(768, '\0');
  std::size_t i = 0;
  for (const std::uint32_t rgb : colours) {
    palette[i] = static_cast<char>(rgb >> 16);
    palette[256 + i] = static_cast<char>(rgb >> 8 & 0xFF);
    palette[512 + i] = static_cast<char>(rgb & 0xFF);
    ++i;
  }
  return palette;
}

// Display information naming every extra channel a spot ink (RGB colour
// records) or a mask.
std::string DisplayInfo(std::vector<std::pair<bool, std::uint32_t>> channels) {
  std::string info = Be32(1);
  for (const auto& [spot, rgb] : channels) {
    info += Be16(0) + Be16((rgb >> 16) * 257) + Be16((rgb >> 8 & 0xFF) * 257) +
            Be16((rgb & 0xFF) * 257) + Be16(0) + Be16(100) + std::string(1, spot ? 2 : 0);
  }
  return info;
}

struct DecodeCase {
  const char* name;
  PsdSpec spec;
  PixelFormat format;
  std::string pixels;
};

void PrintTo(const DecodeCase& c, std::ostream* os) { *os << c.name; }

const std::string kR = Bytes({255, 0, 0}), kG = Bytes({0, 255, 0}), kB = Bytes({0, 0, 255});
const std::string kW = Bytes({255, 255, 255}), kK = Bytes({0, 0, 0});

std::vector<DecodeCase> DecodeCases() {
  PsdSpec indexed = Spec(kIndexed, 8, 3, {Bytes({0, 1, 2})});
  indexed.colour_data = Palette({0xFF0000, 0x00FF00, 0x0000FF});
  indexed.resources = {{0x0417, Be16(2)}};
  PsdSpec grey_indexed = Spec(kIndexed, 8, 2, {Bytes({0, 1})});
  grey_indexed.colour_data = Palette({0x000000, 0x808080});
  PsdSpec packed = Spec(kRgb, 8, 4,
                        {Bytes({255, 255, 255, 0, 9, 9, 9, 9}), Bytes({0, 0, 0, 0, 8, 8, 8, 8}),
                         Bytes({0, 0, 0, 255, 7, 7, 7, 7})},
                        2);
  packed.compression = 1;
  PsdSpec merged_alpha = Spec(kRgb, 8, 3, {"\xFF\xFF\0"s, "\0\0\0"s, "\0\0\0"s, "\0\xFF\x80"s});
  merged_alpha.layer_section = LayerSection(-1);
  PsdSpec mask_channel = merged_alpha;
  mask_channel.layer_section = LayerSection(1);
  PsdSpec marked_alpha = merged_alpha;
  marked_alpha.layer_section = Be32(0) + Be32(0) + "8BIMMtrn" + Be32(0);
  PsdSpec spot = Spec(kRgb, 8, 2, {"\xFF\xFF", "\xFF\xFF", "\xFF\xFF", "\0\xFF"s});
  spot.resources = {{0x0435, DisplayInfo({{true, 0x0000FF}})}};
  PsdSpec grey_spot = Spec(kGrey, 8, 2, {"\x80\x80", "\0\xFF"s, "\0\0"s});
  grey_spot.resources = {{0x0435, DisplayInfo({{true, 0xFF0000}, {false, 0}})}};
  return {
      {"Grey8", Spec(kGrey, 8, 2, {Bytes({0, 255})}), PixelFormat::kGrey8, Bytes({0, 255})},
      {"Grey16", Spec(kGrey, 16, 2, {Wide({0, 0x8000})}), PixelFormat::kGrey8, Bytes({0, 128})},
      {"Grey32IsLinearLight", Spec(kGrey, 32, 3, {Floats({0.0f, 1.0f, 0.5f})}), PixelFormat::kGrey8,
       Bytes({0, 255, 188})},
      {"BitmapOnesAreInk", Spec(kBitmap, 1, 10, {"\xB3\x40"}), PixelFormat::kGrey8,
       Bytes({0, 255, 0, 0, 255, 255, 0, 0, 255, 0})},
      {"DuotoneAsGrey", Spec(kDuotone, 8, 2, {Bytes({10, 200})}), PixelFormat::kGrey8,
       Bytes({10, 200})},
      {"IndexedWithATransparentColour", indexed, PixelFormat::kRgb8, kR + kG + kW},
      {"IndexedGreyPalette", grey_indexed, PixelFormat::kGrey8, Bytes({0, 128})},
      {"RgbPackBits", packed, PixelFormat::kRgb8,
       kR + kR + kR + kB + Bytes({9, 8, 7, 9, 8, 7, 9, 8, 7, 9, 8, 7})},
      {"Rgb16", Spec(kRgb, 16, 1, {Wide({65535}), Wide({0}), Wide({257 * 7})}), PixelFormat::kRgb8,
       Bytes({255, 0, 7})},
      {"Rgb32", Spec(kRgb, 32, 1, {Floats({1.0f}), Floats({2.0f}), Floats({-1.0f})}),
       PixelFormat::kRgb8, Bytes({255, 255, 0})},
      {"CmykStoresInkInverted",
       Spec(kCmyk, 8, 3,
            {Bytes({255, 255, 255}), Bytes({0, 255, 255}), Bytes({0, 255, 255}),
             Bytes({255, 255, 0})}),
       PixelFormat::kRgb8, kR + kW + kK},
      {"Cmyk16", Spec(kCmyk, 16, 1, {Wide({0}), Wide({65535}), Wide({65535}), Wide({65535})}),
       PixelFormat::kRgb8, Bytes({0, 255, 255})},
      {"Lab8",
       Spec(kLab, 8, 3, {Bytes({255, 0, 48}), Bytes({128, 128, 179}), Bytes({128, 128, 43})}),
       PixelFormat::kRgb8, kW + kK + Bytes({0, 3, 177})},
      {"Lab16", Spec(kLab, 16, 1, {Wide({65535}), Wide({32768}), Wide({32768})}),
       PixelFormat::kRgb8, kW},
      {"MultichannelOfOneAsGrey", Spec(kMultichannel, 8, 1, {Bytes({77})}), PixelFormat::kGrey8,
       Bytes({77})},
      {"MultichannelOfThreeAsRgb", Spec(kMultichannel, 8, 1, {Bytes({1}), Bytes({2}), Bytes({3})}),
       PixelFormat::kRgb8, Bytes({1, 2, 3})},
      {"MultichannelOfFiveAsCmyk",
       Spec(kMultichannel, 8, 1, {Bytes({0}), Bytes({255}), Bytes({0}), Bytes({255}), Bytes({0})}),
       PixelFormat::kRgb8, kG},
      {"MergedTransparencyOverWhite", merged_alpha, PixelFormat::kRgb8,
       kW + kR + Bytes({127, 127, 127})},
      {"MaskChannelsAreNotTransparency", mask_channel, PixelFormat::kRgb8, kR + kR + kK},
      {"TransparencyMarkedByATaggedBlock", marked_alpha, PixelFormat::kRgb8,
       kW + kR + Bytes({127, 127, 127})},
      {"SpotInkPrintedOverTheImage", spot, PixelFormat::kRgb8, kB + kW},
      {"SpotInkTurnsGreyIntoColour", grey_spot, PixelFormat::kRgb8,
       Bytes({128, 0, 0, 128, 128, 128})},
  };
}

class PsdDecodes : public ::testing::TestWithParam<DecodeCase> {};

TEST_P(PsdDecodes, ToTheExpectedPixels) {
  const DecodeCase& c = GetParam();
  const auto image = DecodeAll(OpenPsdDecoder, BuildPsd(c.spec));
  ASSERT_TRUE(image.has_value());
  EXPECT_EQ(image->header.width, c.spec.width);
  EXPECT_EQ(image->header.height, c.spec.height);
  EXPECT_EQ(image->header.format, c.format);
  EXPECT_EQ(image->pixels, c.pixels);
}

INSTANTIATE_TEST_SUITE_P(Cases, PsdDecodes, ::testing::ValuesIn(DecodeCases()),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(PsdDecoder, ResolutionFromItsResource) {
  PsdSpec spec = Spec(kGrey, 8, 1, {"\0"s});
  spec.resources = {{0x03ED, ResolutionInfo(300)}};
  const auto image = DecodeAll(OpenPsdDecoder, BuildPsd(spec));
  ASSERT_TRUE(image.has_value());
  EXPECT_EQ(image->header.x_dpi, 300);
  EXPECT_EQ(image->header.y_dpi, 300);
}

TEST(PsdDecoder, ProfileTravelsOnlyWhenItDescribesTheOutput) {
  struct Case {
    std::uint16_t mode, depth;
    const char* space;
    bool kept;
  } cases[] = {
      {kRgb, 8, "RGB ", true},
      {kGrey, 16, "GRAY", true},
      {kCmyk, 8, "CMYK", false},
      {kRgb, 32, "RGB ", false},  // 32-bit images are re-encoded from linear light
  };
  for (const Case& c : cases) {
    const int channels = c.mode == kRgb ? 3 : c.mode == kCmyk ? 4 : 1;
    PsdSpec spec = Spec(c.mode, c.depth, 1,
                        std::vector<std::string>(channels, std::string(c.depth / 8, '\0')));
    const std::string profile = FakeIccProfile(c.space);
    spec.resources = {{0x040F, profile}};
    const auto image = DecodeAll(OpenPsdDecoder, BuildPsd(spec));
    ASSERT_TRUE(image.has_value()) << c.space;
    EXPECT_EQ(image->header.icc_profile, c.kept ? profile : "") << c.space;
  }
}

struct FailCase {
  const char* name;
  std::string bytes;
};

void PrintTo(const FailCase& c, std::ostream* os) { *os << c.name; }

// A layer section of one layer: its rectangle, one raw channel of the given
// length (two bytes follow), and its blend signature.
std::string OneLayerSection(std::int32_t top, std::int32_t bottom, std::uint32_t channel_length,
                            const char* blend) {
  std::string record = Be32(static_cast<std::uint32_t>(top)) + Be32(0) +
                       Be32(static_cast<std::uint32_t>(bottom)) + Be32(1);
  record +=
      Be16(1) + Be16(0) + Be32(channel_length) + blend + "norm" + std::string(4, '\0') + Be32(0);
  std::string info = Be16(1) + record + std::string(2, '\0');
  return Be32(static_cast<std::uint32_t>(info.size())) + info + Be32(0);
}

// The file that the failure cases break, whole.
const PsdSpec kRgbFile = Spec(kRgb, 8, 2, {"\1\2", "\3\4", "\5\6"});

TEST(PsdDecoder, TheFileTheFailureCasesBreakDecodesWhole) {
  EXPECT_TRUE(DecodeAll(OpenPsdDecoder, BuildPsd(kRgbFile)).has_value());
  PsdSpec packed = kRgbFile;
  packed.compression = 1;
  EXPECT_TRUE(DecodeAll(OpenPsdDecoder, BuildPsd(packed)).has_value());
  PsdSpec layered = kRgbFile;
  layered.layer_section = OneLayerSection(0, 1, 2, "8BIM");
  EXPECT_TRUE(DecodeAll(OpenPsdDecoder, BuildPsd(layered)).has_value());
}

std::vector<FailCase> FailCases() {
  const PsdSpec& rgb = kRgbFile;
  auto with = [&rgb](auto change) {
    PsdSpec spec = rgb;
    change(spec);
    return BuildPsd(spec);
  };
  const std::string good = BuildPsd(rgb);
  return {
      {"NotAPhotoshopFile", "8BPX" + good.substr(4)},
      {"HeaderCutShort", good.substr(0, 20)},
      {"LargeDocumentVersion", with([](PsdSpec& s) { s.version = 2; })},
      {"UnknownMode", with([](PsdSpec& s) { s.mode = 5; })},
      {"CmykOf32Bits", BuildPsd(Spec(kCmyk, 32, 1, {"", "", "", ""}))},
      {"RgbOf1Bit", with([](PsdSpec& s) { s.depth = 1; })},
      {"IndexedOf16Bits", BuildPsd(Spec(kIndexed, 16, 1, {"\0\0"s}))},
      {"TooFewChannels", with([](PsdSpec& s) { s.channels = 2; })},
      {"TooManyChannels", with([](PsdSpec& s) { s.channels = 57; })},
      {"ZeroWidth", with([](PsdSpec& s) { s.width = 0; })},
      {"TallerThanTheFormatAllows", with([](PsdSpec& s) { s.height = 30001; })},
      {"IndexedWithoutItsPalette", BuildPsd(Spec(kIndexed, 8, 1, {"\0"s}))},
      {"ColourDataPastTheEnd", good.substr(0, 26) + Be32(1000) + good.substr(30)},
      {"ResourceWithoutSignature", with([](PsdSpec& s) {
         s.resources = {{0x03ED, ResolutionInfo(72), "8BIX"}};
       })},
      {"ResourcePastItsSection",
       [&] {
         PsdSpec spec = rgb;
         spec.resources = {{0x03ED, ResolutionInfo(72)}};
         std::string bytes = BuildPsd(spec);
         bytes.replace(34 + 8, 4, Be32(17));  // the block's size
         return bytes;
       }()},
      {"LayerSectionPastTheEnd", good.substr(0, 34) + Be32(100000) + good.substr(38)},
      {"LayerUpsideDown",
       with([](PsdSpec& s) { s.layer_section = OneLayerSection(5, 1, 2, "8BIM"); })},
      {"LayerRectangleOverflowed",
       with([](PsdSpec& s) { s.layer_section = OneLayerSection(1, INT32_MIN, 2, "8BIM"); })},
      {"LayerChannelPastItsSection",
       with([](PsdSpec& s) { s.layer_section = OneLayerSection(0, 1, 3000, "8BIM"); })},
      {"LayerBlendSignatureWrong",
       with([](PsdSpec& s) { s.layer_section = OneLayerSection(0, 1, 2, "XXXX"); })},
      {"ZipCompressedMergedImage", with([](PsdSpec& s) { s.compression = 2; })},
      {"CompressionCode65535", with([](PsdSpec& s) { s.compression = 65535; })},
      {"RawDataCutShort", good.substr(0, good.size() - 1)},
      {"RowTableCutShort", with([](PsdSpec& s) {
         s.compression = 1;
         s.image_data = Be16(2) + Be16(2);
       })},
      {"RowShorterThanAnyCode", with([](PsdSpec& s) {
         s.compression = 1;
         s.image_data = Be16(1) + Be16(2) + Be16(2) + "\x01" + "\x01\1\2" + "\x01\1\2";
       })},
      {"RowsPastTheEnd", with([](PsdSpec& s) {
         s.compression = 1;
         s.image_data = Be16(2) + Be16(2) + Be16(200) + "\xFF\1" + "\xFF\1";
       })},
      {"RowOverflowingItsWidth", with([](PsdSpec& s) {
         s.compression = 1;
         s.image_data = Be16(2) + Be16(2) + Be16(2) + "\xFD\1" + "\xFF\1" + "\xFF\1";
       })},
      {"RowEndingEarly", with([](PsdSpec& s) {
         s.compression = 1;
         s.image_data = Be16(2) + Be16(2) + Be16(2) + "\x00\1"s + "\xFF\1" + "\xFF\1";
       })},
  };
}

class PsdFails : public ::testing::TestWithParam<FailCase> {};

TEST_P(PsdFails, Cleanly) { EXPECT_FALSE(DecodeAll(OpenPsdDecoder, GetParam().bytes).has_value()); }

INSTANTIATE_TEST_SUITE_P(Cases, PsdFails, ::testing::ValuesIn(FailCases()),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace shifrodel
