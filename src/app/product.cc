#include "app/product.h"

namespace shifrodel {

QStringList BandLines() {
  return {kWindowCaption,
          QStringLiteral("Копии сканов для читального зала: по фондам, описям и делам.")};
}

QString AboutText() {
  const QStringList lines = {
      kAboutCaption,
      QString(),
      QStringLiteral("Проект «Шифродел», версия 4.4."),
      QStringLiteral("Для фонда пользования архива: копии сканов"),
      QStringLiteral("раскладываются по фондам, описям и делам,"),
      QStringLiteral("а TIFF-файлы пересжимаются без потерь."),
      QString(),
      QStringLiteral("Копирование файлов фонда пользования по архивному шифру."),
      QStringLiteral("См. Read_Me.txt"),
  };
  return lines.join(u'\n');
}

}  // namespace shifrodel
