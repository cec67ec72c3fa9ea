// SPDX-License-Identifier: MIT
// The Solve command's text path: prepare, solve, decorate, wrap in the header, localise the point.
#include "config/solve_command.h"

#include "config/interface_texts.h"
#include "config/settings.h"
#include "engine/all_solutions.h"
#include "engine/equation_solver.h"
#include "engine/formatting.h"
#include "engine/message_format.h"
#include "engine/solve_details.h"

#include <algorithm>
#include <array>
#include <span>
#include <vector>

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

/// format with the texts, or the built-in text of key when format's conversions do not fit them.
std::string formatText(std::string_view format, std::string_view key, std::span<const std::string> texts)
{
    std::vector<engine::FormatArg> args;
    for (const std::string& text : texts)
        args.push_back({engine::FormatArgKind::String, 0, text.c_str()});
    std::string line;
    if (engine::formatMessage(format, args, line))
        return line;
    const TextKey* row = findTextKey(key);
    if (row == nullptr || !engine::formatMessage(defaultText(*row), args, line))
        return {};
    return line;
}

/// Characters of UTF-8 text: every byte that does not continue a character.
std::size_t characterCount(std::string_view text)
{
    std::size_t count = 0;
    for (const char c : text)
        count += (static_cast<unsigned char>(c) & 0xC0) != 0x80 ? 1 : 0;
    return count;
}

} // namespace

SolveOptions solveOptions(const Settings& settings, const InterfaceTexts& texts)
{
    SolveOptions options;
    options.addSpaces = settings.addSpaces;
    options.addLineNumbers = settings.addLineNumbers;
    options.equivalent = settings.equivalent;
    options.decimalSeparator = settings.decimalSeparator;
    options.showCheck = settings.showCheck;
    options.explainSteps = settings.explainSteps;
    options.allSolutions = settings.allSolutions;
    applySolveTexts(texts, options);
    return options;
}

