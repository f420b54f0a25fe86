// The window as built: every control of the design table, the tab order, the
// window's frame, captions that fit, and what each handler does.
#include <QApplication>
#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QToolButton>

#include "app/up_down_arrows.h"
#include "text/cp1251_literal.h"
#include "window_harness.h"

namespace shifrodel::testing {

using shifrodel::operator""_cp1251;

struct DesignRow {
  const char* name;
  const char* kind;  // the Qt class
  const char* parent;
  QRect place;  // a label's is its corner only
  const char* caption;
  const char* hint;
};

// The design of the window, control by control.
const DesignRow kDesign[] = {
    {"Label2",
     "QLabel",
     "fmMain",
     {8, 8, 0, 0},
     "Папка для обработки (откуда копировать)",
     "Папка, из которой будут конвертироваться файлы"},
    {"edDirSrc", "QLineEdit", "fmMain", {8, 24, 377, 21}, "C:\\Мои документы\\Мои рисунки", ""},
    {"sbDirSrc", "QToolButton", "fmMain", {384, 24, 25, 22}, "...", "Выбрать папку"},
    {"btRun", "QPushButton", "fmMain", {8, 56, 89, 25}, "&Начать!", "Начать конвертацию в JPEG"},
    {"btStop", "QPushButton", "fmMain", {8, 56, 89, 25}, "&Стоп", "Остановить процесс конвертации"},
    {"btRepack",
     "QPushButton",
     "fmMain",
     {104, 56, 105, 25},
     "&Перепаковка TIFF",
     "Перепаковка TIFF файлов в папке с лучшим сжатием"},
    {"btStopRepack",
     "QPushButton",
     "fmMain",
     {152, 56, 89, 25},
     "&Стоп",
     "Остановить процесс перепаковки"},
    {"btClose", "QPushButton", "fmMain", {224, 56, 89, 25}, "В&ыход", "Выход из программы"},
    {"btAbout",
     "QPushButton",
     "fmMain",
     {320, 56, 89, 25},
     "&О программе",
     "Информация о программе и авторе"},
    {"cbPref",
     "QCheckBox",
     "fmMain",
     {8, 87, 185, 17},
     "&Добавить перед описанием",
     "Описание добавляется перед исходным местоположением файла в descript.ion"},
    {"lbFreeSpace", "QLabel", "fmMain", {200, 87, 0, 0}, "Свободное место на диске", ""},
    {"edPref", "QLineEdit", "fmMain", {8, 104, 154, 21}, "DVD#001", ""},
    {"Label1",
     "QLabel",
     "fmMain",
     {8, 176, 0, 0},
     "Результирующая папка (куда копировать)",
     "Папка, в которую копируются готовые файлы"},
    {"edDirDest", "QLineEdit", "fmMain", {8, 192, 377, 21}, "G:\\Photo", ""},
    {"sbDirDest", "QToolButton", "fmMain", {384, 192, 25, 22}, "...", "Выбрать папку"},
    {"cbCopyOther",
     "QCheckBox",
     "fmMain",
     {8, 223, 321, 17},
     "Копировать файлы без шифра в папку \"Разное\"",
     ""},
    {"edDirDestOther", "QLineEdit", "fmMain", {8, 240, 377, 21}, "G:\\Photo\\Разное", ""},
    {"sbDirDestOther", "QToolButton", "fmMain", {384, 240, 25, 22}, "...", "Выбрать папку"},
    {"lbPack",
     "QLabel",
     "fmMain",
     {8, 272, 0, 0},
     "Сжатие",
     "Выберите сжатие для JPEG файлов\nОптимальное сжатие - 75%\nМинимальное - 30%\n"
     "Максимальное - 95%"},
    {"edPack", "QLineEdit", "fmMain", {56, 272, 49, 21}, "75%", ""},
    {"udPack", "shifrodel::UpDownArrows", "fmMain", {104, 272, 16, 24}, "", ""},
    {"gbJPEG", "QGroupBox", "fmMain", {8, 296, 185, 57}, " Обработка JPEG файлов ", ""},
    {"rbJPEGConvert",
     "QRadioButton",
     "gbJPEG",
     {8, 16, 137, 17},
     "Конвертировать",
     "Конвертировать JPEG файлы в любом случае"},
    {"rbJPEGCopy",
     "QRadioButton",
     "gbJPEG",
     {8, 32, 137, 17},
     "Копировать как есть",
     "Не конвертировать лишний раз, сохранить качество"},
    {"gbExcists", "QGroupBox", "fmMain", {224, 264, 185, 89}, " Существующие файлы ", ""},
    {"rbExcistsLeave", "QRadioButton", "gbExcists", {8, 16, 113, 17}, "Пропустить", ""},
    {"rbExcistsAns", "QRadioButton", "gbExcists", {8, 32, 113, 17}, "Спросить", ""},
    {"rbExcistsRename",
     "QRadioButton",
     "gbExcists",
     {8, 48, 161, 17},
     "Переименовать",
     "Если файл существует, то к имени нового файла будет добавлено \"(Копия x)\", где x  - "
     "номер копии"},
    {"rbExcistsRewrite", "QRadioButton", "gbExcists", {8, 64, 113, 17}, "Заменить", ""},
    {"cbExitAfterConvert",
     "QCheckBox",
     "fmMain",
     {8, 360, 281, 17},
     "Выйти из программы после завершения",
     "Выйти из программы после завершения конвертации"},
    {"cbExitAfterConvertGood",
     "QCheckBox",
     "fmMain",
     {24, 376, 209, 17},
     "Если не было ошибок",
     "Выйти из программы, если не было ошибок"},
};

QString CaptionOf(QWidget* w) {
  if (auto* label = qobject_cast<QLabel*>(w)) return label->text();
  if (auto* edit = qobject_cast<QLineEdit*>(w)) return edit->text();
  if (auto* button = qobject_cast<QAbstractButton*>(w)) return button->text();
  if (auto* group = qobject_cast<QGroupBox*>(w)) return group->title();
  return QString();
}

int Scaled(int design, double scale) { return static_cast<int>(std::lround(design * scale)); }

class MainWindowTest : public QObject {
  Q_OBJECT

