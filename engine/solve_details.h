// SPDX-License-Identifier: MIT
// What a solve reports beside its text, for front ends that ask for more than the derivation.
#pragma once

#include "engine/complex_value.h"

#include <string>

namespace engine {

/// The right side of a derivation's final line x=... when no x stands on it (a value, or an
/// expression in the other letters), at the engine's full precision: its pieces in the token form
/// and the constant pool their constant tokens index.
struct FinalSide {
    std::string pieces; ///< empty when the derivation has no final value
    ConstantPool pool;

    [[nodiscard]] bool isEmpty() const { return pieces.empty(); }
};

/// Filled by `EquationSolver::Solve(text, details)`; the plain `Solve` records nothing, so asking
/// for nothing costs nothing.
struct SolveDetails {
    /// Set at the end of every solve with details: the final value, or empty.
    FinalSide finalSide;
};

} // namespace engine
