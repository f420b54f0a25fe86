#include <gtest/gtest.h>

#include "text/caseless_search.h"
#include "text/cp1251_literal.h"
#include "text/trim.h"

namespace shifrodel {
namespace {

TEST(Trim, RemovesBytesUpToSpaceButNotNoBreakSpace) {
  EXPECT_EQ(Trim(std::string_view("\0\t x y \r\n\x1F", 10)), "x y");
  EXPECT_EQ(Trim(" \x01\x20 "), "");
  EXPECT_EQ(Trim("\xA0x\xA0"), "\xA0x\xA0");
  EXPECT_EQ(TrimLeft("  a "), "a ");
  EXPECT_EQ(TrimRight("  a "), "  a");
}

TEST(FindCaseless, FindsTheFirstPositionAtOrAfterStart) {
  const std::string text = "Скан.TIF исправленный.tif"_cp1251;
  EXPECT_EQ(FindCaseless(text, ".tif"), 4u);
  EXPECT_EQ(FindCaseless(text, ".TIF", 5), text.size() - 4);
  EXPECT_EQ(FindCaseless(text, "СКАН"_cp1251), 0u);
  EXPECT_EQ(FindCaseless(text, ".png"), std::string_view::npos);
  EXPECT_EQ(FindCaseless(text, ""), std::string_view::npos);
  EXPECT_EQ(FindCaseless("", "a"), std::string_view::npos);
  EXPECT_EQ(FindCaseless("ab", "abc"), std::string_view::npos);
  EXPECT_EQ(FindCaseless("ab", "b", 2), std::string_view::npos);
}

}  // namespace
}  // namespace shifrodel
