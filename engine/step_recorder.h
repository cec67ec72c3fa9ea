// SPDX-License-Identifier: MIT
// Private to the engine: turns what the driver's steps did into the reasons of their lines.
#pragma once

#include "engine/complex_value.h"
#include "engine/constant_folding.h"
#include "engine/piece_string.h"
#include "engine/solve_details.h"
#include "engine/transformations.h"

#include <string>
#include <string_view>

namespace engine {

/// The reason for the line the current pass will produce, and the scratch to write its maths.
/// The driver keeps one only while a solve is asked for its details; each step that changes the
/// equation sets the pending reason from its own record, and the line takes it.
class StepRecorder {
public:
    StepRecorder();

    /// Where the folding and the isolation steps write what they did.
    [[nodiscard]] FoldRecord& foldRecord() { return m_fold; }
    [[nodiscard]] IsolationRecord& isolationRecord() { return m_isolation; }

    /// The reason the next line gets.
    [[nodiscard]] const StepReason& pending() const { return m_pending; }

    void noteEquation();
    void noteSwap();
    /// A fold, from foldRecord().
    void noteFold();
    /// Rule index (0-based) of table ('A', 'B' or 'C'); letter is the letter of the letter pass.
    void noteRule(StepKind kind, char table, int index, unsigned char letter = 0);
    /// An isolation step, from isolationRecord(); pool holds the values of its constants.
    void noteIsolation(StepKind kind, const ConstantPool& pool);
    void noteClearedFraction(const PieceString& divisor, const ConstantPool& pool);
    void noteSearch(int trials, Complex value);

private:
    void start(StepKind kind, StepAction action);
    /// The engine's rendering of pieces, with the constants of pool.
    std::string render(std::string_view pieces, const ConstantPool& pool);

    StepReason m_pending;
    FoldRecord m_fold;
    IsolationRecord m_isolation;
    PieceString m_pieces;
    LevelString m_levels;
    ConstantPool m_values; // the presets and the values of a fold
};

/// A rule's pattern or replacement in maths: function tokens as their names, the preset constant
/// tokens as their values ("0.5", "e", "sqr(e)", "(-1)"), everything else as it stands.
[[nodiscard]] std::string ruleMaths(std::string_view half);

} // namespace engine
