#include "cipher/target_path.h"

#include <algorithm>

#include "text/case_tables.h"
#include "text/cp1251_literal.h"
#include "text/path_rules.h"
#include "text/trim.h"

namespace shifrodel {
namespace {

std::string PadTo(std::string_view value, std::size_t width) {
  std::string out;
  if (value.size() < width) out.assign(width - value.size(), ' ');
  out += value;
  return out;
}

// The fund gets 5 - n spaces in front, n being its count of leading digits.
std::string PadFund(std::string_view fund) {
  std::size_t digits = 0;
  while (digits < fund.size() && fund[digits] >= '0' && fund[digits] <= '9') ++digits;
  std::string out;
  if (digits < 5) out.assign(5 - digits, ' ');
  out += fund;
  return out;
}

}  // namespace

std::string ArchiveFolder(const TCipher& cipher) {
  const char delim = PathDelim();
  std::string folder = "Ф."_cp1251 + PadFund(cipher.Fund) + delim;
  if (!cipher.Inventory.empty()) folder += "Оп."_cp1251 + PadTo(cipher.Inventory, 4) + delim;
  if (!cipher.CaseFile.empty()) folder += "Д."_cp1251 + PadTo(cipher.CaseFile, 6) + delim;
  return folder;
}

std::string ArchiveFileName(const TCipher& cipher) {
  std::string name = "Ф."_cp1251 + std::string(Trim(UpperCase(cipher.Fund)));
  if (!cipher.Inventory.empty())
    name += ".Оп."_cp1251 + std::string(Trim(UpperCase(cipher.Inventory)));
  if (!cipher.CaseFile.empty())
    name += ".Д."_cp1251 + std::string(Trim(UpperCase(cipher.CaseFile)));
  if (!cipher.Sheet.empty()) name += ".Л."_cp1251 + std::string(Trim(cipher.Sheet));
  if (!cipher.Tail.empty()) name += " " + cipher.Tail;
  if (name.back() != '.') name += '.';
  name += "jpg";
  return name;
}

std::optional<std::string> BuildTargetPath(std::string_view source_path, const TargetRoots& roots,
                                           bool copy_other) {
  const std::string_view name = ExtractFileName(source_path);
  const TCipher cipher = ParseCipher(name);
  if (cipher.Fund.empty()) {
    if (!copy_other) return std::nullopt;
    std::string_view relative = ExtractFileFolder(source_path);
    relative.remove_prefix(std::min(roots.source.size(), relative.size()));
    std::string path(roots.other);
    path += relative;
    path += ChangeFileExt(name, ".jpg");
    return path;
  }
  return std::string(roots.target) + ArchiveFolder(cipher) + ArchiveFileName(cipher);
}

}  // namespace shifrodel
