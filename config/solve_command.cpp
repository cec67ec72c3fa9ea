// SPDX-License-Identifier: MIT
// The Solve command's text path: prepare, solve, decorate, wrap in the header, localise the point.
#include "config/solve_command.h"

#include "analysis/precise_expression.h"
#include "config/interface_texts.h"
#include "config/settings.h"
#include "engine/equation_solver.h"
#include "engine/formatting.h"
#include "engine/message_format.h"
#include "engine/solve_details.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <span>
#include <utility>
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

/// Engine text (numbers with "." as decimal point) as the extra lines show it: with the blanks a
/// derivation gets when addSpaces, and the decimal separator.
std::string displayText(std::string_view text, bool addSpaces, std::string_view decimalSeparator)
{
    const std::string spaced = addSpaces
                                   ? engine::EquationSolver::DecorateSolution(text, true, false, {}, false)
                                   : std::string(text);
    return ReplaceAll(spaced, kEnginePoint, decimalSeparator.empty() ? kEnginePoint : decimalSeparator);
}

/// A side without a part that is rounding noise beside the other (a logarithm's real part of
/// -1.9e-17 at a value just off the unit circle): the six digits shown could not tell it anyway.
engine::Complex withoutRoundingNoise(engine::Complex value)
{
    constexpr double kNoise = 1e-10;
    if (std::fabs(value.re) < kNoise * std::fabs(value.im))
        value.re = 0.0;
    if (std::fabs(value.im) < kNoise * std::fabs(value.re))
        value.im = 0.0;
    return value;
}

/// A family in the engine's notation: "base+period*k", the period bracketed when it has two parts,
/// a base of 0 left out.
std::string familyText(const analysis::SolutionFamily& family)
{
    std::string period = engine::formatValue(family.period);
    if (family.period.re != 0.0 && family.period.im != 0.0)
        period = "(" + period + ")";
    if (family.base.re == 0.0 && family.base.im == 0.0)
        return period + "*k";
    return engine::formatValue(family.base) + "+" + period + "*k";
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
    options.exactValues = settings.exactValues;
    applySolveTexts(texts, options);
    return options;
}

