// The program's name, version and the texts that introduce it: the window's
// caption, the band under the buttons and the About box.
#ifndef SHIFRODEL_APP_PRODUCT_H_
#define SHIFRODEL_APP_PRODUCT_H_

#include <QString>
#include <QStringList>

namespace shifrodel {

// The application title, also the caption of error reports.
inline const QString kProductName = QStringLiteral("Шифродел");
// The window's caption at start-up.
inline const QString kWindowCaption = QStringLiteral("Шифродел 4.4");
inline const QString kAboutCaption = QStringLiteral("Шифродел 4.4 от 23.10.2007");

// The lines of the band between the prefix field and the destination folder.
QStringList BandLines();

// The About box's text, one item a line.
QString AboutText();

}  // namespace shifrodel

#endif  // SHIFRODEL_APP_PRODUCT_H_
