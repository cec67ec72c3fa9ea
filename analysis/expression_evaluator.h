// SPDX-License-Identifier: MIT
// Evaluates a compiled expression with the engine's own arithmetic, the one its derivations are
// computed with, and bounds the error of what it computes.
#pragma once

#include "analysis/expression_program.h"

namespace analysis {

/// The relative precision of the engine's arithmetic: sums and products whose contributions cancel to
/// within it give 0, parts negligible to within it are dropped, sine and cosine residues below it
/// vanish. An evaluated value may be off by this much of every number that went into it.
inline constexpr double kArithmeticPrecision = 1e-7;

/// A value and a bound on its error: how far it may lie from the exact value when x moves within its
/// own bound and every number of the expression and every intermediate result within
/// kArithmeticPrecision of itself (to first order, and beyond it where a function would hide the
/// growth: roots, powers near 0, tangents near a pole). An infinite bound means the value is not
/// determined at all (a pole within reach, or an argument that may move by more than 1).
struct BoundedValue {
    Complex value;
    double bound = 0.0;
};

/// The value of program for x and letters, every operation the engine's own: sums and products
/// with their cancellation rule, 1 / z, powers as e^(w ln v) with the logarithm's angle in
/// [0, 2 pi), the sixteen function values with their branches; each result is cleaned of
/// negligible parts as a stored constant is, and fails beyond 10^18. One exception: a power with
/// base exactly 0 keeps its usual meaning (0^y is 0 when y has a positive real part, 1 when y is
/// 0, and fails otherwise), where the folding's shortcut gives 0 for every y. False when an
/// operation fails (division by 0, a logarithm of 0, a pole of a function, an overflow) or the
/// program is empty.
[[nodiscard]] bool engineValue(const ExpressionProgram& program, Complex x, const LetterValues& letters,
                               Complex& result);

/// The same with an error bound: x comes with its own, and every constant, letter value and
/// intermediate result may be off by kArithmeticPrecision of its magnitude.
[[nodiscard]] bool engineValueBounded(const ExpressionProgram& program, BoundedValue x,
                                      const LetterValues& letters, BoundedValue& result);

} // namespace analysis
