// SPDX-License-Identifier: MIT
// The result check: verdicts for results known to be right or wrong, and every golden result.
#include "engine/equation_solver.h"
#include "engine/formatting.h"
#include "engine/result_check.h"
#include "engine/solve_details.h"
#include "support/golden_file.h"

#include <gtest/gtest.h>

#include <set>
#include <string>

namespace {

using engine::CheckResult;
using engine::CheckVerdict;

CheckResult checked(engine::EquationSolver& solver, const std::string& prepared)
{
    engine::SolveDetails details;
    static_cast<void>(solver.Solve(prepared, details));
    return engine::checkSolve(prepared, details);
}

std::string text(engine::Complex value)
{
    return engine::formatValue(value);
}

TEST(ResultCheck, VerdictsOfKnownResults)
{
    struct Row {
        const char* equation;
        CheckVerdict verdict;
    };
    const Row rows[] = {
        // Squaring both sides brings in a value the equation never had.
        {"sqr(x)=-1", CheckVerdict::Failed},
        // 0^0 is 1 here, not the folding's 0.
        {"x^x=0", CheckVerdict::Failed},
        {"sqr(x)=-a", CheckVerdict::Failed},
        {"x=10*sin(x-1)", CheckVerdict::Verified},
        {"x^2-5*x+6=0", CheckVerdict::Verified},
        {"a*x+b=c", CheckVerdict::Verified},
        {"exp(x)=-1", CheckVerdict::Verified},
        {"x=x", CheckVerdict::Verified},
        // x = atn(10^17) lies next to the pole at pi/2: the tangent there cannot be pinned down.
        {"tan(x)=10^17", CheckVerdict::Undetermined},
        // tan of a small number carries an imaginary part of the engine's own rounding.
        {"tan(x)=0.000113", CheckVerdict::Verified},
        {"x+=", CheckVerdict::NotApplicable},
        {"x=1/0", CheckVerdict::NotApplicable},
        {"0*x=1", CheckVerdict::NotApplicable},
        {"x+1=x+1", CheckVerdict::NotApplicable},
    };
    engine::EquationSolver solver;
    for (const Row& row : rows) {
        EXPECT_EQ(engine::verdictName(checked(solver, row.equation).verdict),
                  engine::verdictName(row.verdict))
            << row.equation;
    }
}

TEST(ResultCheck, FailedCheckCarriesTheSidesAtTheFinalValue)
{
    engine::EquationSolver solver;
    const CheckResult square = checked(solver, "sqr(x)=-1");
    EXPECT_EQ(text(square.value), "1");
    EXPECT_EQ(text(square.left), "1");
    EXPECT_EQ(text(square.right), "-1");
    EXPECT_EQ(square.letterSet, -1);

    const CheckResult power = checked(solver, "x^x=0");
    EXPECT_EQ(text(power.left), "1");
    EXPECT_EQ(text(power.right), "0");

    const CheckResult letters = checked(solver, "sqr(x)=-a");
    EXPECT_EQ(letters.letters, "a");
    EXPECT_EQ(letters.letterSet, 0);
    // sqr(a^2) = a where -a was asked for.
    EXPECT_EQ(text(letters.left), engine::formatValue(engine::letterValue(0, 'a')));
}

TEST(ResultCheck, LetterSetsAvoidDegenerateValues)
{
    for (int set = 0; set < engine::kLetterSets; ++set) {
        std::set<double> seen;
        for (char letter = 'a'; letter <= 'z'; ++letter) {
            if (letter == 'x')
                continue;
            const double value = engine::letterValue(set, letter).re;
            EXPECT_TRUE(value >= 0.5 && value <= 3.0) << set << letter;
            EXPECT_NE(value, 1.0) << set << letter;
            EXPECT_TRUE(seen.insert(value).second) << set << letter;
        }
    }
}

// Every result of the golden files passes its check, but for the ones that are plainly wrong.
TEST(ResultCheck, NoCorrectGoldenResultFails)
{
    // The squaring of cos(x) -> sqr(1-sin(x)^2) lets the search settle on a root of x = -cos(x).
    const std::set<std::string> wrongResults = {"x=cos(x)"};
    engine::EquationSolver solver;
    int verified = 0;
    for (const auto& path : support::goldenFiles(GOLDEN_DIR)) {
        for (const support::GoldenCase& goldenCase : support::readGoldenFile(path).cases) {
            const CheckVerdict verdict = checked(solver, goldenCase.input).verdict;
            const bool isWrong = wrongResults.contains(goldenCase.input);
            EXPECT_EQ(verdict == CheckVerdict::Failed, isWrong)
                << path.filename().string() << ":" << goldenCase.lineNumber << " " << goldenCase.input;
            verified += verdict == CheckVerdict::Verified ? 1 : 0;
        }
    }
    // The sweep must have checked something: most golden equations end in a value.
    EXPECT_GE(verified, 50);
}

} // namespace
