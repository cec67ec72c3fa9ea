// SPDX-License-Identifier: MIT
// Periodic families of solutions: roots that repeat with a period, found among the roots of a search
// and proved member by member at high precision.
#pragma once

#include "analysis/precise_arithmetic.h"
#include "analysis/result_check.h"

#include <optional>
#include <vector>

namespace analysis {

/// The solutions base + k period for every whole number k.
struct SolutionFamily {
    Complex base;   ///< the member nearest to 0 (of two as near, the one with the larger real part)
    Complex period; ///< with a positive real part, or on the positive imaginary axis
};

/// Whether a family holds value: value = base + k period for a whole k, to one part in a million.
[[nodiscard]] bool isFamilyMember(const SolutionFamily& family, Complex value);

/// A root of a search, with its refined value when it has one.
struct FoundRoot {
    Complex value;
    std::optional<PreciseComplex> precise; ///< at kBasePrecision
};

/// The roots sorted into families and the ones in none.
struct FamilyGrouping {
    std::vector<SolutionFamily> families; ///< in the display order of their bases
    std::vector<Complex> loose;           ///< the roots in no family, in their given order
};

/// The members r + k p tried for a root r and a period p: every one must verify. Near ones show the
/// period, far ones that it is no approximate period (and primes keep a multiple of a true period
/// from passing for one).
inline constexpr int kFamilyMembers[] = {1, -1, 2, -2, 3, -3, 97, -97, 1009, -1009};

/// Periods tried: every difference of two refined roots, and pi, 2 pi, pi sqr(-1) and 2 pi sqr(-1),
/// shortest first; at most this many of them.
inline constexpr int kMaxPeriodCandidates = 64;

/// Sorts roots (those with a refined value) into families: for each root, nearest to 0 first, the
/// shortest candidate period for which the member nearest 0 and its neighbours kFamilyMembers
/// periods away all verify (ResultJudge::verdictAt at the working precision) makes a family, which
/// takes every other root it holds. Roots without a refined value, and those no period fits, stay
/// loose.
[[nodiscard]] FamilyGrouping groupIntoFamilies(const ResultJudge& judge, const std::vector<FoundRoot>& roots);

} // namespace analysis
