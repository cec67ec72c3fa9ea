// SPDX-License-Identifier: MIT
// The graph panel in the window: View > Graph with its settings keys, the graph of the last Solve,
// pan and zoom by mouse and keys, the tool tip, Save graph and Copy graph through the seam.
#include "app/equation_field.h"
#include "app/graph_panel.h"
#include "app/main_menu.h"
#include "window_fixture.h"

#include <QAction>
#include <QMimeData>
#include <QPushButton>
#include <QSplitter>
#include <QTabBar>
#include <QTest>

#include <cmath>

using app::test::WindowFixture;

namespace {

void solve(app::CTervalonDlg& window, const QString& equation)
{
    window.widgets().equation->setText(equation);
    QTest::mouseClick(window.widgets().solve, Qt::LeftButton);
}

/// A shown window with the graph switched on and equation solved.
std::unique_ptr<app::CTervalonDlg> graphWindow(WindowFixture& fixture, const QString& equation)
{
    auto window = fixture.makeWindow();
    window->resize(1100, 700);
    window->show();
    window->mainMenu().actions().graph->trigger();
    solve(*window, equation);
    return window;
}

} // namespace

class GraphPanelTest : public QObject {
    Q_OBJECT
private slots:
    void viewGraphShowsAndStoresThePanel()
    {
        WindowFixture fixture;
        {
            auto window = fixture.makeWindow();
            window->show();
            QAction* graph = window->mainMenu().actions().graph;
            QVERIFY(graph->isCheckable());
            QCOMPARE(graph->shortcut(), QKeySequence(Qt::Key_F4));
            QVERIFY(!window->widgets().graph->isVisible()); // ShowGraph defaults to 0
            solve(*window, QStringLiteral("x^2=4"));
            graph->trigger();
            QVERIFY(window->widgets().graph->isVisible());
            // Shown after the Solve, the panel draws that equation.
            QCOMPARE(window->widgets().graph->canvas().scene().realMarks().size(), std::size_t{2});
            window->widgets().splitter->setSizes({600, 400});
            window->close();
        }
        const QByteArray stored = fixture.read(fixture.userSettings());
        QVERIFY(stored.contains("<ShowGraph>1</ShowGraph>"));
        QVERIFY2(stored.contains("<GraphSplitter>4"), stored.constData()); // 400 of 1000, less the handle
        auto again = fixture.makeWindow();
        again->show();
        QVERIFY(again->mainMenu().actions().graph->isChecked());
        QVERIFY(again->widgets().graph->isVisible());
    }

