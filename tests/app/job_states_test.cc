// The window while its jobs run, driven through the real copy run and the
// real repack on temporary trees: the states of the controls, the pointer,
// the captions, questions answered from a script, Stop, Enter and Esc, and a
// close asked for meanwhile.
#include <QApplication>
#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QTimer>
#include <filesystem>

#include "app/ui_text.h"
#include "text/cp1251_codec.h"
#include "text/cp1251_literal.h"
#include "window_harness.h"

namespace shifrodel::testing {

using shifrodel::operator""_cp1251;

class JobStatesTest : public QObject {
  Q_OBJECT

 private:
  // Runs `action` the next time the window handles its messages, which a job
  // lets it do before each file.
  static void AtNextPump(std::function<void()> action) { QTimer::singleShot(0, std::move(action)); }

  // A tree of three scans with a cipher, the window pointed at it.
  static void PrepareCopyRun(WindowHarness& h) {
    for (const char* sheet : {"1", "2", "3"}) {
      h.dir().WriteFile("src/ф 12 оп 1 д 1 л "_cp1251 + sheet + ".jpg", sheet);
    }
    h.Show();
    h.Child<QLineEdit>("edDirSrc")->setText(FromCp1251(h.dir() / "src"));
    h.Child<QLineEdit>("edDirDest")->setText(FromCp1251(h.dir() / "dst"));
    h.Child<QLineEdit>("edDirDestOther")->setText(FromCp1251(h.dir() / "misc"));
  }

  // The files the run wrote, by name.
  static QStringList Written(WindowHarness& h, const char* tree = "dst") {
    QStringList names;
    const std::filesystem::path root(Cp1251ToUtf8(h.dir() / tree));
    if (!std::filesystem::exists(root)) return names;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(root)) {
      if (entry.is_regular_file())
        names << QString::fromStdString(entry.path().filename().string());
    }
    names.sort();
    return names;
  }

  // Every descript.ion of the destination tree, one after the other.
  static std::string Descriptions(WindowHarness& h) {
    std::string all;
    const std::filesystem::path root(Cp1251ToUtf8(h.dir() / "dst"));
    for (const auto& entry : std::filesystem::recursive_directory_iterator(root)) {
      if (entry.path().filename() == "descript.ion") {
        all += NativeFileSystem()
                   .ReadWholeFile(ToCp1251(QString::fromStdString(entry.path().string())))
                   .value_or("");
      }
    }
    return all;
  }

  // The controls that the state table names, as they stand.
  static QStringList States(WindowHarness& h) {
    QStringList states;
    for (const char* name : {"btRun", "btStop", "btRepack", "btStopRepack"}) {
      const QPushButton* button = h.Child<QPushButton>(name);
      states << QString::fromLatin1(name) + (button->isHidden() ? " hidden" : " shown") +
                    (button->isEnabled() ? "" : " disabled");
    }
    bool fields = true;
    for (const char* name : {"edDirSrc", "edDirDest", "edDirDestOther", "edPack"}) {
      fields = fields && h.Child<QLineEdit>(name)->isEnabled();
    }
    states << (fields ? "fields enabled" : "fields disabled");
    bool others = true;
    for (const char* name :
         {"btClose", "btAbout", "sbDirSrc", "sbDirDest", "sbDirDestOther", "cbPref", "edPref",
          "cbCopyOther", "udPack", "rbJPEGConvert", "rbJPEGCopy", "rbExcistsLeave", "rbExcistsAns",
          "rbExcistsRename", "rbExcistsRewrite", "cbExitAfterConvert"}) {
      others = others && h.Child<QWidget>(name)->isEnabled();
    }
    states << (others ? "others usable" : "others not usable");
    const QCursor* cursor = QGuiApplication::overrideCursor();
    states << (cursor != nullptr && cursor->shape() == Qt::BusyCursor ? "busy" : "normal pointer");
    return states;
  }

  static const QStringList& Idle() {
    static const QStringList idle = {"btRun shown",         "btStop hidden",  "btRepack shown",
                                     "btStopRepack hidden", "fields enabled", "others usable",
                                     "normal pointer"};
    return idle;
  }

 private slots:
  void initTestCase() { QApplication::setQuitOnLastWindowClosed(false); }

  void copyRunStates_data() {
    QTest::addColumn<int>("workers");
    QTest::newRow("on the main thread") << 1;
    QTest::newRow("converting ahead") << 3;
  }

