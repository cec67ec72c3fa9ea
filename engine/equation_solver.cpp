// SPDX-License-Identifier: MIT
// The solver object: its message table, the solve and the wording of its errors.
#include "engine/equation_solver.h"

#include "engine/c_locale.h"
#include "engine/message_format.h"
#include "engine/solver_buffers.h"

#include <algorithm>
#include <vector>

namespace engine {
namespace {

// Built-in English texts, entry k for ERROR k; empty where no error uses the entry.
constexpr std::array<std::string_view, kMessageCount> kDefaultMessages = {
    "",
    "",
    "ERROR 2: Equation line is empty!",
    "ERROR 3: Equation line contains more than 255 characters!",
    "ERROR 4: First character '%c' is wrong!",
    "ERROR 5: CHARACTER %d: Missing characters after '('!",
    "ERROR 6: CHARACTER %d: Illegal character '%c' after '('!",
    "ERROR 7: CHARACTER %d: More ')' than '('!",
    "ERROR 8: CHARACTER %d: Illegal character '%c' after ')'!",
    "ERROR 9: CHARACTER %d: Missing characters after operator '%c'!",
    "ERROR 10: CHARACTER %d: The operator '%c' follows an illegal chracter '%c'!",
    "ERROR 11: CHARACTER %d: Wrong numerical constant!",
    "ERROR 12: CHARACTER %d: Number follows illegal character '%c'!",
    "ERROR 13: CHARACTER %d: More '(' than ')' before '='!",
    "ERROR 14: CHARACTER %d: Missing third character for functionname!",
    "ERROR 15: CHARACTER %d: Character '%c', no third for functionname!",
    "ERROR 16: CHARACTER %d: Unknown function '%.3s'!",
    "ERROR 17: CHARACTER %d: Missing '(' after functionnname!",
    "ERROR 18: CHARACTER %d: '(' is required after functionname - not allowed: '%c'!",
    "ERROR 19: CHARACTER %d: Illegal character '%c' after variablename!",
    "ERROR 20: More '(' than ')' after '='!",
    "ERROR 21: Equation contains no 'x'!",
    "ERROR 22: Equation contains no '='!",
    "ERROR 23: Multiple '=' in equation found!",
    "",
    "ERROR 25: Equaltion is too long (more than 255 pieces)!",
    "ERROR 26: Too much brace levels (more than 30)!",
    "ERROR 27: Numerical overflow (greater 10^18)!",
    "ERROR 28: Division by '0' is not possible!",
    "ERROR 29: Calculation of 'log(0)' is not possible!",
    "ERROR 30: Calculation of 'lgt(0)' is not possible!",
    "ERROR 31: Calculation of 'atn(sqr(-1))' is not possible!",
    "ERROR 32: Calculation of 'aht(-1)' is not possible!",
    "ERROR 33: Too much output lines (more than 255)!",
    "ERROR 34: Too many different numbers (more than 117)!",
    "",
    "",
    "",
    "",
    "",
};

} // namespace

EquationSolver::EquationSolver() : m_buffers(std::make_unique<SolverBuffers>())
{
    // Every entry first gets a placeholder naming its number; the codes in use then get their text.
    for (int k = 0; k < kMessageCount; ++k)
        SetMessage(k,
                   formatCLocale("ERROR %d - General equation fault, params: a) %d b) %d c) %d", k, 0, 0, 0));
    for (int k = 0; k < kMessageCount; ++k) {
        if (!kDefaultMessages[static_cast<std::size_t>(k)].empty())
            SetMessage(k, kDefaultMessages[static_cast<std::size_t>(k)]);
    }
}

EquationSolver::~EquationSolver() = default;

void EquationSolver::SetMessage(int index, std::string_view text)
{
    if (index < 0 || index >= kMessageCount)
        return;
    std::string& entry = m_messages[static_cast<std::size_t>(index)];
    entry.assign(text);
    entry += "\r\n";
}

const std::string& EquationSolver::message(int index) const
{
    static const std::string kNone;
    if (index < 0 || index >= kMessageCount)
        return kNone;
    return m_messages[static_cast<std::size_t>(index)];
}

std::string_view EquationSolver::defaultMessage(int code)
{
    if (code < 0 || code >= kMessageCount)
        return {};
    return kDefaultMessages[static_cast<std::size_t>(code)];
}

std::string EquationSolver::StripEquation(std::string_view text)
{
    std::string result;
    result.reserve(text.size());
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte >= 33 && byte <= 127)
            result += c;
    }
    return result;
}

