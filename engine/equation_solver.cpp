// SPDX-License-Identifier: MIT
// The solver object: its message table, the presets and the preparation of an equation.
#include "equation_solver.h"

#include "c_locale.h"

#include <cmath>

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

EquationSolver::EquationSolver()
{
    // Every entry first gets a placeholder naming its number; the codes in use then get their text.
    for (int k = 0; k < kMessageCount; ++k)
        SetMessage(k,
                   formatCLocale("ERROR %d - General equation fault, params: a) %d b) %d c) %d", k, 0, 0, 0));
    for (int k = 0; k < kMessageCount; ++k) {
        if (!kDefaultMessages[static_cast<std::size_t>(k)].empty())
            SetMessage(k, kDefaultMessages[static_cast<std::size_t>(k)]);
    }
    writePresets();
}

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

void EquationSolver::writePresets()
{
    const std::array<double, 10> presets = {1.0,           2.0,           10.0,          4.0,  0.5,
                                            std::exp(1.0), std::exp(2.0), std::exp(0.5), -1.0, -2.0};
    for (std::size_t i = 0; i < presets.size(); ++i) {
        m_pool.re[i + 1] = presets[i];
        m_trialPool.re[i + 1] = presets[i];
    }
}

int EquationSolver::loadEquation(std::string_view text)
{
    writePresets();
    const ValidationResult validation = Validate(text);
    if (validation.code != 0)
        return validation.code;
    m_pieces.assign(text);
    if (Tokenise() != StoreResult::Stored)
        return kErrorPoolFull;
    if (!ComputeLevels(m_pieces, m_levels))
        return kErrorNesting;
    return 0;
}

} // namespace engine