  void copyRunStates() {
    QFETCH(int, workers);
    WindowHarness h;
    h.set_workers(workers);
    PrepareCopyRun(h);
    TfmMain& w = h.window();
    QCOMPARE(States(h), Idle());
    QStringList during;
    QString caption;
    QWidget* focus = nullptr;
    AtNextPump([&] {
      during = States(h);
      caption = w.windowTitle();
      focus = w.focusWidget();
    });
    h.Child<QPushButton>("btRun")->click();
    QCOMPARE(during,
             (QStringList{"btRun hidden", "btStop shown", "btRepack shown disabled",
                          "btStopRepack hidden", "fields disabled", "others usable", "busy"}));
    QCOMPARE(caption, QStringLiteral("Обработка..."));
    QCOMPARE(focus, h.Child<QWidget>("btStop"));
    QCOMPARE(States(h), Idle());
    QCOMPARE(w.windowTitle(), QStringLiteral("Готово."));
    QCOMPARE(QGuiApplication::applicationDisplayName(), QStringLiteral("Шифродел"));
    QCOMPARE(Written(h), (QStringList{"descript.ion", "Ф.12.Оп.1.Д.1.Л.1.jpg",
                                      "Ф.12.Оп.1.Д.1.Л.2.jpg", "Ф.12.Оп.1.Д.1.Л.3.jpg"}));
    QVERIFY(w.isVisible());
  }

  void refusedRunMarksTheFieldAndStaysIdle() {
    WindowHarness h;
    PrepareCopyRun(h);
    TfmMain& w = h.window();
    QLineEdit* other = h.Child<QLineEdit>("edDirDestOther");
    const std::string blocker = h.dir().WriteFile("file", "x");
    other->setText(FromCp1251(blocker + "/misc"));
    h.Child<QPushButton>("btRun")->click();
    QCOMPARE(w.windowTitle(), QStringLiteral("Выберите результирующую папку \"Разное\""));
    QCOMPARE(other->palette().color(QPalette::Base), TfmMain::Colour(TFieldColour::kYellow));
    QCOMPARE(States(h), Idle());
    QTest::keyClicks(other, "x");
    QCOMPARE(other->palette().color(QPalette::Base), TfmMain::Colour(TFieldColour::kYellow));

    QLineEdit* dest = h.Child<QLineEdit>("edDirDest");
    dest->clear();
    h.Child<QPushButton>("btRun")->click();
    QCOMPARE(w.windowTitle(), QStringLiteral("Выберите результирующую папку"));
    QCOMPARE(dest->palette().color(QPalette::Base), TfmMain::Colour(TFieldColour::kYellow));

    QLineEdit* source = h.Child<QLineEdit>("edDirSrc");
    source->setText(QStringLiteral("  "));
    h.Child<QPushButton>("btRun")->click();
    QCOMPARE(w.windowTitle(), QStringLiteral("Выберите папку для обработки"));
    QCOMPARE(source->palette().color(QPalette::Base), TfmMain::Colour(TFieldColour::kYellow));
    QTest::keyClicks(source, "x");
    QCOMPARE(source->palette().color(QPalette::Base), TfmMain::Colour(TFieldColour::kWindow));
    QCOMPARE(States(h), Idle());
    QVERIFY(Written(h).isEmpty());
  }

  void questionsHoldTheRunInItsState() {
    WindowHarness h;
    PrepareCopyRun(h);
    h.Child<QPushButton>("btRun")->click();
    h.Child<QRadioButton>("rbExcistsAns")->setChecked(true);
    ScriptedBoxes boxes;
    QStringList during;
    boxes.Answer(QStringLiteral("ОК"), [&](const TBoxView&) { during = States(h); });
    boxes.Answer(QStringLiteral("Отмена"));
    boxes.Answer(QStringLiteral("ОК"));
    h.Child<QPushButton>("btRun")->click();
    QCOMPARE(boxes.shown().size(), std::size_t{3});
    QCOMPARE(boxes.unexpected(), 0);
    QCOMPARE(boxes.shown()[0].caption, QStringLiteral("Внимание!"));
    QVERIFY(boxes.shown()[0].text.startsWith(QStringLiteral("Файл существует:\n\"")));
    QCOMPARE(during[0], QStringLiteral("btRun hidden"));
    QCOMPARE(h.window().windowTitle(), QStringLiteral("Готово."));
  }

  void optionsChangedDuringTheRunApplyFromTheNextFile() {
    WindowHarness h;
    PrepareCopyRun(h);
    h.Child<QLineEdit>("edPref")->setText(QStringLiteral("DVD#001"));
    AtNextPump([&] {
      h.Child<QLineEdit>("edPref")->setText(QStringLiteral("CD#9"));
      h.Child<QLineEdit>("edDirDest")->setText(QStringLiteral("/elsewhere"));
    });
    h.Child<QPushButton>("btRun")->click();
    QCOMPARE(Written(h).size(), 4);
    const std::string list = Descriptions(h);
    QVERIFY2(list.find("CD#9") != std::string::npos, list.c_str());
    QVERIFY(list.find("DVD#001") == std::string::npos);
  }

  void stopEndsTheRunBetweenFiles() {
    WindowHarness h;
    PrepareCopyRun(h);
    AtNextPump([&] { h.Child<QPushButton>("btStop")->click(); });
    h.Child<QPushButton>("btRun")->click();
    QCOMPARE(h.window().windowTitle(), QStringLiteral("Прервано."));
    QCOMPARE(States(h), Idle());
    QCOMPARE(Written(h).size(), 2);  // the file whose turn had come, and its description
  }

