// SPDX-License-Identifier: MIT
// Every solution of an equation in x, found numerically and each passed through the result check.
#include "engine/all_solutions.h"

#include "engine/expression_evaluator.h"
#include "engine/root_finder.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <cstddef>

namespace engine {

namespace {

/// f(x) = left side - right side of a loaded equation without other letters; a root is what the
/// result check verifies.
class EquationFunction : public RootFunction {
public:
    explicit EquationFunction(const EquationEvaluator& equation) : m_equation(equation) {}

    bool value(Complex x, Complex& f) const override { return m_equation.difference(x, m_letters, f); }
    bool isRoot(Complex x) const override
    {
        return checkValue(m_equation, x).verdict == CheckVerdict::Verified;
    }

private:
    const EquationEvaluator& m_equation;
    LetterValues m_letters{};
};

/// The work of one search, in evaluations times characters of the equation: an evaluation costs
/// about 13 ns per character at worst (sums of products of sines), so the search of a long equation
/// stays within about 5 ms, while short ones get kMaxEvaluations.
constexpr std::size_t kWorkPerSearch = 400000;
constexpr int kMinEvaluations = 1000;

/// Values at which an equation in x is most unlikely to hold unless it holds everywhere.
constexpr std::array<Complex, 3> kIdentityProbes = {
    {{0.6180339, 0.2718281}, {-1.4142135, 0.5772156}, {2.2360679, -1.7320508}}};

/// The end of the operand starting at i (one past it): a parenthesised group, a function with its
/// group, a number or a letter, with any signs in front.
std::size_t operandEnd(std::string_view text, std::size_t i)
{
    while (i < text.size() && (text[i] == '-' || text[i] == '+'))
        ++i;
    if (i + 3 < text.size() && std::isalpha(static_cast<unsigned char>(text[i])) &&
        std::isalpha(static_cast<unsigned char>(text[i + 1])) && text[i + 3] == '(')
        i += 3;
    if (i < text.size() && text[i] == '(') {
        int depth = 0;
        for (; i < text.size(); ++i) {
            if (text[i] == '(')
                ++depth;
            else if (text[i] == ')' && --depth == 0)
                return i + 1;
        }
        return text.size();
    }
    if (i < text.size() && std::isalpha(static_cast<unsigned char>(text[i])))
        return i + 1;
    while (i < text.size() && (std::isdigit(static_cast<unsigned char>(text[i])) || text[i] == '.'))
        ++i;
    return i;
}

bool containsX(std::string_view text, std::size_t from, std::size_t to)
{
    return text.substr(from, to - from).find('x') != std::string_view::npos;
}

} // namespace

bool hasPeriodicTerm(std::string_view prepared)
{
    static constexpr std::array<std::string_view, 7> kPeriodic = {"sin", "cos", "tan", "exp",
                                                                  "hsn", "hcs", "htn"};
    for (std::size_t i = 0; i < prepared.size(); ++i) {
        if (prepared[i] == '^') {
            if (containsX(prepared, i + 1, operandEnd(prepared, i + 1)))
                return true;
            continue;
        }
        const std::string_view name = prepared.substr(i, 3);
        if (name.size() == 3 && std::find(kPeriodic.begin(), kPeriodic.end(), name) != kPeriodic.end() &&
            containsX(prepared, i + 3, operandEnd(prepared, i + 3)))
            return true;
    }
    return false;
}

bool isSameSolution(Complex a, Complex b)
{
    const double distance = magnitude({a.re - b.re, a.im - b.im});
    return distance <= 1e-6 * std::max(magnitude(a), magnitude(b)) + 1e-12;
}

AllSolutions findAllSolutions(std::string_view prepared)
{
    AllSolutions result;
    EquationEvaluator equation;
    if (!equation.load(prepared) || equation.otherLetters() != 0)
        return result;
    const std::uint32_t xBit = std::uint32_t{1} << ('x' - 'a');
    if (((equation.left().letterMask() | equation.right().letterMask()) & xBit) == 0)
        return result;
    // An identity in x (x=x, sin(x)^2+cos(x)^2=1) checks at every value; it has no list of roots.
    if (std::all_of(kIdentityProbes.begin(), kIdentityProbes.end(), [&equation](Complex probe) {
            return checkValue(equation, probe).verdict == CheckVerdict::Verified;
        }))
        return result;

    const int maxEvaluations = static_cast<int>(std::clamp<std::size_t>(
        kWorkPerSearch / std::max<std::size_t>(prepared.size(), 1), kMinEvaluations, kMaxEvaluations));
    const RootSearchResult search = findRoots(EquationFunction(equation), maxEvaluations);
    result.hasRun = true;
    result.evaluations = search.evaluations;
    result.mayHaveMore = search.mayHaveMore || hasPeriodicTerm(prepared);
    for (const Complex root : search.roots)
        result.solutions.push_back({root, checkValue(equation, root).verdict});
    return result;
}

} // namespace engine