 private:
  static QColor Base(QLineEdit* field) { return field->palette().color(QPalette::Base); }

 private slots:
  void initTestCase() { QApplication::setQuitOnLastWindowClosed(false); }

  void everyControlIsAsDesigned() {
    WindowHarness h;
    TfmMain& w = h.Show();
    const double s = w.layout_scale();
    QVERIFY(s >= 1.0);
    for (const DesignRow& row : kDesign) {
      QWidget* control = h.Child<QWidget>(row.name);
      QVERIFY2(control != nullptr, row.name);
      QCOMPARE(control->metaObject()->className(), row.kind);
      QCOMPARE(control->parentWidget()->objectName(), QString::fromLatin1(row.parent));
      QCOMPARE(CaptionOf(control), QString::fromUtf8(row.caption));
      QCOMPARE(control->toolTip(), QString::fromUtf8(row.hint));
      QCOMPARE(control->pos(), QPoint(Scaled(row.place.x(), s), Scaled(row.place.y(), s)));
      if (!row.place.isEmpty()) {
        QCOMPARE(control->width(),
                 Scaled(row.place.x() + row.place.width(), s) - Scaled(row.place.x(), s));
        QCOMPARE(control->height(),
                 Scaled(row.place.y() + row.place.height(), s) - Scaled(row.place.y(), s));
      }
    }
    QVERIFY(h.Child<QPushButton>("btRun")->font().bold());
    QVERIFY(h.Child<QPushButton>("btRun")->isDefault());
    QVERIFY(h.Child<QToolButton>("sbDirSrc")->autoRaise());
    QCOMPARE(h.Child<QToolButton>("sbDirSrc")->focusPolicy(), Qt::NoFocus);
    for (const char* hidden : {"btStop", "btStopRepack"}) {
      QVERIFY2(h.Child<QWidget>(hidden)->isHidden(), hidden);
    }
  }

  void theWindowIsFixedWithoutMaximise() {
    WindowHarness h;
    TfmMain& w = h.Show();
    QCOMPARE(w.minimumSize(), w.maximumSize());
    QCOMPARE(w.size(), QSize(Scaled(418, w.layout_scale()), Scaled(395, w.layout_scale())));
    QVERIFY(!(w.windowFlags() & Qt::WindowMaximizeButtonHint));
    QVERIFY(w.windowFlags() & Qt::WindowMinimizeButtonHint);
    QVERIFY(w.windowFlags() & Qt::WindowCloseButtonHint);
    QVERIFY(w.acceptDrops());
  }

