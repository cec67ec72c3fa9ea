// SPDX-License-Identifier: MIT
// Sign simplification, term collection and isolation steps: one change per call, in place.
#include "engine/formatting.h"
#include "engine/pieces.h"
#include "engine/solver_buffers.h"
#include "engine/transformations.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <charconv>
#include <complex>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace {

using engine::PieceString;
using engine::SolverBuffers;

/// One solver holding one equation; every step recomputes the levels first, as the driver does.
class Workbench {
public:
    explicit Workbench(const std::string& equation) : m_buffers(std::make_unique<SolverBuffers>())
    {
        m_loadError = engine::loadEquation(*m_buffers, equation);
    }

    [[nodiscard]] engine::ErrorCode loadError() const { return m_loadError; }
    [[nodiscard]] PieceString& pieces() { return m_buffers->pieces; }

    std::string text()
    {
        refreshLevels();
        return engine::renderPieces(m_buffers->pieces, m_buffers->levels, m_buffers->pool);
    }

    bool simplify()
    {
        refreshLevels();
        return engine::SimplifySigns(m_buffers->pieces, m_buffers->levels);
    }

    bool collect(unsigned char letter)
    {
        refreshLevels();
        return engine::CollectTerms(m_buffers->pieces, m_buffers->levels, letter, m_buffers->temporary);
    }

    bool isolate(int position)
    {
        refreshLevels();
        return engine::IsolateStep(m_buffers->pieces, m_buffers->levels, position, m_buffers->temporary);
    }

    /// Repeats a step until it reports no change; returns the number of changes (at most limit).
    int repeat(const std::function<bool()>& step, int limit = 50)
    {
        int changes = 0;
        while (changes < limit && step())
            ++changes;
        return changes;
    }

private:
    void refreshLevels() { ASSERT_TRUE(engine::ComputeLevels(m_buffers->pieces, m_buffers->levels)); }

    std::unique_ptr<SolverBuffers> m_buffers;
    engine::ErrorCode m_loadError = engine::ErrorCode::None;
};

// ---- SimplifySigns ----------------------------------------------------------------------------

struct SimplifyRow {
    const char* name;
    const char* equation;
    bool changed;
    const char* after; // after exactly one call
};

