// SPDX-License-Identifier: MIT
// The complex primitives: exact zeros from cancellation, root and logarithm branches, exp bounds.
#include "engine/complex_arithmetic.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

using engine::Complex;

const double kPi = 3.14159265358979323846;

struct PairRow {
    const char* name;
    Complex z;
    Complex w;
    Complex expected;
};

// A part expected to be 0 must be exactly 0 (the cancellation and residue rules promise it);
// the others are compared to double precision.
void expectParts(Complex actual, Complex expected, const char* name)
{
    if (expected.re == 0.0) {
        EXPECT_EQ(actual.re, 0.0) << name << " (real part)";
    } else {
        EXPECT_DOUBLE_EQ(actual.re, expected.re) << name << " (real part)";
    }
    if (expected.im == 0.0) {
        EXPECT_EQ(actual.im, 0.0) << name << " (imaginary part)";
    } else {
        EXPECT_DOUBLE_EQ(actual.im, expected.im) << name << " (imaginary part)";
    }
}

TEST(AddComplex, SumsPartByPartAndCancelsToExactZero)
{
    const PairRow rows[] = {
        {"PlainSum", {1.5, -2.0}, {2.25, 7.0}, {3.75, 5.0}},
        {"ZeroPlusZero", {0.0, 0.0}, {0.0, 0.0}, {0.0, 0.0}},
        {"ZeroPlusValue", {0.0, 0.0}, {-4.0, 3.0}, {-4.0, 3.0}},
        {"RealPartCancelsWithinTolerance", {1.0, 2.0}, {-0.99999999, 3.0}, {0.0, 5.0}},
        {"ImaginaryPartCancelsWithinTolerance", {2.0, -1.0}, {1.0, 1.00000001}, {3.0, 0.0}},
        {"RoundingResidueCancels", {0.1 + 0.2, 0.0}, {-0.3, 0.0}, {0.0, 0.0}},
    };
    for (const PairRow& row : rows) {
        Complex z = row.z;
        engine::AddComplex(z, row.w);
        expectParts(z, row.expected, row.name);
    }
}

TEST(AddComplex, DifferenceJustOutsideToleranceIsKept)
{
    Complex z{1.0, 0.0};
    engine::AddComplex(z, {-0.9999998, 0.0});
    EXPECT_NE(z.re, 0.0);
    EXPECT_NEAR(z.re, 2e-7, 1e-15);
}

TEST(MultiplyComplex, MultipliesFromTheOldValueAndCancelsBothParts)
{
    const PairRow rows[] = {
        {"Real", {3.0, 0.0}, {-4.0, 0.0}, {-12.0, 0.0}},
        {"General", {1.0, 2.0}, {3.0, 4.0}, {-5.0, 10.0}},
        // Both parts read the old z: a real part updated first would give 6 - 15 = -9 as imaginary.
        {"Square", {2.0, 3.0}, {2.0, 3.0}, {-5.0, 12.0}},
        {"ImaginaryUnitSquared", {0.0, 1.0}, {0.0, 1.0}, {-1.0, 0.0}},
        {"RealPartCancels", {1.0, 1.0}, {1.00000001, 1.0}, {0.0, 2.00000001}},
        {"ImaginaryPartCancels", {1.0, 1.0}, {1.0, -1.00000001}, {2.00000001, 0.0}},
        {"TimesMinusI", {0.0, 2.5}, {0.0, -1.0}, {2.5, 0.0}},
    };
    for (const PairRow& row : rows) {
        Complex z = row.z;
        engine::MultiplyComplex(z, row.w);
        expectParts(z, row.expected, row.name);
    }
}

struct UnaryRow {
    const char* name;
    Complex z;
    Complex expected;
};

TEST(InvertComplex, InvertsNonZeroValues)
{
    const UnaryRow rows[] = {
        {"Two", {2.0, 0.0}, {0.5, 0.0}},
        {"ImaginaryTwo", {0.0, 2.0}, {0.0, -0.5}},
        {"ThreePlusFourI", {3.0, 4.0}, {0.12, -0.16}},
        {"MinusOneMinusI", {-1.0, -1.0}, {-0.5, 0.5}},
    };
    for (const UnaryRow& row : rows) {
        Complex z = row.z;
        EXPECT_TRUE(engine::InvertComplex(z)) << row.name;
        expectParts(z, row.expected, row.name);
    }
}

TEST(InvertComplex, RefusesZero)
{
    Complex z{0.0, 0.0};
    EXPECT_FALSE(engine::InvertComplex(z));
    EXPECT_EQ(z.re, 0.0);
    EXPECT_EQ(z.im, 0.0);
}

TEST(SqrtComplex, ImaginaryPartNeverNegativeRealPartTakesTheSign)
{
    const UnaryRow rows[] = {
        {"Four", {4.0, 0.0}, {2.0, 0.0}},
        {"MinusFour", {-4.0, 0.0}, {0.0, 2.0}},
        {"MinusOne", {-1.0, 0.0}, {0.0, 1.0}},
        {"Zero", {0.0, 0.0}, {0.0, 0.0}},
        {"TwoI", {0.0, 2.0}, {1.0, 1.0}},
        {"MinusTwoIGivesMinusOnePlusI", {0.0, -2.0}, {-1.0, 1.0}},
        {"ThreePlusFourI", {3.0, 4.0}, {2.0, 1.0}},
        {"ThreeMinusFourI", {3.0, -4.0}, {-2.0, 1.0}},
        {"MinusThreeMinusFourI", {-3.0, -4.0}, {-1.0, 2.0}},
        // A tiny imaginary part next to a negative real part: the real part of the root is exactly 0.
        {"NegativeWithResidue", {-4.0, 1e-12}, {0.0, 2.0}},
        // A tiny imaginary part next to a positive real part: the imaginary part is exactly 0, and
        // the real part still follows the sign of the argument's imaginary part.
        {"PositiveWithNegativeResidueTakesTheMinusRoot", {4.0, -1e-12}, {-2.0, 0.0}},
    };
    for (const UnaryRow& row : rows) {
        Complex z = row.z;
        engine::SqrtComplex(z);
        expectParts(z, row.expected, row.name);
    }
}

