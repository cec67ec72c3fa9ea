// SPDX-License-Identifier: MIT
// The result check: a solve's final value substituted into the equation as it was entered, judged in
// standard mathematics at high precision.
#pragma once

#include "analysis/expression_program.h"
#include "analysis/precise_arithmetic.h"

#include <memory>
#include <optional>
#include <string>
#include <string_view>

namespace engine {
struct SolveDetails;
}

namespace analysis {

class PreciseEquation;

/// What substituting a value into its equation showed.
enum class CheckVerdict {
    NotApplicable, ///< no final value: an error, a contradiction such as 0=1, an identity, x=... with x on
                   ///< the right
    Verified,      ///< with principal values both sides agree to the working precision at the value,
                   ///< refined to the root nearby when Newton's method finds one
    Failed,        ///< the sides differ, with principal values and with the engine's own function values
    OtherBranch,   ///< the sides differ with principal values but agree with the engine's own function
                   ///< values: the value belongs to another branch of a power, root or logarithm
    Undefined,     ///< a side is not defined at the value: a division by 0, a logarithm of 0, a pole
    Undetermined,  ///< the sides cannot be compared: an overflow, or a pole or branch point so close
                   ///< that no precision up to kMaxPrecision decides
};

/// "verified", "failed", "other-branch", "undefined", "undetermined" or "not-applicable".
[[nodiscard]] std::string_view verdictName(CheckVerdict verdict);

/// Whether the verdict says the value is no solution (Failed, OtherBranch, Undefined): the check
/// line is then always shown.
[[nodiscard]] bool isRejection(CheckVerdict verdict);

enum class EquationSide { None, Left, Right };

/// Working precision of the check in bits. Each verdict is read at this precision and at twice
/// it; when the two readings disagree the precision is doubled again, up to kMaxPrecision, so that
/// no verdict rests on rounding.
inline constexpr int kBasePrecision = 128;
inline constexpr int kMaxPrecision = 512;

/// How far a value that Newton's method cannot refine may lie from a root, relative to itself, and
/// still pass; also how far refinement may move the value, and the tolerance of the comparison with
/// the engine's own function values. The engine's results are exact to about 10^-7 at best (its
/// cancellation rule), and a value found by its numeric search or through a long chain of folds is
/// often off by some 10^-6: one digit beyond the six printed ones.
///
/// Calibrated on every input of the golden files and 20,000 random equations (random_equations.py,
/// seed 8): of the 7,223 results that lie within a relative 1.1 x 10^-5 of a true root (found by
/// Newton's method from the result), none fails at 10^-5; the most any of them needs is 5.1 x 10^-6.
/// Of the results that are not near a root, none verifies at 10^-5 unless its sides agree with x
/// taken as exact (to the engine's arithmetic); above 10^-5 wrong ones start to verify, the first at
/// 2.4 x 10^-5.
inline constexpr double kCheckTolerance = 1e-5;

/// The sides agree when they differ by no more than this many times the bound of their rounding
/// (a first-order bound: the factor covers the higher orders).
inline constexpr double kAgreementSlack = 16.0;

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
    Complex value; ///< x as checked (refined when it was); with other letters, its value in letterSet
    Complex left;  ///< the left side at x with principal values (Verified, Failed, OtherBranch)
    Complex right; ///< the right side at x with principal values
    /// The side that is not defined at x (Undefined; the left one when both are not).
    EquationSide undefinedSide = EquationSide::None;
    /// The other letters of the equation in alphabetical order ("bc" for b*x=c); empty without them.
    std::string letters;
    /// The set of letter values (see letterValue) the figures belong to; -1 without other letters.
    int letterSet = -1;
};

/// Judges values in one loaded equation; holds the working storage of its precise evaluation, so
/// that many values (the roots of a search, the members of a family) are judged cheaply. The
/// equation must outlive the judge. Not for use from two threads at once.
class ResultJudge {
public:
    explicit ResultJudge(const Equation& equation);
    ResultJudge(const ResultJudge&) = delete;
    ResultJudge& operator=(const ResultJudge&) = delete;
    ~ResultJudge();

    [[nodiscard]] const Equation& equation() const { return m_equation; }
    [[nodiscard]] const PreciseEquation& precise() const { return *m_precise; }

    /// The check of x in an equation without other letters: x refined by Newton's method to a root
    /// within kCheckTolerance of it when there is one (then judged at the working precision),
    /// otherwise judged as it is, taken as exact to kCheckTolerance. A value whose sides differ with
    /// principal values is then compared with the engine's own function values (OtherBranch).
    /// NotApplicable when the equation is not loaded or has other letters.
    [[nodiscard]] CheckResult judge(Complex x) const;

    /// A check and the root it rests on at kBasePrecision: the refined x when it verified.
    struct Judgement {
        CheckResult check;
        std::optional<PreciseComplex> root;
    };
    /// The same as judge, keeping the refined root for a caller that goes on computing with it.
    [[nodiscard]] Judgement judgeRoot(Complex x) const;

    /// Whether x, exactly as given and taken as exact to within xBound, satisfies the equation
    /// (Verified) or not, at x's precision and twice it, with principal values only.
    [[nodiscard]] CheckVerdict verdictAt(const PreciseComplex& x, double xBound) const;

private:
    const Equation& m_equation;
    std::unique_ptr<PreciseEquation> m_precise;
};

/// The check of x in a loaded equation without other letters (see ResultJudge::judge).
[[nodiscard]] CheckResult checkValue(const Equation& equation, Complex x);

/// Checks the final value of a solve with details (`EquationSolver::Solve(prepared, details)`) in
/// the prepared text it solved. With other letters, the final right side (the derivation's formula
/// for x, with principal values) and both sides of the equation are evaluated for each set of
/// letter values: Verified when no set has another verdict but Undetermined, a rejection
/// (Failed, OtherBranch or Undefined) when no set verifies (figures of the first such set),
/// Undetermined when the sets disagree (the result holds for some values of the letters only) or
/// none can be decided.
[[nodiscard]] CheckResult checkSolve(std::string_view prepared, const engine::SolveDetails& details);

} // namespace analysis