TEST(SimplifySigns, OneChangePerCall)
{
    const SimplifyRow rows[] = {
        // Two signs in a row merge.
        {"MinusMinusBecomesPlus", "a--b=x", true, "a+b=x"},
        {"PlusMinusBecomesMinus", "a+-b=x", true, "a-b=x"},
        {"MinusPlusBecomesMinus", "a-+b=x", true, "a-b=x"},
        {"PlusPlusBecomesPlus", "a++b=x", true, "a+b=x"},
        // A plus that is only a sign disappears.
        {"PlusAfterEquals", "a=+x", true, "a=x"},
        {"LeadingPlus", "+x=a", true, "x=a"},
        {"PlusAfterOpeningParenthesis", "a*(+b+c)=x", true, "a*(b+c)=x"},
        {"PlusAfterTimes", "a*+b=x", true, "a*b=x"},
        {"PlusAfterPower", "a^+b=x", true, "a^b=x"},
        {"BinaryPlusStays", "a+b=x", false, "a+b=x"},
        {"BinaryPlusAfterGroupStays", "(a*b)^c+d=x", false, "(a*b)^c+d=x"},
        // The sign of a factor moves to the front of its term.
        {"SignOfFactorMovesFront", "a*-b=x", true, "-a*b=x"},
        {"SignOfDivisorMovesFront", "a/-b=x", true, "-a/b=x"},
        {"SignMovesToTermNotSide", "c+a*b*-d=x", true, "c+-a*b*d=x"},
        {"SignMovesAfterEquals", "x=a*-b", true, "x=-a*b"},
        {"SignMovesInsideGroup", "x=c*(a*-b)", true, "x=c*(-a*b)"},
        {"SignOfExponentStays", "a^-b=x", false, "a^-b=x"},
        // Parentheses around a sum.
        {"MinusNegatesGroupTerms", "a-(b+c)=x", true, "a-b-c=x"},
        {"MinusNegatesEveryLaterTerm", "a-(b-c+d)=x", true, "a-b+c-d=x"},
        {"MinusLeavesLeadingSignForMerge", "a-(-b+c)=x", true, "a--b-c=x"},
        {"MinusLeavesExponentSignsAlone", "a-(b+c^-d)=x", true, "a-b-c^-d=x"},
        {"PlusKeepsGroupTerms", "a+(b-c)=x", true, "a+b-c=x"},
        {"LeadingGroupOfSum", "(a+b)-c=x", true, "a+b-c=x"},
        {"MinusAtStartNegatesGroup", "-(a+b)=x", true, "-a-b=x"},
        {"SumAsFactorStays", "a*(b+c)=x", false, "a*(b+c)=x"},
        {"SumAsDividendStays", "(a+b)/c=x", false, "(a+b)/c=x"},
        {"SumAsBaseStays", "(a+b)^c=x", false, "(a+b)^c=x"},
        {"SignMovesOutOfFactor", "a*(-b)=x", true, "a*-(b)=x"},
        {"SignMovesOutOfExponent", "a^(-x)=b", true, "a^-(x)=b"},
        {"SignMovesOutOfLeadingFactor", "(-b)*c=x", true, "-(b)*c=x"},
        {"SignStaysInPowerBase", "(-b)^2=x", false, "(-b)^2=x"},
        // Parentheses around a product.
        {"DivisionByProductDividesEach", "a/(b*c)=x", true, "a/b/c=x"},
        {"DivisionByQuotientMultiplies", "a/(b/c)=x", true, "a/b*c=x"},
        {"TimesQuotient", "a*(b/c)=x", true, "a*b/c=x"},
        {"MinusProduct", "a-(b*c)=x", true, "a-b*c=x"},
        {"ProductAsBaseStays", "(a*b)^c=x", false, "(a*b)^c=x"},
        {"ProductAsExponentStays", "a^(b*c)=x", false, "a^(b*c)=x"},
        // Parentheses around a power.
        {"PowerAsFactor", "(a^b)*c=x", true, "a^b*c=x"},
        {"PowerAsBase", "(a^b)^c=x", true, "a^b^c=x"},
        {"PowerAsExponentStays", "a^(b^c)=x", false, "a^(b^c)=x"},
        // A single operand or function application.
        {"SingleOperand", "(x)=a", true, "x=a"},
        {"SingleOperandAfterMinus", "a-(b)=x", true, "a-b=x"},
        {"SingleOperandAsExponent", "a^(x)=b", true, "a^x=b"},
        {"SingleFunction", "(sin(x))^2=a", true, "sin(x)^2=a"},
        {"ArgumentParenthesesStay", "sin(x)=a", false, "sin(x)=a"},
        {"DoubleArgumentParentheses", "sin((x))=a", true, "sin(x)=a"},
        {"OuterOfDoubleGroupWaitsForInner", "((a+b))=x", true, "(a+b)=x"},
        // The scans run in order: signs first, then factor signs, then parentheses.
        {"SignsBeforeParentheses", "a--(b)=x", true, "a+(b)=x"},
        {"FactorSignBeforeParentheses", "(a)*-b=x", true, "-(a)*b=x"},
    };
    for (const SimplifyRow& row : rows) {
        Workbench bench(row.equation);
        ASSERT_EQ(bench.loadError(), engine::ErrorCode::None) << row.name;
        EXPECT_EQ(bench.simplify(), row.changed) << row.name;
        EXPECT_EQ(bench.text(), row.after) << row.name;
    }
}

struct RepeatRow {
    const char* name;
    const char* equation;
    int changes;
    const char* after;
};

