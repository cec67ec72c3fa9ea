// SPDX-License-Identifier: MIT
// The Solve command's text path: prepare, solve, decorate, wrap in the header, localise the point.
#include "solution_block.h"

#include "engine/message_format.h"

#include <array>

namespace cli {

std::string ReplaceAll(std::string_view text, std::string_view search, std::string_view replacement)
{
    if (search.empty())
        return std::string(text);
    std::string result;
    std::size_t from = 0;
    for (std::size_t hit = text.find(search); hit != std::string_view::npos; hit = text.find(search, from)) {
        result.append(text.substr(from, hit - from));
        result.append(replacement);
        from = hit + search.size();
    }
    result.append(text.substr(from));
    return result;
}

std::string solutionBlock(engine::EquationSolver& solver, std::string_view equation,
                          const CliOptions& options, std::string_view headerFormat, bool& hadError)
{
    const std::string separator = options.decimalSeparator.empty() ? "." : options.decimalSeparator;
    const std::string prepared = ReplaceAll(engine::EquationSolver::StripEquation(equation), separator, ".");
    const std::string solution = solver.Solve(prepared);
    hadError = solver.lastError() != engine::ErrorCode::None;
    if (options.raw)
        return solution + "\r\n";

    const std::string decorated = engine::EquationSolver::DecorateSolution(
        solution, options.addSpaces, true, options.equivalent, options.addLineNumbers);
    const std::array<engine::FormatArg, 2> args = {
        engine::FormatArg{engine::FormatArgKind::String, 0, prepared.c_str()},
        engine::FormatArg{engine::FormatArgKind::String, 0, decorated.c_str()},
    };
    std::string block;
    if (!engine::formatMessage(headerFormat, args, block))
        (void)engine::formatMessage(kDefaultHeaderFormat, args, block);
    return ReplaceAll(block, ".", separator);
}

} // namespace cli
