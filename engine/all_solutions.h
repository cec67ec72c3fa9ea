// SPDX-License-Identifier: MIT
// Every solution of an equation in x, found numerically and each passed through the result check.
#pragma once

#include "engine/complex_value.h"
#include "engine/result_check.h"

#include <string_view>
#include <vector>

namespace engine {

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
    /// At most kMaxRoots solutions, each once, each Verified by the result check: real ones first by
    /// value, then complex ones by real part, then imaginary part.
    std::vector<Solution> solutions;
    /// More solutions may exist: x stands inside a periodic function (sin, cos, tan, exp, hsn, hcs,
    /// htn) or an exponent, more were found than are listed, or the work limit ended the search.
    bool mayHaveMore = false;
    int evaluations = 0; ///< evaluations of the equation the search made
};

/// Searches every solution of the prepared text (bytes 33-127, "." as decimal point, as `Solve`
/// takes it) with the root search of root_finder.h on f(x) = left side - right side, evaluated with
/// the engine's own arithmetic; every reported value passes `checkValue`. Deterministic, and bounded
/// by kMaxEvaluations evaluations, fewer for a long equation, so that a search takes a few
/// milliseconds at most (about 0.2 ms for the median golden input, 2 ms for the worst).
[[nodiscard]] AllSolutions findAllSolutions(std::string_view prepared);

/// Whether x stands inside a periodic function or an exponent in the prepared text, so that the
/// equation may have infinitely many solutions.
[[nodiscard]] bool hasPeriodicTerm(std::string_view prepared);

/// Whether two values are the same solution: equal to one part in a million of their magnitude.
[[nodiscard]] bool isSameSolution(Complex a, Complex b);

} // namespace engine
