// SPDX-License-Identifier: MIT
// What an evaluation with principal values came to.
#pragma once

namespace analysis {

/// The outcome of evaluating an expression at a value.
enum class EvaluationOutcome {
    Defined,   ///< the expression has a value there
    Undefined, ///< an operation is not defined there: a division by 0, a logarithm of 0, 0 to a power
               ///< whose real part is not positive (but 0^0 = 1), atn(+-sqr(-1)) or aht(+-1)
    Overflow,  ///< a value beyond 2^1000 (or not finite): it may exist but cannot be pinned down
    Invalid,   ///< nothing was compiled
};

/// Magnitudes beyond 2^kLargestExponent count as an overflow, in every arithmetic alike, so that
/// they can also be written as a double and a trigonometric argument stays cheap to reduce.
inline constexpr int kLargestExponent = 1000;

} // namespace analysis
