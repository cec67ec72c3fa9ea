// SPDX-License-Identifier: MIT
// The graph's pictures read pixel by pixel: marks where the axes put them, no line across a pole,
// the roots of unity on their circle, nothing drawn without curves, and the windows of pan and zoom.
#include "config/solve_command.h"
#include "engine/equation_solver.h"
#include "render/graph_export.h"

#include <QFontMetricsF>
#include <QGuiApplication>
#include <QImage>
#include <QTest>

#include <cmath>
#include <memory>
#include <numbers>

namespace {

const QSize kSize(800, 500);

render::GraphScene sceneOf(const char* equation)
{
    auto solver = std::make_unique<engine::EquationSolver>();
    config::SolveOptions options = config::defaultSolveOptions();
    options.graph = true;
    render::GraphScene scene;
    scene.setInput(config::solveRecord(*solver, equation, options).graph);
    return scene;
}

bool isNear(QRgb pixel, const QColor& colour, int tolerance = 60)
{
    return std::abs(qRed(pixel) - colour.red()) + std::abs(qGreen(pixel) - colour.green()) +
               std::abs(qBlue(pixel) - colour.blue()) <
           tolerance;
}

/// Pixels of colour in the rectangle.
int count(const QImage& image, const QRect& area, const QColor& colour)
{
    int n = 0;
    const QRect inside = area.intersected(image.rect());
    for (int y = inside.top(); y <= inside.bottom(); ++y) {
        for (int x = inside.left(); x <= inside.right(); ++x)
            n += isNear(image.pixel(x, y), colour) ? 1 : 0;
    }
    return n;
}

/// The centre of the pixels of colour within radius of at; false when there are none.
bool centroid(const QImage& image, QPointF at, int radius, const QColor& colour, QPointF& centre)
{
    double sx = 0;
    double sy = 0;
    int n = 0;
    for (int y = int(at.y()) - radius; y <= int(at.y()) + radius; ++y) {
        for (int x = int(at.x()) - radius; x <= int(at.x()) + radius; ++x) {
            if (image.rect().contains(x, y) && isNear(image.pixel(x, y), colour, 30)) {
                sx += x + 0.5;
                sy += y + 0.5;
                ++n;
            }
        }
    }
    if (n == 0)
        return false;
    centre = QPointF(sx / n, sy / n);
    return true;
}

render::GraphFrame frameOf(const render::GraphScene& scene, render::GraphTab tab,
                           const render::GraphStyle& style, const QImage& image)
{
    return render::graphFrame(scene, tab, kSize, QFontMetricsF(style.font, &image));
}

} // namespace

class GraphPainterTest : public QObject {
    Q_OBJECT
private slots:
    void marksLieWhereTheAxesPutThem_data()
    {
        QTest::addColumn<QColor>("paper");
        QTest::newRow("white paper") << QColor(Qt::white);
        QTest::newRow("dark paper") << QColor(0x1E, 0x1E, 0x1E);
    }
    void marksLieWhereTheAxesPutThem()
    {
        QFETCH(QColor, paper);
        const render::GraphScene scene = sceneOf("x^2-5*x+6=0");
        QCOMPARE(scene.realMarks().size(), std::size_t{2});
        render::GraphStyle style;
        style.colours = render::GraphColours::forPaper(paper);
        const QImage image = render::graphImage(kSize, scene, render::GraphTab::Real, style);
        QCOMPARE(image.size(), kSize);
        const render::GraphFrame frame = frameOf(scene, render::GraphTab::Real, style, image);
        for (const double x : {2.0, 3.0}) {
            QVERIFY(std::fabs(scene.realMarks()[x == 2.0 ? 0 : 1] - x) < 1e-6);
            const QPointF expected = frame.toPixel(x, 0.0);
            QPointF centre;
            QVERIFY2(centroid(image, expected, 10, style.colours.mark, centre),
                     qPrintable(QString::number(x)));
            QVERIFY2(std::fabs(centre.x() - expected.x()) <= 2.0 &&
                         std::fabs(centre.y() - expected.y()) <= 2.0,
                     qPrintable(QStringLiteral("mark at %1,%2, axes say %3,%4")
                                    .arg(centre.x())
                                    .arg(centre.y())
                                    .arg(expected.x())
                                    .arg(expected.y())));
        }
        // The paper is the one asked for, and both curves are drawn.
        QVERIFY(isNear(image.pixel(1, 1), paper, 3));
        QVERIFY(count(image, frame.plot.toRect(), style.colours.left) > 200);
        QVERIFY(count(image, frame.plot.toRect(), style.colours.right) > 200);
    }

