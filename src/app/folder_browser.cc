#include "app/folder_browser.h"

#include <QDir>
#include <QFileDialog>
#include <QUrl>

namespace shifrodel {
namespace {

FolderBrowserHook& Hook() {
  static FolderBrowserHook hook;
  return hook;
}

// The computer level of the name space: every drive on Windows (its
// "Computer" virtual folder), the root elsewhere.
QUrl ComputerLevel() {
#ifdef Q_OS_WIN
  return QUrl(QStringLiteral("clsid:0AC0837C-BBF8-452A-850D-79D08E667CA7"));
#else
  return QUrl::fromLocalFile(QStringLiteral("/"));
#endif
}

QString ShowDialog(QWidget* owner) {
  const QUrl chosen = QFileDialog::getExistingDirectoryUrl(
      owner, QStringLiteral("Выбор папки"), ComputerLevel(), QFileDialog::ShowDirsOnly);
  if (!chosen.isLocalFile()) return QString();
  return QDir::toNativeSeparators(chosen.toLocalFile());
}

bool IsBlank(QChar c) { return c.unicode() <= 0x20; }

QString TrimBlanks(const QString& text) {
  qsizetype first = 0;
  qsizetype last = text.size();
  while (first < last && IsBlank(text[first])) ++first;
  while (last > first && IsBlank(text[last - 1])) --last;
  return text.mid(first, last - first);
}

}  // namespace

QString SelectFolder(QWidget* owner) { return TrimBlanks(Hook() ? Hook()() : ShowDialog(owner)); }

void SetFolderBrowserHook(FolderBrowserHook hook) { Hook() = std::move(hook); }

}  // namespace shifrodel
