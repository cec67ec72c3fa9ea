// SPDX-License-Identifier: MIT
// Equation transformations: sign and bracket simplification, term order, isolation steps. Each call
// makes at most one change to the PieceString it is given; its levels are stale afterwards.
#pragma once

#include "engine/piece_string.h"
#include "engine/solve_details.h"

#include <string>

namespace engine {

/// Makes one simplification of pieces (levels current): merges two signs or drops a redundant `+`,
/// moves a factor's sign to the front of its product, or dissolves one pair of parentheses that
/// is not needed. True when pieces was changed.
[[nodiscard]] bool SimplifySigns(PieceString& pieces, const LevelString& levels);

/// Swaps one pair of neighbouring operands of a sum or product of pieces (levels current) so that
/// operands holding letter move right, the most loosely bound occurrence last. scratch (not
/// pieces) receives the rearranged operands. True when pieces was changed; false when it was
/// sorted already, or when the result would not fit (pieces is then marked overflowed, unchanged).
[[nodiscard]] bool CollectTerms(PieceString& pieces, const LevelString& levels, unsigned char letter,
                                PieceString& scratch);

/// What one isolation step did, for a caller that explains its steps: the kind of step (one of the
/// actions Move, MoveSign, MoveNumerator, UndoBase, UndoExponent, UndoFunction, NothingToUndo), the
/// side that received the inverse operation, and the pieces concerned: the operand with the
/// operator in front of it (`+` or `*` for a first operand) for Move, the sign for MoveSign, the
/// numerator, the base or the exponent, or the function token for UndoFunction.
struct IsolationRecord {
    StepAction action = StepAction::NothingToUndo;
    StepSide side = StepSide::Right;
    std::string pieces;
};

/// Moves the operand at position (a term, factor, base, exponent or function application of the
/// weakest operation of its side) to the other side of the `=` of pieces (levels current), applying
/// the inverse operation there; the new other side is built in scratch (not pieces). True when a
/// step was made, and also when the side offers nothing to move but a single operand is not all it
/// holds; false for a single operand, a bad position or a result that would not fit (pieces is then
/// marked overflowed, unchanged). record, when given, tells what the step did.
[[nodiscard]] bool IsolateStep(PieceString& pieces, const LevelString& levels, int position,
                               PieceString& scratch, IsolationRecord* record = nullptr);

} // namespace engine
