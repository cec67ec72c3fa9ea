// SPDX-License-Identifier: MIT
// The window's Solve command: the shared Solve text path, then the block appended to the solution view.
#include "app/solve_into_view.h"

#include "app/solution_view.h"
#include "app/text_conversion.h"
#include "config/settings.h"
#include "config/solve_command.h"

#include <QString>

namespace app {

SolvedInView solveIntoView(engine::EquationSolver& solver, CScriptEdit& view, const QString& equation,
                           const config::Settings& settings, const config::InterfaceTexts& texts)
{
    if (settings.alwaysClearSolution)
        view.clearText();
    config::SolveOptions options = config::solveOptions(settings, texts);
    options.graph = settings.showGraph;
    const config::SolveRecord record = config::solveRecord(solver, toUtf8(equation), options);
    const config::SolutionBlock block = config::renderBlock(record, options);
    bool isFirst = true;
    for (const config::BlockPart& part : block.parts) {
        QString text = toQString(part.text);
        if (isFirst && view.textLength() > 0)
            text.prepend(toQString(config::kBlockSeparator));
        isFirst = false;
        // A check line that rejects the value is shown in the warning colour; the rest as usual.
        const bool isWarning =
            part.kind == config::BlockPartKind::Check && analysis::isRejection(block.check.verdict);
        view.appendText(text, isWarning);
    }
    return {toQString(config::resultSummary(block, options)), record.graph};
}

analysis::GraphInput graphInputOf(engine::EquationSolver& solver, const QString& equation,
                                  const config::Settings& settings, const config::InterfaceTexts& texts)
{
    config::SolveOptions options = config::solveOptions(settings, texts);
    options.graph = true;
    return config::solveRecord(solver, toUtf8(equation), options).graph;
}

} // namespace app