  void noCaptionIsClipped() {
    WindowHarness h;
    TfmMain& w = h.Show();
    w.SetFreeSpaceText("Свободно более 1024 Mb"_cp1251);
    for (QWidget* control : w.findChildren<QWidget*>()) {
      const QRect inWindow(control->mapTo(&w, QPoint(0, 0)), control->size());
      if (!control->isHidden()) {
        QVERIFY2(w.rect().contains(inWindow), qPrintable(control->objectName()));
      }
      if (qobject_cast<QLineEdit*>(control) || qobject_cast<QToolButton*>(control)) continue;
      if (qobject_cast<QAbstractButton*>(control) || qobject_cast<QLabel*>(control)) {
        QVERIFY2(control->sizeHint().width() <= control->width(),
                 qPrintable(control->objectName()));
        QVERIFY2(control->sizeHint().height() <= control->height(),
                 qPrintable(control->objectName()));
      }
    }
    QLineEdit* pack = h.Child<QLineEdit>("edPack");
    QVERIFY(pack->fontMetrics().horizontalAdvance(QStringLiteral("100%")) < pack->width() - 6);
  }

  void tabOrderFollowsTheDesign() {
    WindowHarness h;
    h.Show();
    const QStringList expected = {"edDirSrc",
                                  "btRun",
                                  "btStop",
                                  "btRepack",
                                  "btStopRepack",
                                  "btClose",
                                  "btAbout",
                                  "cbPref",
                                  "edPref",
                                  "edDirDest",
                                  "cbCopyOther",
                                  "edDirDestOther",
                                  "edPack",
                                  "udPack",
                                  "rbJPEGConvert",
                                  "rbJPEGCopy",
                                  "rbExcistsLeave",
                                  "rbExcistsAns",
                                  "rbExcistsRename",
                                  "rbExcistsRewrite",
                                  "cbExitAfterConvert",
                                  "cbExitAfterConvertGood"};
    QStringList order;
    QWidget* start = h.Child<QWidget>("edDirSrc");
    QWidget* w = start;
    do {
      if (w->focusPolicy() & Qt::TabFocus) order << w->objectName();
      w = w->nextInFocusChain();
    } while (w != start);
    QCOMPARE(order, expected);
  }

  void typingInThePrefixTicksCbPref() {
    WindowHarness h;
    h.WriteIni("[Main]\ncbPref=0\n");
    h.Show();
    QLineEdit* pref = h.Child<QLineEdit>("edPref");
    QCheckBox* box = h.Child<QCheckBox>("cbPref");
    QCOMPARE(Base(pref), TfmMain::Colour(TFieldColour::kBtnFace));
    QVERIFY(pref->isEnabled());
    QTest::keyClicks(pref, "2");
    QVERIFY(box->isChecked());
    QCOMPARE(Base(pref), TfmMain::Colour(TFieldColour::kWindow));
    QTest::mouseClick(box, Qt::LeftButton);
    QVERIFY(!box->isChecked());
    QCOMPARE(Base(pref), TfmMain::Colour(TFieldColour::kBtnFace));
  }

  void colourRulesOfTheFolderFields() {
    WindowHarness h;
    TfmMain& w = h.Show();
    QLineEdit* dest = h.Child<QLineEdit>("edDirDest");
    QLineEdit* other = h.Child<QLineEdit>("edDirDestOther");
    QCheckBox* copy_other = h.Child<QCheckBox>("cbCopyOther");
    w.MarkField(TFolderField::kTarget);
    w.MarkField(TFolderField::kOther);
    QCOMPARE(Base(dest), TfmMain::Colour(TFieldColour::kYellow));
    QCOMPARE(TfmMain::Colour(TFieldColour::kYellow), QColor(255, 255, 0));
    QTest::keyClicks(other, "x");
    QCOMPARE(Base(dest), TfmMain::Colour(TFieldColour::kWindow));
    QCOMPARE(Base(other), TfmMain::Colour(TFieldColour::kYellow));
    copy_other->click();
    QCOMPARE(Base(other), TfmMain::Colour(TFieldColour::kBtnFace));
    QVERIFY(other->isEnabled());
    copy_other->click();
    QCOMPARE(Base(other), TfmMain::Colour(TFieldColour::kWindow));
    w.MarkField(TFolderField::kTarget);
    QTest::keyClicks(dest, "y");
    QCOMPARE(Base(dest), TfmMain::Colour(TFieldColour::kWindow));
  }

