// SPDX-License-Identifier: MIT
// Paints the real line and the complex plane of a graph scene.
#include "render/graph_painter.h"

#include "engine/formatting.h"

#include <QFontMetricsF>
#include <QPainter>
#include <QPolygonF>

#include <algorithm>
#include <cmath>
#include <vector>

namespace render {

namespace {

constexpr double kTopMargin = 12.0;
constexpr double kRightMargin = 16.0;
constexpr double kLabelGap = 6.0;
/// Pixels per tick at least, along x and along y.
constexpr double kTickSpacingX = 90.0;
constexpr double kTickSpacingY = 48.0;
constexpr double kMarkRadius = 4.5;
constexpr double kCurveWidth = 2.0;

int maxTicks(double pixels, double spacing)
{
    return std::max(2, static_cast<int>(pixels / spacing));
}

QString withSeparator(std::string text, const QString& separator)
{
    QString result = QString::fromStdString(text);
    if (separator != QLatin1String("."))
        result.replace(QLatin1Char('.'), separator);
    return result;
}

struct Ticks {
    std::vector<double> values;
    double step = 1.0;
};

Ticks ticksOf(double low, double high, double pixels, double spacing)
{
    const int count = maxTicks(pixels, spacing);
    return {analysis::niceTicks(low, high, count), analysis::niceStep(low, high, count)};
}

/// The window widened about its centre until one unit is as long on both axes of plot.
analysis::GraphWindow equalScale(const analysis::GraphWindow& window, const QRectF& plot)
{
    const double perPixel = std::max(window.width() / plot.width(), window.height() / plot.height());
    const double cx = 0.5 * (window.xMin + window.xMax);
    const double cy = 0.5 * (window.yMin + window.yMax);
    const double halfWidth = 0.5 * perPixel * plot.width();
    const double halfHeight = 0.5 * perPixel * plot.height();
    return {cx - halfWidth, cx + halfWidth, cy - halfHeight, cy + halfHeight};
}

class Painting {
public:
    Painting(QPainter& painter, QSize size, const GraphScene& scene, GraphTab tab, const GraphStyle& style)
        : m_painter(painter), m_size(size), m_scene(scene), m_tab(tab), m_style(style),
          m_colours(style.colours), m_metrics(style.font, painter.device())
    {
    }

    void paint()
    {
        m_painter.save();
        m_painter.setRenderHint(QPainter::Antialiasing, true);
        m_painter.setRenderHint(QPainter::TextAntialiasing, true);
        m_painter.setFont(m_style.font);
        m_painter.fillRect(QRectF(QPointF(0, 0), QSizeF(m_size)), m_colours.paper);
        if (!m_scene.isDrawable()) {
            message(QRectF(QPointF(0, 0), QSizeF(m_size)), messageText());
            m_painter.restore();
            return;
        }
        m_frame = graphFrame(m_scene, m_tab, m_size, m_metrics);
        grid();
        if (m_tab == GraphTab::Real) {
            curves();
            realMarks();
            legend();
        } else {
            complexPlane();
        }
        m_painter.restore();
    }

private:
    [[nodiscard]] QString messageText() const
    {
        const analysis::GraphInput& input = m_scene.input();
        switch (input.outcome) {
        case analysis::GraphOutcome::OtherLetters:
            return m_style.texts.needsLetters;
        case analysis::GraphOutcome::EngineError:
        case analysis::GraphOutcome::NoX:
            if (input.errorNumber != 0) {
                QString text = m_style.texts.error;
                return text.replace(QLatin1String("%d"), QString::number(input.errorNumber));
            }
            break;
        case analysis::GraphOutcome::Drawable:
            break;
        }
        return {};
    }

    void message(const QRectF& area, const QString& text)
    {
        if (text.isEmpty())
            return;
        m_painter.setPen(m_colours.text);
        m_painter.drawText(area, Qt::AlignCenter | Qt::TextWordWrap, text);
    }

