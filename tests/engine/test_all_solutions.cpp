// SPDX-License-Identifier: MIT
// All solutions of an equation: each one found, each checked, each once, in a stable order.
#include "engine/all_solutions.h"
#include "engine/expression_evaluator.h"
#include "engine/formatting.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

struct Row {
    const char* equation;
    std::vector<std::string> expected; ///< every solution as the engine prints it, in order
    bool mayHaveMore;
};

std::vector<std::string> printed(const engine::AllSolutions& found)
{
    std::vector<std::string> values;
    for (const engine::Solution& solution : found.solutions)
        values.push_back(engine::formatValue(solution.value));
    return values;
}

TEST(FindAllSolutions, FindsEveryRootCheckedOnceInOrder)
{
    const Row rows[] = {
        {"x^2-5*x+6=0", {"2", "3"}, false},
        {"(x-1)*(x-5)*(x+5)=0", {"-5", "1", "5"}, false},
        {"x^4+x+1=0",
         {"-0.727136-0.430014*sqr(-1)", "-0.727136+0.430014*sqr(-1)", "0.727136-0.934099*sqr(-1)",
          "0.727136+0.934099*sqr(-1)"},
         false},
        {"x^3=8", {"2", "-1-1.73205*sqr(-1)", "-1+1.73205*sqr(-1)"}, false},
        // Two real roots first; e^x is periodic along the imaginary axis, so complex ones follow.
        {"exp(x)=3*x", {"0.619061", "1.51213", "3.19096-7.44927*sqr(-1)", "3.19096+7.44927*sqr(-1)"}, true},
        // The twelve nearest to 0 of pi/6 + 2 pi k and 5 pi/6 + 2 pi k.
        {"sin(x)=0.5",
         {"-18.326", "-16.2316", "-12.0428", "-9.94838", "-5.75959", "-3.66519", "0.523599", "2.61799",
          "6.80678", "8.90118", "13.09", "15.1844"},
         true},
        // Odd: the roots come in pairs, none of them missed between the starting points.
        {"tan(x)=x",
         {"-20.3713", "-17.2208", "-14.0662", "-10.9041", "-7.72525", "-4.49341", "0", "4.49341", "7.72525",
          "10.9041", "14.0662", "17.2208"},
         true},
        {"x^2-2*x+1=0", {"1"}, false},
        {"(x-3)^3=0", {"3"}, false},
        {"x^2+1=0", {"-1*sqr(-1)", "1*sqr(-1)"}, false},
        // The square root's imaginary part is never negative: -1 is no value of it.
        {"sqr(x)=-1", {}, false},
        // e^x below -41 underflows to 0 in the engine; that is no root.
        {"exp(x)=0", {}, true},
    };
    for (const Row& row : rows) {
        const engine::AllSolutions found = engine::findAllSolutions(row.equation);
        ASSERT_TRUE(found.hasRun) << row.equation;
        EXPECT_EQ(printed(found), row.expected) << row.equation;
        EXPECT_EQ(found.mayHaveMore, row.mayHaveMore) << row.equation;
        engine::EquationEvaluator equation;
        ASSERT_TRUE(equation.load(row.equation));
        for (const engine::Solution& solution : found.solutions) {
            EXPECT_EQ(solution.verdict, engine::CheckVerdict::Verified) << row.equation;
            EXPECT_EQ(engine::checkValue(equation, solution.value).verdict, engine::CheckVerdict::Verified)
                << row.equation << " at " << engine::formatValue(solution.value);
        }
        // The same equation always gives the same list.
        EXPECT_EQ(printed(engine::findAllSolutions(row.equation)), row.expected) << row.equation;
    }
}

TEST(FindAllSolutions, LeavesOutWhatHasNoListOfRoots)
{
    // Other letters, no x, an identity, a text the engine rejects.
    for (const char* equation : {"a*x^2=b", "2=3", "x=x", "x^2-x*x=0", "x+=1", ""})
        EXPECT_FALSE(engine::findAllSolutions(equation).hasRun) << equation;
}

TEST(HasPeriodicTerm, SeesXInsidePeriodicFunctionsAndExponents)
{
    const struct {
        const char* equation;
        bool expected;
    } rows[] = {
        {"sin(x)=0.5", true},    {"2*exp(-x)=1", true},  {"2^x=8", true},       {"2^-(x+1)=3", true},
        {"x^2-hcs(x)=0", true},  {"sin(2)*x=1", false},  {"x^2=exp(1)", false}, {"log(x)=1", false},
        {"x^3+sqr(x)=2", false}, {"(x+1)^2=3^2", false},
    };
    for (const auto& row : rows)
        EXPECT_EQ(engine::hasPeriodicTerm(row.equation), row.expected) << row.equation;
}

} // namespace
