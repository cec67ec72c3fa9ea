// SPDX-License-Identifier: MIT
// Constant folding: one step per call, the zero, one and sign checks, function values and failures.
#include "engine/constant_folding.h"
#include "engine/formatting.h"
#include "engine/pieces.h"
#include "engine/solver_buffers.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace {

using engine::Complex;
using engine::EvaluationResult;
using engine::SolverBuffers;
using engine::StoreResult;

/// One solver with an equation, folded the way the driver does: EvaluateConstants, then the
/// levels recomputed for the changed pieces.
class Folding {
public:
    Folding() : m_buffers(std::make_unique<SolverBuffers>()) {}

    /// Validates and tokenises text; returns the loader's error code.
    engine::ErrorCode load(std::string_view text) { return engine::loadEquation(*m_buffers, text); }

    /// Writes the pieces directly, every '?' replaced by the token of the next value: for
    /// constants the input cannot spell (negative or complex values) and for long equations.
    void build(std::string_view text, const std::vector<Complex>& values)
    {
        engine::writePresets(m_buffers->pool);
        engine::writePresets(m_buffers->trialPool);
        engine::PieceString& pieces = m_buffers->pieces;
        ASSERT_TRUE(pieces.assign(text));
        std::size_t next = 0;
        for (int i = 0; i < pieces.length(); ++i) {
            if (pieces[i] != '?')
                continue;
            ASSERT_LT(next, values.size());
            ASSERT_EQ(engine::StoreConstant(pieces, i, m_buffers->pool, values[next++]), StoreResult::Stored);
        }
        ASSERT_EQ(next, values.size());
        ASSERT_TRUE(engine::ComputeLevels(pieces, m_buffers->levels));
    }

    /// Loads a table row: typed text, or text with '?' placeholders when values are given.
    void prepare(const char* input, const std::vector<Complex>& values)
    {
        if (values.empty()) {
            ASSERT_EQ(load(input), engine::ErrorCode::None) << input;
        } else {
            build(input, values);
        }
    }

    EvaluationResult step()
    {
        SolverBuffers& s = *m_buffers;
        const EvaluationResult result = engine::EvaluateConstants(s.pieces, s.levels, s.pool);
        EXPECT_TRUE(engine::ComputeLevels(s.pieces, s.levels));
        // Looking at the piece before the first must not count as an edit outside the string.
        EXPECT_FALSE(s.pieces.hasOverflowed());
        return result;
    }

    /// Folds until a call changes nothing or fails (bounded, so a fault cannot hang the test).
    EvaluationResult foldAll()
    {
        EvaluationResult result = EvaluationResult::Folded;
        for (int calls = 0; calls < 100 && result == EvaluationResult::Folded; ++calls)
            result = step();
        return result;
    }

    [[nodiscard]] std::string text() const
    {
        SolverBuffers& s = *m_buffers;
        return engine::renderPieces(s.pieces, s.levels, s.pool);
    }
    [[nodiscard]] int count() const { return m_buffers->pieces.length(); }
    [[nodiscard]] unsigned char piece(int i) const { return m_buffers->pieces[i]; }
    [[nodiscard]] Complex value(unsigned char code) const { return m_buffers->pool.value(code); }

private:
    std::unique_ptr<SolverBuffers> m_buffers;
};

struct Step {
    std::string text;
    int pieces; // the rendering alone cannot tell a sign piece from a negative constant
};

struct StepRow {
    const char* name;
    const char* input;
    std::vector<Complex> values; // non-empty: input is built with '?' placeholders
    std::vector<Step> steps;     // the equation after each call; then a call changes nothing
};

