// SPDX-License-Identifier: MIT
// The main window on a small, scaled screen: placed, sized and laid out so that all of it shows.
#include "app/calculator_keys.h"
#include "app/solution_view.h"
#include "window_fixture.h"

#include <QPushButton>
#include <QScreen>
#include <QtTest>

namespace app::test {

class TestWindowFit : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void placement_data();
    void placement();
};

namespace {

/// The screen this test is registered with: 1280x800 pixels at QT_SCALE_FACTOR=2, so 640x400 to Qt,
/// smaller than the window's designed minimum of 640x450.
const QRect kArea(0, 0, 640, 400);

QRect globalRect(const QWidget& widget)
{
    return QRect(widget.mapToGlobal(QPoint(0, 0)), widget.size());
}

} // namespace

void TestWindowFit::initTestCase()
{
    const QScreen* screen = QGuiApplication::primaryScreen();
    QCOMPARE(screen->devicePixelRatio(), 2.0);
    QCOMPARE(screen->availableGeometry(), kArea);
}

void TestWindowFit::placement_data()
{
    QTest::addColumn<QByteArray>("winPos");

    // Each fills the screen: the designed sizes are all larger than it.
    QTest::newRow("first start") << QByteArray();
    QTest::newRow("stored at the designed size") << QByteArray("0;0;800;600");
    QTest::newRow("stored small, near the bottom right: grown to the minimum")
        << QByteArray("300;200;500;300");
    QTest::newRow("stored off every screen") << QByteArray("5000;5000;5700;5500");
    QTest::newRow("maximised") << QByteArray("MAX");
}

void TestWindowFit::placement()
{
    QFETCH(QByteArray, winPos);

    WindowFixture fixture;
    fixture.write(fixture.userSettings(), settingsFile("  <WinPos>" + winPos + "</WinPos>\r\n"));
    const auto window = fixture.makeWindow();
    window->show();
    QVERIFY(QTest::qWaitForWindowExposed(window.get()));
    if (winPos == "MAX")
        QTRY_VERIFY(window->isMaximized());

    // The window, frame included, lies on the screen whole, and its minimum leaves room for the frame.
    QCOMPARE(window->frameGeometry(), kArea);
    QCOMPARE(window->minimumSize(), kArea.size() - (window->frameGeometry().size() - window->size()));

    // Solve, the whole keypad and the view show, also at the smallest size.
    window->showNormal();
    window->resize(300, 200);
    QCOMPARE(window->size(), window->minimumSize());
    QTest::qWait(0);
    const QRect shown = globalRect(*window);
    const MainWindowWidgets& widgets = window->widgets();
    QVERIFY(shown.contains(globalRect(*widgets.solve)));
    for (const QPushButton* key : widgets.keys->buttons())
        QVERIFY2(shown.contains(globalRect(*key)), qPrintable(key->text()));
    QVERIFY(shown.contains(globalRect(*widgets.view)));
    QVERIFY(widgets.view->height() > 0);
}

} // namespace app::test

QTEST_MAIN(app::test::TestWindowFit)
#include "test_window_fit.moc"
