// SPDX-License-Identifier: MIT
// Pieces and levels: in-place edits of a PieceString, its precedence levels, the constant pool and
// the tokeniser that turns validated text into pieces.
#pragma once

#include "engine/complex_value.h"
#include "engine/piece_string.h"

namespace engine {

/// Most pieces an equation may have while it is solved.
inline constexpr int kMaxPieces = 255;

/// Inserts count pieces of source (count 0: source up to its NUL) at position of destination.
/// False, with destination unchanged and marked overflowed, when the result would not fit.
bool InsertPieces(PieceString& destination, int position, const unsigned char* source, int count);
/// Removes count pieces at position of string; positions outside the string change nothing.
void DeletePieces(PieceString& string, int position, int count);
/// Index of the first occurrence of piece in string, or -1; for piece 0 the length of string.
[[nodiscard]] int FindPiece(const PieceString& string, unsigned char piece);

/// Writes the level of every piece of pieces into levels: 8 times the nesting depth plus the
/// precedence class (0 parenthesis or `=`, 1 `+ -`, 2 `* /`, 3 sign after `* /`, 4 `^`, 5 sign
/// after `^`, 6 function, 7 operand). False, with levels partly written, when a `)` closes nothing
/// or a level would reach 248 (more than 30 nested parentheses).
[[nodiscard]] bool ComputeLevels(const PieceString& pieces, LevelString& levels);

/// Outcome of `StoreConstant` and `Tokenise`.
enum class StoreResult {
    Stored,   // the token was written
    Overflow, // a part exceeds 10^18 in magnitude; nothing written
    PoolFull, // the value needs a new code and all 117 are in use; nothing written
};

/// Writes the constant token of value at pieces[position]. Parts negligible next to the other
/// part, or below 10^-18, become 0; a value already in pool (ApproxEqual part by part) reuses its
/// code, otherwise the lowest free code from 0x8B is taken. The codes pieces uses are first
/// renumbered to close gaps from 0x8B up (their pool entries move with them), so pieces and pool
/// change even when nothing is written.
[[nodiscard]] StoreResult StoreConstant(PieceString& pieces, int position, ConstantPool& pool, Complex value);

/// Turns validated text held in pieces into pieces in place: each function name becomes its token
/// and each number a constant token of pool. On a result other than Stored, pieces is left empty.
[[nodiscard]] StoreResult Tokenise(PieceString& pieces, ConstantPool& pool);

/// Writes the preset constants 0x81-0x8A (1, 2, 10, 4, 0.5, e, e^2, sqrt(e), -1, -2) into pool.
void writePresets(ConstantPool& pool);

} // namespace engine
