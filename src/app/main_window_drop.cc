// WMDropFiles: the first item dropped onto the window sets the source folder
// (the item itself when it is a folder, else the folder it lies in).
#include <QDir>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QMimeData>
#include <QUrl>

#include "app/main_window.h"
#include "app/ui_text.h"
#include "text/path_rules.h"

namespace shifrodel {
namespace {

constexpr qsizetype kMaxDroppedPath = 255;

QString FirstLocalPath(const QMimeData* data) {
  if (data == nullptr || !data->hasUrls() || data->urls().isEmpty()) return QString();
  const QUrl first = data->urls().front();
  return first.isLocalFile() ? QDir::toNativeSeparators(first.toLocalFile()) : QString();
}

// The folder part of a path without its trailing separator: "C:\Scans\a.tif"
// gives "C:\Scans", "C:\a.tif" gives "C:". The POSIX root stays "/".
std::string FolderOf(const std::string& path) {
  std::string folder(ExtractFileFolder(path));
  if (folder.size() > 1 && folder.back() == PathDelim()) folder.pop_back();
  return folder;
}

}  // namespace

void TfmMain::dragEnterEvent(QDragEnterEvent* event) {
  if (!FirstLocalPath(event->mimeData()).isEmpty()) event->acceptProposedAction();
}

void TfmMain::dropEvent(QDropEvent* event) {
  const QString path = FirstLocalPath(event->mimeData());
  if (path.isEmpty()) return;
  event->acceptProposedAction();
  WMDropFiles(path);
}

void TfmMain::WMDropFiles(const QString& path) {
  const std::optional<std::string> dropped = ToCp1251Exactly(path.left(kMaxDroppedPath));
  if (dropped) {
    edDirSrc_->setText(FromCp1251(job_.fs.FolderExists(*dropped) ? *dropped : FolderOf(*dropped)));
  } else {
    setWindowTitle(NotWindows1251Caption());
  }
  raise();
  activateWindow();
}

}  // namespace shifrodel
