// SPDX-License-Identifier: MIT
// Newton's method at high precision: a value near a root of an equation made as exact as the
// working precision allows.
#pragma once

#include "analysis/precise_equation.h"

#include <optional>

namespace analysis {

/// Most Newton steps one refinement takes.
inline constexpr int kMaxRefinementSteps = 80;

/// Refines start (at its precision) to a root of left - right of an equation without other
/// letters, by Newton's method with the exact derivative: each step damped (halved until the
/// difference of the sides shrinks, which also lands a root at a square-root branch point) and
/// lengthened by the multiplicity that slowly shrinking steps show. The root when the steps become
/// negligible at the working precision (or the sides become exactly equal) without leaving the
/// disc of radius reach around start; nothing when a side stops being defined, the derivative
/// vanishes or is infinite before convergence, the steps leave that disc, or kMaxRefinementSteps
/// pass.
[[nodiscard]] std::optional<PreciseComplex> refineRoot(const PreciseEquation& equation,
                                                       const PreciseComplex& start, double reach);

} // namespace analysis
