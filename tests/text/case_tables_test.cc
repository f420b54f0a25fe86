#include "text/case_tables.h"

#include <gtest/gtest.h>

#include <set>
#include <utility>

#include "text/cp1251_literal.h"

namespace shifrodel {
namespace {

// Every upper / lower pair that changes; all other bytes map to themselves.
std::set<std::pair<int, int>> ExpectedPairs() {
  std::set<std::pair<int, int>> pairs = {
      {0xA8, 0xB8}, {0x80, 0x90}, {0x81, 0x83}, {0x8A, 0x9A}, {0x8C, 0x9C},
      {0x8D, 0x9D}, {0x8E, 0x9E}, {0x8F, 0x9F}, {0xA1, 0xA2}, {0xA3, 0xBC},
      {0xA5, 0xB4}, {0xAA, 0xBA}, {0xAF, 0xBF}, {0xB2, 0xB3}, {0xBD, 0xBE},
  };
  for (int i = 0; i < 26; ++i) pairs.insert({0x41 + i, 0x61 + i});
  for (int i = 0; i < 32; ++i) pairs.insert({0xC0 + i, 0xE0 + i});
  return pairs;
}

TEST(CaseTables, ChangeExactlyTheListedPairs) {
  const auto pairs = ExpectedPairs();
  std::array<int, 256> upper{}, lower{};
  for (int i = 0; i < 256; ++i) upper[i] = lower[i] = i;
  for (const auto& [up, low] : pairs) {
    upper[low] = up;
    lower[up] = low;
  }
  for (int i = 0; i < 256; ++i) {
    EXPECT_EQ(UpperCaseTable()[i], upper[i]) << "byte " << i;
    EXPECT_EQ(LowerCaseTable()[i], lower[i]) << "byte " << i;
  }
}

TEST(CaseTables, MapTexts) {
  EXPECT_EQ(UpperCase("ф р-12 Ёлка ґ і"_cp1251), "Ф Р-12 ЁЛКА Ґ І"_cp1251);
  EXPECT_EQ(LowerCase("Ф Р-12 ЁЛКА Ґ І ABC"_cp1251), "ф р-12 ёлка ґ і abc"_cp1251);
  // The no-break space, digits and signs are unchanged.
  EXPECT_EQ(UpperCase("\xA0 1+2 №"_cp1251), "\xA0 1+2 №"_cp1251);
}

TEST(CaseTables, SameTextCaseless) {
  EXPECT_TRUE(SameTextCaseless("Скан.JPG"_cp1251, "сКАН.jpg"_cp1251));
  EXPECT_FALSE(SameTextCaseless("скан"_cp1251, "скан "_cp1251));
  EXPECT_FALSE(SameTextCaseless("е"_cp1251, "ё"_cp1251));
}

}  // namespace
}  // namespace shifrodel