TEST(SimplifySigns, RepeatedUntilNothingChanges)
{
    const RepeatRow rows[] = {
        {"NegatedGroupWithLeadingSign", "a-(-b+c)=x", 2, "a+b-c=x"}, // a--b-c, a+b-c
        {"SignOutOfFactorToFront", "a*(-b)=x", 3, "-a*b=x"},         // a*-(b), -a*(b), -a*b
        {"NestedNegations", "x=-(-(a))", 4, "x=a"},                  // x=--(a), x=+(a), x=(a)
        {"SignOfExponentOutOfGroup", "2^(-x)=a", 2, "2^-x=a"},       // 2^-(x)
        {"ProductOfSignedFactors", "-a*-b=x", 3, "a*b=x"},           // --a*b, +a*b
        {"TripleSign", "a---b=x", 2, "a-b=x"},
    };
    for (const RepeatRow& row : rows) {
        Workbench bench(row.equation);
        ASSERT_EQ(bench.loadError(), engine::ErrorCode::None) << row.name;
        const int changes = bench.repeat([&] { return bench.simplify(); });
        EXPECT_EQ(bench.text(), row.after) << row.name;
        EXPECT_EQ(changes, row.changes) << row.name;
    }
}

// ---- CollectTerms -----------------------------------------------------------------------------

struct CollectRow {
    const char* name;
    const char* equation;
    char letter;
    bool changed;
    const char* after; // after exactly one call
};

TEST(CollectTerms, OneSwapPerCall)
{
    const CollectRow rows[] = {
        // A term without the letter moves left of one with it.
        {"ConstantBeforeUnknown", "x+3=a", 'x', true, "+3+x=a"},
        {"DifferenceCarriesSign", "x-3=a", 'x', true, "-3+x=a"},
        {"LeftTermKeepsItsSign", "-x+3=a", 'x', true, "+3+-x=a"},
        {"LaterTermKeepsItsOperator", "b+x-3=a", 'x', true, "b-3++x=a"},
        {"AlreadyOrdered", "3+x=a", 'x', false, "3+x=a"},
        {"OtherLetterIsCollected", "a+x=b", 'a', true, "+x+a=b"},
        {"UnknownIsNotTheLetter", "a+x=b", 'x', false, "a+x=b"},
        {"InsideGroup", "y*(x+3)=b", 'x', true, "y*(+3+x)=b"},
        {"RightSide", "a=x+b", 'x', true, "a=+b+x"},
        // Factors.
        {"FactorBeforeUnknown", "x*2=a", 'x', true, "2*x=a"},
        {"DivisorOfUnknownBecomesReciprocal", "x/2=a", 'x', true, "1/2*x=a"},
        {"DivisorByOtherLetter", "x/y=a", 'x', true, "1/y*x=a"},
        {"UnknownAsDivisorStays", "2/x=a", 'x', false, "2/x=a"},
        {"LaterFactorKeepsOperator", "a*x*3=b", 'x', true, "a*3*x=b"},
        {"LaterDivisorMovesWithOperator", "a/x*3=b", 'x', true, "a*3/x=b"},
        {"FirstFactorWithLaterDivision", "x*a/b=c", 'x', true, "a*x/b=c"},
        // Among terms with the letter the more tightly bound one goes first.
        {"PowerBeforeUnknown", "x^2+x=a", 'x', false, "x^2+x=a"},
        {"PowerBeforeProduct", "x^2+2*x=a", 'x', false, "x^2+2*x=a"},
        {"ProductBeforeUnknown", "x+2*x=a", 'x', true, "+2*x+x=a"},
        {"ProductBeforeSum", "x+x*a=b", 'x', true, "+x*a+x=b"},
        // Equal weights: the surroundings of the occurrences decide.
        {"SameShapeStays", "2*x+3*x=a", 'x', false, "2*x+3*x=a"},
        {"LeftContextDecides", "a*x+b^c*x=d", 'x', true, "+b^c*x+a*x=d"},
        // The right-hand walk starts one step right of where the left-hand walk stopped.
        {"RightContextDecides", "(a+x)+(a+x)^2=b", 'x', true, "+(a+x)^2+(a+x)=b"},
        {"SymmetricPowersStay", "x^b+a^x=c", 'x', false, "x^b+a^x=c"},
        // Of equally weighted occurrences the rightmost one is compared (here the x after a^).
        {"RightmostOccurrenceIsAnchor", "a^x-x^2*a^x=c", 'x', true, "-x^2*a^x+a^x=c"},
    };
    for (const CollectRow& row : rows) {
        Workbench bench(row.equation);
        ASSERT_EQ(bench.loadError(), engine::ErrorCode::None) << row.name;
        EXPECT_EQ(bench.collect(static_cast<unsigned char>(row.letter)), row.changed) << row.name;
        EXPECT_EQ(bench.text(), row.after) << row.name;
    }
}

