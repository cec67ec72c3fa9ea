// SPDX-License-Identifier: MIT
// All solutions of an equation: each found, refined, verified and shown once, periodic ones as
// families, in a stable order; every one confirmed by an independent evaluation.
#include "analysis/all_solutions.h"
#include "analysis/expression_program.h"
#include "analysis/root_finder.h"
#include "engine/equation_solver.h"
#include "engine/formatting.h"
#include "support/golden_file.h"
#include "support/principal_check.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

namespace {

struct Row {
    const char* equation;
    std::vector<std::string> families; ///< "base + period*k" as the engine prints the numbers
    std::vector<std::string> values;   ///< every single solution as the engine prints it, in order
    bool mayHaveMore;
};

std::vector<std::string> printedValues(const analysis::AllSolutions& found)
{
    std::vector<std::string> values;
    for (const analysis::Solution& solution : found.solutions)
        values.push_back(engine::formatValue(solution.value));
    return values;
}

std::vector<std::string> printedFamilies(const analysis::AllSolutions& found)
{
    std::vector<std::string> families;
    for (const analysis::SolutionFamily& family : found.families)
        families.push_back(engine::formatValue(family.base) + " + " + engine::formatValue(family.period) +
                           "*k");
    return families;
}

support::LongComplex widened(engine::Complex z)
{
    return {z.re, z.im};
}

/// Every solution and the members k = -3 ... 3 of every family hold in the independent evaluation.
void expectConfirmed(const std::string& input, const analysis::AllSolutions& found)
{
    analysis::Equation equation;
    ASSERT_TRUE(equation.load(input)) << input;
    for (const analysis::Solution& solution : found.solutions) {
        EXPECT_EQ(solution.verdict, analysis::CheckVerdict::Verified) << input;
        EXPECT_TRUE(support::holdsInLongDouble(equation, widened(solution.value)))
            << input << " at " << engine::formatValue(solution.value);
    }
    for (const analysis::SolutionFamily& family : found.families)
        for (int k = -3; k <= 3; ++k)
            EXPECT_TRUE(support::holdsInLongDouble(
                equation, widened(family.base) + static_cast<long double>(k) * widened(family.period)))
                << input << " family " << engine::formatValue(family.base) << " k = " << k;
}

TEST(FindAllSolutions, FindsEverySolutionInStandardMathematics)
{
    const Row rows[] = {
        {"x^2-5*x+6=0", {}, {"2", "3"}, false},
        {"(x-1)*(x-5)*(x+5)=0", {}, {"-5", "1", "5"}, false},
        {"x^4+x+1=0",
         {},
         {"-0.727136-0.430014*sqr(-1)", "-0.727136+0.430014*sqr(-1)", "0.727136-0.934099*sqr(-1)",
          "0.727136+0.934099*sqr(-1)"},
         false},
        {"x^3=8", {}, {"2", "-1-1.73205*sqr(-1)", "-1+1.73205*sqr(-1)"}, false},
        {"x^2-2*x+1=0", {}, {"1"}, false},
        {"(x-3)^3=0", {}, {"3"}, false},
        {"x^2+1=0", {}, {"-1*sqr(-1)", "1*sqr(-1)"}, false},
        // The principal square root is never negative on the real line: -1 is no value of it.
        {"sqr(x)=-1", {}, {}, false},
        // acosh(3.7622) = 2 with the principal branch.
        {"ahc(x)=2", {}, {"3.7622"}, false},
        // The principal logarithm leaves one real solution.
        {"x+lgt(x)=2", {}, {"1.75558"}, false},
        // x = 2 makes both sides undefined: no solution.
        {"x/(x-2)=2/(x-2)", {}, {}, false},
        // Two families of period 2 pi.
        {"sin(x)=0.5", {"0.523599 + 6.28319*k", "2.61799 + 6.28319*k"}, {}, false},
        {"tan(x)=1", {"0.785398 + 3.14159*k"}, {}, false},
        {"cos(x)=0", {"1.5708 + 3.14159*k"}, {}, false},
        // e^x repeats along the imaginary axis.
        {"exp(x)=2", {"0.693147 + 6.28319*sqr(-1)*k"}, {}, false},
        {"sin(2*x)=1", {"0.785398 + 3.14159*k"}, {}, false},
        // Odd, and no period: the roots come in pairs, none missed between the starting points.
        {"tan(x)=x",
         {},
         {"-20.3713", "-17.2208", "-14.0662", "-10.9041", "-7.72525", "-4.49341", "0", "4.49341", "7.72525",
          "10.9041", "14.0662", "17.2208"},
         true},
        // Two real roots first; e^x is periodic along the imaginary axis, so complex ones follow.
        {"exp(x)=3*x",
         {},
         {"0.619061", "1.51213", "3.19096-7.44927*sqr(-1)", "3.19096+7.44927*sqr(-1)"},
         true},
        {"exp(x)=0", {}, {}, true},
    };
    for (const Row& row : rows) {
        const analysis::AllSolutions found = analysis::findAllSolutions(row.equation);
        ASSERT_TRUE(found.hasRun) << row.equation;
        EXPECT_EQ(printedFamilies(found), row.families) << row.equation;
        EXPECT_EQ(printedValues(found), row.values) << row.equation;
        EXPECT_EQ(found.mayHaveMore, row.mayHaveMore) << row.equation;
        expectConfirmed(row.equation, found);
        // The same equation always gives the same list.
        EXPECT_EQ(printedValues(analysis::findAllSolutions(row.equation)), row.values) << row.equation;
    }
}

TEST(FindAllSolutions, LeavesOutValuesOfAnotherBranch)
{
    // The derivation's complex value holds only with the engine's branch of the power; the real
    // solution is there, and every listed value holds with principal values.
    const analysis::AllSolutions found = analysis::findAllSolutions("x^x=10");
    ASSERT_TRUE(found.hasRun);
    ASSERT_FALSE(found.solutions.empty());
    EXPECT_EQ(engine::formatValue(found.solutions.front().value), "2.50618");
    for (const analysis::Solution& solution : found.solutions)
        EXPECT_NE(engine::formatValue(solution.value), "-0.0751785-0.493367*sqr(-1)");
    expectConfirmed("x^x=10", found);
}

// Found by the sweep of 20,000 random equations: every solution listed must hold.
TEST(FindAllSolutions, RandomEquationsThatOnceListedWrongValues)
{
    const char* const rows[] = {
        // Roots far out repeat with 145 * 2 pi only where 9.62^x has decayed: no family.
        "exp(ahc(22.157+7543)^+x)=cos(9+x)",
        // A complex constant: the roots near 34 +- 16i are no exact conjugates of each other.
        "x*-7e+8+x=(atn(6^7.104)*exp(x-10.528))+((50.550)*-log(-1e+8/31.133))/2",
        // Powers of values whose imaginary part is 2^-9000000 of the real one: MPC rounded that
        // part at millions of bits, for minutes.
        "(-4937*(+8/x*4481)/(-x^4*1983*21.726)-(x))/(1.25e10/sin(14.127-x)/x)=(x*-x--x/9)^x^-sqr(2.5e+13)",
    };
    for (const char* equation : rows) {
        const analysis::AllSolutions found = analysis::findAllSolutions(equation);
        ASSERT_TRUE(found.hasRun) << equation;
        EXPECT_FALSE(found.solutions.empty()) << equation;
        expectConfirmed(equation, found);
    }
}

TEST(FindAllSolutions, LeavesOutWhatHasNoListOfRoots)
{
    // Other letters, no x, an identity, a text the engine rejects.
    for (const char* equation : {"a*x^2=b", "2=3", "x=x", "x^2-x*x=0", "sin(x)^2+cos(x)^2=1", "x+=1", ""})
        EXPECT_FALSE(analysis::findAllSolutions(equation).hasRun) << equation;
}

TEST(HasPeriodicTerm, SeesXInsidePeriodicFunctionsAndExponents)
{
    const struct {
        const char* equation;
        bool expected;
    } rows[] = {
        {"sin(x)=0.5", true},    {"2*exp(-x)=1", true},  {"2^x=8", true},       {"2^-(x+1)=3", true},
        {"x^2-hcs(x)=0", true},  {"sin(2)*x=1", false},  {"x^2=exp(1)", false}, {"log(x)=1", false},
        {"x^3+sqr(x)=2", false}, {"(x+1)^2=3^2", false}, {"x^2^x=3", true},
    };
    for (const auto& row : rows) {
        analysis::Equation equation;
        ASSERT_TRUE(equation.load(row.equation)) << row.equation;
        EXPECT_EQ(equation.hasPeriodicTerm(), row.expected) << row.equation;
    }
}

// Every solution listed for a golden input or a random equation holds in the independent evaluation.
TEST(FindAllSolutions, EveryListedSolutionHoldsIndependently)
{
    std::vector<std::string> inputs = support::goldenInputs(GOLDEN_DIR);
    ASSERT_GT(inputs.size(), 50u);
    // TERVALON_RANDOM_EQUATIONS names a longer file for a sweep by hand (random_equations.py 20000).
    const char* const longer = std::getenv("TERVALON_RANDOM_EQUATIONS");
    std::ifstream random(longer != nullptr ? longer : RANDOM_EQUATIONS);
    for (std::string line; std::getline(random, line);)
        inputs.push_back(line);
    int searched = 0;
    for (const std::string& input : inputs) {
        const std::string prepared = engine::EquationSolver::StripEquation(input);
        const analysis::AllSolutions found = analysis::findAllSolutions(prepared);
        if (!found.hasRun)
            continue;
        ++searched;
        EXPECT_LE(found.solutions.size(), static_cast<std::size_t>(analysis::kMaxRoots)) << prepared;
        expectConfirmed(prepared, found);
    }
    EXPECT_GE(searched, 100);
}

} // namespace