void applySolveTexts(const InterfaceTexts& texts, SolveOptions& options)
{
    options.headerFormat = texts.text(kKeySolution);
    options.checkTexts = {texts.text(kKeyCheckFailed), texts.text(kKeyCheckFailedLetters),
                          texts.text(kKeyCheckVerified), texts.text(kKeyCheckVerifiedLetters),
                          texts.text(kKeyCheckNotPossible)};
    options.stepPhrases = StepPhrases(texts);
    options.solutionsTexts = {texts.text(kKeyOtherSolutions), texts.text(kKeyNoOtherSolutions),
                              texts.text(kKeyAllSolutions), texts.text(kKeyNoSolutions),
                              texts.text(kKeyMoreSolutions)};
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

std::string checkLine(const engine::CheckResult& check, const CheckTexts& texts,
                      std::string_view decimalSeparator)
{
    const std::string_view separator = decimalSeparator.empty() ? kEnginePoint : decimalSeparator;
    const auto number = [separator](engine::Complex value) {
        return ReplaceAll(engine::formatValue(value), kEnginePoint, separator);
    };
    const bool hasLetters = check.letterSet >= 0;
    switch (check.verdict) {
    case engine::CheckVerdict::Failed: {
        const std::string figures[] = {number(check.value), number(check.left), number(check.right)};
        if (!hasLetters)
            return formatText(texts.failed, kKeyCheckFailed, figures);
        std::string values;
        for (const char letter : check.letters) {
            if (!values.empty())
                values += "; ";
            values.append(1, letter).append(" = ").append(
                number(engine::letterValue(check.letterSet, letter)));
        }
        const std::string withLetters[] = {values, figures[0], figures[1], figures[2]};
        return formatText(texts.failedLetters, kKeyCheckFailedLetters, withLetters);
    }
    case engine::CheckVerdict::Verified: {
        if (hasLetters)
            return formatText(texts.verifiedLetters, kKeyCheckVerifiedLetters, {});
        // The sides agree to the tolerance, not always to the last digit: the shorter one is shown,
        // so that a side that is 0 shows as 0 rather than as the other side's rounding noise.
        const std::string left = number(check.left);
        const std::string right = number(check.right);
        const std::string value[] = {left.size() <= right.size() ? left : right};
        return formatText(texts.verified, kKeyCheckVerified, value);
    }
    case engine::CheckVerdict::Undetermined:
    case engine::CheckVerdict::NotApplicable:
        break;
    }
    return formatText(texts.notPossible, kKeyCheckNotPossible, {});
}

std::string solutionsLines(const engine::AllSolutions& found, const engine::CheckResult& check,
                           const SolutionsTexts& texts, std::string_view decimalSeparator)
{
    if (!found.hasRun)
        return {};
    const std::string_view separator = decimalSeparator.empty() ? kEnginePoint : decimalSeparator;
    const bool hasFinalValue = check.verdict == engine::CheckVerdict::Verified && check.letterSet < 0;
    std::string list;
    for (const engine::Solution& solution : found.solutions) {
        // Multiplicities and the derivation's own value are shown once.
        if (hasFinalValue && engine::isSameSolution(solution.value, check.value))
            continue;
        if (!list.empty())
            list += separator == "," ? "; " : ", ";
        list += "x = " + ReplaceAll(engine::formatValue(solution.value), kEnginePoint, separator);
    }
    std::string lines;
    if (list.empty()) {
        lines = formatText(hasFinalValue ? texts.noOther : texts.none,
                           hasFinalValue ? kKeyNoOtherSolutions : kKeyNoSolutions, {});
    } else {
        const std::string values[] = {list};
        lines = formatText(hasFinalValue ? texts.other : texts.all,
                           hasFinalValue ? kKeyOtherSolutions : kKeyAllSolutions, values);
    }
    lines += "\r\n";
    if (found.mayHaveMore)
        lines += formatText(texts.more, kKeyMoreSolutions, {}) + "\r\n";
    return lines;
}

SolutionBlock solutionBlock(engine::EquationSolver& solver, std::string_view equation,
                            const SolveOptions& options)
{
    const std::string_view separator = separatorOf(options);
    const std::string prepared = prepareEquation(equation, separator);
    engine::SolveDetails details;
    const std::string solution = solver.Solve(prepared, details);
    std::string decorated = engine::EquationSolver::DecorateSolution(
        solution, options.addSpaces, true, options.equivalent, options.addLineNumbers);
    if (options.explainSteps)
        decorated = explainLines(decorated, details.reasons, options);

    const std::array<engine::FormatArg, 2> args = {
        engine::FormatArg{engine::FormatArgKind::String, 0, prepared.c_str()},
        engine::FormatArg{engine::FormatArgKind::String, 0, decorated.c_str()},
    };
    std::string block;
    if (!engine::formatMessage(options.headerFormat, args, block))
        static_cast<void>(engine::formatMessage(builtInHeaderFormat(), args, block));

    SolutionBlock result;
    result.text = ReplaceAll(block, kEnginePoint, separator);
    result.endedWithError = solver.lastError() != engine::ErrorCode::None;
    result.check = engine::checkSolve(prepared, details);
    result.hasCheckLine = options.showCheck || result.check.verdict == engine::CheckVerdict::Failed;
    if (result.hasCheckLine) {
        // The check line follows the derivation's last line; its own points stay points.
        if (!result.text.empty() && !result.text.ends_with("\r\n"))
            result.text += "\r\n";
        result.text += checkLine(result.check, options.checkTexts, separator) + "\r\n";
    }
    result.solutionsStart = result.text.size();
    if (options.allSolutions) {
        result.solutions = engine::findAllSolutions(prepared);
        const std::string lines =
            solutionsLines(result.solutions, result.check, options.solutionsTexts, separator);
        if (!lines.empty() && !result.text.empty() && !result.text.ends_with("\r\n"))
            result.text += "\r\n";
        result.solutionsStart = result.text.size();
        result.text += lines;
    }
    return result;
}

std::string explainLines(std::string_view lines, const std::vector<engine::StepReason>& reasons,
                         const SolveOptions& options)
{
    const std::string_view separator = separatorOf(options);
    std::vector<std::string_view> split;
    bool isLastEnded = true;
    for (std::size_t start = 0; start < lines.size();) {
        const std::size_t end = lines.find("\r\n", start);
        isLastEnded = end != std::string_view::npos;
        const std::size_t stop = isLastEnded ? end : lines.size();
        split.push_back(lines.substr(start, stop - start));
        start = isLastEnded ? end + 2 : lines.size();
    }
    const std::size_t explained = std::min(split.size(), reasons.size());
    std::vector<std::size_t> widths(explained);
    std::size_t column = 0;
    for (std::size_t i = 0; i < explained; ++i) {
        widths[i] = characterCount(ReplaceAll(split[i], kEnginePoint, separator));
        column = std::max(column, widths[i]);
    }
    column += 2;

    std::string out;
    for (std::size_t i = 0; i < split.size(); ++i) {
        out.append(split[i]);
        if (i < explained) {
            out.append(column - widths[i], ' ');
            out.append(kReasonMarker);
            out.append(reasonText(reasons[i], options.stepPhrases, options.addSpaces));
        }
        if (i + 1 < split.size() || isLastEnded)
            out.append("\r\n");
    }
    return out;
}

} // namespace config