    void keysAndMouseMoveTheWindow()
    {
        WindowFixture fixture;
        auto window = graphWindow(fixture, QStringLiteral("x^2-5*x+6=0"));
        app::GraphCanvas& canvas = window->widgets().graph->canvas();
        const render::GraphTab tab = render::GraphTab::Real;
        const analysis::GraphWindow first = canvas.scene().window(tab);
        QCOMPARE(first.xMin, 1.0);
        QCOMPARE(first.xMax, 4.0);

        QTest::keyClick(&canvas, Qt::Key_Plus);
        QVERIFY(std::fabs(canvas.scene().window(tab).width() - first.width() * app::GraphCanvas::kZoomStep) <
                1e-9);
        QTest::keyClick(&canvas, Qt::Key_0);
        QCOMPARE(canvas.scene().window(tab).xMin, first.xMin);
        QTest::keyClick(&canvas, Qt::Key_Right);
        QVERIFY(std::fabs(canvas.scene().window(tab).xMin - (first.xMin + first.width() / 10)) < 1e-9);
        QTest::keyClick(&canvas, Qt::Key_Minus);
        QVERIFY(canvas.scene().window(tab).width() > first.width());

        // A drag to the right by a quarter of the plot moves the plane with it.
        QTest::keyClick(&canvas, Qt::Key_0);
        const render::GraphFrame frame = canvas.frame();
        const QPoint from = frame.plot.center().toPoint();
        const QPoint to = from + QPoint(int(frame.plot.width() / 4), 0);
        QTest::mousePress(&canvas, Qt::LeftButton, {}, from);
        QMouseEvent move(QEvent::MouseMove, QPointF(to), canvas.mapToGlobal(QPointF(to)), Qt::NoButton,
                         Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(&canvas, &move);
        QTest::mouseRelease(&canvas, Qt::LeftButton, {}, to);
        const double shift = (to.x() - from.x()) / frame.plot.width() * first.width();
        QVERIFY(std::fabs(canvas.scene().window(tab).xMin - (first.xMin - shift)) < 1e-9);
        QTest::mouseDClick(&canvas, Qt::LeftButton, {}, from);
        QCOMPARE(canvas.scene().window(tab).xMin, first.xMin);

        // The wheel zooms in around the pointer: the point under it stays.
        const QPointF at(frame.plot.left() + frame.plot.width() / 5, frame.plot.center().y());
        const double xUnder = frame.xAt(at.x());
        QWheelEvent wheel(at, canvas.mapToGlobal(at), QPoint(), QPoint(0, 120), Qt::NoButton, Qt::NoModifier,
                          Qt::NoScrollPhase, false);
        QCoreApplication::sendEvent(&canvas, &wheel);
        QVERIFY(canvas.scene().window(tab).width() < first.width());
        QVERIFY(std::fabs(canvas.frame().xAt(at.x()) - xUnder) < 1e-9);
    }

    void toolTipNamesBothSidesNearACurve()
    {
        WindowFixture fixture;
        auto window = graphWindow(fixture, QStringLiteral("x^2-5*x+6=0"));
        const app::GraphCanvas& canvas = window->widgets().graph->canvas();
        const render::GraphFrame frame = canvas.frame();
        const QPoint onRoot = frame.toPixel(3.0, 0.0).toPoint();
        const QString tip = canvas.toolTipAt(onRoot);
        QVERIFY2(tip.startsWith(QStringLiteral("x = 3")) || tip.startsWith(QStringLiteral("x = 2.99")),
                 qPrintable(tip));
        QVERIFY(tip.contains(QStringLiteral("left side: ")));
        QVERIFY(tip.contains(QStringLiteral("right side: 0")));
        // Far from both curves: no tip.
        QVERIFY(canvas.toolTipAt(frame.toPixel(1.2, 2.2).toPoint()).isEmpty());
    }

    void lettersAndErrorsLeaveThePanelWithoutCurves_data()
    {
        QTest::addColumn<QString>("equation");
        QTest::addColumn<int>("outcome");
        QTest::newRow("letters") << QStringLiteral("a*x=1") << int(analysis::GraphOutcome::OtherLetters);
        QTest::newRow("error") << QStringLiteral("x=") << int(analysis::GraphOutcome::EngineError);
    }
    void lettersAndErrorsLeaveThePanelWithoutCurves()
    {
        QFETCH(QString, equation);
        QFETCH(int, outcome);
        WindowFixture fixture;
        auto window = graphWindow(fixture, equation);
        const render::GraphScene& scene = window->widgets().graph->canvas().scene();
        QCOMPARE(int(scene.input().outcome), outcome);
        QVERIFY(scene.left().runs.empty() && scene.right().runs.empty());
        if (outcome == int(analysis::GraphOutcome::EngineError))
            QCOMPARE(scene.input().errorNumber, 9);
    }

    void saveAndCopyGoThroughTheSeam_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QByteArray>("start");
        QTest::newRow("png") << QStringLiteral("graph.png") << QByteArray("\x89PNG");
        QTest::newRow("svg") << QStringLiteral("graph.svg") << QByteArray("<?xml");
    }
    void saveAndCopyGoThroughTheSeam()
    {
        QFETCH(QString, name);
        QFETCH(QByteArray, start);
        WindowFixture fixture;
        auto window = graphWindow(fixture, QStringLiteral("x=10*sin(x-1)"));
        app::GraphPanel& panel = *window->widgets().graph;
        fixture.platform.saveFileAnswers.push_back(fixture.path(name));
        panel.saveGraph();
        QCOMPARE(fixture.platform.saveFilters.size(), 1);
        QCOMPARE(fixture.platform.saveFilters.front().size(), 2); // PNG and SVG
        QVERIFY(fixture.read(name).startsWith(start));
        QVERIFY(fixture.platform.messages.isEmpty());

        // A folder that does not exist: the write-error message, and no file.
        fixture.platform.saveFileAnswers.push_back(fixture.path(QStringLiteral("none/") + name));
        panel.saveGraph();
        QCOMPARE(fixture.platform.messages.size(), 1);
        QVERIFY(fixture.platform.messages.front().text.contains(QStringLiteral("cannot be written")));

        panel.copyGraph();
        QVERIFY(fixture.platform.clipboard && fixture.platform.clipboard->hasImage());
        const QImage copied = qvariant_cast<QImage>(fixture.platform.clipboard->imageData());
        QCOMPARE(copied.size(), panel.canvas().size() * panel.canvas().devicePixelRatioF());
    }

    void tabsSwitchThePicture()
    {
        WindowFixture fixture;
        auto window = graphWindow(fixture, QStringLiteral("x^7=1"));
        app::GraphPanel& panel = *window->widgets().graph;
        QCOMPARE(panel.tabs().tabText(0), QStringLiteral("Real"));
        QCOMPARE(panel.tabs().tabText(1), QStringLiteral("Complex"));
        panel.tabs().setCurrentIndex(1);
        QCOMPARE(panel.canvas().tab(), render::GraphTab::Complex);
        QCOMPARE(panel.canvas().scene().complexMarks().size(), std::size_t{7});
        // Keys act on the shown tab's window.
        const analysis::GraphWindow real = panel.canvas().scene().window(render::GraphTab::Real);
        const double width = panel.canvas().scene().window(render::GraphTab::Complex).width();
        QTest::keyClick(&panel.canvas(), Qt::Key_Plus);
        QVERIFY(panel.canvas().scene().window(render::GraphTab::Complex).width() < width);
        QCOMPARE(panel.canvas().scene().window(render::GraphTab::Real).xMin, real.xMin);
    }
};

QTEST_MAIN(GraphPanelTest)
#include "test_graph_panel.moc"
