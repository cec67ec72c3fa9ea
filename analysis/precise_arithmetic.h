// SPDX-License-Identifier: MIT
// Complex numbers of any binary precision (GNU MPC underneath) and the evaluation of compiled
// expressions with them in standard mathematics, with derivative and error bound.
#pragma once

#include "analysis/evaluation_outcome.h"
#include "analysis/expression_program.h"

#include <array>
#include <memory>
#include <string>
#include <vector>

namespace analysis {

/// A complex number with parts of a fixed binary precision; arithmetic rounds to nearest at the
/// larger precision of its operands. A value type; copying copies the digits.
class PreciseComplex {
public:
    /// The precision of a default value.
    static constexpr int kDefaultPrecision = 128;

    PreciseComplex();
    /// value exactly (a double needs 53 bits), kept at precision bits.
    PreciseComplex(Complex value, int precision);
    PreciseComplex(const PreciseComplex& other);
    PreciseComplex(PreciseComplex&& other) noexcept;
    PreciseComplex& operator=(const PreciseComplex& other);
    PreciseComplex& operator=(PreciseComplex&& other) noexcept;
    ~PreciseComplex();

    /// pi at precision bits.
    [[nodiscard]] static PreciseComplex pi(int precision);

    [[nodiscard]] int precision() const;
    /// The same value rounded (or extended with zeros) to bits.
    [[nodiscard]] PreciseComplex atPrecision(int bits) const;
    /// The nearest double parts.
    [[nodiscard]] Complex toComplex() const;
    [[nodiscard]] bool isZero() const;
    /// |z| as a double: 0 below its range, infinite above.
    [[nodiscard]] double magnitude() const;
    /// The same value without a part below 2^-bits of the other, which the precision cannot tell
    /// from rounding (a real root refined through complex numbers keeps a residue of 10^-78 i).
    [[nodiscard]] PreciseComplex withoutNoise(int bits) const;

    friend PreciseComplex operator+(const PreciseComplex& a, const PreciseComplex& b);
    friend PreciseComplex operator-(const PreciseComplex& a, const PreciseComplex& b);
    friend PreciseComplex operator*(const PreciseComplex& a, const PreciseComplex& b);
    /// a / b; b must not be 0.
    friend PreciseComplex operator/(const PreciseComplex& a, const PreciseComplex& b);
    /// k z, exactly rounded.
    [[nodiscard]] PreciseComplex times(long k) const;
    /// The real part, and the imaginary part, as values of their own (with no imaginary part).
    [[nodiscard]] PreciseComplex realPart() const;
    [[nodiscard]] PreciseComplex imaginaryPart() const;
    /// round(re 2^bits) and round(im 2^bits) as decimal integers, for exact integer arithmetic on
    /// the digits ("0" for a part that is 0; empty for a part that is not finite).
    [[nodiscard]] std::array<std::string, 2> scaledIntegerParts(int bits) const;

    struct Digits;

private:
    friend class PreciseEvaluator;
    explicit PreciseComplex(int precision);
    std::unique_ptr<Digits> m_digits;
};

/// What a precise evaluation gave.
struct PreciseResult {
    EvaluationOutcome outcome = EvaluationOutcome::Invalid;
    PreciseComplex value;
    /// The derivative of the value by x, when asked for and finite everywhere on the way.
    PreciseComplex derivative;
    bool hasDerivative = false;
    /// Bound of how far value lies from the exact value of the expression at the exact x: x may be
    /// off by the bound it came with, and every operation rounds (propagated by the rules of
    /// error_bounds.h). Infinite when nothing can be said.
    double bound = 0.0;
};

/// Evaluates one compiled expression at any precision with the principal values that
/// principal_values.h describes (the same branches, the same undefined points, the same
/// overflow), keeping working storage between calls so that a run does not allocate.
/// Not for use from two threads at once.
class PreciseEvaluator {
public:
    explicit PreciseEvaluator(const ExpressionProgram& program);
    PreciseEvaluator(const PreciseEvaluator&) = delete;
    PreciseEvaluator& operator=(const PreciseEvaluator&) = delete;
    ~PreciseEvaluator();

    /// The value at x, computed at x's precision; xBound is how far x may lie from the value meant.
    /// With withDerivative the derivative by x is carried along.
    [[nodiscard]] PreciseResult evaluate(const PreciseComplex& x, double xBound, const LetterValues& letters,
                                         bool withDerivative) const;

private:
    struct Workspace;
    const ExpressionProgram& m_program;
    mutable std::vector<std::unique_ptr<Workspace>> m_workspaces; // one per precision used
};

} // namespace analysis
