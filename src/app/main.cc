// shifrodel: the program's entry. Sets the application title, creates the
// window (which loads its settings), runs the message loop, and destroys the
// window when the loop ends (which saves them).
#include <QApplication>

#include "app/main_window.h"
#include "app/product.h"
#include "app/ui_text.h"
#include "platform/executable_path.h"

namespace shifrodel {
std::unique_ptr<JpegConverter> MakeConverter();
}

int main(int argc, char** argv) {
  using namespace shifrodel;
  QApplication app(argc, argv);
  QCoreApplication::setApplicationName(kProductName);
  const std::string executable =
      ExecutablePath().value_or(ToCp1251(QCoreApplication::applicationFilePath()));
  const std::unique_ptr<JpegConverter> converter = MakeConverter();
  TfmMain window({NativeFileSystem(), SystemClock(), *converter, SettingsPath(executable)});
  window.show();
  return app.exec();
}
