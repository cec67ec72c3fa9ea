// SPDX-License-Identifier: MIT
// Checks an equation text in one left-to-right scan and words the first fault as its numbered message.
#include "equation_solver.h"

#include "c_locale.h"
#include "message_format.h"

#include <cstring>
#include <vector>

namespace engine {
namespace {

bool isDigitOrPoint(char c)
{
    return (c >= '0' && c <= '9') || c == '.';
}
bool isLowerLetter(char c)
{
    return c >= 'a' && c <= 'z';
}
bool isOperator(char c)
{
    return c != 0 && std::strchr("*+-/=^", c) != nullptr;
}
bool canFollowOperand(char c)
{
    return c != 0 && std::strchr(")*+-/=^", c) != nullptr;
}
// What may start an operand: a digit, a letter, a parenthesis, a sign or a point.
bool canStartOperand(char c)
{
    return isDigitOrPoint(c) || isLowerLetter(c) || (c != 0 && std::strchr("(+-.", c) != nullptr);
}

bool numberInRange(double v)
{
    if (!(v >= -1e18 && v <= 1e18))
        return false;
    return v == 0.0 || v >= 1e-18 || v <= -1e-18;
}

ValidationResult fault(int code, int position = 0, char first = 0, char second = 0)
{
    ValidationResult result;
    result.code = code;
    result.position = position;
    result.first = first;
    result.second = second;
    return result;
}

} // namespace

ValidationResult EquationSolver::Validate(std::string_view input) const
{
    // Work on a NUL-terminated copy, cut at a NUL as the C string the checks are defined on.
    const std::size_t nul = input.find('\0');
    const std::string text(nul == std::string_view::npos ? input : input.substr(0, nul));
    const char* t = text.c_str();
    const auto at = [&](int i) { return i < static_cast<int>(text.size()) ? t[i] : '\0'; };

    if (text.empty())
        return fault(2);
    if (text.size() > 255)
        return fault(3);

    int open = 0;
    for (int i = 0; at(i) != '\0'; ++i) {
        const char c = at(i);
        if (i == 0 && !canStartOperand(c))
            return fault(4, 0, c);
        if (c == '(') {
            ++open;
            if (at(i + 1) == '\0')
                return fault(5, i + 1);
            if (!canStartOperand(at(i + 1)))
                return fault(6, i + 1, at(i + 1));
        }
        if (c == ')') {
            if (open == 0)
                return fault(7, i);
            --open;
            if (at(i + 1) != '\0' && !canFollowOperand(at(i + 1)))
                return fault(8, i + 1, at(i + 1));
        }
        if (isOperator(c)) {
            if (at(i + 1) == '\0')
                return fault(9, i + 1, c);
            if (!canStartOperand(at(i + 1)))
                return fault(10, i + 1, c, at(i + 1));
        }
        if (isDigitOrPoint(c)) {
            double value = 0.0;
            int consumed = 0;
            if (!readNumber(t + i, value, consumed) || !numberInRange(value))
                return fault(11, i);
            i += consumed - 1;
            if (at(i + 1) != '\0' && !canFollowOperand(at(i + 1)))
                return fault(12, i + 1, at(i + 1));
        }
        if (at(i) == '=' && open != 0)
            return fault(13, i);
        if (isLowerLetter(at(i))) {
            if (isLowerLetter(at(i + 1))) {
                if (at(i + 2) == '\0')
                    return fault(14, i + 2);
                if (!isLowerLetter(at(i + 2)))
                    return fault(15, i + 2, at(i + 2));
                if (functionTokenOf(std::string_view(t + i, 3)) == 0) {
                    ValidationResult result = fault(16, i);
                    std::memcpy(result.letters.data(), t + i, 3);
                    return result;
                }
                if (at(i + 3) == '\0')
                    return fault(17, i + 3);
                if (at(i + 3) != '(')
                    return fault(18, i + 3, at(i + 3));
                i += 2;
            } else if (at(i + 1) != '\0' && !canFollowOperand(at(i + 1))) {
                return fault(19, i + 1, at(i + 1));
            }
        }
    }
    if (open != 0)
        return fault(20);
    if (text.find('x') == std::string::npos)
        return fault(21);
    const std::size_t equals = text.find('=');
    if (equals == std::string::npos)
        return fault(22);
    if (text.find('=', equals + 1) != std::string::npos)
        return fault(23);
    return {};
}

std::string EquationSolver::validationMessage(const ValidationResult& result) const
{
    const int code = result.code;
    if (code < 4 || code > 19)
        return message(code);

    const FormatArg position{FormatArgKind::Int, result.position, ""};
    const FormatArg first{FormatArgKind::Char, static_cast<unsigned char>(result.first), ""};
    const FormatArg second{FormatArgKind::Char, static_cast<unsigned char>(result.second), ""};
    const FormatArg letters{FormatArgKind::String, 0, result.letters.data()};
    std::vector<FormatArg> args;
    switch (code) {
    case 4:
        args = {first};
        break;
    case 5:
    case 7:
    case 11:
    case 13:
    case 14:
    case 17:
        args = {position};
        break;
    case 10:
        args = {position, first, second};
        break;
    case 16:
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
