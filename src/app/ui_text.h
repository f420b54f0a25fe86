// Text where the window meets the core: Qt's UTF-16 strings on one side, the
// core's Windows-1251 bytes on the other.
#ifndef SHIFRODEL_APP_UI_TEXT_H_
#define SHIFRODEL_APP_UI_TEXT_H_

#include <QString>
#include <optional>
#include <string>
#include <string_view>

namespace shifrodel {

QString FromCp1251(std::string_view text);

// Every character that Windows-1251 lacks becomes "?".
std::string ToCp1251(const QString& text);

// nullopt when some character has no Windows-1251 form.
std::optional<std::string> ToCp1251Exactly(const QString& text);

// The caption for a path that the core cannot take: it has characters that
// Windows-1251 lacks.
inline QString NotWindows1251Caption() {
  return QStringLiteral("Путь содержит знаки вне кодировки Windows-1251");
}

}  // namespace shifrodel

#endif  // SHIFRODEL_APP_UI_TEXT_H_