    void grid()
    {
        const analysis::GraphWindow& w = m_frame.window;
        const QRectF& plot = m_frame.plot;
        const Ticks xs = ticksOf(w.xMin, w.xMax, plot.width(), kTickSpacingX);
        const Ticks ys = ticksOf(w.yMin, w.yMax, plot.height(), kTickSpacingY);
        QPen gridPen(m_colours.grid, 1.0);
        gridPen.setCosmetic(true);
        m_painter.setPen(gridPen);
        for (const double x : xs.values) {
            const double px = m_frame.toPixel(x, 0).x();
            m_painter.drawLine(QPointF(px, plot.top()), QPointF(px, plot.bottom()));
        }
        for (const double y : ys.values) {
            const double py = m_frame.toPixel(0, y).y();
            m_painter.drawLine(QPointF(plot.left(), py), QPointF(plot.right(), py));
        }
        QPen axisPen(m_colours.axis, 1.0);
        axisPen.setCosmetic(true);
        m_painter.setPen(axisPen);
        if (w.yMin <= 0.0 && w.yMax >= 0.0) {
            const double py = m_frame.toPixel(0, 0).y();
            m_painter.drawLine(QPointF(plot.left(), py), QPointF(plot.right(), py));
        }
        if (w.xMin <= 0.0 && w.xMax >= 0.0) {
            const double px = m_frame.toPixel(0, 0).x();
            m_painter.drawLine(QPointF(px, plot.top()), QPointF(px, plot.bottom()));
        }
        m_painter.setBrush(Qt::NoBrush);
        m_painter.drawRect(plot);

        m_painter.setPen(m_colours.text);
        const double height = m_metrics.height();
        for (const double x : xs.values) {
            const QString text =
                withSeparator(analysis::tickText(x, xs.step), m_style.texts.decimalSeparator);
            const double width = m_metrics.horizontalAdvance(text);
            const double px = m_frame.toPixel(x, 0).x();
            m_painter.drawText(QRectF(px - width / 2 - 2, plot.bottom() + kLabelGap / 2, width + 4, height),
                               Qt::AlignCenter, text);
        }
        for (const double y : ys.values) {
            const QString text =
                withSeparator(analysis::tickText(y, ys.step), m_style.texts.decimalSeparator);
            const double py = m_frame.toPixel(0, y).y();
            m_painter.drawText(QRectF(0, py - height / 2, plot.left() - kLabelGap, height),
                               Qt::AlignRight | Qt::AlignVCenter, text);
        }
    }

    /// A point of a curve in pixels, kept within a few heights of the plot so that a pole's values
    /// stay drawable; the clip cuts the rest.
    [[nodiscard]] QPointF curvePoint(const analysis::GraphPoint& point) const
    {
        const analysis::GraphWindow& w = m_frame.window;
        const double y = std::clamp(point.y, w.yMin - 4 * w.height(), w.yMax + 4 * w.height());
        return m_frame.toPixel(point.x, y);
    }

    void curves()
    {
        m_painter.save();
        m_painter.setClipRect(m_frame.plot);
        const auto draw = [&](const analysis::GraphCurve& curve, const QColor& colour) {
            QPen pen(colour, kCurveWidth);
            pen.setCapStyle(Qt::RoundCap);
            pen.setJoinStyle(Qt::RoundJoin);
            m_painter.setPen(pen);
            for (const auto& run : curve.runs) {
                QPolygonF line;
                line.reserve(static_cast<qsizetype>(run.size()));
                for (const analysis::GraphPoint& point : run)
                    line.append(curvePoint(point));
                m_painter.drawPolyline(line);
            }
        };
        draw(m_scene.right(), m_colours.right);
        draw(m_scene.left(), m_colours.left);
        m_painter.restore();
        if (m_scene.left().runs.empty() && m_scene.right().runs.empty())
            message(m_frame.plot, m_style.texts.noRealValues);
    }

    void dot(const QPointF& at)
    {
        m_painter.setPen(QPen(m_colours.paper, 1.5));
        m_painter.setBrush(m_colours.mark);
        m_painter.drawEllipse(at, kMarkRadius, kMarkRadius);
        m_painter.setBrush(Qt::NoBrush);
    }

    /// Places text beside a dot at one of eight spots, the first that stays in the plot and clear of
    /// the labels placed before; direction (dx, dy) orders the spots, its best first.
    void label(const QPointF& at, const QString& text, double dx, double dy)
    {
        const double width = m_metrics.horizontalAdvance(text) + 2;
        const double height = m_metrics.height();
        const double gap = kMarkRadius + 3;
        std::vector<QPointF> corners; // top left corners
        const auto spot = [&](double sx, double sy) {
            const double left = sx > 0 ? at.x() + gap : (sx < 0 ? at.x() - gap - width : at.x() - width / 2);
            const double top = sy > 0 ? at.y() + gap : (sy < 0 ? at.y() - gap - height : at.y() - height / 2);
            corners.emplace_back(left, top);
        };
        const double sx = dx >= 0 ? 1 : -1;
        const double sy = dy >= 0 ? 1 : -1;
        spot(sx, sy);
        spot(sx, -sy);
        spot(-sx, sy);
        spot(-sx, -sy);
        spot(0, sy);
        spot(0, -sy);
        for (int lift = 1; lift <= 4; ++lift)
            corners.emplace_back(at.x() + gap, at.y() - gap - height * (1 + lift));
        // Where every spot is taken, the first one, moved into the plot.
        QRectF chosen(corners.front(), QSizeF(width, height));
        const QRectF& plot = m_frame.plot;
        chosen.moveLeft(
            std::clamp(chosen.left(), plot.left() + 1, std::max(plot.left() + 1, plot.right() - width - 1)));
        chosen.moveTop(
            std::clamp(chosen.top(), plot.top() + 1, std::max(plot.top() + 1, plot.bottom() - height - 1)));
        for (const QPointF& corner : corners) {
            const QRectF box(corner, QSizeF(width, height));
            const bool isFree = plot.contains(box) &&
                                std::none_of(m_placed.begin(), m_placed.end(),
                                             [&](const QRectF& placed) { return placed.intersects(box); });
            if (isFree) {
                chosen = box;
                break;
            }
        }
        m_placed.push_back(chosen);
        QColor halo = m_colours.paper;
        halo.setAlpha(200);
        m_painter.fillRect(chosen, halo);
        m_painter.setPen(m_colours.text);
        m_painter.drawText(chosen, Qt::AlignCenter, text);
    }

