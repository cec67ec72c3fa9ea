// SPDX-License-Identifier: MIT
// The Solve command's text path: prepare, solve, decorate, wrap in the header, localise the point.
#include "config/solve_command.h"

#include "config/interface_texts.h"
#include "config/settings.h"
#include "engine/equation_solver.h"
#include "engine/message_format.h"

#include <array>

namespace config {

namespace {

constexpr std::string_view kEnginePoint = ".";

std::string_view separatorOf(const SolveOptions& options)
{
    return options.decimalSeparator.empty() ? kEnginePoint : std::string_view(options.decimalSeparator);
}

/// The built-in header format, from the interface-text table.
std::string builtInHeaderFormat()
{
    const TextKey* row = findTextKey(kKeySolution);
    return row != nullptr ? defaultText(*row) : std::string("%s\r\n%s");
}

} // namespace

SolveOptions solveOptions(const Settings& settings, const InterfaceTexts& texts)
{
    SolveOptions options;
    options.addSpaces = settings.addSpaces;
    options.addLineNumbers = settings.addLineNumbers;
    options.equivalent = settings.equivalent;
    options.decimalSeparator = settings.decimalSeparator;
    options.headerFormat = texts.text(kKeySolution);
    return options;
}

SolveOptions defaultSolveOptions()
{
    return solveOptions(Settings(), InterfaceTexts());
}

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

std::string prepareEquation(std::string_view equation, std::string_view decimalSeparator)
{
    const std::string_view separator = decimalSeparator.empty() ? kEnginePoint : decimalSeparator;
    return engine::EquationSolver::StripEquation(ReplaceAll(equation, separator, kEnginePoint));
}

SolutionBlock solutionBlock(engine::EquationSolver& solver, std::string_view equation,
                            const SolveOptions& options)
{
    const std::string_view separator = separatorOf(options);
    const std::string prepared = prepareEquation(equation, separator);
    const std::string solution = solver.Solve(prepared);
    const std::string decorated = engine::EquationSolver::DecorateSolution(
        solution, options.addSpaces, true, options.equivalent, options.addLineNumbers);

    const std::array<engine::FormatArg, 2> args = {
        engine::FormatArg{engine::FormatArgKind::String, 0, prepared.c_str()},
        engine::FormatArg{engine::FormatArgKind::String, 0, decorated.c_str()},
    };
    std::string block;
    if (!engine::formatMessage(options.headerFormat, args, block))
        static_cast<void>(engine::formatMessage(builtInHeaderFormat(), args, block));
    return {ReplaceAll(block, kEnginePoint, separator), solver.lastError() != engine::ErrorCode::None};
}

} // namespace config
