// SPDX-License-Identifier: MIT
// The solving driver: line limit, error results, the letter cursor, normalisation and termination.
#include "engine/equation_solver.h"
#include "engine/formatting.h"
#include "engine/pieces.h"
#include "engine/solver_buffers.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <functional>
#include <ostream>
#include <string>
#include <vector>

namespace {

using engine::EquationSolver;
using engine::ErrorCode;
using engine::errorNumber;

std::vector<std::string> lines(const std::string& result)
{
    std::vector<std::string> out;
    std::size_t start = 0;
    while (start < result.size()) {
        const std::size_t end = result.find("\r\n", start);
        if (end == std::string::npos) {
            out.push_back(result.substr(start) + "<no CR LF>");
            break;
        }
        out.push_back(result.substr(start, end - start));
        start = end + 2;
    }
    return out;
}

std::string repeat(std::string_view text, int count)
{
    std::string out;
    for (int i = 0; i < count; ++i)
        out += text;
    return out;
}

// ---- line limit -------------------------------------------------------------------------------

// x*x^x=2 cycles for ever: A72 gives x^(1+x), B9 x^1*x^x, folding x*x^x, which collects to x^x*x.
TEST(SolverLineLimit, FirstLineAnd253ChangingPassesThenError33)
{
    EquationSolver solver;
    const std::string result = solver.Solve("x*x^x=2");
    const std::vector<std::string> out = lines(result);
    ASSERT_EQ(out.size(), 255u);
    EXPECT_EQ(out.front(), "x*x^x=2");
    const std::vector<std::string> cycle = {"x^(1+x)=2", "x^1*x^x=2", "x^x*x=2"};
    for (std::size_t i = 1; i < 254; ++i)
        ASSERT_EQ(out[i], cycle[(i - 1) % 3]) << "line " << i + 1;
    EXPECT_EQ(out[254] + "\r\n", solver.message(errorNumber(ErrorCode::TooManyLines)));
    EXPECT_EQ(solver.lastError(), ErrorCode::TooManyLines);
    auto buffers = std::make_unique<engine::SolverBuffers>();
    static_cast<void>(engine::solveEquation(*buffers, "x*x^x=2"));
    EXPECT_EQ(buffers->outputLineCounter, 255) << "the 255th line is rendered, counted and refused";
}

TEST(SolverLineLimit, TranslatedMessageFollowsTheLines)
{
    EquationSolver solver;
    solver.SetMessage(errorNumber(ErrorCode::TooManyLines), "ZU VIELE ZEILEN");
    const std::string result = solver.Solve("x*x^x=2");
    ASSERT_GE(result.size(), 19u);
    EXPECT_TRUE(result.ends_with("x^(1+x)=2\r\nZU VIELE ZEILEN\r\n"));
}

// ---- error results ----------------------------------------------------------------------------

struct ErrorRow {
    const char* name;
    std::string input;
    int code;
};

void PrintTo(const ErrorRow& row, std::ostream* out)
{
    *out << row.input;
}

class SolverErrors : public testing::TestWithParam<ErrorRow> {};

TEST_P(SolverErrors, EndTheSolveWithTheMessageAloneAndSetLastError)
{
    const ErrorRow& row = GetParam();
    EquationSolver solver;
    const std::string result = solver.Solve(row.input);
    EXPECT_EQ(errorNumber(solver.lastError()), row.code) << result;
    if (row.code >= 25) {
        EXPECT_EQ(result, solver.message(row.code));
    } else {
        EXPECT_TRUE(result.starts_with("ERROR " + std::to_string(row.code) + ":")) << result;
    }
    EXPECT_EQ(lines(result).size(), 1u);
}

// clang-format off: one row per line
INSTANTIATE_TEST_SUITE_P(
    Codes, SolverErrors,
    testing::Values(ErrorRow{"Empty", "", 2}, ErrorRow{"TooManyCharacters", "x=" + repeat("1+", 127), 3},
                    ErrorRow{"IllegalAfterLetter", "x2=1", 19}, ErrorRow{"NoX", "y=1", 21},
                    // Clearing the fraction multiplies nine terms by a 35-piece divisor: 343 pieces.
                    ErrorRow{"TooLong", "a/(x+b+c+d+e+f+g+h+i+j+k+l+m+n+o+p+q)+x+a+b+c+d+e+f+g=1", 25},
                    // A1 wraps 1+x*2 in two more parentheses at depth 29.
                    ErrorRow{"TooDeep", "1=" + repeat("2*(1+", 29) + "x+x" + repeat(")", 29), 26},
                    ErrorRow{"Overflow", "x=1000000000*1000000000*10", 27},
                    ErrorRow{"DivisionByZero", "x=7/0", 28}, ErrorRow{"LogOfZero", "x=log(0)", 29},
                    ErrorRow{"LgtOfZero", "x=lgt(0)", 30}, ErrorRow{"AtnOfI", "x=atn(sqr(-1))", 31},
                    ErrorRow{"AhtOfOne", "x=aht(1)", 32},
                    // Folding ends in 1/0 only after forty lines; those lines are dropped.
                    ErrorRow{"DivisionByZeroAfterManyLines", "x=1/(2-2" + repeat("*1", 40) + ")", 28}),
    [](const testing::TestParamInfo<ErrorRow>& info) { return std::string(info.param.name); });
// clang-format on

TEST(SolverErrors, ManyLinesPrecedeTheFailingFold)
{
    // The same folds without the division: the lines the failing solve dropped.
    EquationSolver solver;
    const std::string result = solver.Solve("x=1+(2-2" + repeat("*1", 40) + ")");
    EXPECT_EQ(solver.lastError(), ErrorCode::None);
    EXPECT_GE(lines(result).size(), 41u);
    EXPECT_TRUE(result.ends_with("x=1\r\n")) << result;
}

TEST(SolverErrors, LastErrorIsResetBySuccessfulSolve)
{
    EquationSolver solver;
    static_cast<void>(solver.Solve("x=7/0"));
    ASSERT_EQ(solver.lastError(), ErrorCode::DivisionByZero);
    EXPECT_EQ(solver.Solve("x=5"), "x=5\r\n");
    EXPECT_EQ(solver.lastError(), ErrorCode::None);
}

// ---- letter pass ------------------------------------------------------------------------------

TEST(SolverLetterPass, CursorIsKeptAcrossPasses)
{
    EquationSolver solver;
    // Letter a finds no rule; b cancels b/b (A10), leaving sin(a)+sin(a). The cursor has passed a,
    // so the two terms stay apart...
    EXPECT_EQ(lines(solver.Solve("x-x=sin(a)+sin(a*b/b)")),
              (std::vector<std::string>{"x-x=sin(a)+sin(a*b/b)", "0=sin(a)+sin(a*b/b)", "0=sin(a)+sin(a)"}));
    // ...while a solve that meets them with the cursor at a collects them (A5).
    EXPECT_EQ(lines(solver.Solve("x-x=sin(a)+sin(a)")),
              (std::vector<std::string>{"x-x=sin(a)+sin(a)", "0=sin(a)+sin(a)", "0=sin(a)*2"}));
}

TEST(SolverLetterPass, CursorStartsAtAForEverySolve)
{
    EquationSolver solver;
    const std::string first = solver.Solve("x-x=sin(a)+sin(a)");
    static_cast<void>(solver.Solve("x-x=sin(a)+sin(a*b/b)"));
    EXPECT_EQ(solver.Solve("x-x=sin(a)+sin(a)"), first);
}

// ---- Normalise --------------------------------------------------------------------------------

TEST(SolverNormalise, ReportsTooLongAt256Pieces)
{
    auto buffers = std::make_unique<engine::SolverBuffers>();
    ASSERT_EQ(engine::loadEquation(*buffers, "x=1"), ErrorCode::None);
    engine::PieceString& pieces = buffers->pieces;
    // x=1+1+...: 2 + 1 + 2 * 126 = 255 pieces is allowed, one more sign and operand is not.
    for (int i = 0; i < 126; ++i)
        pieces.insert(pieces.length(), std::string_view("+\x81", 2));
    ASSERT_EQ(pieces.length(), 255);
    EXPECT_EQ(engine::Normalise(*buffers, 'x'), ErrorCode::None);
    pieces.insert(pieces.length(), std::string_view("+\x81", 2));
    EXPECT_EQ(engine::Normalise(*buffers, 'x'), ErrorCode::TooManyPieces);
}

TEST(SolverNormalise, ReportsTooLongForARefusedEdit)
{
    auto buffers = std::make_unique<engine::SolverBuffers>();
    ASSERT_EQ(engine::loadEquation(*buffers, "x=1"), ErrorCode::None);
    EXPECT_FALSE(buffers->pieces.insert(0, std::string(engine::PieceString::kCapacity, '+')));
    ASSERT_TRUE(buffers->pieces.hasOverflowed());
    EXPECT_EQ(engine::Normalise(*buffers, 'x'), ErrorCode::TooManyPieces);
}

TEST(SolverNormalise, ReportsNestingBeyondThirty)
{
    auto buffers = std::make_unique<engine::SolverBuffers>();
    ASSERT_EQ(engine::loadEquation(*buffers, "x=2*(1+x)"), ErrorCode::None);
    engine::PieceString& pieces = buffers->pieces;
    pieces.truncate(0);
    pieces.insert(0, "x=2*" + repeat("(", 31) + "x" + repeat(")", 31));
    EXPECT_EQ(engine::Normalise(*buffers, 'x'), ErrorCode::TooDeeplyNested);
}

TEST(SolverNormalise, SimplifiesAndCollectsForTheGivenLetter)
{
    auto buffers = std::make_unique<engine::SolverBuffers>();
    ASSERT_EQ(engine::loadEquation(*buffers, "x*2=(b)+a*3"), ErrorCode::None);
    ASSERT_EQ(engine::Normalise(*buffers, 'x'), ErrorCode::None);
    EXPECT_EQ(engine::renderPieces(buffers->pieces, buffers->levels, buffers->pool), "2*x=b+a*3");
    // For the letter a its factor 3 moves left; levels stay current for the new pieces.
    ASSERT_EQ(engine::Normalise(*buffers, 'a'), ErrorCode::None);
    EXPECT_EQ(engine::renderPieces(buffers->pieces, buffers->levels, buffers->pool), "2*x=b+3*a");
    engine::LevelString fresh;
    ASSERT_TRUE(engine::ComputeLevels(buffers->pieces, fresh));
    for (int i = 0; i <= buffers->pieces.length(); ++i)
        EXPECT_EQ(fresh[i], buffers->levels[i]) << "level " << i;
}

// ---- results ----------------------------------------------------------------------------------

struct RootRow {
    const char* name;
    const char* input;
    std::function<double(double)> residual; // zero at a root
};

void PrintTo(const RootRow& row, std::ostream* out)
{
    *out << row.input;
}

class SolverRoots : public testing::TestWithParam<RootRow> {};

// The last line x=<number> must satisfy the equation to the six printed digits.
TEST_P(SolverRoots, LastLineSolvesTheEquation)
{
    const RootRow& row = GetParam();
    EquationSolver solver;
    const std::vector<std::string> out = lines(solver.Solve(row.input));
    ASSERT_FALSE(out.empty());
    ASSERT_EQ(solver.lastError(), ErrorCode::None);
    const std::string& last = out.back();
    ASSERT_TRUE(last.starts_with("x=")) << last;
    char* end = nullptr;
    const double x = std::strtod(last.c_str() + 2, &end);
    ASSERT_EQ(*end, '\0') << "not a real number: " << last;
    EXPECT_NEAR(row.residual(x), 0.0, 1e-4) << last;
}

INSTANTIATE_TEST_SUITE_P(
    Equations, SolverRoots,
    testing::Values(RootRow{"Linear", "3*x+4=10", [](double x) { return 3 * x + 4 - 10; }},
                    RootRow{"Quadratic", "x^2-5*x+6=0", [](double x) { return x * x - 5 * x + 6; }},
                    RootRow{"FractionCleared", "1/x+x=2", [](double x) { return 1 / x + x - 2; }},
                    RootRow{"SearchSine", "x=10*sin(x-1)", [](double x) { return 10 * std::sin(x - 1) - x; }},
                    RootRow{"SearchCubic", "x^3+x=1", [](double x) { return x * x * x + x - 1; }},
                    RootRow{"SearchPower", "x^x=2", [](double x) { return std::pow(x, x) - 2; }},
                    RootRow{"Exponential", "2^x=8", [](double x) { return std::pow(2.0, x) - 8; }},
                    RootRow{"Logarithm", "log(x)=2", [](double x) { return std::log(x) - 2; }},
                    RootRow{"Radical", "sqr(x+1)=3", [](double x) { return std::sqrt(x + 1) - 3; }}),
    [](const testing::TestParamInfo<RootRow>& info) { return std::string(info.param.name); });

TEST(SolverResults, SecondSolveGivesTheSameTextAfterOtherSolves)
{
    EquationSolver solver;
    const std::string first = solver.Solve("x=10*sin(x-1)");
    static_cast<void>(solver.Solve("x=1.5+2.5+3.5+4.5+5.5+6.5+7.5+8.5"));
    static_cast<void>(solver.Solve("x*x^x=2"));
    EXPECT_EQ(solver.Solve("x=10*sin(x-1)"), first);
}

TEST(SolverResults, SearchIsNotTriedWithOtherLetters)
{
    EquationSolver solver;
    const std::vector<std::string> out = lines(solver.Solve("a*x^2+x=1"));
    ASSERT_FALSE(out.empty());
    EXPECT_NE(out.back().find('a'), std::string::npos) << out.back();
}

// ---- termination ------------------------------------------------------------------------------

/// Small deterministic generator of equations a user might type, valid and invalid.
class EquationGenerator {
public:
    explicit EquationGenerator(std::uint32_t seed) : m_state(seed) {}

