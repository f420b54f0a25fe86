#include "imaging/packbits.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>

namespace shifrodel {
namespace {

std::string Codes(std::initializer_list<int> bytes) {
  std::string out;
  for (const int b : bytes) out.push_back(static_cast<char>(b));
  return out;
}

struct Case {
  const char* name;
  std::string in;
  std::size_t out_size;
  std::optional<std::string> out;  // nullopt: must fail
};

TEST(UnpackBits, LiteralsRunsAndNoOps) {
  const Case cases[] = {
      {"Literal", Codes({0x02, 'a', 'b', 'c'}), 3, "abc"},
      {"Run", Codes({0xFE, 'x'}), 3, "xxx"},
      {"LongestRun", Codes({0x81, 'y'}), 128, std::string(128, 'y')},
      {"NoOpSkipped", Codes({0x80, 0x00, 'a', 0xFF, 'b'}), 3, "abb"},
      {"TrailingBytesIgnored", Codes({0x00, 'a', 0x80, 0x80}), 1, "a"},
      {"RunPastTheRow", Codes({0xFD, 'x'}), 3, std::nullopt},
      {"LiteralPastTheRow", Codes({0x03, 'a', 'b', 'c', 'd'}), 3, std::nullopt},
      {"CodesEndTooSoon", Codes({0x01, 'a', 'b'}), 3, std::nullopt},
      {"LiteralCutShort", Codes({0x02, 'a', 'b'}), 3, std::nullopt},
      {"RunWithoutItsByte", Codes({0xFE}), 3, std::nullopt},
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