TEST(CollectTerms, NormalisedWithSimplifySigns)
{
    // What Normalise does: simplify until stable, then collect once, and again until nothing moves.
    const RepeatRow rows[] = {
        {"ConstantMovesLeft", "x+3=a", 1, "3+x=a"},
        {"SignedUnknownMovesRight", "-x+3=a", 1, "3-x=a"},
        {"ThreeTerms", "x+a+2*x=b", 2, "a+2*x+x=b"}, // +a+x+2*x, then a+2*x++x
        {"Reciprocal", "x/2=a", 1, "1/2*x=a"},
    };
    for (const RepeatRow& row : rows) {
        Workbench bench(row.equation);
        ASSERT_EQ(bench.loadError(), engine::ErrorCode::None) << row.name;
        const int swaps = bench.repeat([&] {
            bench.repeat([&] { return bench.simplify(); });
            return bench.collect('x');
        });
        EXPECT_EQ(swaps, row.changes) << row.name;
        EXPECT_EQ(bench.text(), row.after) << row.name;
    }
}

// ---- Values are kept ----------------------------------------------------------------------------

/// Evaluates one side of a rendered equation, read the way the levels bind: a sign after `+`, `-`,
/// `=` or `(` applies to the whole product after it, one after `*` or `/` to the power after it,
/// one after `^` to the operand after it; powers chain from the left.
class SideValue {
public:
    using Value = std::complex<double>;

    static Value of(std::string_view text)
    {
        SideValue reader(text);
        const Value value = reader.sum();
        EXPECT_EQ(reader.m_at, text.size()) << "unread rest of " << text;
        return value;
    }

private:
    explicit SideValue(std::string_view text) : m_text(text) {}

    char peek() const { return m_at < m_text.size() ? m_text[m_at] : '\0'; }

    Value sum()
    {
        Value value = signed_([this] { return product(); });
        while (peek() == '+' || peek() == '-') {
            const char op = m_text[m_at++];
            const Value term = signed_([this] { return product(); });
            value = op == '+' ? value + term : value - term;
        }
        return value;
    }

    Value product()
    {
        Value value = power();
        while (peek() == '*' || peek() == '/') {
            const char op = m_text[m_at++];
            const Value factor = signed_([this] { return power(); });
            value = op == '*' ? value * factor : value / factor;
        }
        return value;
    }

    Value power()
    {
        Value value = primary();
        while (peek() == '^') {
            ++m_at;
            value = std::pow(value, signed_([this] { return primary(); }));
        }
        return value;
    }

    template <typename Next> Value signed_(Next next)
    {
        if (peek() == '+' || peek() == '-') {
            const bool negative = m_text[m_at++] == '-';
            const Value value = signed_(next);
            return negative ? -value : value;
        }
        return next();
    }

    Value group()
    {
        EXPECT_EQ(peek(), '(');
        ++m_at;
        const Value value = sum();
        EXPECT_EQ(peek(), ')');
        ++m_at;
        return value;
    }

    Value primary()
    {
        const char c = peek();
        if (c == '(')
            return group();
        if (std::isdigit(static_cast<unsigned char>(c))) {
            double number = 0.0;
            const auto [end, error] =
                std::from_chars(m_text.data() + m_at, m_text.data() + m_text.size(), number);
            EXPECT_EQ(error, std::errc());
            m_at = static_cast<std::size_t>(end - m_text.data());
            return number;
        }
        if (m_at + 3 < m_text.size() && std::isalpha(static_cast<unsigned char>(m_text[m_at + 1])) &&
            m_text[m_at + 3] == '(') {
            const std::string_view name = m_text.substr(m_at, 3);
            m_at += 3;
            const Value v = group();
            if (name == "sin")
                return std::sin(v);
            if (name == "cos")
                return std::cos(v);
            if (name == "exp")
                return std::exp(v);
            if (name == "log")
                return std::log(v);
            if (name == "sqr")
                return std::sqrt(v);
            if (name == "lgt")
                return std::log10(v);
            ADD_FAILURE() << "no value for " << name;
            return 0.0;
        }
        ++m_at;
        // Each letter gets its own value; x is the unknown.
        return 0.37 + 0.29 * (c - 'a');
    }

