// SPDX-License-Identifier: MIT
// The window's Solve command: the shared Solve text path, then the block appended to the solution view.
#include "app/solve_into_view.h"

#include "app/solution_view.h"
#include "app/text_conversion.h"
#include "config/settings.h"
#include "config/solve_command.h"

namespace app {

void solveIntoView(engine::EquationSolver& solver, CScriptEdit& view, const QString& equation,
                   const config::Settings& settings, const config::InterfaceTexts& texts)
{
    if (settings.alwaysClearSolution)
        view.clearText();
    const config::SolutionBlock block =
        config::solutionBlock(solver, toUtf8(equation), config::solveOptions(settings, texts));
    const std::string_view all(block.text);
    const QString text = toQString(all.substr(0, block.solutionsStart));
    // A failed result check ends the derivation with its line, in the warning colour; the block of
    // all solutions follows in the normal colour.
    const bool isCheckFailed = block.hasCheckLine && block.check.verdict == engine::CheckVerdict::Failed;
    view.appendText(view.textLength() > 0 ? toQString(config::kBlockSeparator) + text : text, isCheckFailed);
    if (block.solutionsStart < all.size())
        view.appendText(toQString(all.substr(block.solutionsStart)));
}

} // namespace app