    void realMarks()
    {
        const analysis::GraphWindow& w = m_frame.window;
        std::vector<std::pair<QPointF, double>> dots;
        for (const double x : m_scene.realMarks()) {
            // Where the curves meet; a side not real there leaves the other.
            double y = 0.0;
            if (!analysis::realValue(m_scene.equation().left(), x, y) &&
                !analysis::realValue(m_scene.equation().right(), x, y))
                continue;
            if (y >= w.yMin && y <= w.yMax)
                dots.emplace_back(m_frame.toPixel(x, y), x);
        }
        m_placed.push_back(legendBox());
        // Dots first, so that no label covers one.
        for (const auto& [at, x] : dots) {
            dot(at);
            m_placed.emplace_back(at.x() - kMarkRadius, at.y() - kMarkRadius, 2 * kMarkRadius,
                                  2 * kMarkRadius);
        }
        for (const auto& [at, x] : dots)
            label(at, markText({x, 0.0}, m_style.texts.decimalSeparator), 1, -1);
    }

    [[nodiscard]] QRectF legendBox() const
    {
        const double line = 22;
        const double width = std::max(m_metrics.horizontalAdvance(m_style.texts.leftSide),
                                      m_metrics.horizontalAdvance(m_style.texts.rightSide)) +
                             line + 20;
        const double height = 2 * m_metrics.height() + 10;
        return {m_frame.plot.left() + 8, m_frame.plot.top() + 8, width, height};
    }

    void legend()
    {
        const QRectF box = legendBox();
        QColor back = m_colours.paper;
        back.setAlpha(225);
        m_painter.setPen(QPen(m_colours.grid, 1.0));
        m_painter.setBrush(back);
        m_painter.drawRect(box);
        m_painter.setBrush(Qt::NoBrush);
        const double rowHeight = m_metrics.height();
        const auto row = [&](int index, const QColor& colour, const QString& text) {
            const double top = box.top() + 5 + index * rowHeight;
            const double middle = top + rowHeight / 2;
            m_painter.setPen(QPen(colour, kCurveWidth));
            m_painter.drawLine(QPointF(box.left() + 6, middle), QPointF(box.left() + 28, middle));
            m_painter.setPen(m_colours.text);
            m_painter.drawText(QRectF(box.left() + 34, top, box.width() - 36, rowHeight),
                               Qt::AlignLeft | Qt::AlignVCenter, text);
        };
        row(0, m_colours.left, m_style.texts.leftSide);
        row(1, m_colours.right, m_style.texts.rightSide);
    }

