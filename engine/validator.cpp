// SPDX-License-Identifier: MIT
// Checks an equation text in one left-to-right scan and reports the first fault.
#include "engine/validation.h"

#include "engine/c_locale.h"
#include "engine/token_table.h"

#include <array>
#include <cstring>
#include <optional>
#include <string>
#include <string_view>

namespace engine {
namespace {

/// Membership of a character in a fixed set, by table: the scan asks for every character.
class CharacterSet {
public:
    constexpr explicit CharacterSet(std::string_view members)
    {
        for (const char c : members)
            m_members[static_cast<unsigned char>(c)] = true;
    }
    [[nodiscard]] constexpr bool contains(char c) const { return m_members[static_cast<unsigned char>(c)]; }

private:
    std::array<bool, 256> m_members{};
};

constexpr CharacterSet kOperators("*+-/=^");
constexpr CharacterSet kAfterOperand(")*+-/=^");
// What may start an operand: a digit, a letter, a parenthesis, a sign or a point.
constexpr CharacterSet kOperandStart("0123456789abcdefghijklmnopqrstuvwxyz(+-.");

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
    return kOperators.contains(c);
}
bool canFollowOperand(char c)
{
    return kAfterOperand.contains(c);
}
bool canStartOperand(char c)
{
    return kOperandStart.contains(c);
}

bool numberInRange(double v)
{
    if (!(v >= -1e18 && v <= 1e18))
        return false;
    return v == 0.0 || v >= 1e-18 || v <= -1e-18;
}

ValidationResult fault(ErrorCode code, int position = 0, char first = 0, char second = 0)
{
    ValidationResult result;
    result.code = code;
    result.position = position;
    result.first = first;
    result.second = second;
    return result;
}

using Fault = std::optional<ValidationResult>; // empty: no fault found

/// The scan over the characters of one NUL-terminated text, keeping the count of open parentheses.
class Scanner {
public:
    explicit Scanner(const std::string& text) : m_text(text) {}

    /// Runs the checks of every character, in their documented order, up to the first fault.
    Fault scan()
    {
        for (m_i = 0; at(m_i) != '\0'; ++m_i) {
            if (const Fault found = checkCharacter())
                return found;
        }
        if (m_open != 0)
            return fault(ErrorCode::OpenAtEnd);
        return std::nullopt;
    }

private:
    [[nodiscard]] char at(int i) const
    {
        return i < static_cast<int>(m_text.size()) ? m_text[static_cast<std::size_t>(i)] : '\0';
    }

    Fault checkCharacter()
    {
        const int i = m_i;
        const char c = at(i);
        if (i == 0 && !canStartOperand(c))
            return fault(ErrorCode::WrongFirstCharacter, 0, c);
        if (c == '(') {
            ++m_open;
            if (at(i + 1) == '\0')
                return fault(ErrorCode::MissingAfterOpening, i + 1);
            if (!canStartOperand(at(i + 1)))
                return fault(ErrorCode::IllegalAfterOpening, i + 1, at(i + 1));
        }
        if (c == ')') {
            if (m_open == 0)
                return fault(ErrorCode::UnmatchedClosing, i);
            --m_open;
            if (at(i + 1) != '\0' && !canFollowOperand(at(i + 1)))
                return fault(ErrorCode::IllegalAfterClosing, i + 1, at(i + 1));
        }
        if (isOperator(c)) {
            if (at(i + 1) == '\0')
                return fault(ErrorCode::MissingAfterOperator, i + 1, c);
            if (!canStartOperand(at(i + 1)))
                return fault(ErrorCode::IllegalAfterOperator, i + 1, c, at(i + 1));
        }
        if (isDigitOrPoint(c)) {
            if (const Fault found = checkNumber())
                return found;
        }
        // The number check may have moved the index to the number's last character.
        if (at(m_i) == '=' && m_open != 0)
            return fault(ErrorCode::OpenBeforeEquals, m_i);
        if (isLowerLetter(at(m_i)))
            return checkLetters();
        return std::nullopt;
    }

    /// A number starting at the index: it must be read and in range; the index moves to its last
    /// character, and what follows must be an operator or `)`.
    Fault checkNumber()
    {
        double value = 0.0;
        int consumed = 0;
        if (!readNumber(m_text.c_str() + m_i, value, consumed) || !numberInRange(value))
            return fault(ErrorCode::WrongNumber, m_i);
        m_i += consumed - 1;
        if (at(m_i + 1) != '\0' && !canFollowOperand(at(m_i + 1)))
            return fault(ErrorCode::IllegalAfterNumber, m_i + 1, at(m_i + 1));
        return std::nullopt;
    }

    /// A letter at the index: a single letter (a variable) or the first of a function name, whose
    /// `(` is examined next.
    Fault checkLetters()
    {
        const int i = m_i;
        if (!isLowerLetter(at(i + 1))) {
            if (at(i + 1) != '\0' && !canFollowOperand(at(i + 1)))
                return fault(ErrorCode::IllegalAfterLetter, i + 1, at(i + 1));
            return std::nullopt;
        }
        if (at(i + 2) == '\0')
            return fault(ErrorCode::MissingThirdLetter, i + 2);
        if (!isLowerLetter(at(i + 2)))
            return fault(ErrorCode::NoThirdLetter, i + 2, at(i + 2));
        if (functionTokenOf(std::string_view(m_text.c_str() + i, 3)) == 0) {
            ValidationResult result = fault(ErrorCode::UnknownFunction, i);
            std::memcpy(result.letters.data(), m_text.c_str() + i, 3);
            return result;
        }
        if (at(i + 3) == '\0')
            return fault(ErrorCode::MissingFunctionParenthesis, i + 3);
        if (at(i + 3) != '(')
            return fault(ErrorCode::IllegalAfterFunctionName, i + 3, at(i + 3));
        m_i += 2;
        return std::nullopt;
    }

    const std::string& m_text;
    int m_i = 0;
    int m_open = 0;
};

} // namespace

ValidationResult Validate(std::string_view input)
{
    // Work on a NUL-terminated copy, cut at a NUL as the C string the checks are defined on.
    const std::size_t nul = input.find('\0');
    const std::string text(nul == std::string_view::npos ? input : input.substr(0, nul));

    if (text.empty())
        return fault(ErrorCode::EmptyEquation);
    if (text.size() > 255)
        return fault(ErrorCode::TooManyCharacters);
    if (const Fault found = Scanner(text).scan())
        return *found;
    if (text.find('x') == std::string::npos)
        return fault(ErrorCode::NoUnknown);
    const std::size_t equals = text.find('=');
    if (equals == std::string::npos)
        return fault(ErrorCode::NoEquals);
    if (text.find('=', equals + 1) != std::string::npos)
        return fault(ErrorCode::MultipleEquals);
    return {};
}

} // namespace engine
