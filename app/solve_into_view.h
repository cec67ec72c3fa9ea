// SPDX-License-Identifier: MIT
// The window's Solve command: the shared Solve text path, then the block appended to the solution view.
#pragma once

#include "analysis/graph_samples.h"

#include <QString>

namespace config {
struct Settings;
class InterfaceTexts;
} // namespace config

namespace engine {
class EquationSolver;
}

namespace app {

class CScriptEdit;

/// Solves equation (the field's text) as tervalon-solve does and appends the block to view: the
/// view is emptied first when AlwaysClearSolution is on, and a block that follows text gets the
/// separator line in front. The equation field is not changed.
struct SolvedInView {
    QString result;             ///< the block's result in one line (`resultSummary`)
    analysis::GraphInput graph; ///< with ShowGraph (else outcome EngineError, error 0: nothing to draw)
};
SolvedInView solveIntoView(engine::EquationSolver& solver, CScriptEdit& view, const QString& equation,
                           const config::Settings& settings, const config::InterfaceTexts& texts);

/// The graph's input of equation, solved again without touching the view: for a panel shown after
/// the equation was solved.
[[nodiscard]] analysis::GraphInput graphInputOf(engine::EquationSolver& solver, const QString& equation,
                                                const config::Settings& settings,
                                                const config::InterfaceTexts& texts);

} // namespace app
