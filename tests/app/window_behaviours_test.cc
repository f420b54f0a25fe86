// The window's own behaviours: the quality steps, edge snapping and items
// dropped onto the window.
#include <QApplication>
#include <QDropEvent>
#include <QLineEdit>
#include <QMimeData>
#include <QTest>
#include <QUrl>

#include "app/edge_snap.h"
#include "app/quality_step.h"
#include "app/ui_text.h"
#include "app/up_down_arrows.h"
#include "text/cp1251_literal.h"
#include "window_harness.h"

namespace shifrodel::testing {

using shifrodel::operator""_cp1251;

class WindowBehavioursTest : public QObject {
  Q_OBJECT

 private:
  // Drops local files onto the window, as the desktop shell does.
  static bool Drop(TfmMain& window, const QStringList& paths) {
    QMimeData data;
    QList<QUrl> urls;
    for (const QString& path : paths) urls << QUrl::fromLocalFile(path);
    data.setUrls(urls);
    QDragEnterEvent enter(QPoint(10, 10), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(&window, &enter);
    if (!enter.isAccepted()) return false;
    QDropEvent drop(QPointF(10, 10), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(&window, &drop);
    return true;
  }

 private slots:
  void initTestCase() { QApplication::setQuitOnLastWindowClosed(false); }

  void qualityStep_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("up");
    QTest::addColumn<QString>("stepped");  // null: the field stays as it is
    QTest::newRow("100% up stays") << "100%" << true << "100%";
    QTest::newRow("30% down stays") << "30%" << false << "30%";
    QTest::newRow("75% down") << "75%" << false << "74%";
    QTest::newRow("no per-cent sign") << "75" << true << "76%";
    QTest::newRow("not a number up") << "abc" << true << "31%";
    QTest::newRow("not a number down") << "abc" << false << "30%";
    QTest::newRow("0% up") << "0%" << true << "30%";
    QTest::newRow("150% down") << "150%" << false << "100%";
    QTest::newRow("one sign removed only") << "75%%" << true << "31%";
    QTest::newRow("hexadecimal") << "$40%" << true << "65%";
    QTest::newRow("largest integer") << "2147483647" << true << "100%";
    QTest::newRow("empty") << "" << true << QString();
    QTest::newRow("sign only") << "%" << false << QString();
  }

  void qualityStep() {
    QFETCH(QString, text);
    QFETCH(bool, up);
    QFETCH(QString, stepped);
    const TStepDirection direction = up ? TStepDirection::kUp : TStepDirection::kDown;
    const std::optional<QString> result = StepQuality(text, direction);
    QCOMPARE(result.has_value(), !stepped.isNull());
    if (result) QCOMPARE(*result, stepped);

    WindowHarness h;
    h.Show();
    QLineEdit* pack = h.Child<QLineEdit>("edPack");
    const QString shown = stepped.isNull() ? text : stepped;
    pack->setText(text);
    UpDownArrows* arrows = h.Child<UpDownArrows>("udPack");
    QTest::mouseClick(up ? arrows->up() : arrows->down(), Qt::LeftButton);
    QCOMPARE(pack->text(), shown);
    pack->setText(text);
    QTest::keyClick(pack, up ? Qt::Key_Up : Qt::Key_Down);
    QCOMPARE(pack->text(), shown);
    pack->setText(text);
    QTest::keyClick(arrows, up ? Qt::Key_Up : Qt::Key_Down);
    QCOMPARE(pack->text(), shown);
  }

  void snapping_data() {
    QTest::addColumn<QRect>("work");
    QTest::addColumn<QRect>("window");
    QTest::addColumn<QPoint>("placed");
    const QRect screen(0, 0, 1024, 728);  // a task bar 40 pixels high at the bottom
    QTest::newRow("15 from the left") << screen << QRect(15, 300, 418, 395) << QPoint(0, 300);
    QTest::newRow("20 from the left") << screen << QRect(20, 300, 418, 395) << QPoint(0, 300);
    QTest::newRow("21 from the left") << screen << QRect(21, 300, 418, 395) << QPoint(21, 300);
    QTest::newRow("20 from the right") << screen << QRect(586, 300, 418, 395) << QPoint(606, 300);
    QTest::newRow("21 from the right") << screen << QRect(585, 300, 418, 395) << QPoint(585, 300);
    QTest::newRow("near the top") << screen << QRect(300, 12, 418, 395) << QPoint(300, 0);
    QTest::newRow("over the task bar") << screen << QRect(300, 500, 418, 395) << QPoint(300, 333);
    QTest::newRow("far outside") << screen << QRect(-5000, -5000, 418, 395) << QPoint(0, 0);
    QTest::newRow("wider than the work area")
        << screen << QRect(100, 100, 1100, 395) << QPoint(-76, 100);
    QTest::newRow("taller than the work area")
        << screen << QRect(100, 100, 418, 800) << QPoint(100, -72);
    QTest::newRow("task bar on the left")
        << QRect(100, 0, 924, 768) << QRect(110, 300, 418, 395) << QPoint(100, 300);
    QTest::newRow("left of a task bar on the left")
        << QRect(100, 0, 924, 768) << QRect(40, 300, 418, 395) << QPoint(100, 300);
  }

  void snapping() {
    QFETCH(QRect, work);
    QFETCH(QRect, window);
    QFETCH(QPoint, placed);
    QCOMPARE(SnapToWorkArea(window, work), placed);
  }

  void dropsSetTheSourceFolder() {
    WindowHarness h;
    TfmMain& w = h.Show();
    QLineEdit* source = h.Child<QLineEdit>("edDirSrc");
    const std::string folder = h.dir() / "Сканы 2007"_cp1251;
    const std::string file = h.dir().WriteFile("Сканы 2007/ф 1 оп 2 д 3 л 4.tif"_cp1251, "x");
    const std::string other = h.dir().WriteFile("Другое/a.tif"_cp1251, "x");

    QVERIFY(Drop(w, {FromCp1251(folder)}));
    QCOMPARE(source->text(), FromCp1251(folder));
    source->clear();
    QVERIFY(Drop(w, {FromCp1251(file)}));
    QCOMPARE(source->text(), FromCp1251(folder));
    QVERIFY(Drop(w, {FromCp1251(other), FromCp1251(folder), FromCp1251(file)}));
    QCOMPARE(source->text(), FromCp1251(h.dir() / "Другое"_cp1251));
#ifdef Q_OS_WIN
    QVERIFY(Drop(w, {QStringLiteral("C:\\a.tif")}));
    QCOMPARE(source->text(), QStringLiteral("C:"));
#else
    QVERIFY(Drop(w, {QStringLiteral("/a.tif")}));
    QCOMPARE(source->text(), QStringLiteral("/"));
#endif
  }

  void aDroppedPathIsCutAt255Characters() {
    WindowHarness h;
    TfmMain& w = h.Show();
    const QString folder = QDir::toNativeSeparators(QStringLiteral("/data/"));
    QVERIFY(Drop(w, {folder + QString(300, u'а') + QDir::separator() + QStringLiteral("x.tif")}));
    QCOMPARE(h.Child<QLineEdit>("edDirSrc")->text(), folder.chopped(1));
  }

  void dropsTheCoreCannotTakeAreRefused() {
    WindowHarness h;
    TfmMain& w = h.Show();
    QLineEdit* source = h.Child<QLineEdit>("edDirSrc");
    const QString before = source->text();
    QVERIFY(Drop(w, {QDir::toNativeSeparators(QStringLiteral("/data/日本/a.tif"))}));
    QCOMPARE(source->text(), before);
    QCOMPARE(w.windowTitle(), QStringLiteral("Путь содержит знаки вне кодировки Windows-1251"));

    QMimeData web;
    web.setUrls({QUrl(QStringLiteral("https://example.org/a.tif"))});
    QDragEnterEvent enter(QPoint(10, 10), Qt::CopyAction, &web, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(&w, &enter);
    QVERIFY(!enter.isAccepted());
  }
};

}  // namespace shifrodel::testing

QTEST_MAIN(shifrodel::testing::WindowBehavioursTest)
#include "window_behaviours_test.moc"