    std::string_view m_text;
    std::size_t m_at = 0;
};

bool sameValue(SideValue::Value a, SideValue::Value b)
{
    return std::abs(a - b) <= 1e-9 * (1.0 + std::abs(a));
}

TEST(Transformations, EverySignAndOrderChangeKeepsBothSidesValues)
{
    const char* const equations[] = {
        "a-(b-c+d)=x",
        "a/(b*c/d)=x",
        "x-(a*-b+c)/(d)=a",
        "x*a/b-c*x+d=x^2-(a-x)",
        "-(a+x)*-(b-c)=sin(x)*-a",
        "x/a/b*c=-(-(x))",
        "2^(-x)*(a-b)^2=(x*a)/(b/c)",
        "a-(-b)^2=x^-(a+b)",
        "lgt(x+1)-sqr(a*-b*-c)=(x^a)^b",
        "-x+a*x^2-(b-x*c)*x=exp(-(x))/(-a)",
        "(x+a)+(x+a)^2+b*x=a/x/(b/x)",
    };
    const char letters[] = {'x', 'a', 'b'};
    for (const char* equation : equations) {
        for (const char letter : letters) {
            Workbench bench(equation);
            ASSERT_EQ(bench.loadError(), engine::ErrorCode::None) << equation;
            const std::string original = bench.text();
            const std::size_t equals = original.find('=');
            const SideValue::Value left = SideValue::of(std::string_view(original).substr(0, equals));
            const SideValue::Value right = SideValue::of(std::string_view(original).substr(equals + 1));
            // Normalise: simplify until stable, then one swap, until nothing changes (bounded).
            for (int change = 0; change < 200; ++change) {
                const bool changed = bench.simplify() || bench.collect(static_cast<unsigned char>(letter));
                if (!changed)
                    break;
                const std::string now = bench.text();
                const std::size_t at = now.find('=');
                ASSERT_NE(at, std::string::npos) << equation;
                EXPECT_TRUE(sameValue(SideValue::of(std::string_view(now).substr(0, at)), left))
                    << equation << " -> " << now;
                EXPECT_TRUE(sameValue(SideValue::of(std::string_view(now).substr(at + 1)), right))
                    << equation << " -> " << now;
                ASSERT_LT(change, 199) << equation << " does not settle: " << now;
            }
        }
    }
}

// ---- IsolateStep ------------------------------------------------------------------------------

struct IsolateRow {
    const char* name;
    const char* equation;
    int position;
    bool result;
    const char* after;
};

