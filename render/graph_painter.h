// SPDX-License-Identifier: MIT
// Paints a graph scene with QPainter: the real line's two curves with grid, ticks, legend and marked
// solutions, or the complex plane with every solution; the same picture on screen, in PNG and SVG.
#pragma once

#include "render/graph_scene.h"

#include <QColor>
#include <QFont>
#include <QFontMetricsF>
#include <QPointF>
#include <QRectF>
#include <QSize>
#include <QString>

class QPainter;

namespace render {

/// The colours of a picture.
struct GraphColours {
    QColor paper;
    QColor text;
    QColor axis;
    QColor grid;
    QColor left;  ///< the left side's curve
    QColor right; ///< the right side's curve
    QColor mark;  ///< the solutions' dots

    /// Dark curves and text on light paper, light ones on dark paper (by the paper's lightness).
    [[nodiscard]] static GraphColours forPaper(const QColor& paper);
};

/// The words of a picture, from the interface texts.
struct GraphTexts {
    QString leftSide = QStringLiteral("left side");
    QString rightSide = QStringLiteral("right side");
    QString realAxis = QStringLiteral("Re");
    QString imaginaryAxis = QStringLiteral("Im");
    QString needsLetters = QStringLiteral("The graph needs values for the letters.");
    QString noRealValues = QStringLiteral("No side is real in this range.");
    /// The line of an equation that ended with an engine error: "%d" its number.
    QString error = QStringLiteral("No graph: ERROR %d");
    /// Numbers are written with this decimal separator.
    QString decimalSeparator = QStringLiteral(".");
};

/// Everything a picture is drawn with.
struct GraphStyle {
    GraphColours colours = GraphColours::forPaper(Qt::white);
    GraphTexts texts;
    QFont font;
};

/// Where a window lands in a picture: the plot's rectangle and the maps between the plane and pixels.
struct GraphFrame {
    QRectF plot;
    analysis::GraphWindow window; ///< for the complex plane widened to the plot's shape (equal scale)

    [[nodiscard]] QPointF toPixel(double x, double y) const;
    [[nodiscard]] double xAt(double pixelX) const;
    [[nodiscard]] double yAt(double pixelY) const;
};

/// The frame of a tab's picture of the given size, with room for the tick labels in the font measured
/// by metrics (measured on the device painted on).
[[nodiscard]] GraphFrame graphFrame(const GraphScene& scene, GraphTab tab, QSize size,
                                    const QFontMetricsF& metrics);

/// Paints the picture of tab into a painter of the given size (device pixels of a QImage, points of
/// an SVG), from its paper up. Draws only the message for an input that is not drawable.
void paintGraph(QPainter& painter, QSize size, const GraphScene& scene, GraphTab tab,
                const GraphStyle& style);

/// A number as the marks and the tool tip show it: the engine's six digits, the decimal separator.
[[nodiscard]] QString markText(analysis::Complex value, const QString& decimalSeparator);

} // namespace render
