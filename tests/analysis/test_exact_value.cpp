// SPDX-License-Identifier: MIT
// Exact values: the closed forms of everyday equations, none for values without one, and every
// exact value ever shown confirmed by an independent evaluation of its text.
#include "analysis/exact_value.h"
#include "analysis/expression_program.h"
#include "analysis/precise_expression.h"
#include "engine/equation_solver.h"
#include "engine/formatting.h"
#include "engine/solve_details.h"
#include "support/golden_file.h"
#include "support/principal_check.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <iostream>
#include <limits>
#include <optional>
#include <string>
#include <vector>

namespace {

struct Solved {
    analysis::CheckResult check;
    analysis::AllSolutions found;
    analysis::ExactValues exact;
};

Solved solved(const std::string& input)
{
    Solved s;
    const std::string prepared = engine::EquationSolver::StripEquation(input);
    engine::EquationSolver solver;
    engine::SolveDetails details;
    static_cast<void>(solver.Solve(prepared, details));
    if (solver.lastError() == engine::ErrorCode::None)
        s.check = analysis::checkSolve(prepared, details);
    s.found = analysis::findAllSolutions(prepared);
    s.exact = analysis::findExactValues(prepared, s.check, s.found);
    return s;
}

/// Every text the block would show: the final value's, then the listed solutions' and families'.
std::vector<std::string> shownTexts(const Solved& s)
{
    std::vector<std::string> texts;
    if (s.exact.finalValue.isFound())
        texts.push_back("final " + s.exact.finalValue.text);
    for (const analysis::ExactValue& value : s.exact.families)
        if (value.isFound())
            texts.push_back(value.text);
    for (const analysis::ExactValue& value : s.exact.solutions)
        if (value.isFound())
            texts.push_back(value.text);
    return texts;
}

TEST(ExactValues, FindsTheClosedFormsOfEverydayEquations)
{
    const struct {
        const char* equation;
        std::vector<std::string> shown;
    } rows[] = {
        {"3*x=1", {"final 1/3", "1/3"}},
        {"x^2=2", {"final sqr(2)", "-sqr(2)", "sqr(2)"}},
        {"x^2-x-1=0", {"final (1+sqr(5))/2", "(1-sqr(5))/2", "(1+sqr(5))/2"}},
        {"x^2+x+1=0", {"final (-1+sqr(-3))/2", "(-1-sqr(-3))/2", "(-1+sqr(-3))/2"}},
        {"x^3=2",
         {"final 2^(1/3)", "-2^(1/3)/2+108^(1/6)/2*sqr(-1)", "-2^(1/3)/2-108^(1/6)/2*sqr(-1)", "2^(1/3)"}},
        {"sin(x)=0.5", {"final π/6", "π/6+2*π*k", "5*π/6+2*π*k"}},
        {"tan(x)=1", {"final π/4", "π/4+π*k"}},
        {"exp(x)=2", {"final log(2)", "log(2)+2*π*sqr(-1)*k"}},
        {"2^x=3", {"final log(3)/log(2)", "log(3)/log(2)+2*π*sqr(-1)/log(2)*k"}},
        {"exp(x)=5", {"final log(5)", "log(5)+2*π*sqr(-1)*k"}},
        {"log(x)=0.5", {"final exp(1/2)", "exp(1/2)"}},
        {"x^2=-2", {"final sqr(-2)", "-sqr(-2)", "sqr(-2)"}},
        {"3*x=0.1", {"final 1/30", "1/30"}},
        {"x^3=-16/27",
         {"final 2^(1/3)/3+108^(1/6)/3*sqr(-1)", "-2*2^(1/3)/3", "2^(1/3)/3+108^(1/6)/3*sqr(-1)",
          "2^(1/3)/3-108^(1/6)/3*sqr(-1)"}},
        // Decimals that are the value already get nothing.
        {"x^2-5*x+6=0", {}},
        {"2*x=5", {}},
        // No closed form in these forms.
        {"x=10*sin(x-1)", {}},
        {"x=cos(x)", {}},
        {"exp(x)=3*x", {}},
        // Near a closed form, but not one: typed decimals are taken as typed.
        {"x=1.41421356237", {}},
        {"x^2=2.0000000001", {}},
        {"x=3.14159265358979", {}},
    };
    for (const auto& row : rows) {
        const Solved s = solved(row.equation);
        std::vector<std::string> shown = shownTexts(s);
        // The complex ones come in pairs whose order is the search's; compare as sets beyond the first.
        if (shown.size() > 1)
            std::sort(shown.begin() + 1, shown.end());
        std::vector<std::string> expected = row.shown;
        if (expected.size() > 1)
            std::sort(expected.begin() + 1, expected.end());
        EXPECT_EQ(shown, expected) << row.equation;
    }
}

TEST(ExactValues, SaysWhyAValueHasNone)
{
    EXPECT_EQ(solved("2*x=5").exact.finalValue.outcome, analysis::ExactOutcome::AlreadyExact);
    EXPECT_EQ(solved("x=10*sin(x-1)").exact.finalValue.outcome, analysis::ExactOutcome::NoForm);
    EXPECT_EQ(solved("x^2=2.0000000001").exact.finalValue.outcome, analysis::ExactOutcome::NumbersMerged);
    // A value that does not verify, and a value with letters, are not looked at.
    EXPECT_EQ(solved("sqr(x)=-1").exact.finalValue.outcome, analysis::ExactOutcome::NotAsked);
    EXPECT_EQ(solved("a*x=b").exact.finalValue.outcome, analysis::ExactOutcome::NotAsked);
}

/// Whether text, evaluated in long double with principal values (pi read as 4 atn(1)), agrees with
/// the decimal value to 1e-15 of its size, beyond the rounding of the long double evaluation
/// itself (a difference of two large terms such as 4969 - sqr(24690993) loses digits there).
bool agrees(const std::string& text, engine::Complex decimal)
{
    analysis::Equation equation;
    if (!equation.load(analysis::evaluableEquation(text)))
        return false;
    const auto value = analysis::principalValue<long double>(equation.right(), support::LongComplex{},
                                                             analysis::LetterValues{});
    if (value.outcome != analysis::EvaluationOutcome::Defined)
        return false;
    const support::LongComplex expected(decimal.re, decimal.im);
    return std::abs(value.value - expected) <=
           1e-15L * std::abs(expected) + 64.0L * std::numeric_limits<long double>::epsilon() * value.scale;
}

// No exact value is ever shown that an independent evaluation of its text contradicts: every golden
// input and the random equations, with all solutions.
TEST(ExactValues, EveryExactValueShownAgreesIndependently)
{
    std::vector<std::string> inputs = support::goldenInputs(GOLDEN_DIR);
    const char* const longer = std::getenv("TERVALON_RANDOM_EQUATIONS");
    std::ifstream random(longer != nullptr ? longer : RANDOM_EQUATIONS);
    for (std::string line; std::getline(random, line);)
        inputs.push_back(line);
    int shown = 0;
    for (const std::string& input : inputs) {
        const Solved s = solved(input);
        if (s.exact.finalValue.isFound()) {
            ++shown;
            EXPECT_TRUE(agrees(s.exact.finalValue.text, s.check.value))
                << input << ": " << s.exact.finalValue.text;
        }
        for (std::size_t i = 0; i < s.found.solutions.size(); ++i) {
            if (!s.exact.solutions[i].isFound())
                continue;
            ++shown;
            EXPECT_TRUE(agrees(s.exact.solutions[i].text, s.found.solutions[i].value))
                << input << ": " << s.exact.solutions[i].text;
        }
        for (std::size_t i = 0; i < s.found.families.size(); ++i) {
            const analysis::ExactValue& family = s.exact.families[i];
            if (!family.isFound())
                continue;
            ++shown;
            // The base and the period, each on its own.
            const std::size_t plus = family.text.rfind('+');
            ASSERT_TRUE(family.text.ends_with("*k")) << family.text;
            const std::string period =
                family.text.substr(plus == std::string::npos ? 0 : plus + 1,
                                   family.text.size() - 2 - (plus == std::string::npos ? 0 : plus + 1));
            EXPECT_TRUE(agrees(period, s.found.families[i].period)) << input << ": " << family.text;
            if (plus != std::string::npos) {
                EXPECT_TRUE(agrees(family.text.substr(0, plus), s.found.families[i].base))
                    << input << ": " << family.text;
            }
        }
    }
    std::cout << "exact values shown: " << shown << " for " << inputs.size() << " equations\n";
    EXPECT_GT(shown, 20);
}

} // namespace
