// SPDX-License-Identifier: MIT
// Number texts, constant printing, the line limit and the dressing of solution texts.
#include "engine/equation_solver.h"
#include "engine/formatting.h"
#include "engine/solver_buffers.h"

#include <gtest/gtest.h>

#include <bit>
#include <cfloat>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <random>
#include <string>
#include <vector>

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

// The number text built the way the C library defines it: "%.5e" (this test process keeps the C
// locale), then the exponent trimmed, six zeros padded on each side and the point moved for fixed
// notation, and the leading and trailing zeros removed.
std::string referenceDecimal(double value)
{
    char printed[64];
    std::snprintf(printed, sizeof printed, "%.5e", value);
    std::string text = printed;
    std::size_t e = text.find('e');
    if (e == std::string::npos)
        return text;
    std::size_t digits = e + 1;
    if (text[digits] == '+')
        text.erase(digits, 1);
    else if (text[digits] == '-')
        ++digits;
    while (digits + 1 < text.size() && text[digits] == '0')
        text.erase(digits, 1);
    if ((value > -1000000.0 && value < -0.000001) || (value > 0.000001 && value < 1000000.0)) {
        text.insert(text[0] == '-' ? 1 : 0, "000000");
        text.insert(text.find('e'), "000000");
        e = text.find('e');
        const int exponent = std::atoi(text.c_str() + e + 1);
        text.erase(e);
        const std::size_t point = text.find('.');
        text.erase(point, 1);
        text.insert(static_cast<std::size_t>(static_cast<int>(point) + exponent), 1, '.');
    }
    const std::size_t start = text[0] == '-' ? 1 : 0;
    while (start + 1 < text.size() && text[start] == '0' && text[start + 1] != '.')
        text.erase(start, 1);
    e = text.find('e');
    std::size_t end = e == std::string::npos ? text.size() : e;
    if (text.find('.') < end) {
        while (text[end - 1] == '0')
            text.erase(--end, 1);
        if (text[end - 1] == '.')
            text.erase(--end, 1);
    }
    return text;
}

// Every value the reference can be asked about: the bounds of fixed notation and their neighbours,
// values that round up to the next power of ten, values at and next to halfway points of the sixth
// digit, signed zeros, the extremes, subnormals, and random doubles of every magnitude and bit
// pattern.
TEST(FormatDecimal, SameTextAsTheCLibrary)
{
    std::vector<double> values = {0.0,      -0.0,         1e6,         -1e6,         1e-6,         -1e-6,
                                  999999.5, 999999.49999, 9.999995e-7, 9.9999949e-7, 1e18,         -1e18,
                                  1e-18,    -1e-18,       DBL_MAX,     DBL_MIN,      DBL_TRUE_MIN, -DBL_MAX,
                                  HUGE_VAL, -HUGE_VAL,    NAN};
    for (const double bound : {1e6, 1e-6, 1e5, 1e-5, 1.0, 10.0, 0.1}) {
        double below = bound;
        double above = bound;
        for (int step = 0; step < 4; ++step) {
            below = std::nextafter(below, 0.0);
            above = std::nextafter(above, HUGE_VAL);
            values.insert(values.end(), {below, above, -below, -above});
        }
    }
    for (int power = -20; power <= 20; ++power) {
        const double scale = std::pow(10.0, power);
        values.insert(values.end(),
                      {9.999995 * scale, 9.9999949 * scale, -9.999995 * scale, 1.000005 * scale});
    }
    std::mt19937_64 random(20261208u);
    // Halfway between two six-digit values, and one binary place either side of it.
    std::uniform_int_distribution<int> sixDigits(100000, 999999);
    std::uniform_int_distribution<int> power(-12, 12);
    for (int i = 0; i < 20000; ++i) {
        const double tie = (sixDigits(random) + 0.5) * std::pow(10.0, power(random));
        values.insert(values.end(), {tie, std::nextafter(tie, 0.0), std::nextafter(tie, HUGE_VAL)});
    }
    std::uniform_real_distribution<double> mantissa(-10.0, 10.0);
    std::uniform_int_distribution<int> exponent(-25, 25);
    for (int i = 0; i < 100000; ++i) {
        values.push_back(mantissa(random) * std::pow(10.0, exponent(random)));
        values.push_back(std::bit_cast<double>(random()));
    }
    for (const double value : values)
        ASSERT_EQ(engine::FormatDecimal(value), referenceDecimal(value)) << std::hexfloat << value;
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