  void stopIsTakenDuringOneLongConversion() {
    WindowHarness h;
    PrepareCopyRun(h);
    h.converter().before_progress = [&] {
      h.converter().before_progress = nullptr;
      AtNextPump([&] { QTest::mouseClick(h.Child<QPushButton>("btStop"), Qt::LeftButton); });
    };
    h.Child<QPushButton>("btRun")->click();
    QCOMPARE(h.window().windowTitle(), QStringLiteral("Прервано."));
    QCOMPARE(Written(h).size(), 2);  // the file under way is finished
  }

  void enterAndEscWhenIdle() {
    WindowHarness h;
    PrepareCopyRun(h);
    TfmMain& w = h.window();
    QTest::keyClick(h.Child<QLineEdit>("edDirSrc"), Qt::Key_Return);
    QCOMPARE(w.windowTitle(), QStringLiteral("Готово."));
    QCOMPARE(Written(h).size(), 4);
    QTest::keyClick(h.Child<QLineEdit>("edPack"), Qt::Key_Escape);
    QVERIFY(!w.isVisible());
  }

  void enterAndEscDuringTheRun() {
    WindowHarness h;
    PrepareCopyRun(h);
    TfmMain& w = h.window();
    bool open_after_esc = false;
    AtNextPump([&] {
      QWidget* option = h.Child<QWidget>("cbPref");
      option->setFocus();
      QTest::keyClick(option, Qt::Key_Return);  // btRun is hidden: nothing
      QTest::keyClick(option, Qt::Key_Escape);  // waits for the end of the run
      AtNextPump([&] { open_after_esc = w.isVisible(); });
    });
    h.Child<QPushButton>("btRun")->click();
    QVERIFY(open_after_esc);
    QCOMPARE(w.windowTitle(), QStringLiteral("Готово."));
    QCOMPARE(Written(h).size(), 4);
    QVERIFY(!w.isVisible());
  }

  void enterOnTheFocusedStopButtonStops() {
    WindowHarness h;
    PrepareCopyRun(h);
    AtNextPump([&] { QTest::keyClick(h.window().focusWidget(), Qt::Key_Return); });
    h.Child<QPushButton>("btRun")->click();
    QCOMPARE(h.window().windowTitle(), QStringLiteral("Прервано."));
  }

  void repackStates() {
    WindowHarness h;
    h.dir().WriteFile("src/a.tif", "not a TIFF file");
    h.dir().WriteFile("src/sub/b.TIFF", "nor this");
    TfmMain& w = h.Show();
    h.Child<QLineEdit>("edDirSrc")->setText(FromCp1251(h.dir() / "src"));
    QStringList during;
    QWidget* focus = nullptr;
    AtNextPump([&] {
      during = States(h);
      focus = w.focusWidget();
    });
    h.Child<QPushButton>("btRepack")->click();
    QCOMPARE(during,
             (QStringList{"btRun shown disabled", "btStop hidden", "btRepack hidden",
                          "btStopRepack shown", "fields enabled", "others usable", "busy"}));
    QCOMPARE(focus, h.Child<QWidget>("btStopRepack"));
    QCOMPARE(States(h), Idle());
    QCOMPARE(w.windowTitle(), QStringLiteral("Готово."));
    QCOMPARE(h.dir().ReadFile("src/a.tif"), std::string("not a TIFF file"));
  }

  void repackStopsAtItsStopButtonAndIgnoresEnter() {
    WindowHarness h;
    h.dir().WriteFile("src/a.tif", "x");
    h.dir().WriteFile("src/b.tif", "y");
    TfmMain& w = h.Show();
    h.Child<QLineEdit>("edDirSrc")->setText(FromCp1251(h.dir() / "src"));
    h.Child<QCheckBox>("cbExitAfterConvert")->setChecked(true);
    AtNextPump([&] {
      QWidget* option = h.Child<QWidget>("cbPref");
      option->setFocus();
      QTest::keyClick(option, Qt::Key_Return);  // btRun is disabled: nothing
      QTest::keyClick(h.Child<QWidget>("btStopRepack"), Qt::Key_Return);
    });
    h.Child<QPushButton>("btRepack")->click();
    QCOMPARE(w.windowTitle(), QStringLiteral("Прервано."));
    QVERIFY(w.isVisible());  // never closes itself after a stop
  }

  void exitAfterFinishClosesOnceTheRunHasReturned() {
    WindowHarness h;
    PrepareCopyRun(h);
    h.Child<QCheckBox>("cbExitAfterConvert")->setChecked(true);
    bool open_during_run = false;
    AtNextPump([&] { open_during_run = h.window().isVisible(); });
    h.Child<QPushButton>("btRun")->click();
    QVERIFY(open_during_run);
    QVERIFY(!h.window().isVisible());
  }
};

}  // namespace shifrodel::testing

QTEST_MAIN(shifrodel::testing::JobStatesTest)
#include "job_states_test.moc"