void applySolveTexts(const InterfaceTexts& texts, SolveOptions& options)
{
    options.headerFormat = texts.text(kKeySolution);
    options.checkTexts = {texts.text(kKeyCheckFailed),
                          texts.text(kKeyCheckFailedLetters),
                          texts.text(kKeyCheckVerified),
                          texts.text(kKeyCheckVerifiedLetters),
                          texts.text(kKeyCheckNotPossible),
                          texts.text(kKeyCheckOtherBranch),
                          texts.text(kKeyCheckOtherBranchLetters),
                          texts.text(kKeyCheckUndefinedLeft),
                          texts.text(kKeyCheckUndefinedRight),
                          texts.text(kKeyCheckUndefinedLeftLetters),
                          texts.text(kKeyCheckUndefinedRightLetters)};
    options.stepPhrases = StepPhrases(texts);
    options.solutionsTexts = {texts.text(kKeyOtherSolutions), texts.text(kKeyNoOtherSolutions),
                              texts.text(kKeyAllSolutions),   texts.text(kKeyNoSolutions),
                              texts.text(kKeyMoreSolutions),  texts.text(kKeyAnyWholeNumber)};
    options.exactValueText = texts.text(kKeyExactValue);
    options.graphTexts = {texts.text(kKeyGraphLeft), texts.text(kKeyGraphRight), texts.text(kKeyGraphLetters),
                          texts.text(kKeyGraphNoReal), texts.text(kKeyGraphError)};
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

std::string displayNumber(engine::Complex value, bool addSpaces, std::string_view decimalSeparator)
{
    return displayText(engine::formatValue(value), addSpaces, decimalSeparator);
}

std::string checkLine(const analysis::CheckResult& check, const CheckTexts& texts, bool addSpaces,
                      std::string_view decimalSeparator)
{
    const auto number = [&](engine::Complex value) {
        return displayNumber(withoutRoundingNoise(value), addSpaces, decimalSeparator);
    };
    const bool hasLetters = check.letterSet >= 0;
    std::string values;
    for (const char letter : check.letters) {
        if (!values.empty())
            values += "; ";
        values.append(1, letter).append(" = ").append(number(analysis::letterValue(check.letterSet, letter)));
    }
    // The same figures with and without the letters' values in front.
    const auto withFigures = [&](const std::string& plain, std::string_view plainKey,
                                 const std::string& lettered, std::string_view letteredKey,
                                 std::vector<std::string> figures) {
        if (!hasLetters)
            return formatText(plain, plainKey, figures);
        figures.insert(figures.begin(), values);
        return formatText(lettered, letteredKey, figures);
    };
    switch (check.verdict) {
    case analysis::CheckVerdict::Failed:
        return withFigures(texts.failed, kKeyCheckFailed, texts.failedLetters, kKeyCheckFailedLetters,
                           {number(check.value), number(check.left), number(check.right)});
    case analysis::CheckVerdict::OtherBranch:
        return withFigures(texts.otherBranch, kKeyCheckOtherBranch, texts.otherBranchLetters,
                           kKeyCheckOtherBranchLetters,
                           {number(check.value), number(check.left), number(check.right)});
    case analysis::CheckVerdict::Undefined:
        if (check.undefinedSide == analysis::EquationSide::Right)
            return withFigures(texts.undefinedRight, kKeyCheckUndefinedRight, texts.undefinedRightLetters,
                               kKeyCheckUndefinedRightLetters, {number(check.value)});
        return withFigures(texts.undefinedLeft, kKeyCheckUndefinedLeft, texts.undefinedLeftLetters,
                           kKeyCheckUndefinedLeftLetters, {number(check.value)});
    case analysis::CheckVerdict::Verified: {
        if (hasLetters)
            return formatText(texts.verifiedLetters, kKeyCheckVerifiedLetters, {});
        // The sides agree to the working precision, not always to the last digit printed: the
        // shorter one is shown, so that a side that is 0 shows as 0 rather than as rounding noise.
        const std::string left = number(check.left);
        const std::string right = number(check.right);
        const std::string value[] = {left.size() <= right.size() ? left : right};
        return formatText(texts.verified, kKeyCheckVerified, value);
    }
    case analysis::CheckVerdict::Undetermined:
    case analysis::CheckVerdict::NotApplicable:
        break;
    }
    return formatText(texts.notPossible, kKeyCheckNotPossible, {});
}

std::string displayClosedForm(std::string_view text, bool addSpaces, std::string_view decimalSeparator)
{
    // The decoration spaces the program's own notation; pi stands in as a letter none of the
    // forms uses.
    constexpr std::string_view kPiStandIn = "y";
    const std::string spaced =
        displayText(ReplaceAll(text, analysis::kPiText, kPiStandIn), addSpaces, decimalSeparator);
    return ReplaceAll(spaced, kPiStandIn, analysis::kPiText);
}

std::string solutionsLines(const analysis::AllSolutions& found, const analysis::CheckResult& check,
                           const SolutionsTexts& texts, bool addSpaces, std::string_view decimalSeparator,
                           const analysis::ExactValues& exact)
{
    if (!found.hasRun)
        return {};
    const std::string_view separator = decimalSeparator.empty() ? kEnginePoint : decimalSeparator;
    const bool hasFinalValue = check.verdict == analysis::CheckVerdict::Verified && check.letterSet < 0;
    std::string list;
    const auto add = [&](const std::string& value, const analysis::ExactValue* closedForm) {
        if (!list.empty())
            list += separator == "," ? "; " : ", ";
        list += "x = " + displayText(value, addSpaces, separator);
        if (closedForm != nullptr && closedForm->isFound())
            list += " = " + displayClosedForm(closedForm->text, addSpaces, separator);
    };
    const auto exactOf = [](const std::vector<analysis::ExactValue>& values, std::size_t i) {
        return i < values.size() ? &values[i] : nullptr;
    };
    // A family holds the derivation's value too: the other members are other solutions.
    for (std::size_t i = 0; i < found.families.size(); ++i)
        add(familyText(found.families[i]), exactOf(exact.families, i));
    for (std::size_t i = 0; i < found.solutions.size(); ++i) {
        const analysis::Solution& solution = found.solutions[i];
        // Multiplicities and the derivation's own value are shown once.
        if (hasFinalValue && analysis::isSameSolution(solution.value, check.value))
            continue;
        add(engine::formatValue(solution.value), exactOf(exact.solutions, i));
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
    if (!found.families.empty())
        lines += formatText(texts.anyWholeNumber, kKeyAnyWholeNumber, {}) + "\r\n";
    if (found.mayHaveMore)
        lines += formatText(texts.more, kKeyMoreSolutions, {}) + "\r\n";
    return lines;
}

SolveRecord solveRecord(engine::EquationSolver& solver, std::string_view equation,
                        const SolveOptions& options)
{
    SolveRecord record;
    record.equation = prepareEquation(equation, separatorOf(options));
    record.solution = solver.Solve(record.equation, record.details);
    record.error = solver.lastError();
    if (record.error == engine::ErrorCode::None)
        record.check = analysis::checkSolve(record.equation, record.details);
    analysis::AllSolutions found;
    if (options.allSolutions || options.graph)
        found = analysis::findAllSolutions(record.equation);
    if (options.graph)
        record.graph =
            analysis::graphInput(record.equation, static_cast<int>(record.error), record.check, found);
    if (options.allSolutions)
        record.solutions = std::move(found);
    if (options.exactValues && record.error == engine::ErrorCode::None)
        record.exact = analysis::findExactValues(record.equation, record.check, record.solutions);
    return record;
}

SolutionBlock renderBlock(const SolveRecord& record, const SolveOptions& options)
{
    const std::string_view separator = separatorOf(options);
    std::string decorated = engine::EquationSolver::DecorateSolution(
        record.solution, options.addSpaces, true, options.equivalent, options.addLineNumbers);
    if (options.explainSteps)
        decorated = explainLines(decorated, record.details.reasons, options);

    const std::array<engine::FormatArg, 2> args = {
        engine::FormatArg{engine::FormatArgKind::String, 0, record.equation.c_str()},
        engine::FormatArg{engine::FormatArgKind::String, 0, decorated.c_str()},
    };
    std::string header;
    if (!engine::formatMessage(options.headerFormat, args, header))
        static_cast<void>(engine::formatMessage(builtInHeaderFormat(), args, header));

    SolutionBlock block;
    block.endedWithError = record.error != engine::ErrorCode::None;
    block.check = record.check;
    block.solutions = record.solutions;
    block.parts.push_back({BlockPartKind::Derivation, ReplaceAll(header, kEnginePoint, separator)});
    // An extra line follows the derivation's last line, even one the engine left open.
    const auto startLine = [&block]() {
        std::string& last = block.parts.back().text;
        if (!last.empty() && !last.ends_with("\r\n"))
            last += "\r\n";
    };
    if (!block.endedWithError && record.exact.finalValue.isFound()) {
        startLine();
        const std::string closedForm[] = {
            displayClosedForm(record.exact.finalValue.text, options.addSpaces, separator)};
        block.parts.push_back({BlockPartKind::ExactValue,
                               formatText(options.exactValueText, kKeyExactValue, closedForm) + "\r\n"});
    }
    block.hasCheckLine =
        !block.endedWithError && (options.showCheck || analysis::isRejection(record.check.verdict));
    if (block.hasCheckLine) {
        startLine();
        block.parts.push_back(
            {BlockPartKind::Check,
             checkLine(record.check, options.checkTexts, options.addSpaces, separator) + "\r\n"});
    }
    const std::string lines = solutionsLines(record.solutions, record.check, options.solutionsTexts,
                                             options.addSpaces, separator, record.exact);
    if (!lines.empty()) {
        startLine();
        block.parts.push_back({BlockPartKind::Solutions, lines});
    }
    for (const BlockPart& part : block.parts)
        block.text += part.text;
    return block;
}

SolutionBlock solutionBlock(engine::EquationSolver& solver, std::string_view equation,
                            const SolveOptions& options)
{
    return renderBlock(solveRecord(solver, equation, options), options);
}

std::string resultSummary(const SolutionBlock& block, const SolveOptions& options)
{
    if (block.parts.empty())
        return {};
    std::string_view lines = block.parts.front().text;
    while (lines.ends_with("\r\n"))
        lines.remove_suffix(2);
    const std::size_t lineStart = lines.rfind("\r\n");
    std::string_view last = lineStart == std::string_view::npos ? lines : lines.substr(lineStart + 2);
    // The line as DecorateSolution and explainLines dressed it: "12) ", the equivalence text, the
    // value, blanks and the reason.
    const std::size_t reason = last.find(kReasonMarker);
    if (reason != std::string_view::npos)
        last = last.substr(0, last.find_last_not_of(' ', reason - 1) + 1);
    if (options.addLineNumbers && lineStart != std::string_view::npos) {
        const std::size_t digits = last.find_first_not_of("0123456789");
        if (digits != std::string_view::npos && digits > 0 && last.substr(digits).starts_with(") "))
            last.remove_prefix(digits + 2);
    }
    if (lineStart != std::string_view::npos && !options.equivalent.empty() &&
        last.starts_with(options.equivalent))
        last.remove_prefix(options.equivalent.size());
    std::string summary(last);
    if (!block.endedWithError && block.check.verdict != analysis::CheckVerdict::NotApplicable)
        summary += "  " + checkLine(block.check, options.checkTexts, options.addSpaces, separatorOf(options));
    return summary;
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
