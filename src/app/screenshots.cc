// shifrodel-screenshots SAMPLE_ROOT OUT_DIR: shows the window over the
// sample tree in SAMPLE_ROOT/source and writes pictures of it to OUT_DIR:
// idle, during a copy run into SAMPLE_ROOT/archive and SAMPLE_ROOT/misc,
// one of the run's questions, the end of the run and the About box. Meant
// for an X server without a window manager (Xvfb), so the caption that a
// window manager would draw is drawn above each picture of the window.
#include <QApplication>
#include <QDir>
#include <QGuiApplication>
#include <QLineEdit>
#include <QMessageBox>
#include <QPainter>
#include <QPushButton>
#include <QScreen>
#include <QThread>
#include <QTimer>
#include <QWindow>
#include <cstdio>
#include <functional>

#include "app/main_window.h"
#include "app/product.h"
#include "app/ui_text.h"
#include "imaging/file_jpeg_converter.h"
#include "run/default_workers.h"

namespace shifrodel {
namespace {

// The pixels of a window as the X server holds them, with its caption above.
QImage Picture(QWidget* window) {
  window->repaint();
  const QPixmap pixels = window->screen()->grabWindow(window->winId());
  const int bar = window->fontMetrics().height() + 10;
  QImage picture(pixels.width(), pixels.height() + bar, QImage::Format_RGB32);
  QPainter painter(&picture);
  painter.fillRect(0, 0, picture.width(), bar, QColor(0x33, 0x4d, 0x80));
  QFont bold = window->font();
  bold.setBold(true);
  painter.setFont(bold);
  painter.setPen(Qt::white);
  painter.drawText(QRect(8, 0, picture.width() - 16, bar), Qt::AlignVCenter, window->windowTitle());
  painter.drawPixmap(0, bar, pixels);
  return picture;
}

class Photographer {
 public:
  explicit Photographer(QString folder) : folder_(std::move(folder)) {}

  bool Save(QWidget* window, const QString& name) {
    const QString path = QDir(folder_).filePath(name + QStringLiteral(".png"));
    const bool saved = Picture(window).save(path);
    std::printf("%s %s\n", saved ? "wrote" : "could not write", qPrintable(path));
    return saved;
  }

 private:
  QString folder_;
};

void WaitUntilExposed(QWidget* window) {
  for (int i = 0; i < 100 && !window->windowHandle()->isExposed(); ++i) {
    QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
    QThread::msleep(20);
  }
  for (int i = 0; i < 10; ++i) QCoreApplication::processEvents();
}

// Looks at the application whenever it handles its messages (inside the
// run, and inside the message boxes' own loops), and acts on what it sees.
class Watcher {
 public:
  explicit Watcher(std::function<void()> look) : look_(std::move(look)) {
    QObject::connect(&timer_, &QTimer::timeout, [this] { look_(); });
    timer_.start(0);
  }

 private:
  std::function<void()> look_;
  QTimer timer_;
};

// The box on screen once it has been exposed and painted, else null. The
// watcher sees a box as soon as its loop runs, before the X server shows it.
QMessageBox* ShownBox() {
  static int looks_since_exposed = 0;
  auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
  if (box == nullptr || box->windowHandle() == nullptr || !box->windowHandle()->isExposed()) {
    looks_since_exposed = 0;
    return nullptr;
  }
  if (++looks_since_exposed < 5) return nullptr;
  looks_since_exposed = 0;
  return box;
}

// Presses the button of a box by its label.
void Press(QMessageBox* box, const QString& label) {
  for (QAbstractButton* button : box->buttons()) {
    if (button->text() == label) {
      button->click();
      return;
    }
  }
  box->reject();
}

int Main(int argc, char** argv) {
  QApplication app(argc, argv);
  QCoreApplication::setApplicationName(kProductName);
  if (argc != 3) {
    std::fprintf(stderr, "usage: shifrodel-screenshots SAMPLE_ROOT OUT_DIR\n");
    return 2;
  }
  const QDir root(QString::fromLocal8Bit(argv[1]));
  Photographer camera(QDir(QString::fromLocal8Bit(argv[2])).absolutePath());
  QDir::setCurrent(root.absolutePath());  // where the run keeps fp.log

  FileJpegConverter converter(NativeFileSystem());
  TfmMain window({NativeFileSystem(), SystemClock(), converter,
                  ToCp1251(root.absoluteFilePath(QStringLiteral("screenshots.ini"))),
                  DefaultWorkers()});
  const auto field = [&window](const char* name) {
    return window.findChild<QLineEdit*>(QString::fromLatin1(name));
  };
  field("edDirSrc")->setText(QDir::toNativeSeparators(root.absoluteFilePath("source")));
  field("edDirDest")->setText(QDir::toNativeSeparators(root.absoluteFilePath("archive")));
  field("edDirDestOther")->setText(QDir::toNativeSeparators(root.absoluteFilePath("misc")));
  window.show();
  WaitUntilExposed(&window);
  bool ok = camera.Save(&window, QStringLiteral("idle"));

  int looks = 0;
  bool running_taken = false;
  bool question_taken = false;
  {
    Watcher watcher([&] {
      if (QApplication::activeModalWidget() != nullptr) {
        QMessageBox* box = ShownBox();
        if (box == nullptr) return;
        if (!question_taken) {
          ok = camera.Save(box, QStringLiteral("question")) && ok;
          question_taken = true;
        }
        Press(box, QStringLiteral("Нет"));
      } else if (!running_taken && ++looks == 3) {
        ok = camera.Save(&window, QStringLiteral("running")) && ok;
        running_taken = true;
      }
    });
    window.findChild<QPushButton*>(QStringLiteral("btRun"))->click();
  }
  ok = running_taken && camera.Save(&window, QStringLiteral("done")) && ok;

  {
    bool about_taken = false;
    Watcher watcher([&] {
      if (QMessageBox* box = ShownBox()) {
        ok = camera.Save(box, QStringLiteral("about")) && ok;
        about_taken = true;
        box->accept();
      }
    });
    window.findChild<QPushButton*>(QStringLiteral("btAbout"))->click();
    ok = about_taken && ok;
  }
  return ok ? 0 : 1;
}

}  // namespace
}  // namespace shifrodel

int main(int argc, char** argv) { return shifrodel::Main(argc, argv); }
