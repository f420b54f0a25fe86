#include "text/cp1251_codec.h"

#include "text/cp1251_table.h"

namespace shifrodel {
namespace {

void AppendUtf8(char32_t cp, std::string* out) {
  if (cp < 0x80) {
    out->push_back(static_cast<char>(cp));
  } else if (cp < 0x800) {
    out->push_back(static_cast<char>(0xC0 | (cp >> 6)));
    out->push_back(static_cast<char>(0x80 | (cp & 0x3F)));
  } else {
    out->push_back(static_cast<char>(0xE0 | (cp >> 12)));
    out->push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
    out->push_back(static_cast<char>(0x80 | (cp & 0x3F)));
  }
}

// Decodes one UTF-8 sequence at `*pos`, advancing it; returns U+FFFFFFFF for
// a malformed sequence (overlong, surrogate, beyond U+10FFFF, truncated).
char32_t NextUtf8(std::string_view s, std::size_t* pos) {
  constexpr char32_t kBad = 0xFFFFFFFF;
  const auto lead = static_cast<unsigned char>(s[(*pos)++]);
  if (lead < 0x80) return lead;
  int extra;
  char32_t cp;
  char32_t min;
  if ((lead & 0xE0) == 0xC0) {
    extra = 1, cp = lead & 0x1F, min = 0x80;
  } else if ((lead & 0xF0) == 0xE0) {
    extra = 2, cp = lead & 0x0F, min = 0x800;
  } else if ((lead & 0xF8) == 0xF0) {
    extra = 3, cp = lead & 0x07, min = 0x10000;
  } else {
    return kBad;
  }
  for (int i = 0; i < extra; ++i) {
    if (*pos >= s.size()) return kBad;
    const auto c = static_cast<unsigned char>(s[*pos]);
    if ((c & 0xC0) != 0x80) return kBad;
    cp = cp << 6 | (c & 0x3F);
    ++*pos;
  }
  if (cp < min || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) return kBad;
  return cp;
}

bool AppendCp1251(char32_t cp, std::string* out) {
  const int byte = Cp1251FromCodePoint(cp);
  out->push_back(byte < 0 ? '?' : static_cast<char>(byte));
  return byte >= 0;
}

}  // namespace

std::string Cp1251ToUtf8(std::string_view cp1251) {
  std::string out;
  out.reserve(cp1251.size() * 2);
  for (char c : cp1251) AppendUtf8(CodePointFromCp1251(static_cast<unsigned char>(c)), &out);
  return out;
}

std::u16string Cp1251ToUtf16(std::string_view cp1251) {
  std::u16string out;
  out.reserve(cp1251.size());
  for (char c : cp1251) {
    out.push_back(static_cast<char16_t>(CodePointFromCp1251(static_cast<unsigned char>(c))));
  }
  return out;
}

bool Utf8ToCp1251(std::string_view utf8, std::string* out) {
  out->clear();
  out->reserve(utf8.size());
  bool ok = true;
  std::size_t pos = 0;
  while (pos < utf8.size()) ok &= AppendCp1251(NextUtf8(utf8, &pos), out);
  return ok;
}

bool Utf16ToCp1251(std::u16string_view utf16, std::string* out) {
  out->clear();
  out->reserve(utf16.size());
  bool ok = true;
  for (std::size_t i = 0; i < utf16.size(); ++i) {
    // A surrogate never has a Windows-1251 form, paired or not; a pair
    // stands for one character.
    const char16_t u = utf16[i];
    if (u >= 0xD800 && u <= 0xDBFF && i + 1 < utf16.size() && utf16[i + 1] >= 0xDC00 &&
        utf16[i + 1] <= 0xDFFF) {
      ++i;
    }
    ok &= AppendCp1251(u >= 0xD800 && u <= 0xDFFF ? 0xFFFFFFFF : u, out);
  }
  return ok;
}

}  // namespace shifrodel