    std::string equation()
    {
        if (next(10) == 0) {
            // Arbitrary printable bytes: mostly validation faults.
            std::string text;
            const int length = static_cast<int>(next(30));
            for (int i = 0; i < length; ++i)
                text += static_cast<char>(33 + next(95));
            return text;
        }
        return expression(0) + "=" + expression(0);
    }

private:
    std::uint32_t next(std::uint32_t bound)
    {
        m_state = m_state * 1664525u + 1013904223u;
        return (m_state >> 8) % bound;
    }

    std::string operand()
    {
        static const char* const kOperands[] = {"x",  "x", "x", "2", "3", "0.5",
                                                "10", "1", "0", "a", "b", "-x"};
        return kOperands[next(sizeof kOperands / sizeof kOperands[0])];
    }

    std::string expression(int depth)
    {
        static const char* const kFunctions[] = {"sin", "cos", "tan", "sqr", "exp", "log", "lgt", "asn",
                                                 "acs", "atn", "hsn", "hcs", "htn", "ahs", "ahc", "aht"};
        static const char kOperators[] = "+-*/^";
        std::string text = operand();
        const int terms = static_cast<int>(next(depth > 2 ? 2 : 4));
        for (int i = 0; i < terms; ++i) {
            text += kOperators[next(5)];
            switch (next(4)) {
            case 0:
                text += kFunctions[next(16)] + std::string("(") + expression(depth + 1) + ")";
                break;
            case 1:
                text += "(" + expression(depth + 1) + ")";
                break;
            default:
                text += operand();
                break;
            }
        }
        return text;
    }

    std::uint32_t m_state;
};

TEST(SolverTermination, EverySolveEndsWithAtMost254LinesBeforeAMessage)
{
    EquationSolver solver;
    EquationGenerator generator(20240607u);
    for (int n = 0; n < 120; ++n) {
        const std::string input = generator.equation();
        SCOPED_TRACE(input);
        const std::string result = solver.Solve(input);
        ASSERT_TRUE(result.ends_with("\r\n"));
        const std::vector<std::string> out = lines(result);
        ASSERT_LE(out.size(), 255u);
        const ErrorCode error = solver.lastError();
        for (std::size_t i = 0; i + 1 < out.size(); ++i)
            ASSERT_FALSE(out[i].starts_with("ERROR ")) << "only the last line may be a message";
        if (out.size() == 255u) {
            EXPECT_EQ(error, ErrorCode::TooManyLines);
        }
        if (error != ErrorCode::None && error != ErrorCode::TooManyLines) {
            EXPECT_EQ(out.size(), 1u) << "an error other than 33 returns its message alone";
        }
        EXPECT_EQ(error != ErrorCode::None, out.back().starts_with("ERROR ")) << result;
    }
}

} // namespace