    void complexPlane()
    {
        const QRectF& plot = m_frame.plot;
        m_painter.setPen(m_colours.text);
        const double height = m_metrics.height();
        const QPointF origin = m_frame.toPixel(0, 0);
        // The axes' names at their positive ends, inside the plot.
        const double reY = plot.contains(QPointF(plot.center().x(), origin.y())) ? origin.y() : plot.bottom();
        m_painter.drawText(QRectF(plot.right() - 60, reY - height - 2, 56, height),
                           Qt::AlignRight | Qt::AlignBottom, m_style.texts.realAxis);
        const double imX = plot.contains(QPointF(origin.x(), plot.center().y())) ? origin.x() : plot.left();
        m_painter.drawText(QRectF(imX + 5, plot.top() + 2, 60, height), Qt::AlignLeft | Qt::AlignTop,
                           m_style.texts.imaginaryAxis);
        m_placed.emplace_back(plot.right() - 60, reY - height - 2, 56, height);
        m_placed.emplace_back(imX + 5, plot.top() + 2, 60, height);

        m_painter.save();
        m_painter.setClipRect(plot);
        if (m_scene.showsUnitCircle()) {
            QPen circle(m_colours.axis, 1.0, Qt::DashLine);
            m_painter.setPen(circle);
            const QPointF corner = m_frame.toPixel(-1, 1);
            const QPointF opposite = m_frame.toPixel(1, -1);
            m_painter.drawEllipse(QRectF(corner, opposite));
        }
        m_painter.restore();
        std::vector<QPointF> dots;
        std::vector<analysis::Complex> shown;
        const analysis::GraphWindow& w = m_frame.window;
        for (const analysis::Complex& z : m_scene.complexMarks()) {
            if (z.re < w.xMin || z.re > w.xMax || z.im < w.yMin || z.im > w.yMax)
                continue;
            dots.push_back(m_frame.toPixel(z.re, z.im));
            shown.push_back(z);
            dot(dots.back());
        }
        for (const QPointF& at : dots)
            m_placed.emplace_back(at.x() - kMarkRadius, at.y() - kMarkRadius, 2 * kMarkRadius,
                                  2 * kMarkRadius);
        // Each label away from the middle of the points, so that a circle of roots keeps its labels outside.
        QPointF middle(0, 0);
        for (const QPointF& at : dots)
            middle += at;
        if (!dots.empty())
            middle /= static_cast<double>(dots.size());
        for (std::size_t i = 0; i < dots.size(); ++i) {
            const QPointF away = dots[i] - middle;
            label(dots[i], markText(shown[i], m_style.texts.decimalSeparator), away.x(), away.y());
        }
    }

    QPainter& m_painter;
    QSize m_size;
    const GraphScene& m_scene;
    GraphTab m_tab;
    const GraphStyle& m_style;
    const GraphColours& m_colours;
    QFontMetricsF m_metrics;
    GraphFrame m_frame;
    std::vector<QRectF> m_placed;
};

} // namespace

GraphColours GraphColours::forPaper(const QColor& paper)
{
    if (paper.lightnessF() >= 0.5) {
        return {paper,
                QColor(0x20, 0x20, 0x20),
                QColor(0x50, 0x50, 0x50),
                QColor(0xE0, 0xE0, 0xE0),
                QColor(0x1F, 0x5F, 0xBF),
                QColor(0xD3, 0x54, 0x00),
                QColor(0x8E, 0x24, 0xAA)};
    }
    return {paper,
            QColor(0xE8, 0xE8, 0xE8),
            QColor(0xB0, 0xB0, 0xB0),
            QColor(0x48, 0x48, 0x48),
            QColor(0x7F, 0xB3, 0xFF),
            QColor(0xFF, 0xB0, 0x70),
            QColor(0xF4, 0x8F, 0xB1)};
}

QPointF GraphFrame::toPixel(double x, double y) const
{
    return {plot.left() + (x - window.xMin) / window.width() * plot.width(),
            plot.bottom() - (y - window.yMin) / window.height() * plot.height()};
}

double GraphFrame::xAt(double pixelX) const
{
    return window.xMin + (pixelX - plot.left()) / plot.width() * window.width();
}

double GraphFrame::yAt(double pixelY) const
{
    return window.yMin + (plot.bottom() - pixelY) / plot.height() * window.height();
}

GraphFrame graphFrame(const GraphScene& scene, GraphTab tab, QSize size, const QFontMetricsF& metrics)
{
    const double bottom = metrics.height() + kLabelGap + 4;
    const double plotHeight = std::max(10.0, size.height() - kTopMargin - bottom);
    analysis::GraphWindow window = scene.window(tab);
    // The labels of the y ticks set the left margin; the complex plane's are found for a square first.
    double left = 0;
    for (int pass = 0; pass < 2; ++pass) {
        const Ticks ys = ticksOf(window.yMin, window.yMax, plotHeight, kTickSpacingY);
        double widest = metrics.horizontalAdvance(QStringLiteral("0"));
        for (const double y : ys.values)
            widest = std::max(
                widest, metrics.horizontalAdvance(QString::fromStdString(analysis::tickText(y, ys.step))));
        left = widest + 2 * kLabelGap;
        const QRectF plot(left, kTopMargin, std::max(10.0, size.width() - left - kRightMargin), plotHeight);
        if (tab == GraphTab::Real)
            return {plot, window};
        window = equalScale(scene.window(tab), plot);
    }
    const QRectF plot(left, kTopMargin, std::max(10.0, size.width() - left - kRightMargin), plotHeight);
    return {plot, equalScale(scene.window(tab), plot)};
}

void paintGraph(QPainter& painter, QSize size, const GraphScene& scene, GraphTab tab, const GraphStyle& style)
{
    Painting(painter, size, scene, tab, style).paint();
}

QString markText(analysis::Complex value, const QString& decimalSeparator)
{
    return withSeparator(engine::formatValue(value), decimalSeparator);
}

} // namespace render
