#include "text/int_text.h"

#include <gtest/gtest.h>

namespace shifrodel {
namespace {

TEST(IntText, ReadsTheRuleAndFallsBackOtherwise) {
  struct Case {
    const char* text;
    std::int32_t expected;  // -7 is the caller's default here
  };
  const Case cases[] = {
      {"75", 75},
      {"  75", 75},
      {"+12", 12},
      {"-4", -4},
      {"007", 7},
      {"2147483647", 2147483647},
      {"-2147483648", -2147483647 - 1},
      {"2147483648", -7},
      {"-2147483649", -7},
      {"$1F", 31},
      {"x10", 16},
      {"X10", 16},
      {"0x0", 0},
      {"0XfF", 255},
      {"$FFFFFFFF", -1},
      {"0x80000000", -2147483647 - 1},
      {"$123456789", -7},  // nine digits
      {"0x", -7},
      {"$", -7},
      {"-0x10", -7},  // no sign before hex
      {"+$10", -7},
      {"", -7},
      {"   ", -7},
      {"75 ", -7},  // nothing may follow
      {"75%", -7},
      {"abc", -7},
      {"yes", -7},
      {"1.5", -7},
      {"+", -7},
      {"\t5", -7},  // only spaces may lead
  };
  for (const Case& c : cases) EXPECT_EQ(IntTextOr(c.text, -7), c.expected) << '"' << c.text << '"';
}

}  // namespace
}  // namespace shifrodel
