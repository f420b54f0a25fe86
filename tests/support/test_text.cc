#include "support/test_text.h"

#include <gtest/gtest.h>

#include "text/cp1251_codec.h"
#include "text/path_rules.h"

namespace shifrodel::testing {

std::string W(std::string_view utf8) {
  std::string out;
  EXPECT_TRUE(Utf8ToCp1251(utf8, &out)) << "no Windows-1251 form: " << utf8;
  return out;
}

std::string U(std::string_view cp1251) { return Cp1251ToUtf8(cp1251); }

std::string NativeSeparators(std::string_view utf8_path) {
  std::string path = W(utf8_path);
  for (char& c : path) {
    if (c == '\\') c = PathDelim();
  }
  return path;
}

}  // namespace shifrodel::testing
