// SPDX-License-Identifier: MIT
// The result check: a solve's final value substituted into the equation as it was entered.
#pragma once

#include "engine/complex_value.h"
#include "engine/expression_evaluator.h"

#include <string>
#include <string_view>

namespace engine {

struct SolveDetails;

/// What substituting a value into its equation showed.
enum class CheckVerdict {
    NotApplicable, ///< no final value: an error, a contradiction such as 0=1, an identity, x=... with x on
                   ///< the right
    Verified,      ///< both sides agree within the tolerance
    Failed,        ///< the sides differ beyond the tolerance: the value does not satisfy the equation
    Undetermined,  ///< a side cannot be evaluated there (a pole, a logarithm of 0, an overflow)
};

/// Relative tolerance of the check: how far x may lie from a root of the equation and still pass.
/// Both sides are evaluated with error bounds in which x may be off by this much of itself and every
/// number and intermediate result by kArithmeticPrecision; the sides agree when they differ by no
/// more than the sum of their bounds. The engine's results are exact to about 10^-7 at best (its
/// cancellation rule), and a value found by the numeric search or through a long chain of folds is
/// often off by some 10^-6: one digit beyond the six printed ones.
///
/// Calibrated on every input of the golden files and 20,000 random equations (random_equations.py,
/// seed 8): of the 7,223 results that lie within a relative 1.1 x 10^-5 of a true root (found by
/// Newton's method from the result), none fails at 10^-5; the most any of them needs is 5.1 x 10^-6.
/// Of the results that are not near a root, none verifies at 10^-5 unless its sides agree with x
/// taken as exact (to the engine's arithmetic); above 10^-5 wrong ones start to verify, the first at
/// 2.4 x 10^-5.
/// sqr(x)=-1 and x^x=0 fail at any tolerance below 1.
inline constexpr double kCheckTolerance = 1e-5;

/// How many fixed sets of values the other letters of an equation are checked with.
inline constexpr int kLetterSets = 3;

/// The value of letter (a-z but x) in set 0-2: a positive real with two decimals between 0.5 and 3,
/// different for every letter of a set, so that the sets make no difference or quotient of two
/// letters 0 or 1 and stay inside the real domain of roots and logarithms.
[[nodiscard]] Complex letterValue(int set, char letter);
/// All letter values of set.
[[nodiscard]] LetterValues letterValues(int set);

/// The outcome of a check, with the figures it rests on.
struct CheckResult {
    CheckVerdict verdict = CheckVerdict::NotApplicable;
    Complex value; ///< x; for an equation with other letters, its value in letterSet
    Complex left;  ///< the left side at x
    Complex right; ///< the right side at x
    /// The other letters of the equation in alphabetical order ("bc" for b*x=c); empty without them.
    std::string letters;
    /// The set of letter values (see letterValue) the figures belong to; -1 without other letters.
    int letterSet = -1;
};

/// "verified", "failed", "undetermined" or "not applicable".
[[nodiscard]] std::string_view verdictName(CheckVerdict verdict);

/// Substitutes x into a loaded equation without other letters (x taken as exact to the tolerance).
/// NotApplicable when the equation is not loaded or has other letters.
[[nodiscard]] CheckResult checkValue(const EquationEvaluator& equation, Complex x);

/// Checks the final value of a solve with details (`EquationSolver::Solve(prepared, details)`) in
/// the prepared text it solved. With other letters, the final right side and both sides of the
/// equation are evaluated for each set of letter values: Verified when no set fails, Failed when no
/// set verifies but one fails (figures of the first failing set), Undetermined when the sets
/// disagree (the result holds for some values of the letters only) or none can be evaluated.
[[nodiscard]] CheckResult checkSolve(std::string_view prepared, const SolveDetails& details);

} // namespace engine