TEST(IsolateStep, MovesOnePieceAcross)
{
    const IsolateRow rows[] = {
        // Sums.
        {"SubtractTerm", "x+5=7", 2, true, "x=7-5"},
        {"AddTerm", "x-5=7", 2, true, "x=7+5"},
        {"FirstTerm", "5+x=7", 0, true, "+x=7-5"},
        {"SignedFirstTerm", "-x+5=3", 1, true, "+5=3+x"},
        {"LaterTermOfThree", "2*x+1+a=7", 4, true, "2*x+a=7-1"},
        {"OtherSideKeepsItsTerms", "x+1=2*a+b", 2, true, "x=2*a+b-1"},
        {"SignedOperand", "-x=3", 1, true, "x=-(3)"},
        {"SignedOperandAtSign", "-x=3", 0, true, "x=-(3)"},
        {"SignedGroup", "-(x+a)*b=3", 1, true, "(x+a)*b=-(3)"},
        {"RedundantPlusIsDropped", "+x=3", 1, true, "x=3"},
        // Products.
        {"DivideByFirstFactor", "2*x=6", 0, true, "x=(6)/2"},
        {"DivideByLaterFactor", "x*a=b+c", 2, true, "x=(b+c)/a"},
        {"MultiplyByDivisor", "a*x/b=c", 4, true, "a*x=(c)*b"},
        {"SignedFactor", "x*-2=6", 2, true, "x=(6)/-2"},
        {"NumeratorOverOtherSide", "a/x=c", 0, true, "x=a/(c)"},
        {"NumeratorInvertsRest", "a/x*b=c", 0, true, "x/b=a/(c)"},
        {"NumeratorInvertsEveryDivision", "a/b/x=c", 0, true, "b*x=a/(c)"},
        // Powers: the position tells whether the unknown is in the exponent (0) or the base.
        {"UnknownInExponent", "2^x=8", 0, true, "x=log(8)/log(2)"},
        {"UnknownInBase", "x^3=8", 2, true, "x=(8)^(1/(3))"},
        {"BaseIsEverythingBeforeLastPower", "a^b^x=c", 0, true, "x=log(c)/log(a^b)"},
        {"ExponentIsAfterLastPower", "x^a^b=c", 4, true, "x^a=(c)^(1/(b))"},
        {"PowerInsideExponentStays", "x^(a^b)=c", 2, true, "x=(c)^(1/((a^b)))"},
        // Functions.
        {"Sine", "sin(x)=1", 0, true, "(x)=asn(1)"},
        {"DecimalLogarithm", "lgt(x)=2", 0, true, "(x)=10^(2)"},
        {"SquareRoot", "sqr(x+1)=3", 0, true, "(x+1)=(3)^2"},
        // The right side works the same way, the left side is the one assembled.
        {"RightSideTerm", "7=x+5", 4, true, "7-5=x"},
        {"RightSideFactor", "6=2*x", 2, true, "(6)/2=x"},
        {"RightSideFunction", "a=exp(x)", 2, true, "log(a)=(x)"},
        // A single operand cannot be moved.
        {"SingleOperandLeft", "x=5", 0, false, "x=5"},
        {"SingleOperandRight", "5=x", 2, false, "5=x"},
        // Positions outside both sides change nothing.
        {"PositionOnEquals", "x+5=7", 3, false, "x+5=7"},
        {"NegativePosition", "x+5=7", -1, false, "x+5=7"},
        {"PositionBeyondEnd", "x+5=7", 5, false, "x+5=7"},
        // Any other piece of a side stands for the operand around it or after it.
        {"PositionOnOperatorNamesNextTerm", "x+5=7", 1, true, "x=7-5"},
        {"PositionInsideFactorNamesFactor", "a/(x+1)=b", 3, true, "a=(b)*(x+1)"},
    };
    for (const IsolateRow& row : rows) {
        Workbench bench(row.equation);
        ASSERT_EQ(bench.loadError(), engine::ErrorCode::None) << row.name;
        EXPECT_EQ(bench.isolate(row.position), row.result) << row.name;
        EXPECT_EQ(bench.text(), row.after) << row.name;
        EXPECT_FALSE(bench.pieces().hasOverflowed()) << row.name;
    }
}

TEST(IsolateStep, EveryFunctionIsUndoneByItsInverse)
{
    struct Pair {
        const char* function;
        const char* inverse;
    };
    // Each function followed by the one that undoes it.
    const Pair pairs[] = {
        {"sin", "asn"}, {"asn", "sin"}, {"cos", "acs"}, {"acs", "cos"}, {"tan", "atn"},
        {"atn", "tan"}, {"hsn", "ahs"}, {"ahs", "hsn"}, {"hcs", "ahc"}, {"ahc", "hcs"},
        {"htn", "aht"}, {"aht", "htn"}, {"exp", "log"}, {"log", "exp"},
    };
    for (const Pair& pair : pairs) {
        Workbench bench(std::string(pair.function) + "(x)=a");
        ASSERT_EQ(bench.loadError(), engine::ErrorCode::None) << pair.function;
        EXPECT_TRUE(bench.isolate(0)) << pair.function;
        EXPECT_EQ(bench.text(), std::string("(x)=") + pair.inverse + "(a)") << pair.function;
    }
}

