// SPDX-License-Identifier: MIT
// The window's Solve command: the shared Solve text path, then the block appended to the solution view.
#pragma once

class QString;

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
/// separator line in front. The equation field is not changed. Returns the block's result in one
/// line (`resultSummary`).
QString solveIntoView(engine::EquationSolver& solver, CScriptEdit& view, const QString& equation,
                      const config::Settings& settings, const config::InterfaceTexts& texts);

} // namespace app
