// SPDX-License-Identifier: MIT
// What a solve reports beside its text, for front ends that ask for more than the derivation.
#pragma once

namespace engine {

/// Filled by `EquationSolver::Solve(text, details)`; the plain `Solve` records nothing, so asking
/// for nothing costs nothing.
struct SolveDetails {};

} // namespace engine