TEST(IsolateStep, RepeatedStepsSolveALinearEquation)
{
    // The isolation position after each step: the term after the weakest operator, then the
    // leading factor, then nothing is left to move (x is a single operand): three calls, two moves.
    Workbench bench("2*x+1=7");
    ASSERT_EQ(bench.loadError(), engine::ErrorCode::None);
    EXPECT_TRUE(bench.isolate(4));
    EXPECT_EQ(bench.text(), "2*x=7-1");
    EXPECT_TRUE(bench.isolate(0));
    EXPECT_EQ(bench.text(), "x=(7-1)/2");
    EXPECT_FALSE(bench.isolate(0));
    EXPECT_EQ(bench.text(), "x=(7-1)/2");
}

TEST(IsolateStep, ResultStaysAValidEquationAtEveryPosition)
{
    // Whatever piece of a side is named, the equation keeps one `=`, balanced parentheses and a
    // rendering the validator accepts.
    const char* const equations[] = {
        "2*x+1=7", "a-b*x/c=d+e", "x^2^a=b", "sin(x)*2=a", "-x-a=b*c", "a/(x+1)=sqr(b)", "7=2^x-a",
    };
    for (const char* equation : equations) {
        const int length = Workbench(equation).pieces().length();
        for (int position = 0; position < length; ++position) {
            Workbench bench(equation);
            ASSERT_EQ(bench.loadError(), engine::ErrorCode::None) << equation;
            const std::string before = bench.text();
            const bool moved = bench.isolate(position);
            const std::string after = bench.text();
            EXPECT_EQ(std::count(after.begin(), after.end(), '='), 1) << equation << " @" << position;
            EXPECT_EQ(Workbench(after).loadError(), engine::ErrorCode::None)
                << equation << " @" << position << " -> " << after;
            if (!moved) {
                EXPECT_EQ(after, before) << equation << " @" << position;
            }
        }
    }
}

// ---- Capacity ---------------------------------------------------------------------------------

/// An equation "<left>=a+a+...+a" whose right side has the given number of pieces (odd).
std::string longEquation(const std::string& left, int rightPieces)
{
    std::string text = left + "=a";
    for (int i = 1; i < rightPieces; i += 2)
        text += "+a";
    return text;
}

TEST(Capacity, GrowthBeyondTheBufferIsRefused)
{
    struct Row {
        const char* name;
        const char* left;
        int rightPieces;
        std::function<bool(SolverBuffers&)> step;
    };
    // The equations are written into the buffer directly: they are far longer than any input.
    // 2*x=R becomes x=(R)/2 and x/2=R becomes 1/2*x=R: both grow by two pieces, one too many.
    const Row rows[] = {
        {"IsolateStep", "2*x", PieceString::kCapacity - 5,
         [](SolverBuffers& s) { return engine::IsolateStep(s.pieces, s.levels, 0, s.temporary); }},
        {"CollectTerms", "x/2", PieceString::kCapacity - 5,
         [](SolverBuffers& s) { return engine::CollectTerms(s.pieces, s.levels, 'x', s.temporary); }},
    };
    for (const Row& row : rows) {
        auto buffers = std::make_unique<SolverBuffers>();
        std::string text = longEquation(row.left, row.rightPieces);
        for (char& c : text) {
            if (c == '2')
                c = static_cast<char>(engine::kTwo);
        }
        ASSERT_TRUE(buffers->pieces.assign(text)) << row.name;
        ASSERT_TRUE(engine::ComputeLevels(buffers->pieces, buffers->levels)) << row.name;
        const std::string before(buffers->pieces.view());
        EXPECT_FALSE(row.step(*buffers)) << row.name;
        EXPECT_TRUE(buffers->pieces.hasOverflowed()) << row.name;
        EXPECT_EQ(std::string(buffers->pieces.view()), before) << row.name;

        // With a right side two pieces shorter the result fills the buffer exactly.
        auto roomy = std::make_unique<SolverBuffers>();
        text = longEquation(row.left, row.rightPieces - 2);
        for (char& c : text) {
            if (c == '2')
                c = static_cast<char>(engine::kTwo);
        }
        ASSERT_TRUE(roomy->pieces.assign(text)) << row.name;
        ASSERT_TRUE(engine::ComputeLevels(roomy->pieces, roomy->levels)) << row.name;
        EXPECT_TRUE(row.step(*roomy)) << row.name;
        EXPECT_FALSE(roomy->pieces.hasOverflowed()) << row.name;
    }
}

} // namespace