void runStepRows(const std::vector<StepRow>& rows)
{
    for (const StepRow& row : rows) {
        SCOPED_TRACE(row.name);
        Folding folding;
        folding.prepare(row.input, row.values);
        if (::testing::Test::HasFatalFailure())
            continue;
        for (std::size_t k = 0; k < row.steps.size(); ++k) {
            ASSERT_EQ(folding.step(), EvaluationResult::Folded) << "call " << k + 1;
            EXPECT_EQ(folding.text(), row.steps[k].text) << "call " << k + 1;
            EXPECT_EQ(folding.count(), row.steps[k].pieces) << "call " << k + 1;
        }
        const std::string before = folding.text();
        const int piecesBefore = folding.count();
        EXPECT_EQ(folding.step(), EvaluationResult::Unchanged) << "final call";
        EXPECT_EQ(folding.text(), before);
        EXPECT_EQ(folding.count(), piecesBefore);
    }
}

TEST(EvaluateConstants, FoldsSumsProductsAndPowersOneStepPerCall)
{
    runStepRows({
        {"Sum", "x=2+3", {}, {{"x=5", 3}}},
        {"ProductChainTakesTwoCalls", "x=2*3*4", {}, {{"x=6*4", 5}, {"x=24", 3}}},
        {"DifferenceGivesOneNegativeConstant", "x=2-5", {}, {{"x=-3", 3}}},
        {"SumAcrossALetter", "x=2+a+3", {}, {{"x=5+a", 5}}},
        {"SumSkipsAStrongerProduct", "x=2+3*a+4", {}, {{"x=6+3*a", 7}}},
        {"SumSkipsDeeperParentheses", "x=2+(a)+3", {}, {{"x=5+(a)", 7}}},
        {"LeadingMinusGoesIntoTheSum", "x=-2+5", {}, {{"x=+3", 4}}},
        {"TwoSubtractions", "x=a-2-5", {}, {{"x=a+-7", 5}, {"x=a-7", 5}}},
        {"Quotient", "x=6/3", {}, {{"x=2", 3}}},
        {"OneOverFiveByTheProductRule", "x=1/5", {}, {{"x=0.2", 3}}},
        {"DivisionChain", "x=a/2/4", {}, {{"x=a*0.125", 5}}},
        {"FactorOverDivisor", "x=2*a/4", {}, {{"x=0.5*a", 5}}},
        {"DivisorTimesFactor", "x=a/2*3", {}, {{"x=a*1.5", 5}}},
        {"ConstantsAroundALetter", "x=2*a*3", {}, {{"x=6*a", 5}}},
        {"LeftmostFirst", "x=2*3+4*5", {}, {{"x=6+4*5", 7}, {"x=6+20", 5}, {"x=26", 3}}},
        {"PartnerStopsAtAWeakerOperator", "x=2*a+3", {}, {}},
        {"Power", "x=2^3", {}, {{"x=8", 3}}},
        {"PowersReadFromTheLeft", "x=2^3^2", {}, {{"x=8^2", 5}, {"x=64", 3}}},
        {"ProductWaitsForThePower", "x=4*2^3", {}, {{"x=4*8", 5}, {"x=32", 3}}},
        {"HalfPower", "x=4^0.5", {}, {{"x=2", 3}}},
        {"ChainedExponentsMultiply", "x=a^2^3", {}, {{"x=a^6", 5}}},
        {"ExactlyTenToTheEighteen", "x=1000000000*1000000000", {}, {{"x=1e18", 3}}},
        {"FunctionOnceItsArgumentIsOneConstant", "x=sqr(9+7)", {}, {{"x=sqr(16)", 6}, {"x=4", 3}}},
        {"FunctionOfAnExpressionStays", "x=sin(2*a)", {}, {}},
        {"CancellingSum", "x=3-3", {}, {{"x=0", 3}}},
        {"RoundingResidueCancels", "x=0.1+0.2-0.3", {}, {{"x=0.3-0.3", 5}, {"x=0", 3}}},
        {"SumAtTheStart", "2+3=x", {}, {{"5=x", 3}}},
        {"ProductAtTheStart", "2*3*x=1", {}, {{"6*x=1", 5}}},
        {"ConstantAloneAtTheStart", "3*x+4=10", {}, {}},
        {"LeadingMinusAtTheStart", "-3=x", {}, {{"-3=x", 3}}},
        {"ZeroProductAtTheStart", "0*a=x", {}, {{"0=x", 3}}},
        {"OneTimesAtTheStart", "1*a=x", {}, {{"a=x", 3}}},
        {"NegativeBaseGivesComplexRoot",
         "x=?^?",
         {{-8.0, 0.0}, {0.3333333333, 0.0}},
         {{"x=1+1.73205*sqr(-1)", 3}}},
    });
}

