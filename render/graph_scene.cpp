// SPDX-License-Identifier: MIT
// The graph's windows and samples, kept in step with panning and zooming.
#include "render/graph_scene.h"

#include <algorithm>
#include <cmath>

namespace render {

namespace {

/// Narrower windows than this part of their magnitude would show rounding only.
constexpr double kNarrowest = 1e-9;
/// Wider windows than this would overflow the sampling's steps.
constexpr double kWidest = 1e12;

bool isUsable(const analysis::GraphWindow& window)
{
    const double scale = std::max({1.0, std::fabs(window.xMin), std::fabs(window.xMax),
                                   std::fabs(window.yMin), std::fabs(window.yMax)});
    return std::isfinite(window.xMin) && std::isfinite(window.xMax) && std::isfinite(window.yMin) &&
           std::isfinite(window.yMax) && window.width() > kNarrowest * scale &&
           window.height() > kNarrowest * scale && window.width() < kWidest && window.height() < kWidest;
}

} // namespace

void GraphScene::setInput(const analysis::GraphInput& input)
{
    m_input = input;
    m_picture = {};
    m_realMarks.clear();
    m_complexMarks.clear();
    m_showsUnitCircle = false;
    if (m_input.outcome != analysis::GraphOutcome::Drawable || !m_equation.load(m_input.equation)) {
        m_input.outcome = m_input.outcome == analysis::GraphOutcome::Drawable
                              ? analysis::GraphOutcome::EngineError
                              : m_input.outcome;
        m_firstReal = m_picture.window;
        m_firstComplex = m_complexWindow = analysis::complexWindow({});
        return;
    }
    m_picture = analysis::firstPicture(m_equation, m_input);
    m_firstReal = m_picture.window;
    m_complexMarks = analysis::complexPoints(m_input);
    m_showsUnitCircle = analysis::isNearUnitCircle(m_complexMarks);
    m_firstComplex = m_complexWindow = analysis::complexWindow(m_complexMarks);
    m_realMarks = analysis::realSolutions(m_input, m_picture.window.xMin, m_picture.window.xMax);
}

void GraphScene::setWindow(GraphTab tab, const analysis::GraphWindow& window)
{
    if (!isUsable(window))
        return;
    if (tab == GraphTab::Complex) {
        m_complexWindow = window;
        return;
    }
    if (!isDrawable()) {
        m_picture.window = window;
        return;
    }
    m_picture = analysis::pictureIn(m_equation, window);
    m_realMarks = analysis::realSolutions(m_input, window.xMin, window.xMax);
}

void GraphScene::zoom(GraphTab tab, double factor, double x, double y)
{
    if (!(factor > 0.0))
        return;
    const analysis::GraphWindow& now = window(tab);
    setWindow(tab, {x + (now.xMin - x) * factor, x + (now.xMax - x) * factor, y + (now.yMin - y) * factor,
                    y + (now.yMax - y) * factor});
}

void GraphScene::pan(GraphTab tab, double dx, double dy)
{
    const analysis::GraphWindow& now = window(tab);
    setWindow(tab, {now.xMin + dx, now.xMax + dx, now.yMin + dy, now.yMax + dy});
}

void GraphScene::reset()
{
    setWindow(GraphTab::Complex, m_firstComplex);
    setWindow(GraphTab::Real, m_firstReal);
}

} // namespace render
