// SPDX-License-Identifier: MIT
// Closed forms read off high-precision numbers: one recogniser per form, tried from one table. What a
// recogniser proposes is a candidate only: exact_value.h proves it before anything is shown.
#pragma once

#include "analysis/precise_arithmetic.h"

#include <functional>
#include <optional>
#include <string>

namespace analysis {

/// The largest denominator of a fraction p/q, and of the fraction under a root or a logarithm.
inline constexpr long kMaxDenominator = 1000000;
/// The largest coefficient of a quadratic a x^2 + b x + c and of a relation with pi.
inline constexpr long kMaxSmallCoefficient = 10000;
/// The highest root of a fraction, (p/q)^(1/k).
inline constexpr int kMaxRootDegree = 6;

/// Proposes the closed forms of value to accept, simplest first, and returns the first one it
/// takes: for a real value one per form that fits (fraction, quadratic irrational, root of a
/// fraction, rational multiple of pi plus a rational, logarithm of a fraction, quotient of
/// logarithms, e to a rational power); for a complex one the quadratic irrational (a + b sqr(c))/d
/// with c < 0 allowed (which includes fractions with both parts rational), then both parts in the
/// same form (quadratic irrational, root of a fraction, multiple of pi), re+im*sqr(-1). Texts are in the
/// program's notation (sqr, log, exp, ^, kPiText for pi).
[[nodiscard]] std::optional<std::string>
firstClosedForm(const PreciseComplex& value, const std::function<bool(const std::string&)>& accept);

/// A candidate period of a family, from its double value: a rational multiple p/q of pi, or of pi
/// sqr(-1), with q at most 12 and |p/q| at most 64, within 1e-9 of the value.
[[nodiscard]] std::optional<std::string> periodCandidate(Complex period);

} // namespace analysis
