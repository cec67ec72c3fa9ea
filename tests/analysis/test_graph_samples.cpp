// SPDX-License-Identifier: MIT
// The graph's numbers: runs cut at poles, jumps and domain edges, the first range and limits, ticks,
// the complex plane's window, and what can be drawn at all.
#include "analysis/graph_samples.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <string>
#include <vector>

namespace {

using analysis::Complex;
using analysis::GraphCurve;
using analysis::GraphWindow;

analysis::Equation loaded(const std::string& text)
{
    analysis::Equation equation;
    EXPECT_TRUE(equation.load(text)) << text;
    return equation;
}

struct RunsRow {
    const char* name;
    const char* equation; ///< its left side is sampled
    GraphWindow window;
    std::vector<double> breaks; ///< where one run ends and the next begins, in order
    double start;               ///< where the first run begins (a domain edge or the window's left)
};

class CurveRuns : public testing::TestWithParam<RunsRow> {};

// No even point falls on a break, so that only the refinement finds it. Each gap between two runs
// holds its break, and its ends lie within a pixel of a wide picture from
// it or beyond the window's height (a pole); points go left to right.
TEST_P(CurveRuns, endAtEveryPoleJumpAndEdgeOnly)
{
    const RunsRow& row = GetParam();
    const analysis::Equation equation = loaded(row.equation);
    const GraphCurve curve = analysis::sampleCurve(equation.left(), row.window);
    ASSERT_EQ(curve.runs.size(), row.breaks.size() + 1);
    const double pixel = row.window.width() / 2000.0;
    EXPECT_NEAR(curve.runs.front().front().x, row.start, pixel);
    EXPECT_NEAR(curve.runs.back().back().x, row.window.xMax, 1e-12);
    for (std::size_t i = 0; i < row.breaks.size(); ++i) {
        const double end = curve.runs[i].back().x;
        const double next = curve.runs[i + 1].front().x;
        EXPECT_LE(end, row.breaks[i]) << i;
        EXPECT_GE(next, row.breaks[i]) << i;
        const auto isNearOrOff = [&](const analysis::GraphPoint& point) {
            return std::fabs(point.x - row.breaks[i]) < pixel || point.y < row.window.yMin ||
                   point.y > row.window.yMax;
        };
        EXPECT_TRUE(isNearOrOff(curve.runs[i].back())) << i << " ends at " << end;
        EXPECT_TRUE(isNearOrOff(curve.runs[i + 1].front())) << i << " starts at " << next;
    }
    for (const auto& run : curve.runs) {
        for (std::size_t k = 1; k < run.size(); ++k)
            EXPECT_LT(run[k - 1].x, run[k].x);
    }
}

constexpr double kPi = std::numbers::pi;

INSTANTIATE_TEST_SUITE_P(Graph, CurveRuns,
                         testing::Values(RunsRow{"smooth", "x^2-5*x+6=0", {-10, 10, -5, 50}, {}, -10},
                                         RunsRow{"steep_wave", "10*sin(x-1)=x", {-10, 10, -12, 12}, {}, -10},
                                         RunsRow{"tangent_poles",
                                                 "tan(x)=x",
                                                 {-5, 5, -10, 10},
                                                 {-1.5 * kPi, -0.5 * kPi, 0.5 * kPi, 1.5 * kPi},
                                                 -5},
                                         RunsRow{"simple_pole", "1/(x-1)=0", {-3, 3.1, -5, 5}, {1.0}, -3},
                                         RunsRow{"jump", "atn(1/x)=0", {-3, 3.1, -2, 2}, {0.0}, -3},
                                         RunsRow{"root_edge", "sqr(x)=1", {-4, 4, -1, 3}, {}, 0.0},
                                         RunsRow{"log_edge", "log(x-2)=0", {-4, 4, -5, 3}, {}, 2.0}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(GraphSamples, refinesNearPolesOnly)
{
    const GraphWindow window{-5, 5, -10, 10};
    const GraphCurve line = analysis::sampleCurve(loaded("2*x+1=0").left(), window);
    const GraphCurve tangent = analysis::sampleCurve(loaded("tan(x)=0").left(), window);
    EXPECT_LE(line.evaluations, 2 * analysis::kBaseSamples + 1);
    EXPECT_GT(tangent.evaluations, 3 * analysis::kBaseSamples);
    // Points crowd within 0.2 of the pole at pi/2 and not around the flat 0.
    int nearPole = 0;
    int nearZero = 0;
    for (const auto& run : tangent.runs) {
        for (const auto& point : run) {
            nearPole += std::fabs(point.x - 0.5 * kPi) < 0.2 ? 1 : 0;
            nearZero += std::fabs(point.x) < 0.2 ? 1 : 0;
        }
    }
    EXPECT_GT(nearPole, 4 * nearZero);
    EXPECT_EQ(line.evenValues.size(), static_cast<std::size_t>(analysis::kBaseSamples + 1));
}

TEST(GraphSamples, sideNotRealIsNotDrawn)
{
    // sqr(x) for x < 0 and log(x) for x <= 0 have imaginary parts: no point there.
    for (const char* text : {"sqr(x)=0", "log(x)=0", "sqr(-1)*x=0"}) {
        const GraphCurve curve = analysis::sampleCurve(loaded(text).left(), {-4, -0.5, -1, 1});
        EXPECT_TRUE(curve.runs.empty()) << text;
        EXPECT_TRUE(curve.evenValues.empty()) << text;
    }
}

struct RangeRow {
    const char* name;
    std::vector<Complex> solutions;
    std::vector<analysis::SolutionFamily> families;
    double xMin;
    double xMax;
};

class FirstRange : public testing::TestWithParam<RangeRow> {};

TEST_P(FirstRange, holdsEveryRealSolutionWithMargin)
{
    const RangeRow& row = GetParam();
    analysis::GraphInput input;
    input.outcome = analysis::GraphOutcome::Drawable;
    input.solutions = row.solutions;
    input.families = row.families;
    const auto [xMin, xMax] = analysis::chooseXRange(input);
    EXPECT_NEAR(xMin, row.xMin, 1e-9);
    EXPECT_NEAR(xMax, row.xMax, 1e-9);
}

INSTANTIATE_TEST_SUITE_P(Graph, FirstRange,
                         testing::Values(RangeRow{"none", {}, {}, -10, 10},
                                         RangeRow{"complex_only", {{1, 1}, {1, -1}}, {}, -10, 10},
                                         RangeRow{"two_close", {{2, 0}, {3, 0}}, {}, 1, 4},
                                         RangeRow{"spread", {{-10, 0}, {0, 1}, {10, 0}}, {}, -14, 14},
                                         RangeRow{"far_out", {{1000, 0}}, {}, 900, 1100},
                                         RangeRow{"family", {}, {{{0.5, 0}, {2, 0}}}, -2.5, 3.5}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(GraphSamples, realSolutionsListFamilyMembersInRange)
{
    analysis::GraphInput input;
    input.solutions = {{1.5, 0}, {2, 3}, {1.5, 0}};
    input.families = {{{0, 0}, {kPi, 0}}, {{0, 1}, {kPi, 0}}};
    const std::vector<double> xs = analysis::realSolutions(input, -4, 7);
    const std::vector<double> expected = {-kPi, 0, 1.5, kPi, 2 * kPi};
    ASSERT_EQ(xs.size(), expected.size());
    for (std::size_t i = 0; i < xs.size(); ++i)
        EXPECT_NEAR(xs[i], expected[i], 1e-12) << i;
}

TEST(GraphSamples, yLimitsKeepExtremesButNotPoles)
{
    const analysis::Equation parabola = loaded("x^2-5*x+6=0");
    analysis::GraphInput input;
    input.outcome = analysis::GraphOutcome::Drawable;
    input.solutions = {{2, 0}, {3, 0}};
    const analysis::GraphPicture picture = analysis::firstPicture(parabola, input);
    EXPECT_DOUBLE_EQ(picture.window.xMin, 1.0);
    EXPECT_DOUBLE_EQ(picture.window.xMax, 4.0);
    // y runs from -0.25 (at 2.5) to 2 (at 1 and 4): both inside, with room, and not far beyond.
    EXPECT_LT(picture.window.yMin, -0.25);
    EXPECT_GT(picture.window.yMin, -0.6);
    EXPECT_GT(picture.window.yMax, 2.0);
    EXPECT_LT(picture.window.yMax, 2.4);

    const analysis::GraphCurve tangent = analysis::sampleCurve(loaded("tan(x)=0").left(), {-10, 10, -1, 1});
    const auto [low, high] = analysis::robustYLimits({&tangent});
    EXPECT_GT(high, 3.0);
    EXPECT_LT(high, 40.0);
    EXPECT_LT(low, -3.0);
    EXPECT_GT(low, -40.0);

    const analysis::GraphCurve flat = analysis::sampleCurve(loaded("x=5").right(), {-10, 10, -1, 1});
    const auto [flatLow, flatHigh] = analysis::robustYLimits({&flat});
    EXPECT_DOUBLE_EQ(flatLow, 4.0);
    EXPECT_DOUBLE_EQ(flatHigh, 6.0);
}

struct TickRow {
    double low;
    double high;
    int maxTicks;
    std::vector<std::string> texts;
};

class Ticks : public testing::TestWithParam<TickRow> {};

TEST_P(Ticks, areNiceNumbersInside)
{
    const TickRow& row = GetParam();
    const double step = analysis::niceStep(row.low, row.high, row.maxTicks);
    std::vector<std::string> texts;
    for (const double tick : analysis::niceTicks(row.low, row.high, row.maxTicks)) {
        EXPECT_GE(tick, row.low);
        EXPECT_LE(tick, row.high);
        texts.push_back(analysis::tickText(tick, step));
    }
    EXPECT_EQ(texts, row.texts);
}

INSTANTIATE_TEST_SUITE_P(Graph, Ticks,
                         testing::Values(TickRow{0, 10, 5, {"0", "2", "4", "6", "8", "10"}},
                                         TickRow{-1.3, 1.2, 5, {"-1", "-0.5", "0", "0.5", "1"}},
                                         TickRow{-14, 14, 6, {"-10", "-5", "0", "5", "10"}},
                                         TickRow{0.00105, 0.0031, 5, {"0.0015", "0.002", "0.0025", "0.003"}},
                                         TickRow{900, 1100, 4, {"900", "950", "1000", "1050", "1100"}},
                                         TickRow{-3e6, 3e6, 3, {"-2e+06", "0", "2e+06"}}));

TEST(GraphSamples, complexPlane)
{
    std::vector<Complex> roots;
    for (int k = 0; k < 7; ++k)
        roots.push_back({std::cos(2 * kPi * k / 7), std::sin(2 * kPi * k / 7)});
    EXPECT_TRUE(analysis::isNearUnitCircle(roots));
    const GraphWindow around = analysis::complexWindow(roots);
    EXPECT_DOUBLE_EQ(around.width(), around.height());
    EXPECT_LE(around.xMin, -1.0);
    EXPECT_GE(around.xMax, 1.0);
    EXPECT_LE(around.yMin, -1.0);
    EXPECT_GE(around.yMax, 1.0);

    const std::vector<Complex> far = {{3, 4}};
    EXPECT_FALSE(analysis::isNearUnitCircle(far));
    const GraphWindow single = analysis::complexWindow(far);
    EXPECT_DOUBLE_EQ(single.xMin, 2.0);
    EXPECT_DOUBLE_EQ(single.yMax, 5.0);

    analysis::GraphInput input;
    input.solutions = {{1, 0}};
    input.families = {{{0, 0}, {0, 2 * kPi}}};
    EXPECT_EQ(analysis::complexPoints(input).size(), 6U); // 1 and the five members 2 pi k sqr(-1)
}

struct OutcomeRow {
    const char* equation;
    int errorNumber;
    analysis::GraphOutcome outcome;
};

TEST(GraphSamples, whatCanBeDrawn)
{
    const OutcomeRow rows[] = {
        {"x^2=4", 0, analysis::GraphOutcome::Drawable},
        {"a*x=1", 0, analysis::GraphOutcome::OtherLetters},
        {"x=1/0", 28, analysis::GraphOutcome::Drawable}, // the derivation's error; x is still a line
        {"tan(x)=x", 33, analysis::GraphOutcome::Drawable},
        {"x=", 9, analysis::GraphOutcome::EngineError},
    };
    for (const OutcomeRow& row : rows) {
        const analysis::GraphInput input = analysis::graphInput(row.equation, row.errorNumber, {}, {});
        EXPECT_EQ(input.outcome, row.outcome) << row.equation;
        EXPECT_EQ(input.errorNumber, row.errorNumber) << row.equation;
    }
    analysis::CheckResult verified;
    verified.verdict = analysis::CheckVerdict::Verified;
    verified.value = {2, 0};
    analysis::AllSolutions found;
    found.hasRun = true;
    found.solutions = {{{-2, 0}, analysis::CheckVerdict::Verified},
                       {{2, 0}, analysis::CheckVerdict::Verified}};
    const analysis::GraphInput input = analysis::graphInput("x^2=4", 0, verified, found);
    ASSERT_EQ(input.solutions.size(), 2U); // the derivation's 2 once
    EXPECT_EQ(input.solutions[0].re, 2.0);
    EXPECT_EQ(input.solutions[1].re, -2.0);
}

} // namespace
