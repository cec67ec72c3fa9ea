// SPDX-License-Identifier: MIT
// The graph panel beside the solution view: the Real and Complex tabs of the last equation solved,
// with pan, zoom and reset by mouse and keys, a tool tip of both sides' values, Save and Copy.
#pragma once

#include "render/graph_painter.h"

#include <QWidget>

#include <string>

class QPushButton;
class QTabBar;

namespace config {
class InterfaceTexts;
}

namespace app {

class Platform;

/// The drawing of the panel: paints the scene's current tab and turns mouse and keys into pans and
/// zooms. Drag to pan, the wheel zooms around the pointer, a double click resets; + and - zoom
/// around the middle, the arrow keys pan by a tenth, 0 resets.
class GraphCanvas : public QWidget {
    Q_OBJECT
public:
    explicit GraphCanvas(QWidget* parent = nullptr);

    [[nodiscard]] render::GraphScene& scene() { return m_scene; }
    [[nodiscard]] const render::GraphScene& scene() const { return m_scene; }
    [[nodiscard]] render::GraphTab tab() const { return m_tab; }
    void setTab(render::GraphTab tab);
    void setStyle(const render::GraphStyle& style);
    [[nodiscard]] const render::GraphStyle& style() const { return m_style; }
    /// The frame of the current picture at the widget's size.
    [[nodiscard]] render::GraphFrame frame() const;
    /// The tool tip at a point of the widget: x and both sides' values when it lies within a few
    /// pixels of a curve on the Real tab; empty elsewhere.
    [[nodiscard]] QString toolTipAt(QPoint at) const;

    /// The factor one zoom step (a key, a wheel notch) scales the window by.
    static constexpr double kZoomStep = 0.8;

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    bool event(QEvent* event) override;

private:
    void zoomAt(double factor, QPointF at);

    render::GraphScene m_scene;
    render::GraphTab m_tab = render::GraphTab::Real;
    render::GraphStyle m_style;
    QPointF m_dragFrom;
    bool m_isDragging = false;
};

/// The panel: tabs, the canvas, Save graph and Copy graph (through the desktop seam).
class GraphPanel : public QWidget {
    Q_OBJECT
public:
    GraphPanel(Platform& platform, QWidget* parent = nullptr);

    /// Shows the graph of a solved equation (the first windows).
    void setInput(const analysis::GraphInput& input);
    /// The texts of the tabs, buttons, legend and messages, and the decimal separator of the numbers.
    void retranslate(const config::InterfaceTexts& texts, const QString& decimalSeparator);
    /// Colours for the paper of the solution view, and the font of the labels.
    void setPaper(const QColor& paper, const QFont& font);

    [[nodiscard]] GraphCanvas& canvas() const { return *m_canvas; }
    [[nodiscard]] QTabBar& tabs() const { return *m_tabs; }

    /// Save graph: asks for a file through the seam and writes PNG or SVG by its extension; a file
    /// that cannot be written is reported.
    void saveGraph();
    /// Copy graph: the current picture on the clipboard as an image.
    void copyGraph();

signals:
    /// The picture could not be written to path.
    void writeFailed(const QString& path);

private:
    Platform& m_platform;
    QTabBar* m_tabs = nullptr;
    GraphCanvas* m_canvas = nullptr;
    QPushButton* m_save = nullptr;
    QPushButton* m_copy = nullptr;
    std::string m_filterText;
};

} // namespace app
