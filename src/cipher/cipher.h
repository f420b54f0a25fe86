// The archival cipher read from a scan's file name: fund, inventory, case
// file and sheet, each a short Cyrillic key and a value, then free text, as
// in "ф 12 оп 1 д 45 л 3 титул.tif".
#ifndef SHIFRODEL_CIPHER_CIPHER_H_
#define SHIFRODEL_CIPHER_CIPHER_H_

#include <string>
#include <string_view>

namespace shifrodel {

// Windows-1251 texts, empty until found. The four values are lower case and
// never hold a space, comma or full stop; `Tail` keeps the case as written.
struct TCipher {
  std::string Fund;
  std::string Inventory;
  std::string CaseFile;
  std::string Sheet;
  std::string Tail;

  bool operator==(const TCipher&) const = default;
};

// Reads the cipher from a file name (without its folder, extension
// included). The keys must come in order: fund, inventory, case file, sheet;
// whatever follows the last recognised item is free text. Never fails.
TCipher ParseCipher(std::string_view file_name);

}  // namespace shifrodel

#endif  // SHIFRODEL_CIPHER_CIPHER_H_