TEST(EvaluateConstants, ZeroAndOneChecks)
{
    runStepRows({
        {"MinusZeroBecomesPlusZero", "x=a-0", {}, {{"x=a+0", 5}, {"x=a", 3}}},
        {"LeadingZeroBeforeASign", "x=0-a", {}, {{"x=-a", 4}}},
        {"ZeroTermDisappears", "x=a+0+b", {}, {{"x=a+b", 5}}},
        {"ZeroStartsAProduct", "x=0*a/b", {}, {{"x=0", 3}}},
        {"ZeroOverZero", "x=0/0", {}, {{"x=0", 3}}},
        {"ZeroOverSeven", "x=0/7", {}, {{"x=0", 3}}},
        {"ZeroProductInASum", "x=0*a+b", {}, {{"x=0+b", 5}, {"x=+b", 4}}},
        {"ZeroEndsAProduct", "x=a*b*0", {}, {{"x=0", 3}}},
        {"ZeroFactorInASum", "x=b+a*0", {}, {{"x=b+0", 5}, {"x=b", 3}}},
        {"ZeroToTheZero", "x=0^0", {}, {{"x=0", 3}}},
        {"ZeroToANegativePower", "x=0^-2", {}, {{"x=0", 3}}},
        {"PowerZero", "x=5^0", {}, {{"x=1", 3}}},
        {"FactorToThePowerZero", "x=a*5^0", {}, {{"x=a*1", 5}, {"x=a", 3}}},
        {"ChainedExponentZero", "x=a^2^0", {}, {{"x=a^0", 5}, {"x=1", 3}}},
        {"PowerZeroInAChain", "x=a^0^2", {}, {{"x=1^2", 5}, {"x=1", 3}}},
        {"OneTimes", "x=1*a", {}, {{"x=a", 3}}},
        {"MinusOneTimes", "x=-1*a", {}, {{"x=-a", 4}}},
        {"TimesOne", "x=a*1", {}, {{"x=a", 3}}},
        {"OverOne", "x=a/1", {}, {{"x=a", 3}}},
        {"OneToAPower", "x=1^a", {}, {{"x=1", 3}}},
        {"PowerOne", "x=a^1", {}, {{"x=a", 3}}},
        {"FiveToThePowerOne", "x=5^1", {}, {{"x=5", 3}}},
        {"FiveTimesOne", "x=5*1", {}, {{"x=5", 3}}},
        {"OneTimesFive", "x=1*5", {}, {{"x=5", 3}}},
    });
}

TEST(EvaluateConstants, SignChecks)
{
    runStepRows({
        {"UnaryMinusAfterEquals", "x=-3", {}, {{"x=-3", 3}}},
        {"UnaryMinusOfAFactor", "x=a*-3", {}, {{"x=a*-3", 5}}},
        {"SignMovesToTheFrontOfTheProduct", "x=b-a*-3", {}, {{"x=b-a*-3", 7}, {"x=b+a*3", 7}}},
        {"NegativeExponent", "x=a^-2", {}, {{"x=a^-2", 5}}},
        {"SignInParentheses", "x=(-3)", {}, {{"x=(-3)", 5}}},
        {"SignSharedWithASumStays", "x=-3+a", {}, {}},
        {"DoubleNegative", "x=-2-5", {}, {{"x=+-7", 4}, {"x=-7", 4}, {"x=-7", 3}}},
        {"NegativeTermTakesThePlus", "x=a+?", {{-3.0, 0.0}}, {{"x=a-3", 5}}},
        {"NegativeTermTakesTheMinus", "x=a-?", {{-3.0, 0.0}}, {{"x=a+3", 5}}},
        {"NegativeFactorFlipsTheProductSign", "x=b-a*?", {{-3.0, 0.0}}, {{"x=b+a*3", 7}}},
        {"NegativeFactorWithoutSignStays", "x=a*?", {{-3.0, 0.0}}, {}},
        {"NegativeAfterALeadingMinusFlipsIt", "x=-?", {{-3.0, 0.0}}, {{"x=+3", 4}}},
        {"NegativeComplex", "x=a+?", {{-1.0, -2.0}}, {{"x=a-(1+2*sqr(-1))", 5}}},
        {"MixedSignsAreNotNegative", "x=a+?", {{-1.0, 2.0}}, {}},
    });
}

