// SPDX-License-Identifier: MIT
// Turns what the driver's steps did into the reasons of their lines.
#include "engine/step_recorder.h"

#include "engine/formatting.h"
#include "engine/pieces.h"
#include "engine/rule_tables.h"
#include "engine/rules.h"
#include "engine/token_table.h"

#include <array>
#include <span>

namespace engine {

namespace {

/// The text of the preset constants 0x80-0x8A in a rule.
constexpr std::array<std::string_view, 11> kPresetNames = {
    "0", "1", "2", "10", "4", "0.5", "e", "e^2", "sqr(e)", "(-1)", "(-2)",
};

std::string_view functionName(unsigned char token)
{
    const std::size_t at = kFunctionTokenTable.find(static_cast<char>(token));
    return at == std::string_view::npos ? std::string_view() : kFunctionTokenTable.substr(at + 1, 3);
}

} // namespace

std::string ruleMaths(std::string_view half)
{
    std::string maths;
    for (const char c : half) {
        const auto piece = static_cast<unsigned char>(c);
        if (isFunctionToken(piece))
            maths += functionName(piece);
        else if (piece >= kZero && piece <= kMinusTwo)
            maths += kPresetNames[piece - kZero];
        else
            maths += c;
    }
    return maths;
}

StepRecorder::StepRecorder()
{
    writePresets(m_values);
}

void StepRecorder::start(StepKind kind, StepAction action)
{
    m_pending.kind = kind;
    m_pending.action = action;
    m_pending.side = StepSide::None;
    m_pending.rule = {};
    m_pending.letter = 0;
    m_pending.trials = 0;
    m_pending.maths.clear();
    m_pending.moreMaths.clear();
}

std::string StepRecorder::render(std::string_view pieces, const ConstantPool& pool)
{
    m_pieces.clear();
    m_pieces.clearOverflow();
    if (!m_pieces.insert(0, pieces) || !ComputeLevels(m_pieces, m_levels))
        m_levels.clear(); // rendered without brackets rather than not at all
    return renderPieces(m_pieces, m_levels, pool);
}

void StepRecorder::noteEquation()
{
    start(StepKind::Equation, StepAction::Equation);
}

void StepRecorder::noteSwap()
{
    start(StepKind::Swap, StepAction::Swap);
}

void StepRecorder::noteFold()
{
    start(StepKind::Fold, m_fold.action);
    if (m_fold.pieces[0] == 0)
        return;
    m_values.re[kFoldFirstValue - kZero] = m_fold.values[0].re;
    m_values.im[kFoldFirstValue - kZero] = m_fold.values[0].im;
    m_values.re[kFoldSecondValue - kZero] = m_fold.values[1].re;
    m_values.im[kFoldSecondValue - kZero] = m_fold.values[1].im;
    const std::string_view pieces(reinterpret_cast<const char*>(m_fold.pieces.data()));
    m_pending.maths = render(pieces, m_values);
}

void StepRecorder::noteRule(StepKind kind, char table, int index, unsigned char letter)
{
    start(kind, StepAction::Rule);
    m_pending.rule = {table, index + 1};
    m_pending.letter = letter;
    const std::span<const std::string_view> rows = ruleTable(table);
    if (index < 0 || static_cast<std::size_t>(index) >= rows.size())
        return;
    const std::string_view row = rows[static_cast<std::size_t>(index)];
    const std::size_t blank = row.find(' ');
    m_pending.maths = ruleMaths(row.substr(0, blank));
    if (blank != std::string_view::npos)
        m_pending.moreMaths = ruleMaths(row.substr(blank + 1));
}

void StepRecorder::noteIsolation(StepKind kind, const ConstantPool& pool)
{
    start(kind, m_isolation.action);
    const std::string_view pieces = m_isolation.pieces;
    switch (m_isolation.action) {
    case StepAction::Move:
        m_pending.side = m_isolation.side;
        if (!pieces.empty()) {
            m_pending.maths = render(pieces.substr(1), pool);
            // A first term that brings its own sign shows no `+` in front of it.
            if (pieces[0] != '+' || !m_pending.maths.starts_with('-'))
                m_pending.maths.insert(0, 1, pieces[0]);
        }
        break;
    case StepAction::MoveSign:
    case StepAction::MoveNumerator:
        m_pending.side = m_isolation.side;
        m_pending.maths = render(pieces, pool);
        break;
    case StepAction::UndoBase:
    case StepAction::UndoExponent:
        m_pending.maths = render(pieces, pool);
        break;
    case StepAction::UndoFunction: {
        const auto function = static_cast<unsigned char>(pieces.empty() ? 0 : pieces[0]);
        m_pending.maths = functionName(function);
        if (const unsigned char inverse = inverseFunction(function); inverse != 0)
            m_pending.moreMaths = functionName(inverse);
        else if (function == token::kLgt)
            m_pending.moreMaths = "10^";
        else
            m_pending.moreMaths = "^2";
        break;
    }
    default:
        break;
    }
}

void StepRecorder::noteClearedFraction(const PieceString& divisor, const ConstantPool& pool)
{
    start(StepKind::ClearFraction, StepAction::ClearFraction);
    m_pending.maths = render(divisor.view(), pool);
}

void StepRecorder::noteSearch(int trials, Complex value)
{
    start(StepKind::Search, StepAction::Search);
    m_pending.trials = trials;
    m_values.re[kFoldFirstValue - kZero] = value.re;
    m_values.im[kFoldFirstValue - kZero] = value.im;
    const unsigned char token[] = {kFoldFirstValue, 0};
    m_pending.maths = render(reinterpret_cast<const char*>(token), m_values);
}

} // namespace engine
