#include "text/case_tables.h"

#include <utility>

namespace shifrodel {
namespace {

// Upper / lower pairs outside the two contiguous alphabets.
constexpr std::pair<std::uint8_t, std::uint8_t> kExtraPairs[] = {
    {0xA8, 0xB8},  // Ё ё
    {0x80, 0x90},  // Ђ ђ
    {0x81, 0x83},  // Ѓ ѓ
    {0x8A, 0x9A},  // Љ љ
    {0x8C, 0x9C},  // Њ њ
    {0x8D, 0x9D},  // Ќ ќ
    {0x8E, 0x9E},  // Ћ ћ
    {0x8F, 0x9F},  // Џ џ
    {0xA1, 0xA2},  // Ў ў
    {0xA3, 0xBC},  // Ј ј
    {0xA5, 0xB4},  // Ґ ґ
    {0xAA, 0xBA},  // Є є
    {0xAF, 0xBF},  // Ї ї
    {0xB2, 0xB3},  // І і
    {0xBD, 0xBE},  // Ѕ ѕ
};

struct Tables {
  std::array<std::uint8_t, 256> upper;
  std::array<std::uint8_t, 256> lower;
};

constexpr Tables MakeTables() {
  Tables t{};
  for (int i = 0; i < 256; ++i) {
    t.upper[i] = static_cast<std::uint8_t>(i);
    t.lower[i] = static_cast<std::uint8_t>(i);
  }
  auto pair = [&t](int up, int low) {
    t.upper[low] = static_cast<std::uint8_t>(up);
    t.lower[up] = static_cast<std::uint8_t>(low);
  };
  for (int i = 0; i < 26; ++i) pair(0x41 + i, 0x61 + i);
  for (int i = 0; i < 32; ++i) pair(0xC0 + i, 0xE0 + i);
  for (const auto& [up, low] : kExtraPairs) pair(up, low);
  return t;
}

constexpr Tables kTables = MakeTables();

std::string MapThrough(std::string_view text, const std::array<std::uint8_t, 256>& table) {
  std::string out(text);
  for (char& c : out) c = static_cast<char>(table[static_cast<std::uint8_t>(c)]);
  return out;
}

}  // namespace

const std::array<std::uint8_t, 256>& UpperCaseTable() { return kTables.upper; }
const std::array<std::uint8_t, 256>& LowerCaseTable() { return kTables.lower; }

std::string UpperCase(std::string_view text) { return MapThrough(text, kTables.upper); }
std::string LowerCase(std::string_view text) { return MapThrough(text, kTables.lower); }

bool SameTextCaseless(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (UpperChar(a[i]) != UpperChar(b[i])) return false;
  }
  return true;
}

}  // namespace shifrodel
