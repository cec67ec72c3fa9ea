// SPDX-License-Identifier: MIT
// What one graph shows: the equation's sides sampled for the current window of the real line, the
// window of the complex plane, and every solution, with panning, zooming and the way back.
#pragma once

#include "analysis/graph_samples.h"

#include <vector>

namespace render {

/// The two pictures of the graph.
enum class GraphTab { Real, Complex };

/// The graph of one solved equation. `setInput` chooses the first windows and samples the sides;
/// `setWindow`, `zoom` and `pan` change a tab's window (the real one samples again), `reset` goes
/// back to the first windows. Plain data: the painter and the panel read it.
class GraphScene {
public:
    void setInput(const analysis::GraphInput& input);

    [[nodiscard]] const analysis::GraphInput& input() const { return m_input; }
    [[nodiscard]] bool isDrawable() const { return m_input.outcome == analysis::GraphOutcome::Drawable; }
    [[nodiscard]] const analysis::Equation& equation() const { return m_equation; }

    [[nodiscard]] const analysis::GraphWindow& window(GraphTab tab) const
    {
        return tab == GraphTab::Real ? m_picture.window : m_complexWindow;
    }
    [[nodiscard]] const analysis::GraphCurve& left() const { return m_picture.left; }
    [[nodiscard]] const analysis::GraphCurve& right() const { return m_picture.right; }
    /// The real solutions inside the real window, in order.
    [[nodiscard]] const std::vector<double>& realMarks() const { return m_realMarks; }
    /// Every solution of the complex plane.
    [[nodiscard]] const std::vector<analysis::Complex>& complexMarks() const { return m_complexMarks; }
    [[nodiscard]] bool showsUnitCircle() const { return m_showsUnitCircle; }

    /// Replaces a tab's window (an empty or inverted one is ignored).
    void setWindow(GraphTab tab, const analysis::GraphWindow& window);
    /// Scales a tab's window by factor (below 1 zooms in) around the point (x, y), which stays put.
    void zoom(GraphTab tab, double factor, double x, double y);
    /// Moves a tab's window by (dx, dy) in the plane's units.
    void pan(GraphTab tab, double dx, double dy);
    /// Both windows as setInput chose them.
    void reset();

private:
    analysis::GraphInput m_input;
    analysis::Equation m_equation;
    analysis::GraphPicture m_picture;
    analysis::GraphWindow m_firstReal;
    analysis::GraphWindow m_firstComplex;
    analysis::GraphWindow m_complexWindow;
    std::vector<double> m_realMarks;
    std::vector<analysis::Complex> m_complexMarks;
    bool m_showsUnitCircle = false;
};

} // namespace render
