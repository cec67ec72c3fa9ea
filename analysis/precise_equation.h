// SPDX-License-Identifier: MIT
// Both sides of an equation evaluated together at any precision with principal values.
#pragma once

#include "analysis/precise_arithmetic.h"

namespace analysis {

/// What both sides gave at one x.
struct PreciseSides {
    EvaluationOutcome left = EvaluationOutcome::Invalid;
    EvaluationOutcome right = EvaluationOutcome::Invalid;
    PreciseComplex leftValue;
    PreciseComplex rightValue;
    /// d(left - right) / dx, when asked for and finite.
    PreciseComplex derivative;
    bool hasDerivative = false;
    /// Bound of the error of left - right (the sum of both sides' bounds).
    double bound = 0.0;

    [[nodiscard]] bool isDefined() const
    {
        return left == EvaluationOutcome::Defined && right == EvaluationOutcome::Defined;
    }
    /// left - right; only meaningful when isDefined.
    [[nodiscard]] PreciseComplex difference() const { return leftValue - rightValue; }
};

/// Evaluates a loaded equation's two sides; the equation must outlive it.
class PreciseEquation {
public:
    explicit PreciseEquation(const Equation& equation)
        : m_equation(equation), m_left(equation.left()), m_right(equation.right())
    {
    }

    [[nodiscard]] const Equation& equation() const { return m_equation; }

    /// Both sides at x (at x's precision), x off by at most xBound. The right side is not evaluated
    /// when the left one is not defined.
    [[nodiscard]] PreciseSides evaluate(const PreciseComplex& x, double xBound, const LetterValues& letters,
                                        bool withDerivative) const
    {
        PreciseSides sides;
        PreciseResult left = m_left.evaluate(x, xBound, letters, withDerivative);
        sides.left = left.outcome;
        if (left.outcome != EvaluationOutcome::Defined)
            return sides;
        PreciseResult right = m_right.evaluate(x, xBound, letters, withDerivative);
        sides.right = right.outcome;
        if (right.outcome != EvaluationOutcome::Defined)
            return sides;
        sides.bound = left.bound + right.bound;
        sides.hasDerivative = left.hasDerivative && right.hasDerivative;
        if (sides.hasDerivative)
            sides.derivative = left.derivative - right.derivative;
        sides.leftValue = std::move(left.value);
        sides.rightValue = std::move(right.value);
        return sides;
    }

private:
    const Equation& m_equation;
    PreciseEvaluator m_left;
    PreciseEvaluator m_right;
};

} // namespace analysis