// The driver simplifies signs before every call; folded without that, a double sign or a leading
// plus must still never leave a side empty, an operator dangling or a term with the wrong sign.
TEST(EvaluateConstants, UnsimplifiedSignsStayWellFormed)
{
    runStepRows({
        {"LeadingPlusZeroKeepsTheZero", "x=+0", {}, {{"x=0", 3}}},
        {"LeadingMinusZero", "x=-0", {}, {{"x=+0", 4}, {"x=0", 3}}},
        {"ZeroInParentheses", "x=(+0)", {}, {{"x=(0)", 5}}},
        {"ZeroTermBehindTwoSigns", "x=a+-0", {}, {{"x=a++0", 6}, {"x=a", 3}}},
        {"PartnerBehindTwoSignsIsNotTaken", "x=2+-3", {}, {}},
        {"OperandBehindTwoSignsIsNotSummed", "x=a-+2+3", {}, {}},
        {"LaterPartnerIsTaken", "x=2+-3+4", {}, {{"x=6+-3", 6}}},
        {"PowerOfASignedZeroFactor", "x=a*+0^2", {}, {{"x=a*+0", 6}}},
    });
}

struct FailureRow {
    const char* name;
    const char* input;
    std::vector<Complex> values;
    EvaluationResult result;
    const char* text; // the equation when the failing call is made, and after it
};

void runFailureRows(const std::vector<FailureRow>& rows)
{
    for (const FailureRow& row : rows) {
        SCOPED_TRACE(row.name);
        Folding folding;
        folding.prepare(row.input, row.values);
        if (::testing::Test::HasFatalFailure())
            continue;
        std::string before = folding.text();
        EvaluationResult result = EvaluationResult::Folded;
        for (int calls = 0; calls < 100 && result == EvaluationResult::Folded; ++calls) {
            before = folding.text();
            result = folding.step();
        }
        EXPECT_EQ(result, row.result);
        EXPECT_EQ(before, row.text);
        // A failing call leaves the equation as it was.
        EXPECT_EQ(folding.text(), before);
    }
}

