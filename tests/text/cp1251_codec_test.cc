#include "text/cp1251_codec.h"

#include <gtest/gtest.h>

#include "text/cp1251_literal.h"

namespace shifrodel {
namespace {

std::string AllBytes() {
  std::string all;
  for (int i = 0; i < 256; ++i) all.push_back(static_cast<char>(i));
  return all;
}

TEST(Cp1251Codec, EveryByteRoundTripsThroughUtf8) {
  const std::string all = AllBytes();
  std::string back;
  ASSERT_TRUE(Utf8ToCp1251(Cp1251ToUtf8(all), &back));
  EXPECT_EQ(back, all);
}

TEST(Cp1251Codec, EveryByteRoundTripsThroughUtf16) {
  const std::string all = AllBytes();
  std::string back;
  ASSERT_TRUE(Utf16ToCp1251(Cp1251ToUtf16(all), &back));
  EXPECT_EQ(back, all);
}

TEST(Cp1251Codec, KnownCharacters) {
  EXPECT_EQ(Cp1251ToUtf8("\xD4\xEE\xED\xE4 \xB9 \xA8\xB8 \x88"), "Фонд № Ёё €");
  EXPECT_EQ(Cp1251ToUtf16("\xC0\xFF\x98"), u"Ая\u0098");
  EXPECT_EQ("ф 12 оп 1"_cp1251, "\xF4 12 \xEE\xEF 1");
}

TEST(Cp1251Codec, ReportsWhatItCannotRepresent) {
  struct Case {
    const char* utf8;
    const char* shown;
  };
  const Case cases[] = {
      {"日本.tif", "??.tif"},     // no Windows-1251 form
      {"a\xC3\x28", "a?("},       // bad continuation byte
      {"\xC0\xAF", "?"},          // overlong "/"
      {"\xED\xA0\x80x", "?x"},    // UTF-8 encoded surrogate
      {"\xF0\x9F\x98\x80", "?"},  // beyond the BMP
      {"\xE2\x82", "?"},          // truncated
  };
  for (const Case& c : cases) {
    std::string out;
    EXPECT_FALSE(Utf8ToCp1251(c.utf8, &out)) << c.utf8;
    EXPECT_EQ(out, c.shown);
  }
  std::string out;
  EXPECT_FALSE(
      Utf16ToCp1251(u"a\xD83D\xDE00"
                    "b",
                    &out));
  EXPECT_EQ(out, "a?b");
  EXPECT_FALSE(Utf16ToCp1251(u"\xDC00", &out));
  EXPECT_EQ(out, "?");
}

}  // namespace
}  // namespace shifrodel