  void exitAfterConvertEnablesItsCondition() {
    WindowHarness h;
    h.Show();
    QCheckBox* exit = h.Child<QCheckBox>("cbExitAfterConvert");
    QCheckBox* good = h.Child<QCheckBox>("cbExitAfterConvertGood");
    exit->click();
    QVERIFY(good->isEnabled());
    good->click();
    QVERIFY(!good->isChecked());
    exit->click();
    QVERIFY(!good->isEnabled());
    QVERIFY(!good->isChecked());
  }

  void folderButtonsTakeTheBrowsersTrimmedResult() {
    WindowHarness h;
    h.Show();
    {
      ScriptedFolderBrowser browser(QStringLiteral(" \t/data/Сканы 2007  "));
      h.Child<QToolButton>("sbDirSrc")->click();
      QCOMPARE(browser.calls(), 1);
    }
    QCOMPARE(h.Child<QLineEdit>("edDirSrc")->text(), QStringLiteral("/data/Сканы 2007"));
    {
      ScriptedFolderBrowser browser(QStringLiteral("   "));
      h.Child<QToolButton>("sbDirSrc")->click();
    }
    QCOMPARE(h.Child<QLineEdit>("edDirSrc")->text(), QStringLiteral("/data/Сканы 2007"));
    h.Child<QCheckBox>("cbCopyOther")->setChecked(false);
    {
      ScriptedFolderBrowser browser(QStringLiteral("/archive/misc"));
      h.Child<QToolButton>("sbDirDestOther")->click();
    }
    QCOMPARE(h.Child<QLineEdit>("edDirDestOther")->text(), QStringLiteral("/archive/misc"));
    QVERIFY(h.Child<QCheckBox>("cbCopyOther")->isChecked());
  }

  void cancelledDestinationBrowserStillTicksCopyOther() {
    WindowHarness h;
    h.WriteIni("[Main]\nCopyOther=0\n");
    h.Show();
    QLineEdit* other = h.Child<QLineEdit>("edDirDestOther");
    QCOMPARE(Base(other), TfmMain::Colour(TFieldColour::kBtnFace));
    ScriptedFolderBrowser cancelled{QString()};
    h.Child<QToolButton>("sbDirDest")->click();
    QCOMPARE(h.Child<QLineEdit>("edDirDest")->text(), QStringLiteral("G:\\Photo"));
    QVERIFY(h.Child<QCheckBox>("cbCopyOther")->isChecked());
    QCOMPARE(Base(other), TfmMain::Colour(TFieldColour::kWindow));
  }

  void stopButtonsOnlySetTheStopFlag() {
    WindowHarness h;
    TfmMain& w = h.Show();
    const QString caption = w.windowTitle();
    for (const char* stop : {"btStop", "btStopRepack"}) {
      w.run_state().StopRequested = false;
      h.Child<QPushButton>(stop)->click();
      QVERIFY2(w.run_state().StopRequested, stop);
    }
    QCOMPARE(w.windowTitle(), caption);
  }

  void aboutBoxShowsTheProgram() {
    WindowHarness h;
    h.Show();
    ScriptedBoxes boxes;
    boxes.Answer(QStringLiteral("ОК"));
    h.Child<QPushButton>("btAbout")->click();
    QCOMPARE(boxes.shown().size(), std::size_t{1});
    const TBoxView& box = boxes.shown().front();
    QCOMPARE(box.caption, QStringLiteral("Шифродел 4.4 от 23.10.2007"));
    QCOMPARE(box.buttons, QStringList{QStringLiteral("ОК")});
    QCOMPARE(box.icon, QMessageBox::NoIcon);
    const QStringList lines = box.text.split(u'\n');
    QCOMPARE(lines.size(), 9);
    QCOMPARE(lines[0], QStringLiteral("Шифродел 4.4 от 23.10.2007"));
    QVERIFY(lines[1].isEmpty());
    for (int i = 2; i < 6; ++i) QVERIFY(!lines[i].isEmpty());
    QVERIFY(lines[6].isEmpty());
    QCOMPARE(lines[7], QStringLiteral("Копирование файлов фонда пользования по архивному шифру."));
    QCOMPARE(lines[8], QStringLiteral("См. Read_Me.txt"));
  }

