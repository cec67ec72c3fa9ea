// SPDX-License-Identifier: MIT
// Evaluates a compiled expression in standard mathematics, in the machine's floating point: principal
// values of every function, as C++'s std::complex computes them.
#pragma once

#include "analysis/evaluation_outcome.h"
#include "analysis/expression_program.h"

#include <complex>

namespace analysis {

/// What an evaluation with principal values gave.
template <typename T> struct PrincipalResult {
    EvaluationOutcome outcome = EvaluationOutcome::Invalid;
    std::complex<T> value;
    /// The largest magnitude of any number the evaluation went through (x, the constants, every
    /// intermediate result): what the rounding of the result is relative to.
    T scale = 0;
};

/// The value of program at x in standard mathematics:
/// - log with its angle in (-pi, pi], the principal square root, lgt as log / log(10);
/// - v^w as an exact integer power when w is a whole number (v^-n = 1 / v^n), else e^(w log v);
///   0^w is 1 for w = 0 and 0 for Re w > 0;
/// - asn, acs, atn, ahs, ahc, aht as std::complex's asin, acos, atan, asinh, acosh, atanh;
/// - a zero part of an argument counts as +0, so that a value on a branch cut takes the side that
///   the angle (-pi, pi] gives (log(-1) = pi sqr(-1)), whatever sign rounding gave its zero;
/// - no cancellation: sums and products are the floating-point ones.
/// T is double (the root search, pictures) or long double (an independent second opinion).
template <typename T>
[[nodiscard]] PrincipalResult<T> principalValue(const ExpressionProgram& program, std::complex<T> x,
                                                const LetterValues& letters);

extern template PrincipalResult<double> principalValue<double>(const ExpressionProgram&, std::complex<double>,
                                                               const LetterValues&);
extern template PrincipalResult<long double>
principalValue<long double>(const ExpressionProgram&, std::complex<long double>, const LetterValues&);

} // namespace analysis
