// Letter case of Windows-1251 text: two fixed 256-entry tables, one for
// upper case and one for lower case. Latin A-Z, Cyrillic А-Я, Ё and the
// Serbian, Macedonian, Ukrainian and Belarusian letters change; every other
// byte maps to itself.
#ifndef SHIFRODEL_TEXT_CASE_TABLES_H_
#define SHIFRODEL_TEXT_CASE_TABLES_H_

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

namespace shifrodel {

// The upper-case form of every byte, and the lower-case form.
const std::array<std::uint8_t, 256>& UpperCaseTable();
const std::array<std::uint8_t, 256>& LowerCaseTable();

inline char UpperChar(char c) {
  return static_cast<char>(UpperCaseTable()[static_cast<std::uint8_t>(c)]);
}
inline char LowerChar(char c) {
  return static_cast<char>(LowerCaseTable()[static_cast<std::uint8_t>(c)]);
}

std::string UpperCase(std::string_view text);
std::string LowerCase(std::string_view text);

// True when both texts are equal once mapped through the upper-case table.
bool SameTextCaseless(std::string_view a, std::string_view b);

}  // namespace shifrodel

#endif  // SHIFRODEL_TEXT_CASE_TABLES_H_