  void closeAndEscEndTheProgramWhenIdle() {
    for (bool by_esc : {false, true}) {
      WindowHarness h;
      TfmMain& w = h.Show();
      h.Child<QLineEdit>("edPref")->setText(by_esc ? "esc" : "close");
      if (by_esc) {
        QTest::keyClick(h.Child<QLineEdit>("edDirSrc"), Qt::Key_Escape);
      } else {
        h.Child<QPushButton>("btClose")->click();
      }
      QVERIFY(!w.isVisible());
      h.Destroy();
      QVERIFY(h.ReadIni().find(by_esc ? "edPref=esc\r\n" : "edPref=close\r\n") !=
              std::string::npos);
    }
  }

  void enterPressesTheFocusedButton() {
    WindowHarness h;
    h.Show();
    ScriptedBoxes boxes;
    boxes.Answer(QStringLiteral("ОК"));
    QPushButton* about = h.Child<QPushButton>("btAbout");
    about->setFocus();
    QTest::keyClick(about, Qt::Key_Return);
    QCOMPARE(boxes.shown().size(), std::size_t{1});
  }

  void questionsAreModalBoxesOfTheWindow() {
    WindowHarness h;
    TfmMain& w = h.Show();
    ScriptedBoxes boxes;
    boxes.Answer(QStringLiteral("Нет"));
    boxes.Answer(QStringLiteral("Отмена"));
    QCOMPARE(w.Ask("Файл существует:\r\"a\"\r\rНажмите"_cp1251, TQuestionButtons::kYesNoCancel),
             TAnswer::kNo);
    QCOMPARE(w.Ask("Мало места"_cp1251, TQuestionButtons::kOkCancel), TAnswer::kCancel);
    const TBoxView& three = boxes.shown()[0];
    QCOMPARE(three.caption, QStringLiteral("Внимание!"));
    QCOMPARE(three.icon, QMessageBox::NoIcon);
    QCOMPARE(three.text, QStringLiteral("Файл существует:\n\"a\"\n\nНажмите"));
    QCOMPARE(three.buttons, (QStringList{"Да", "Нет", "Отмена"}));
    QCOMPARE(three.default_button, 0);
    QCOMPARE(three.escape_button, 2);
    const TBoxView& two = boxes.shown()[1];
    QCOMPARE(two.buttons, (QStringList{"ОК", "Отмена"}));
    QCOMPARE(two.default_button, 0);
    QCOMPARE(two.escape_button, 1);
  }

  void servicesShowTheirTexts() {
    WindowHarness h;
    TfmMain& w = h.Show();
    w.SetStatus("Готово. Проблем 3"_cp1251);
    QCOMPARE(w.windowTitle(), QStringLiteral("Готово. Проблем 3"));
    QCOMPARE(w.Status(), "Готово. Проблем 3"_cp1251);
    w.SetTaskTitle("ф 12 оп 1 д 1 л 1.tif"_cp1251);
    QCOMPARE(QGuiApplication::applicationDisplayName(), QStringLiteral("ф 12 оп 1 д 1 л 1.tif"));
    QCOMPARE(w.windowTitle(), QStringLiteral("Готово. Проблем 3"));
    w.SetTaskTitle("Шифродел"_cp1251);
    w.SetFreeSpaceText("Свободно 19 Mb"_cp1251);
    QCOMPARE(h.Child<QLabel>("lbFreeSpace")->text(), QStringLiteral("Свободно 19 Mb"));
    w.SetQualityText("80%");
    QCOMPARE(h.Child<QLineEdit>("edPack")->text(), QStringLiteral("80%"));
    w.SetBusyPointer(true);
    w.SetBusyPointer(true);
    QCOMPARE(QGuiApplication::overrideCursor()->shape(), Qt::BusyCursor);
    w.SetBusyPointer(false);
    QCOMPARE(QGuiApplication::overrideCursor(), nullptr);
  }
};

}  // namespace shifrodel::testing

QTEST_MAIN(shifrodel::testing::MainWindowTest)
#include "main_window_test.moc"
