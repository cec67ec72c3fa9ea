// SPDX-License-Identifier: MIT
// How far the result of an operation may move when its operands move within given bounds: the rules
// every bounded evaluation of this library propagates its error bounds with.
#pragma once

#include "engine/complex_value.h"

#include <limits>

namespace analysis {

using engine::Complex;

/// A bound that says nothing: the value may lie anywhere.
inline constexpr double kUnbounded = std::numeric_limits<double>::infinity();

/// x * y where a zero factor gives 0 even against an unbounded one: an exact 0 stays exact.
[[nodiscard]] double times(double x, double y);

/// Bound of |a b - (a + da)(b + db)| for |da| <= ea, |db| <= eb, with ma = |a| and mb = |b|.
[[nodiscard]] double productBound(double ma, double ea, double mb, double eb);

/// Bound of |1 / (b + d) - 1 / b| for |d| <= eb: unbounded once the divisor may be 0.
[[nodiscard]] double inverseBound(Complex b, double eb);

/// Bound of |(v + dv)^(w + dw) - v^w| for |dv| <= ev, |dw| <= ew, where r = v^w and logMagnitude
/// is |log v| on the branch in use. At v = 0 the bound uses |d^w| <= |d|^Re w e^(turn |Im w|),
/// turn the widest angle the logarithm gives (pi for principal values, 2 pi for angles in
/// [0, 2 pi)). Beyond an exponent moved by 1 the power says nothing any more: unbounded.
[[nodiscard]] double powerBound(Complex v, double ev, Complex w, double ew, Complex r, double logMagnitude,
                                double turn);

/// Bound of the change of the function value r = f(v) (f the function token) when v moves by at
/// most error. The bounds hold for every branch, since they rest on the magnitude of the
/// derivative. Beyond a change of the argument of 1 (or of its own size for the logarithms) the
/// value says nothing any more: unbounded.
[[nodiscard]] double functionBound(unsigned char token, Complex v, double error, Complex r);

} // namespace analysis
