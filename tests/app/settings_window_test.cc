// The window and its settings file: the first start, the edge cases of the
// keys as the controls show them, a round trip of all fourteen keys, and an
// INI file that cannot be written.
#include <QApplication>
#include <QCheckBox>
#include <QLineEdit>
#include <QRadioButton>
#include <QScreen>
#include <QTest>

#include "app/ui_text.h"
#include "app/up_down_arrows.h"
#include "window_harness.h"

namespace shifrodel::testing {

class SettingsWindowTest : public QObject {
  Q_OBJECT

 private:
  static QColor Base(QLineEdit* field) { return field->palette().color(QPalette::Base); }

 private slots:
  void initTestCase() { QApplication::setQuitOnLastWindowClosed(false); }

  void firstStartShowsTheDesign() {
    WindowHarness h;
    TfmMain& w = h.Show();
    QCOMPARE(w.windowTitle(), QStringLiteral("Шифродел 4.4"));
    QCOMPARE(h.Child<QLineEdit>("edDirSrc")->text(),
             QStringLiteral("C:\\Мои документы\\Мои рисунки"));
    QCOMPARE(h.Child<QLineEdit>("edDirDest")->text(), QStringLiteral("G:\\Photo"));
    QCOMPARE(h.Child<QLineEdit>("edDirDestOther")->text(), QStringLiteral("G:\\Photo\\Разное"));
    QCOMPARE(h.Child<QLineEdit>("edPack")->text(), QStringLiteral("75%"));
    QCOMPARE(h.Child<QLineEdit>("edPref")->text(), QStringLiteral("DVD#001"));
    QVERIFY(h.Child<QCheckBox>("cbCopyOther")->isChecked());
    QVERIFY(h.Child<QCheckBox>("cbPref")->isChecked());
    QCOMPARE(Base(h.Child<QLineEdit>("edDirDestOther")), TfmMain::Colour(TFieldColour::kWindow));
    QCOMPARE(Base(h.Child<QLineEdit>("edPref")), TfmMain::Colour(TFieldColour::kWindow));
    QVERIFY(h.Child<QRadioButton>("rbExcistsRewrite")->isChecked());
    QVERIFY(!h.Child<QRadioButton>("rbExcistsLeave")->isChecked());
    QVERIFY(h.Child<QRadioButton>("rbJPEGConvert")->isChecked());
    QVERIFY(!h.Child<QRadioButton>("rbJPEGCopy")->isChecked());
    QVERIFY(!h.Child<QCheckBox>("cbExitAfterConvert")->isChecked());
    QVERIFY(h.Child<QCheckBox>("cbExitAfterConvertGood")->isChecked());
    QVERIFY(!h.Child<QCheckBox>("cbExitAfterConvertGood")->isEnabled());
    QCOMPARE(w.pos(), QPoint(182, 103));
    QCOMPARE(w.focusWidget(), h.Child<QLineEdit>("edDirSrc"));
  }

  void settingsEdgeCases_data() {
    QTest::addColumn<QString>("ini");
    QTest::addColumn<QString>("selected");  // the one checked rbExcists..., or ""
    QTest::addColumn<bool>("copy_other");
    QTest::newRow("two Excists keys true") << "ExcistsAns=1\nExcistsRewrite=1"
                                           << "rbExcistsRewrite" << true;
    QTest::newRow("all Excists keys false")
        << "ExcistsLeave=0\nExcistsAns=0\nExcistsRename=0\nExcistsRewrite=0"
        << "" << true;
    QTest::newRow("CopyOther=yes") << "CopyOther=yes"
                                   << "rbExcistsRewrite" << true;
    QTest::newRow("CopyOther=2") << "CopyOther=2"
                                 << "rbExcistsRewrite" << true;
    QTest::newRow("CopyOther=0x0") << "CopyOther=0x0"
                                   << "rbExcistsRewrite" << false;
  }

  void settingsEdgeCases() {
    QFETCH(QString, ini);
    QFETCH(QString, selected);
    QFETCH(bool, copy_other);
    WindowHarness h;
    h.WriteIni("[Main]\r\n" + ini.toStdString() + "\r\n");
    h.Create();
    for (const char* name :
         {"rbExcistsLeave", "rbExcistsAns", "rbExcistsRename", "rbExcistsRewrite"}) {
      QCOMPARE(h.Child<QRadioButton>(name)->isChecked(), selected == QLatin1String(name));
    }
    QCOMPARE(h.Child<QCheckBox>("cbCopyOther")->isChecked(), copy_other);
    QCOMPARE(Base(h.Child<QLineEdit>("edDirDestOther")),
             TfmMain::Colour(copy_other ? TFieldColour::kWindow : TFieldColour::kBtnFace));
  }

  void packIsLoadedVerbatimAndSteppedFrom30() {
    WindowHarness h;
    h.WriteIni("[Main]\nPack=abc\n");
    h.Create();
    QLineEdit* pack = h.Child<QLineEdit>("edPack");
    QCOMPARE(pack->text(), QStringLiteral("abc"));
    QTest::mouseClick(h.Child<UpDownArrows>("udPack")->up(), Qt::LeftButton);
    QCOMPARE(pack->text(), QStringLiteral("31%"));
  }