TEST(EvaluateConstants, ArithmeticFailures)
{
    runFailureRows({
        {"ProductOverflow", "x=1000000000*1000000000*10", {}, EvaluationResult::Overflow, "x=1e18*10"},
        {"ExpOverflow", "x=exp(42)", {}, EvaluationResult::Overflow, "x=exp(42)"},
        {"PowerOverflow", "x=10^19", {}, EvaluationResult::Overflow, "x=10^19"},
        {"HcsOverflow", "x=hcs(42)", {}, EvaluationResult::Overflow, "x=hcs(42)"},
        {"SinOfLargeImaginaryOverflows",
         "x=sin(42*sqr(-1))",
         {},
         EvaluationResult::Overflow,
         "x=sin(42*sqr(-1))"},
        {"DivisionByZero", "x=7/0", {}, EvaluationResult::DivisionByZero, "x=7/0"},
        {"LetterOverZero", "x=a/0", {}, EvaluationResult::DivisionByZero, "x=a/0"},
        {"ZeroDivisorFoundAsPartner", "x=6*a/0", {}, EvaluationResult::DivisionByZero, "x=6*a/0"},
        {"TanAtAnExactPole",
         "x=tan(1.5707963267948966)",
         {},
         EvaluationResult::DivisionByZero,
         "x=tan(1.5708)"},
        {"HtnAtAnExactPole",
         "x=htn(1.5707963267948966*sqr(-1))",
         {},
         EvaluationResult::DivisionByZero,
         "x=htn(1.5708*sqr(-1))"},
        {"LogOfZero", "x=log(0)", {}, EvaluationResult::LogOfZero, "x=log(0)"},
        {"LogOfCancelledZero", "x=log(2-2)", {}, EvaluationResult::LogOfZero, "x=log(0)"},
        {"AhcInnerLogarithmMeetsZero", "x=ahc(3000)", {}, EvaluationResult::LogOfZero, "x=ahc(3000)"},
        {"AcsInnerLogarithmMeetsZero", "x=acs(-3000)", {}, EvaluationResult::LogOfZero, "x=acs(-3000)"},
        {"AsnInnerLogarithmMeetsZero", "x=asn(-3000)", {}, EvaluationResult::LogOfZero, "x=asn(-3000)"},
        {"AhsInnerLogarithmMeetsZero", "x=ahs(-3000)", {}, EvaluationResult::LogOfZero, "x=ahs(-3000)"},
        {"LgtOfZero", "x=lgt(0)", {}, EvaluationResult::LgtOfZero, "x=lgt(0)"},
        {"AtnOfI", "x=atn(sqr(-1))", {}, EvaluationResult::AtnOfI, "x=atn(1*sqr(-1))"},
        {"AtnOfMinusI", "x=atn(-sqr(-1))", {}, EvaluationResult::AtnOfI, "x=atn(-1*sqr(-1))"},
        {"AhtOfOne", "x=aht(1)", {}, EvaluationResult::AhtOfOne, "x=aht(1)"},
        {"AhtOfMinusOne", "x=aht(-1)", {}, EvaluationResult::AhtOfOne, "x=aht(-1)"},
    });
}

/// "x=" followed by lead and `count` terms "+a^?" whose exponents 11, 12, ... are never folded, so
/// every constant of the equation keeps a code of its own.
void buildCrowded(Folding& folding, std::string_view lead, std::vector<Complex> values, int count)
{
    std::string text = "x=" + std::string(lead);
    for (int k = 0; k < count; ++k) {
        text += "+a^?";
        values.push_back({11.0 + k, 0.0});
    }
    folding.build(text, values);
}

TEST(EvaluateConstants, RunningOutOfCodesChangesNothing)
{
    // 117 codes are free for the equation's own constants.
    struct Row {
        const char* name;
        std::string_view lead;
        std::vector<Complex> values;
        int count;
        EvaluationResult result;
    };
    const Row rows[] = {
        // 1000 + 2000 needs a new code while both operands still hold theirs.
        {"SumNeedsANewCode", "?+?", {{1000.0, 0.0}, {2000.0, 0.0}}, 115, EvaluationResult::PoolFull},
        {"SumWithOneCodeLeft", "?+?", {{1000.0, 0.0}, {2000.0, 0.0}}, 114, EvaluationResult::Folded},
        // x=a-(-1000) becomes x=a+1000: the sign move needs a code for 1000.
        {"SignMoveNeedsANewCode", "a-?", {{-1000.0, 0.0}}, 116, EvaluationResult::PoolFull},
        {"SignMoveWithOneCodeLeft", "a-?", {{-1000.0, 0.0}}, 115, EvaluationResult::Folded},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        Folding folding;
        buildCrowded(folding, row.lead, row.values, row.count);
        const std::string before = folding.text();
        EXPECT_EQ(folding.step(), row.result);
        if (row.result == EvaluationResult::PoolFull) {
            EXPECT_EQ(folding.text(), before);
        } else {
            EXPECT_NE(folding.text(), before);
        }
    }
}

struct ValueRow {
    const char* name;
    const char* input;
    double re;
    double im;
    int code = -1;              // the expected token where the value must reuse a fixed code
    const char* text = nullptr; // the expected rendering where it matters
};

