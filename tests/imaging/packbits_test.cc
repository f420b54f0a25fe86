#include "imaging/packbits.h"

#include <gtest/gtest.h>

#include <string>

namespace shifrodel {
namespace {

using namespace std::string_literals;

struct Case {
  const char* name;
  std::string in;
  std::size_t out_size;
  std::optional<std::string> out;  // nullopt: must fail
};

TEST(UnpackBits, LiteralsRunsAndNoOps) {
  const Case cases[] = {
      {"Literal",
       "\x02"
       "abc"s,
       3, "abc"},
      {"Run",
       "\xFE"
       "x"s,
       3, "xxx"},
      {"LongestRun",
       "\x81"
       "y"s,
       128, std::string(128, 'y')},
      {"NoOpSkipped",
       "\x80\x00"
       "a\xFF"
       "b"s,
       3, "abb"},
      {"TrailingBytesIgnored",
       "\x00"
       "a\x80\x80"s,
       1, "a"},
      {"RunPastTheRow",
       "\xFD"
       "x"s,
       3, std::nullopt},
      {"LiteralPastTheRow",
       "\x03"
       "abcd"s,
       3, std::nullopt},
      {"CodesEndTooSoon",
       "\x01"
       "ab"s,
       3, std::nullopt},
      {"LiteralCutShort",
       "\x02"
       "ab"s,
       3, std::nullopt},
      {"RunWithoutItsByte", "\xFE"s, 3, std::nullopt},
  };
  for (const Case& c : cases) {
    std::string out(c.out_size, '\0');
    const bool ok = UnpackBits(reinterpret_cast<const std::uint8_t*>(c.in.data()), c.in.size(),
                               reinterpret_cast<std::uint8_t*>(out.data()), out.size());
    EXPECT_EQ(ok, c.out.has_value()) << c.name;
    if (ok && c.out) {
      EXPECT_EQ(out, *c.out) << c.name;
    }
  }
}

}  // namespace
}  // namespace shifrodel