    void noSegmentAcrossAPole()
    {
        render::GraphScene scene = sceneOf("tan(x)=x");
        QVERIFY(scene.isDrawable()); // its derivation ends at the line limit, the equation still draws
        // The first picture holds a dozen solutions, poles 28 pixels apart: the branches leave the plot
        // less than a pixel from their pole. Zoomed in as a user would, 80 pixels a unit, they leave it 8
        // pixels before it, and a segment across would fill the pole's column.
        scene.setWindow(render::GraphTab::Real, {-5, 5, -10, 10});
        render::GraphStyle style;
        const QImage image = render::graphImage(kSize, scene, render::GraphTab::Real, style);
        const render::GraphFrame frame = frameOf(scene, render::GraphTab::Real, style, image);
        const QRect plot = frame.plot.toRect();
        // Below the legend, which shows a piece of each curve's colour.
        const int top = plot.top() + 2 * int(QFontMetricsF(style.font, &image).height()) + 24;
        const double pi = std::numbers::pi;
        int poles = 0;
        for (double pole = std::ceil((frame.window.xMin - pi / 2) / pi) * pi + pi / 2;
             pole < frame.window.xMax; pole += pi) {
            const int column = int(std::lround(frame.toPixel(pole, 0).x()));
            const QRect across(column - 1, top, 3, plot.bottom() - top);
            QCOMPARE(count(image, across, style.colours.left), 0);
            // The curve does come close on both sides.
            QVERIFY(count(image, QRect(column - 12, top, 10, plot.bottom() - top), style.colours.left) > 0);
            QVERIFY(count(image, QRect(column + 3, top, 10, plot.bottom() - top), style.colours.left) > 0);
            ++poles;
        }
        QVERIFY(poles >= 2);
    }

    void rootsOfUnityOnTheirCircle()
    {
        const render::GraphScene scene = sceneOf("x^7=1");
        QCOMPARE(scene.complexMarks().size(), std::size_t{7});
        QVERIFY(scene.showsUnitCircle());
        render::GraphStyle style;
        const QImage image = render::graphImage(kSize, scene, render::GraphTab::Complex, style);
        const render::GraphFrame frame = frameOf(scene, render::GraphTab::Complex, style, image);
        const QPointF origin = frame.toPixel(0, 0);
        const double radius = frame.toPixel(1, 0).x() - origin.x();
        // Equal scale: a unit up is as long as a unit across.
        QVERIFY(std::fabs((origin.y() - frame.toPixel(0, 1).y()) - radius) < 0.5);
        QVERIFY(radius > 50);
        for (const analysis::Complex& z : scene.complexMarks()) {
            QPointF centre;
            QVERIFY(centroid(image, frame.toPixel(z.re, z.im), 10, style.colours.mark, centre));
            const double distance = std::hypot(centre.x() - origin.x(), centre.y() - origin.y());
            QVERIFY2(std::fabs(distance - radius) <= 2.0, qPrintable(QString::number(distance)));
        }
    }

    void nothingDrawnWithoutCurves_data()
    {
        QTest::addColumn<QString>("equation");
        QTest::addColumn<bool>("hasCurves");
        QTest::newRow("letters") << QStringLiteral("a*x=1") << false;
        QTest::newRow("error") << QStringLiteral("x=") << false;
        QTest::newRow("a line") << QStringLiteral("x=2") << true;
    }
    void nothingDrawnWithoutCurves()
    {
        QFETCH(QString, equation);
        QFETCH(bool, hasCurves);
        const render::GraphScene scene = sceneOf(equation.toUtf8().constData());
        QCOMPARE(scene.isDrawable(), hasCurves);
        render::GraphStyle style;
        const QImage image = render::graphImage(kSize, scene, render::GraphTab::Real, style);
        QCOMPARE(count(image, image.rect(), style.colours.left) > 0, hasCurves);
        QCOMPARE(count(image, image.rect(), style.colours.right) > 0, hasCurves);
        // The message is written: some pixels in the text colour.
        QVERIFY(count(image, image.rect(), style.colours.text) > 0);
    }

    void panZoomAndReset()
    {
        render::GraphScene scene = sceneOf("x^2-5*x+6=0");
        const analysis::GraphWindow first = scene.window(render::GraphTab::Real);
        scene.zoom(render::GraphTab::Real, 0.5, 2.0, 0.0);
        const analysis::GraphWindow zoomed = scene.window(render::GraphTab::Real);
        QCOMPARE(zoomed.width(), first.width() / 2);
        QCOMPARE(zoomed.xMin, 2.0 + (first.xMin - 2.0) / 2); // 2 stays where it was
        scene.pan(render::GraphTab::Real, 1.0, -0.5);
        QCOMPARE(scene.window(render::GraphTab::Real).xMin, zoomed.xMin + 1.0);
        QCOMPARE(scene.window(render::GraphTab::Real).yMax, zoomed.yMax - 0.5);
        // Sampled again for the new window: the curve starts at its left edge.
        QCOMPARE(scene.left().runs.front().front().x, zoomed.xMin + 1.0);
        scene.zoom(render::GraphTab::Real, 0.0, 0, 0); // refused
        scene.reset();
        QCOMPARE(scene.window(render::GraphTab::Real).xMin, first.xMin);
        QCOMPARE(scene.window(render::GraphTab::Real).yMax, first.yMax);
    }
};

QTEST_MAIN(GraphPainterTest)
#include "test_graph_painter.moc"