TEST(EvaluateConstants, FunctionValues)
{
    const double pi = 3.14159265358979323846;
    const ValueRow rows[] = {
        {"AcsOfHalf", "x=acs(0.5)", 1.0471975511965979, 0.0},
        {"AsnOfOne", "x=asn(1)", pi / 2.0, 0.0},
        {"AtnOfOne", "x=atn(1)", pi / 4.0, 0.0},
        {"AtnOfTwoI", "x=atn(2*sqr(-1))", pi / 2.0, 0.5493061443340548},
        {"AhcOfHalf", "x=ahc(0.5)", 0.0, 5.0 * pi / 3.0},
        {"AhcOfTwoTakesTheNegativeBranch", "x=ahc(2)", -1.3169578969248166, 0.0},
        {"AhcBelowTheCancellationLimit", "x=ahc(2000)", -8.294049577602022, 0.0},
        {"AhsOfOne", "x=ahs(1)", 0.881373587019543, 0.0},
        {"AhtOfHalf", "x=aht(0.5)", 0.5493061443340548, 0.0},
        {"AhtOfTwo", "x=aht(2)", 0.5493061443340548, pi / 2.0},
        {"CosOfHalf", "x=cos(0.5)", 0.8775825618903728, 0.0},
        {"CosOfPiIsExactlyMinusOne", "x=cos(3.141592653589793)", -1.0, 0.0, 0x89},
        {"SinOfHalf", "x=sin(0.5)", 0.479425538604203, 0.0},
        {"SinOfPiIsExactlyZero", "x=sin(3.141592653589793)", 0.0, 0.0, 0x80},
        {"SinOfI", "x=sin(sqr(-1))", 0.0, 1.1752011936438014},
        {"TanOfHalf", "x=tan(0.5)", 0.5463024898437905, 0.0},
        {"ExpOfOneIsThePresetE", "x=exp(1)", std::exp(1.0), 0.0, 0x86},
        {"ExpOfMinusFiftyIsZero", "x=exp(-50)", 0.0, 0.0, 0x80, "x=0"},
        {"HcsOfOne", "x=hcs(1)", 1.5430806348152437, 0.0},
        {"HsnOfOne", "x=hsn(1)", 1.1752011936438014, 0.0},
        {"HtnOfHalf", "x=htn(0.5)", 0.46211715726000974, 0.0},
        {"LgtOfThousand", "x=lgt(1000)", 3.0, 0.0},
        {"LgtOfMinusTen", "x=lgt(-10)", 1.0, 1.3643763538418412},
        {"LogOfMinusOne", "x=log(-1)", 0.0, pi, -1, "x=3.14159*sqr(-1)"},
        {"SqrOfMinusFour", "x=sqr(-4)", 0.0, 2.0, -1, "x=2*sqr(-1)"},
        {"SqrOfTwo", "x=sqr(2)", 1.4142135623730951, 0.0},
        {"ImaginaryUnitSquaredIsThePresetMinusOne", "x=sqr(-1)^2", -1.0, 0.0, 0x89, "x=-1"},
    };
    for (const ValueRow& row : rows) {
        SCOPED_TRACE(row.name);
        Folding folding;
        ASSERT_EQ(folding.load(row.input), engine::ErrorCode::None);
        EXPECT_EQ(folding.foldAll(), EvaluationResult::Unchanged);
        ASSERT_EQ(folding.count(), 3) << folding.text();
        ASSERT_GE(folding.piece(2), 0x80) << folding.text();
        const Complex v = folding.value(folding.piece(2));
        // Parts that should vanish are exactly 0 (the cancellation rules), the others are close.
        const auto expectPart = [](double actual, double expected, const char* part) {
            if (expected == 0.0) {
                EXPECT_EQ(actual, 0.0) << part;
            } else {
                EXPECT_NEAR(actual, expected, 1e-9 * std::max(1.0, std::fabs(expected))) << part;
            }
        };
        expectPart(v.re, row.re, "real part");
        expectPart(v.im, row.im, "imaginary part");
        if (row.code >= 0) {
            EXPECT_EQ(folding.piece(2), row.code);
        }
        if (row.text != nullptr) {
            EXPECT_EQ(folding.text(), row.text);
        }
    }
}

} // namespace
