// SPDX-License-Identifier: MIT
// Every solution of an equation in x in standard mathematics: found numerically, each refined and
// verified at high precision, periodic ones gathered into families.
#pragma once

#include "analysis/periodic_families.h"
#include "analysis/result_check.h"

#include <string_view>
#include <vector>

namespace analysis {

/// One solution and what its result check showed.
struct Solution {
    Complex value;
    CheckVerdict verdict = CheckVerdict::NotApplicable;
};

/// What the search for all solutions of an equation found.
struct AllSolutions {
    /// False when no search was made: the engine rejects the text, the equation has letters other
    /// than x, it has no x, or it holds for every x (the search would find a root everywhere).
    bool hasRun = false;
    /// The periodic families, in the display order of their bases.
    std::vector<SolutionFamily> families;
    /// The solutions in no family: at most kMaxRoots, each once, each refined and Verified by the
    /// result check: real ones first by value, then complex ones by real part, then imaginary part.
    std::vector<Solution> solutions;
    /// More solutions may exist: x stands inside a periodic function (sin, cos, tan, exp, hsn, hcs,
    /// htn) or an exponent, more were found than are listed, or the work limit ended the search; when
    /// families were found, only if some solutions fit none of them.
    bool mayHaveMore = false;
    int evaluations = 0; ///< evaluations of the equation the search made
};

/// Searches every solution of the prepared text (bytes 33-127, "." as decimal point, as `Solve`
/// takes it) with the root search of root_finder.h on f(x) = left side - right side with principal
/// values in double precision; a root is reported only when the result check refines and verifies
/// it (values of another branch never are). Deterministic, and bounded by kMaxEvaluations
/// evaluations, fewer for a long equation, so that a search takes a few milliseconds.
[[nodiscard]] AllSolutions findAllSolutions(std::string_view prepared);

/// Whether two values are the same solution: equal to one part in a million of their magnitude.
[[nodiscard]] bool isSameSolution(Complex a, Complex b);

} // namespace analysis
