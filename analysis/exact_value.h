// SPDX-License-Identifier: MIT
// Exact values: a root of an equation written in closed form, shown only after a proof at high
// precision that the closed form is the root.
#pragma once

#include "analysis/all_solutions.h"
#include "analysis/result_check.h"

#include <string>
#include <string_view>
#include <vector>

namespace analysis {

/// The precision a root is refined to before its closed form is looked for; the proof works at
/// this precision and at twice it.
inline constexpr int kExactPrecision = 400;
/// Bits of each proving precision that the comparisons leave to rounding: a closed form passes at
/// precision P when it differs from the root, and its sides from each other, by no more than
/// 2^-(P - kProofSlack) of their size.
inline constexpr int kProofSlack = 20;

/// Why a value has or has not an exact form.
enum class ExactOutcome {
    Found,        ///< text is a closed form, proved at kExactPrecision and twice it
    AlreadyExact, ///< the six-digit decimal is the value itself (x = 3, x = 2.5): nothing to add
    NotRefined,   ///< Newton's method did not converge at the exact precision
    NoForm,       ///< no form of closed_forms.h fits, or none passed the proof
    /// The equation's reading merged a typed number with a nearby one (2.0000000001 read as 2):
    /// what was typed has no exact value to be had from the numbers.
    NumbersMerged,
    NotAsked, ///< no exact value was looked for (the value did not verify, the option is off)
};

struct ExactValue {
    ExactOutcome outcome = ExactOutcome::NotAsked;
    /// The closed form in the program's notation (kPiText for pi) when Found; otherwise empty.
    std::string text;

    [[nodiscard]] bool isFound() const { return outcome == ExactOutcome::Found; }
};

/// Looks for exact values in one loaded equation without other letters, through the judge's
/// precise evaluation. The judge must outlive it. Not for use from two threads at once.
class ExactValueFinder {
public:
    explicit ExactValueFinder(const ResultJudge& judge) : m_judge(judge) {}

    /// The exact value of the root near x: x refined by Newton's method at kExactPrecision and at
    /// twice it; AlreadyExact when x's six-digit decimal is that root; otherwise the first candidate
    /// that firstClosedForm proposes and that proves: at both precisions the closed form, evaluated from its
    /// own text, differs from the refined root by at most 2^-(P - kProofSlack) of the root, and the
    /// equation's sides at it differ by at most 2^-(P - kProofSlack) of the larger side (or by the
    /// bound of their rounding, for sides that are both 0).
    [[nodiscard]] ExactValue root(Complex x) const;

    /// The exact family base + period*k ("π/6+2*π*k"): the base's exact value (root), and a period
    /// that is a rational multiple of pi or pi sqr(-1) (periodCandidate), proved by the members
    /// base + period, base - period and base + 2 period satisfying the equation at both precisions.
    /// Found only when both are; AlreadyExact never.
    [[nodiscard]] ExactValue family(const SolutionFamily& family) const;

private:
    const ResultJudge& m_judge;
};

/// The exact values of one Solve: the derivation's final value and everything the search for all
/// solutions listed.
struct ExactValues {
    ExactValue finalValue;             ///< NotAsked unless the check verified it without letters
    std::vector<ExactValue> solutions; ///< one per AllSolutions::solutions entry
    std::vector<ExactValue> families;  ///< one per AllSolutions::families entry
};

/// Finds the exact values of a solve of the prepared text: of the checked final value when it
/// verified in an equation without other letters, and of every listed solution and family.
[[nodiscard]] ExactValues findExactValues(std::string_view prepared, const CheckResult& check,
                                          const AllSolutions& found);

/// The outcome's name in JSON and tests: "found", "already-exact", "not-refined", "no-form",
/// "numbers-merged", "not-asked".
[[nodiscard]] std::string_view exactOutcomeName(ExactOutcome outcome);

} // namespace analysis