std::string EquationSolver::Solve(std::string_view text)
{
    return solveText(text, nullptr);
}

std::string EquationSolver::Solve(std::string_view text, SolveDetails& details)
{
    return solveText(text, &details);
}

std::string EquationSolver::solveText(std::string_view text, SolveDetails* details)
{
    SolveOutcome outcome = solveEquation(*m_buffers, text, details);
    m_lastError = outcome.error;
    switch (outcome.error) {
    case ErrorCode::None:
        return std::move(outcome.lines);
    case ErrorCode::TooManyLines: {
        const std::string& limit = message(errorNumber(ErrorCode::TooManyLines));
        if (details != nullptr)
            addMessageReasons(*details, limit, outcome.error, false);
        return std::move(outcome.lines) + limit;
    }
    default: {
        std::string wording = outcome.validation.code != ErrorCode::None
                                  ? validationMessage(outcome.validation)
                                  : message(errorNumber(outcome.error));
        if (details != nullptr)
            addMessageReasons(*details, wording, outcome.error, outcome.validation.code != ErrorCode::None);
        return wording;
    }
    }
}

void EquationSolver::addMessageReasons(SolveDetails& details, std::string_view text, ErrorCode error,
                                       bool isValidation)
{
    StepReason reason;
    reason.kind = StepKind::Message;
    if (isValidation)
        reason.action = StepAction::MessageRejected;
    else if (error == ErrorCode::TooManyLines)
        reason.action = StepAction::MessageLineLimit;
    else if (errorNumber(error) >= errorNumber(ErrorCode::Overflow) &&
             errorNumber(error) <= errorNumber(ErrorCode::AhtOfOne))
        reason.action = StepAction::MessageFoldFailed;
    else
        reason.action = StepAction::MessageTooLarge;
    // Only the line limit keeps the lines before its message.
    if (error != ErrorCode::TooManyLines)
        details.reasons.clear();
    std::size_t lines = 0;
    for (std::size_t at = text.find("\r\n"); at != std::string_view::npos; at = text.find("\r\n", at + 2))
        ++lines;
    details.reasons.insert(details.reasons.end(), std::max<std::size_t>(lines, 1), reason);
}

ValidationResult EquationSolver::Validate(std::string_view text)
{
    return engine::Validate(text);
}

std::string EquationSolver::validationMessage(const ValidationResult& result) const
{
    const int code = errorNumber(result.code);
    if (code < 4 || code > 19)
        return message(code);

    const FormatArg position{FormatArgKind::Int, result.position, ""};
    const FormatArg first{FormatArgKind::Char, static_cast<unsigned char>(result.first), ""};
    const FormatArg second{FormatArgKind::Char, static_cast<unsigned char>(result.second), ""};
    const FormatArg letters{FormatArgKind::String, 0, result.letters.data()};
    std::vector<FormatArg> args;
    switch (result.code) {
    case ErrorCode::WrongFirstCharacter:
        args = {first};
        break;
    case ErrorCode::MissingAfterOpening:
    case ErrorCode::UnmatchedClosing:
    case ErrorCode::WrongNumber:
    case ErrorCode::OpenBeforeEquals:
    case ErrorCode::MissingThirdLetter:
    case ErrorCode::MissingFunctionParenthesis:
        args = {position};
        break;
    case ErrorCode::IllegalAfterOperator:
        args = {position, first, second};
        break;
    case ErrorCode::UnknownFunction:
        args = {position, letters};
        break;
    default:
        args = {position, first};
        break;
    }

    std::string text;
    // A translation may leave out trailing details (the character, say), never add any.
    if (formatMessage(message(code), args, text, ArgumentUse::LeadingArgumentsSuffice))
        return text;
    // A translated text whose conversions do not fit these arguments is replaced by the built-in one.
    const bool formatted = formatMessage(defaultMessage(code), args, text);
    return formatted ? text + "\r\n" : message(code);
}

} // namespace engine
