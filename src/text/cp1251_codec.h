// Conversions between Windows-1251 and UTF-8 / UTF-16, from our own table:
// the core keeps all text as Windows-1251 bytes and converts only where it
// meets the OS or the user interface.
#ifndef SHIFRODEL_TEXT_CP1251_CODEC_H_
#define SHIFRODEL_TEXT_CP1251_CODEC_H_

#include <string>
#include <string_view>

namespace shifrodel {

std::string Cp1251ToUtf8(std::string_view cp1251);
std::u16string Cp1251ToUtf16(std::string_view cp1251);

// Encode as Windows-1251. Return false when a character has no Windows-1251
// form or the input is malformed; `out` then holds "?" in its place, which is
// only good for telling the user what could not be represented.
bool Utf8ToCp1251(std::string_view utf8, std::string* out);
bool Utf16ToCp1251(std::u16string_view utf16, std::string* out);

}  // namespace shifrodel

#endif  // SHIFRODEL_TEXT_CP1251_CODEC_H_
