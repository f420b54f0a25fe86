// SelectFolder: the platform's modal folder browser, titled "Выбор папки",
// opened at the computer level with nothing preselected. Tests set a hook
// that answers in its place.
#ifndef SHIFRODEL_APP_FOLDER_BROWSER_H_
#define SHIFRODEL_APP_FOLDER_BROWSER_H_

#include <QString>
#include <QWidget>
#include <functional>

namespace shifrodel {

// The chosen folder without leading and trailing blanks (characters 0 to 32),
// in the platform's own form; empty after Cancel, for an item that is no
// folder of the file system, or for a blank result.
QString SelectFolder(QWidget* owner);

// While set, the hook is called instead of the dialog and gives its raw
// result (before the trimming above); an empty function shows the dialog.
using FolderBrowserHook = std::function<QString()>;
void SetFolderBrowserHook(FolderBrowserHook hook);

}  // namespace shifrodel

#endif  // SHIFRODEL_APP_FOLDER_BROWSER_H_
