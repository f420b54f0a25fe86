#include "cipher/cipher.h"

#include "text/case_tables.h"
#include "text/caseless_search.h"
#include "text/cp1251_literal.h"
#include "text/trim.h"

namespace shifrodel {
namespace {

bool IsSeparator(char c) { return c == ' ' || c == ',' || c == '.'; }

// The working copy of the name, consumed from the front.
class Words {
 public:
  explicit Words(std::string_view name) : w_(name) {}

  // The text up to the first separator (all of it when there is none).
  std::string_view NextToken() const {
    std::size_t i = 0;
    while (i < w_.size() && !IsSeparator(w_[i])) ++i;
    return w_.substr(0, i);
  }

  bool NextIsKey(std::string_view key) const { return LowerCase(NextToken()) == key; }

  // Drops the next token and the one separator that ends it.
  void ConsumeToken() {
    const std::size_t n = NextToken().size();
    w_.remove_prefix(n < w_.size() ? n + 1 : n);
  }

  void Trim() { w_ = shifrodel::Trim(w_); }

  // Consumes a key and the value after it; returns the value, lower case.
  std::string ReadValue() {
    ConsumeToken();
    Trim();
    std::string value(shifrodel::Trim(LowerCase(NextToken())));
    ConsumeToken();
    Trim();
    return value;
  }

  std::string Tail() const;

 private:
  std::string_view w_;
};

std::string Words::Tail() const {
  std::string_view w = w_;
  const std::size_t dot = w.rfind('.');
  if (dot == std::string_view::npos) return std::string();
  const std::string ext = LowerCase(w.substr(dot));
  static const std::string kCutExtensions[] = {
      ".jpg"_cp1251, ".jpeg"_cp1251, ".tiff"_cp1251, ".tif"_cp1251, ".psd"_cp1251, ".bmp"_cp1251,
  };
  for (const std::string& cut : kCutExtensions) {
    if (ext == cut) {
      w = w.substr(0, FindCaseless(w, ext));
      break;
    }
  }
  w = shifrodel::Trim(w);
  if (!w.empty() && (w.front() == ',' || w.front() == '.')) w.remove_prefix(1);
  if (!w.empty() && (w.back() == ',' || w.back() == '.')) w.remove_suffix(1);
  return std::string(shifrodel::Trim(w));
}

}  // namespace

TCipher ParseCipher(std::string_view file_name) {
  static const std::string kFund = "ф"_cp1251;
  static const std::string kInventoryShort = "о"_cp1251;
  static const std::string kInventory = "оп"_cp1251;
  static const std::string kCaseFile = "д"_cp1251;
  static const std::string kSheet = "л"_cp1251;

  TCipher cipher;
  Words w(file_name);
  if (!w.NextIsKey(kFund)) return cipher;
  cipher.Fund = w.ReadValue();
  if (w.NextIsKey(kInventoryShort) || w.NextIsKey(kInventory)) {
    cipher.Inventory = w.ReadValue();
    if (w.NextIsKey(kCaseFile)) {
      cipher.CaseFile = w.ReadValue();
      if (w.NextIsKey(kSheet)) cipher.Sheet = w.ReadValue();
    }
  }
  cipher.Tail = w.Tail();
  return cipher;
}

}  // namespace shifrodel