TEST(LogComplex, AngleLiesInZeroToTwoPi)
{
    const double r = std::log(2.0) / 2.0; // ln |1 + i|
    const UnaryRow rows[] = {
        {"One", {1.0, 0.0}, {0.0, 0.0}},
        {"E", {std::exp(1.0), 0.0}, {1.0, 0.0}},
        {"FirstQuadrant", {1.0, 1.0}, {r, kPi / 4.0}},
        {"PositiveImaginaryAxis", {0.0, 1.0}, {0.0, kPi / 2.0}},
        {"SecondQuadrant", {-1.0, 1.0}, {r, 3.0 * kPi / 4.0}},
        {"MinusOne", {-1.0, 0.0}, {0.0, kPi}},
        {"ThirdQuadrant", {-1.0, -1.0}, {r, 5.0 * kPi / 4.0}},
        {"NegativeImaginaryAxis", {0.0, -1.0}, {0.0, 3.0 * kPi / 2.0}},
        {"FourthQuadrant", {1.0, -1.0}, {r, 7.0 * kPi / 4.0}},
        {"MinusOneWithNegativeZero", {-1.0, -0.0}, {0.0, kPi}},
    };
    for (const UnaryRow& row : rows) {
        Complex z = row.z;
        ASSERT_TRUE(engine::LogComplex(z)) << row.name;
        if (row.expected.re == 0.0)
            EXPECT_EQ(z.re, 0.0) << row.name;
        else
            EXPECT_NEAR(z.re, row.expected.re, 1e-15) << row.name;
        EXPECT_NEAR(z.im, row.expected.im, 1e-15) << row.name;
        EXPECT_GE(z.im, 0.0) << row.name;
        EXPECT_LT(z.im, 2.0 * kPi) << row.name;
    }
}

TEST(LogComplex, MagnitudeNearOneGivesExactZeroRealPart)
{
    Complex z{1.00000001, 0.0};
    ASSERT_TRUE(engine::LogComplex(z));
    EXPECT_EQ(z.re, 0.0);
    EXPECT_EQ(z.im, 0.0);
}

TEST(LogComplex, RefusesZero)
{
    Complex z{0.0, 0.0};
    EXPECT_FALSE(engine::LogComplex(z));
    EXPECT_EQ(z.re, 0.0);
    EXPECT_EQ(z.im, 0.0);
}

TEST(ExpComplex, RemovesTheRoundingResidueOfSineAndCosine)
{
    const UnaryRow rows[] = {
        {"Zero", {0.0, 0.0}, {1.0, 0.0}},
        {"PiI", {0.0, kPi}, {-1.0, 0.0}},
        {"HalfPiI", {0.0, kPi / 2.0}, {0.0, 1.0}},
        {"ThreeHalvesPiI", {0.0, 3.0 * kPi / 2.0}, {0.0, -1.0}},
        {"TwoPiI", {0.0, 2.0 * kPi}, {1.0, 0.0}},
        {"LnTwoPlusPiI", {std::log(2.0), kPi}, {-2.0, 0.0}},
        // Far from zero the angle dwarfs every value; only a tiny value counts as residue.
        {"LargeAngleKeepsItsValues", {0.0, 1e8}, {std::cos(1e8), std::sin(1e8)}},
        {"LargeAngleResidue", {0.0, 1024.0 * kPi}, {1.0, 0.0}},
    };
    for (const UnaryRow& row : rows) {
        Complex z = row.z;
        ASSERT_TRUE(engine::ExpComplex(z)) << row.name;
        expectParts(z, row.expected, row.name);
    }
}

TEST(ExpComplex, GeneralValue)
{
    Complex z{1.0, 1.0};
    ASSERT_TRUE(engine::ExpComplex(z));
    EXPECT_DOUBLE_EQ(z.re, std::exp(1.0) * std::cos(1.0));
    EXPECT_DOUBLE_EQ(z.im, std::exp(1.0) * std::sin(1.0));
}

TEST(ExpComplex, BoundsAtEighteenDecades)
{
    // 18 ln 10 = 41.4465316738928...
    struct BoundRow {
        const char* name;
        double re;
        bool accepted;
        bool zero;
    };
    const BoundRow rows[] = {
        {"JustBelowUpperBound", 41.4465316, true, false},
        {"JustAboveUpperBound", 41.4465317, false, false},
        {"FortyTwo", 42.0, false, false},
        {"JustAboveLowerBound", -41.4465316, true, false},
        {"JustBelowLowerBound", -41.4465317, true, true},
        {"MinusFifty", -50.0, true, true},
    };
    for (const BoundRow& row : rows) {
        Complex z{row.re, 0.5};
        EXPECT_EQ(engine::ExpComplex(z), row.accepted) << row.name;
        if (!row.accepted)
            continue;
        if (row.zero) {
            EXPECT_EQ(z.re, 0.0) << row.name;
            EXPECT_EQ(z.im, 0.0) << row.name;
        } else {
            EXPECT_NEAR(std::hypot(z.re, z.im), std::exp(row.re), std::exp(row.re) * 1e-15) << row.name;
        }
    }
}

} // namespace
