// shifrodel: the program's entry. Sets the application title, creates the
// window (which loads its settings), runs the message loop, and destroys the
// window when the loop ends (which saves them).
#include <QApplication>

#include "app/main_window.h"
#include "app/product.h"
#include "app/ui_text.h"
#include "imaging/file_jpeg_converter.h"
#include "platform/executable_path.h"
#include "run/default_workers.h"

namespace shifrodel {
namespace {

int Main(int argc, char** argv) {
  QApplication app(argc, argv);
  QCoreApplication::setApplicationName(kProductName);
  const std::string executable =
      ExecutablePath().value_or(ToCp1251(QCoreApplication::applicationFilePath()));
  FileJpegConverter converter(NativeFileSystem());
  TfmMain window(
      {NativeFileSystem(), SystemClock(), converter, SettingsPath(executable), DefaultWorkers()});
  window.show();
  return app.exec();
}

}  // namespace
}  // namespace shifrodel

int main(int argc, char** argv) { return shifrodel::Main(argc, argv); }
