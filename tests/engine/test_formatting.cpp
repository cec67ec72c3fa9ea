// SPDX-License-Identifier: MIT
// Number texts, constant printing, the line limit and the dressing of solution texts.
#include "engine/equation_solver.h"
#include "engine/formatting.h"
#include "engine/solver_buffers.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

namespace {

using engine::EquationSolver;

TEST(FormatDecimal, SixSignificantDigits)
{
    struct Row {
        double value;
        const char* text;
    };
    const Row rows[] = {
        {3.14159265358979, "3.14159"},
        {2.5, "2.5"},
        {-2.5, "-2.5"},
        {7.999999999999998, "8"},
        {0.333333333333, "0.333333"},
        {0.001, "0.001"},
        {0.0000012, "0.0000012"},
        {0.000001, "1e-6"},
        {123456.7, "123457"},
        {999999.7, "1000000"},
        {1000000, "1e6"},
        {1234567, "1.23457e6"},
        {-0.00000025, "-2.5e-7"},
        {1000000000000000000.0, "1e18"},
        {1e-18, "1e-18"},
        {-999999.7, "-1000000"},
        {-0.5, "-0.5"},
        {100, "100"},
        {0.1, "0.1"},
        {-1234567, "-1.23457e6"},
        {2.5e-10, "2.5e-10"},
    };
    for (const Row& row : rows)
        EXPECT_EQ(engine::FormatDecimal(row.value), row.text) << row.value;
}

// Renders equation after giving its first own constant (code 0x8B) the value re + im i.
std::string renderWithValue(const char* equation, double re, double im)
{
    auto buffers = std::make_unique<engine::SolverBuffers>();
    EXPECT_EQ(engine::loadEquation(*buffers, equation), engine::ErrorCode::None) << equation;
    buffers->pool.re[0x0B] = re;
    buffers->pool.im[0x0B] = im;
    return engine::renderPieces(buffers->pieces, buffers->levels, buffers->pool);
}

TEST(FormatLine, ConstantsWithTheirBrackets)
{
    struct Row {
        const char* name;
        const char* equation; // 3 stands for the constant being printed
        double re, im;
        const char* text;
    };
    const Row rows[] = {
        {"ComplexAlone", "x=3", 3, 2, "x=3+2*sqr(-1)"},
        {"ComplexNegativeImaginary", "x=3", 3, -2, "x=3-2*sqr(-1)"},
        {"ComplexBeforeSign", "x=3+y", 3, 2, "x=3+2*sqr(-1)+y"},
        {"ComplexFactor", "x=y*3", 3, 2, "x=y*(3+2*sqr(-1))"},
        {"ComplexFirstFactor", "x=3*y", 3, 2, "x=(3+2*sqr(-1))*y"},
        {"ComplexBase", "x=3^y", 3, 2, "x=(3+2*sqr(-1))^y"},
        {"ComplexAfterMinus", "x=y-3", 3, -2, "x=y-(3-2*sqr(-1))"},
        {"ComplexInParens", "x=(3)", 3, 2, "x=(3+2*sqr(-1))"},
        {"NegativeAlone", "x=3", -2, 0, "x=-2"},
        {"NegativeBase", "x=3^y", -2, 0, "x=(-2)^y"},
        {"NegativeFactor", "x=y*3", -2, 0, "x=y*-2"},
        {"NegativeExponent", "x=y^3", -2, 0, "x=y^-2"},
        {"ImaginaryAlone", "x=3", 0, 2, "x=2*sqr(-1)"},
        {"ImaginaryMinusOne", "x=3", 0, -1, "x=-1*sqr(-1)"},
        {"ImaginaryFactor", "x=y*3", 0, 2, "x=y*(2*sqr(-1))"},
        {"ImaginaryBase", "x=3^y", 0, 2, "x=(2*sqr(-1))^y"},
        {"ImaginaryTerm", "x=y-3", 0, 2, "x=y-2*sqr(-1)"},
        {"Zero", "x=3*y", 0, 0, "x=0*y"},
        {"LargeAndSmallParts", "x=3", 1234567, 0.0000012, "x=1.23457e6+0.0000012*sqr(-1)"},
    };
    for (const Row& row : rows)
        EXPECT_EQ(renderWithValue(row.equation, row.re, row.im), row.text) << row.name;
}

TEST(FormatLine, FunctionsAndNumbersPrintBack)
{
    struct Row {
        const char* input;
        const char* line;
    };
    const Row rows[] = {
        {"2*sin(x)=1", "2*sin(x)=1"},
        {"x=1000000", "x=1e6"},
        {"x=999999.7", "x=1000000"},
        {"x=0", "x=0"},
        {"acs(x)+ahc(x)+ahs(x)+aht(x)=asn(x)+atn(x)+cos(x)+exp(x)",
         "acs(x)+ahc(x)+ahs(x)+aht(x)=asn(x)+atn(x)+cos(x)+exp(x)"},
        {"hcs(x)+hsn(x)+htn(x)+lgt(x)=log(x)+sin(x)+sqr(x)+tan(x)",
         "hcs(x)+hsn(x)+htn(x)+lgt(x)=log(x)+sin(x)+sqr(x)+tan(x)"},
    };
    for (const Row& row : rows) {
        auto buffers = std::make_unique<engine::SolverBuffers>();
        ASSERT_EQ(engine::loadEquation(*buffers, row.input), engine::ErrorCode::None) << row.input;
        EXPECT_EQ(engine::FormatLine(buffers->pieces, buffers->levels, engine::kFunctionTokenTable,
                                     buffers->pool, buffers->outputLineCounter),
                  std::string(row.line) + "\r\n");
    }
}

TEST(FormatLine, RefusesThe255thLine)
{
    auto buffers = std::make_unique<engine::SolverBuffers>();
    ASSERT_EQ(engine::loadEquation(*buffers, "x=5"), engine::ErrorCode::None);
    for (int line = 1; line <= 254; ++line) {
        ASSERT_EQ(engine::FormatLine(buffers->pieces, buffers->levels, engine::kFunctionTokenTable,
                                     buffers->pool, buffers->outputLineCounter),
                  "x=5\r\n")
            << line;
    }
    EXPECT_EQ(engine::FormatLine(buffers->pieces, buffers->levels, engine::kFunctionTokenTable, buffers->pool,
                                 buffers->outputLineCounter),
              "");
    EXPECT_EQ(buffers->outputLineCounter, 255);
}

TEST(DecorateSolution, SpacesNumbersAndMarker)
{
    struct Row {
        const char* name;
        const char* solution;
        bool spaces, numbers;
        const char* equivalence;
        const char* shown;
    };
    const Row rows[] = {
        {"AllOn", "x+1=2\r\nx=2-1\r\nx=1\r\n", true, true, "<=> ",
         "x + 1 = 2\r\n1) <=> x = 2 - 1\r\n2) <=> x = 1\r\n"},
        {"AllOff", "x+1=2\r\nx=2-1\r\n", false, false, "", "x+1=2\r\nx=2-1\r\n"},
        {"NumbersWithoutMarker", "x=1\r\nx=2\r\n", false, true, "", "x=1\r\n1) x=2\r\n"},
        {"MarkerOnly", "x=1\r\nx=2\r\n", false, false, "<=> ", "x=1\r\n<=> x=2\r\n"},
        {"SignsAndParens", "x=-(a^2)\r\n", true, false, "<=> ", "x =  - (a ^ 2)\r\n"},
        {"ErrorMessage", "ERROR 22: Equation contains no '='!\r\n", true, true, "<=> ",
         "ERROR 22: Equation contains no ' = '!\r\n"},
        {"OperatorAsLastByte", "x=", true, false, "", "x="},
        {"LineFeedAsLastByte", "x=1\n", true, true, "<=> ", "x = 1\n"},
    };
    for (const Row& row : rows) {
        EXPECT_EQ(
            EquationSolver::DecorateSolution(row.solution, row.spaces, true, row.equivalence, row.numbers),
            row.shown)
            << row.name;
    }
    EXPECT_EQ(EquationSolver::DecorateSolution("x=1\r\nx=2\r\n", false, false, "<=> ", false),
              "x=1\r\nx=2\r\n");
}

TEST(StripEquation, KeepsOnlyPrintableAscii)
{
    EXPECT_EQ(EquationSolver::StripEquation(" x = 1\t\r\n"), "x=1");
    EXPECT_EQ(EquationSolver::StripEquation(std::string("x\0=\x7f\xc3\xa4\x80\xff"
                                                        "2",
                                                        9)),
              "x=\x7f"
              "2");
    EXPECT_EQ(EquationSolver::StripEquation(""), "");
}

} // namespace
