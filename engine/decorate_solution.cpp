// SPDX-License-Identifier: MIT
// Dresses a solution text for display: blanks around operators, line numbers and the equivalence marker.
#include "engine/equation_solver.h"

#include <cstring>

namespace engine {

std::string EquationSolver::DecorateSolution(std::string_view s, bool addSpaces, bool showEquivalence,
                                             std::string_view equivalence, bool addLineNumbers)
{
    std::string out;
    out.reserve(s.size() * 2);
    const std::size_t n = s.size();
    int line = 0;
    for (std::size_t i = 0; i < n; ++i) {
        // A line feed that is not the last byte opens the next, numbered and marked, line.
        if (s[i] == '\n' && i + 1 < n) {
            ++line;
            out += '\n';
            ++i;
            if (addLineNumbers)
                out += std::to_string(line) + ") ";
            if (showEquivalence && !equivalence.empty())
                out += equivalence;
        }
        const char c = s[i];
        if (addSpaces && c != '\0' && std::strchr("+-*/=^", c) != nullptr && i + 1 < n) {
            out += ' ';
            out += c;
            out += ' ';
        } else {
            out += c;
        }
    }
    return out;
}

} // namespace engine
