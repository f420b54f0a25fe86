// Reading a number from text, as the quality field and the settings file do:
// optional leading spaces, then either a signed decimal that fits in 32 bits,
// or "$", "x", "X", "0x" or "0X" and one to eight hex digits read as a 32-bit
// pattern. Nothing may follow. Any other text gives the caller's default.
#ifndef SHIFRODEL_TEXT_INT_TEXT_H_
#define SHIFRODEL_TEXT_INT_TEXT_H_

#include <cstdint>
#include <optional>
#include <string_view>

namespace shifrodel {

std::optional<std::int32_t> ParseIntText(std::string_view text);

inline std::int32_t IntTextOr(std::string_view text, std::int32_t fallback) {
  return ParseIntText(text).value_or(fallback);
}

}  // namespace shifrodel

#endif  // SHIFRODEL_TEXT_INT_TEXT_H_
