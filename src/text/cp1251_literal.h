// The "..."_cp1251 literal: source files are UTF-8, the core's text is
// Windows-1251. The literal is encoded at compile time; a character that
// Windows-1251 cannot represent is a compile error.
#ifndef SHIFRODEL_TEXT_CP1251_LITERAL_H_
#define SHIFRODEL_TEXT_CP1251_LITERAL_H_

#include <array>
#include <cstddef>
#include <string>

#include "text/cp1251_table.h"

namespace shifrodel {
namespace literal_detail {

template <std::size_t N>
struct Utf8Text {
  char bytes[N]{};
  constexpr Utf8Text(const char (&s)[N]) {  // NOLINT: implicit by design
    for (std::size_t i = 0; i < N; ++i) bytes[i] = s[i];
  }
  static constexpr std::size_t kLength = N - 1;  // without the terminating zero
};

constexpr bool IsContinuation(char c) { return (static_cast<unsigned char>(c) & 0xC0) == 0x80; }

template <std::size_t N>
constexpr std::size_t CountCharacters(const Utf8Text<N>& s) {
  std::size_t n = 0;
  for (std::size_t i = 0; i < Utf8Text<N>::kLength; ++i) n += !IsContinuation(s.bytes[i]);
  return n;
}

void NotRepresentableInWindows1251();  // never defined: reached only at compile time

template <Utf8Text S>
struct Encoded {
  static constexpr auto kBytes = [] {
    std::array<char, CountCharacters(S)> out{};
    std::size_t o = 0;
    for (std::size_t i = 0; i < decltype(S)::kLength;) {
      const auto lead = static_cast<unsigned char>(S.bytes[i++]);
      char32_t cp = lead;
      if (lead >= 0x80) {
        const int extra = lead >= 0xF0 ? 3 : lead >= 0xE0 ? 2 : 1;
        cp = lead & (0x3F >> extra);
        for (int k = 0; k < extra; ++k) cp = cp << 6 | (S.bytes[i++] & 0x3F);
      }
      const int byte = Cp1251FromCodePoint(cp);
      if (byte < 0) NotRepresentableInWindows1251();
      out[o++] = static_cast<char>(byte);
    }
    return out;
  }();
};

}  // namespace literal_detail

template <literal_detail::Utf8Text S>
std::string operator""_cp1251() {
  const auto& bytes = literal_detail::Encoded<S>::kBytes;
  return std::string(bytes.data(), bytes.size());
}

}  // namespace shifrodel

#endif  // SHIFRODEL_TEXT_CP1251_LITERAL_H_
