// SPDX-License-Identifier: MIT
// Private to the engine and its white-box tests: the solver's working buffers and the driver's
// operations on them. Front ends use equation_solver.h.
#pragma once

#include "engine/complex_value.h"
#include "engine/error_codes.h"
#include "engine/piece_string.h"
#include "engine/rules.h"
#include "engine/solve_details.h"
#include "engine/step_recorder.h"
#include "engine/validation.h"

#include <memory>
#include <string>
#include <string_view>

namespace engine {

/// Everything one solve works on, in place. Owned by the solver object; one solve at a time.
struct SolverBuffers {
    PieceString pieces;    // the equation being solved
    LevelString levels;    // levels of pieces, current after every normalisation
    PieceString temporary; // scratch of the transformations (the other side, rearranged operands)
    PieceString spare;     // a copy aside: a divisor being multiplied out, an equation before a step
    RuleScratch rules;
    PieceString trialCopy; // the numeric search's right side with x replaced by the trial value
    LevelString trialLevels;
    ConstantPool pool;
    TrialPool trialPool;
    int outputLineCounter = 0;
    /// Made at the first solve asked for its details, kept for the next ones.
    std::unique_ptr<StepRecorder> recorder;

    /// Clears what a previous solve may have left: the counter, the overflow marks, the presets.
    void startSolve();
};

/// Validates text, tokenises it into `pieces` and computes `levels`, without producing a line: the
/// state a solve starts its passes from. Returns ErrorCode::None or the first error.
[[nodiscard]] ErrorCode loadEquation(SolverBuffers& buffers, std::string_view text);

/// Checks the length of `pieces`, then simplifies signs and brackets (levels recomputed before
/// every step) and orders the terms for letter until nothing changes. Returns ErrorCode::None,
/// TooManyPieces or TooDeeplyNested; `levels` is current afterwards unless an error is returned.
[[nodiscard]] ErrorCode Normalise(SolverBuffers& buffers, unsigned char letter);

/// What one solve produced: the solution lines (each ending in CR LF) and how it ended. With an
/// error other than TooManyLines the lines are dropped; a validation fault comes with its arguments.
struct SolveOutcome {
    std::string lines;
    ErrorCode error = ErrorCode::None;
    ValidationResult validation;
};

/// The solving driver: validates, tokenises and transforms text pass by pass until nothing changes.
/// details, when given, receives what the solve reports beside its text.
[[nodiscard]] SolveOutcome solveEquation(SolverBuffers& buffers, std::string_view text,
                                         SolveDetails* details = nullptr);

} // namespace engine
