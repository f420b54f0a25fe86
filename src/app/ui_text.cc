#include "app/ui_text.h"

#include "text/cp1251_codec.h"

namespace shifrodel {

QString FromCp1251(std::string_view text) { return QString::fromStdU16String(Cp1251ToUtf16(text)); }

std::string ToCp1251(const QString& text) {
  std::string out;
  Utf16ToCp1251(text.toStdU16String(), &out);
  return out;
}

std::optional<std::string> ToCp1251Exactly(const QString& text) {
  std::string out;
  if (!Utf16ToCp1251(text.toStdU16String(), &out)) return std::nullopt;
  return out;
}

}  // namespace shifrodel