  void loadingThePrefixDoesNotTickCbPref() {
    WindowHarness h;
    h.WriteIni("[Main]\nedPref=CD#7\ncbPref=0\n");
    h.Create();
    QCOMPARE(h.Child<QLineEdit>("edPref")->text(), QStringLiteral("CD#7"));
    QVERIFY(!h.Child<QCheckBox>("cbPref")->isChecked());
    QCOMPARE(Base(h.Child<QLineEdit>("edPref")), TfmMain::Colour(TFieldColour::kBtnFace));
  }

  void positionOutsideTheWorkAreaIsPulledIn() {
    WindowHarness h;
    h.WriteIni("[Main]\nLeft=-5000\nTop=99999\n");
    TfmMain& w = h.Show();
    const QRect work = QGuiApplication::primaryScreen()->availableGeometry();
    QCOMPARE(w.frameGeometry().left(), work.left());
    QCOMPARE(w.frameGeometry().bottom(), work.bottom());
  }

  void everyKeyRoundTrips() {
    WindowHarness h;
    h.Show();
    h.Child<QLineEdit>("edDirSrc")->setText(QStringLiteral("E:\\Фонд 12"));
    h.Child<QLineEdit>("edDirDest")->setText(QStringLiteral("F:\\Копии"));
    h.Child<QCheckBox>("cbCopyOther")->setChecked(false);
    h.Child<QLineEdit>("edDirDestOther")->setText(QStringLiteral("F:\\Прочее"));
    h.Child<QLineEdit>("edPack")->setText(QStringLiteral("80 %"));
    h.Child<QRadioButton>("rbExcistsAns")->setChecked(true);
    h.Child<QRadioButton>("rbJPEGCopy")->setChecked(true);
    h.Child<QLineEdit>("edPref")->setText(QStringLiteral("Опись 3"));
    h.Child<QCheckBox>("cbPref")->setChecked(false);
    h.window().move(250, 140);
    h.Destroy();

    const std::string ini = h.ReadIni();
    for (const char* line : {"Left=250\r\n", "Top=140\r\n", "CopyOther=0\r\n", "ExcistsLeave=0\r\n",
                             "ExcistsAns=1\r\n", "ExcistsRename=0\r\n", "ExcistsRewrite=0\r\n",
                             "rgJPEG=0\r\n", "cbPref=0\r\n"}) {
      QVERIFY2(ini.find(line) != std::string::npos, line);
    }

    h.Show();
    QCOMPARE(h.window().pos(), QPoint(250, 140));
    QCOMPARE(h.Child<QLineEdit>("edDirSrc")->text(), QStringLiteral("E:\\Фонд 12"));
    QCOMPARE(h.Child<QLineEdit>("edDirDest")->text(), QStringLiteral("F:\\Копии"));
    QVERIFY(!h.Child<QCheckBox>("cbCopyOther")->isChecked());
    QCOMPARE(h.Child<QLineEdit>("edDirDestOther")->text(), QStringLiteral("F:\\Прочее"));
    QCOMPARE(h.Child<QLineEdit>("edPack")->text(), QStringLiteral("80 %"));
    QVERIFY(h.Child<QRadioButton>("rbExcistsAns")->isChecked());
    QVERIFY(h.Child<QRadioButton>("rbJPEGCopy")->isChecked());
    QVERIFY(!h.Child<QRadioButton>("rbJPEGConvert")->isChecked());
    QCOMPARE(h.Child<QLineEdit>("edPref")->text(), QStringLiteral("Опись 3"));
    QVERIFY(!h.Child<QCheckBox>("cbPref")->isChecked());
  }

  void unwritableIniIsReportedAndShutDownGoesOn() {
    WindowHarness h;
    h.WriteIni("[Main]\r\nDirDest=H:\\Old\r\n");
    h.fs().Fail(FsOp::kWriteFileAtomically, h.ini_path());
    ScriptedBoxes boxes;
    boxes.Answer(QStringLiteral("ОК"));
    h.Show();
    h.Destroy();
    QCOMPARE(boxes.shown().size(), std::size_t{1});
    const TBoxView& box = boxes.shown().front();
    QCOMPARE(box.text, QStringLiteral("Unable to write to ") + FromCp1251(h.ini_path()));
    QCOMPARE(box.caption, QStringLiteral("Шифродел"));
    QCOMPARE(box.icon, QMessageBox::Critical);
    QCOMPARE(h.ReadIni(), std::string("[Main]\r\nDirDest=H:\\Old\r\n"));
  }

  void keysAfterAFailedWriteAreNotWritten() {
    WindowHarness h;
    int writes = 0;
    h.fs().FailWhere(FsOp::kWriteFileAtomically,
                     [&writes](std::string_view) { return ++writes > 2; });
    ScriptedBoxes boxes;
    boxes.Answer(QStringLiteral("ОК"));
    h.Show();
    h.Destroy();
    QCOMPARE(h.ReadIni(), std::string("[Main]\r\nLeft=182\r\nTop=103\r\n"));
    QCOMPARE(boxes.shown().size(), std::size_t{1});
  }
};

}  // namespace shifrodel::testing

QTEST_MAIN(shifrodel::testing::SettingsWindowTest)
#include "settings_window_test.moc"
