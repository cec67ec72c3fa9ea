// SPDX-License-Identifier: MIT
// Moves one term, factor, base, exponent or function of one side of the equation to the other side
// by applying the inverse operation there.
#include "engine/transformations.h"

#include "engine/token_table.h"

#include <algorithm>
#include <string_view>

namespace engine {

namespace {

/// One side of the equation, as a window on the whole PieceString and its levels. Outside the
/// side every level reads 0, as before the first and after the last piece of an equation.
struct Side {
    const PieceString& pieces;
    const LevelString& levels;
    int start = 0;
    int length = 0;

    [[nodiscard]] unsigned char piece(int t) const { return inside(t) ? pieces.at(start + t) : 0; }
    [[nodiscard]] int level(int t) const { return inside(t) ? levels.at(start + t) : 0; }
    [[nodiscard]] bool inside(int t) const { return t >= 0 && t < length; }
};

/// Builds the new other side in the scratch string.
class OtherSide {
public:
    OtherSide(PieceString& scratch, const PieceString& pieces, int start, int end)
        : m_scratch(scratch), m_pieces(pieces), m_start(start), m_end(end)
    {
        m_scratch.clear();
        m_scratch.clearOverflow();
    }

    OtherSide& text(std::string_view bytes)
    {
        m_scratch.insert(m_scratch.length(), bytes);
        return *this;
    }
    OtherSide& piece(unsigned char value)
    {
        m_scratch.insert(m_scratch.length(), value);
        return *this;
    }
    /// Appends pieces [from, to) of the kept side (indexes relative to the side's start).
    OtherSide& range(const Side& side, int from, int to)
    {
        if (to > from)
            m_scratch.insert(m_scratch.length(), side.pieces.data() + side.start + from, to - from);
        return *this;
    }
    /// Appends the old content of the other side.
    OtherSide& old()
    {
        if (m_end > m_start)
            m_scratch.insert(m_scratch.length(), m_pieces.data() + m_start, m_end - m_start);
        return *this;
    }

private:
    PieceString& m_scratch;
    const PieceString& m_pieces;
    int m_start;
    int m_end;
};

/// What happens to the kept side once the other side is built.
struct KeptEdit {
    int eraseFrom = 0;
    int eraseCount = 0;
    bool invertProduct = false; // swap * and / at the product's top level
};

// The callers name the first piece of a term or factor (after its operator). Any other piece of
// the side stands for the operand around it, an operator of the weakest level for the operand after
// it, so that no position can tear a term apart.
int operandStart(const Side& side, int p, int weakest)
{
    if (p > 0 && side.level(p) <= weakest && p + 1 < side.length)
        ++p;
    while (p > 0 && side.level(p - 1) > weakest)
        --p;
    return p;
}

// The end of the operand starting at p: the next piece after p at the side's weakest level or below.
int operandEnd(const Side& side, int p, int weakest)
{
    int q = p + 1;
    while (q < side.length && side.level(q) > weakest)
        ++q;
    return q;
}

/// What an isolation step makes of the side's weakest operation.
enum class Plan {
    Edit,          // the other side is built and the kept side's edit is set
    NothingToMove, // the operation offers nothing to move: report a step, change nothing
    SingleOperand, // the side is a single operand: no step
};

/// One isolation step: the kept side, the position on it, and the new other side being built.
class IsolationStep {
public:
    IsolationStep(const Side& side, int position, OtherSide& other, KeptEdit& edit, IsolationRecord* record)
        : m_side(side), m_p(position), m_other(other), m_edit(edit), m_record(record)
    {
        m_weakest = side.level(0);
        for (int t = 1; t < side.length; ++t)
            m_weakest = std::min(m_weakest, side.level(t));
        if (m_weakest <= 2)
            m_p = operandStart(side, m_p, m_weakest);
    }

    Plan plan()
    {
        switch (m_weakest) {
        case 1:
            return moveTerm();
        case 2:
            return moveFactor();
        case 4:
            return movePowerPart();
        case 6:
            return undoFunction();
        case 7:
            return Plan::SingleOperand;
        default:
            return Plan::NothingToMove;
        }
    }

private:
    /// A sum: A+B=C -> A=C-B, A-B=C -> A=C+B; a lone signed term -A=C -> A=-(C).
    Plan moveTerm()
    {
        bool otherTerms = false;
        for (int t = 1; t < m_side.length; ++t)
            otherTerms = otherTerms || m_side.level(t) == 1;
        if (!otherTerms) {
            note(StepAction::MoveSign, 0, 1);
            // A redundant `+` in front is simply dropped.
            if (m_side.piece(0) == '-')
                m_other.text("-(").old().text(")");
            else
                m_other.old();
            m_edit.eraseFrom = 0;
            m_edit.eraseCount = 1;
            return Plan::Edit;
        }
        const int q = operandEnd(m_side, m_p, m_weakest);
        if (m_p == 0 && q >= m_side.length)
            return Plan::NothingToMove; // the whole side: there is no other term to keep
        noteMove('+', q);
        m_other.old().piece(m_side.piece(m_p - 1) == '-' ? '+' : '-').range(m_side, m_p, q);
        m_edit.eraseFrom = m_p > 0 ? m_p - 1 : 0;
        m_edit.eraseCount = m_p > 0 ? q - m_p + 1 : q;
        return Plan::Edit;
    }

    /// A product: A*B=C -> A=(C)/B, A/B=C -> A=(C)*B.
    Plan moveFactor()
    {
        const int q = operandEnd(m_side, m_p, m_weakest);
        if (q >= m_side.length && m_p == 0)
            return Plan::NothingToMove;
        if (m_p == 0 && m_side.piece(q) == '/') {
            // A/B=C -> B=A/(C): the first factor becomes the numerator over the other side, and
            // every other factor changes between multiplying and dividing.
            note(StepAction::MoveNumerator, 0, q);
            m_other.range(m_side, 0, q).text("/(").old().text(")");
            m_edit.invertProduct = true;
            m_edit.eraseFrom = 0;
            m_edit.eraseCount = q + 1;
            return Plan::Edit;
        }
        noteMove('*', q);
        m_other.text("(").old().text(m_side.piece(m_p - 1) == '/' ? ")*" : ")/").range(m_side, m_p, q);
        m_edit.eraseFrom = m_p > 0 ? m_p - 1 : 0;
        m_edit.eraseCount = m_p > 0 ? q - m_p + 1 : q + 1;
        return Plan::Edit;
    }

    /// A power, split at the last top-level `^`: B^A=C -> A=log(C)/log(B), A^E=C -> A=(C)^(1/(E)).
    Plan movePowerPart()
    {
        int caret = m_side.length - 1;
        while (caret > 0 && !(m_side.level(caret) == m_weakest && m_side.piece(caret) == '^'))
            --caret;
        if (caret <= 0)
            return Plan::NothingToMove;
        if (m_p == 0) {
            note(StepAction::UndoBase, 0, caret);
            m_other.piece(token::kLog).text("(").old().text(")/").piece(token::kLog).text("(");
            m_other.range(m_side, 0, caret).text(")");
            m_edit.eraseFrom = 0;
            m_edit.eraseCount = caret + 1;
        } else {
            note(StepAction::UndoExponent, caret + 1, m_side.length);
            m_other.text("(").old().text(")^(").piece(kOne).text("/(");
            m_other.range(m_side, caret + 1, m_side.length).text("))");
            m_edit.eraseFrom = caret;
            m_edit.eraseCount = m_side.length - caret;
        }
        return Plan::Edit;
    }

    /// A function application F(A)=C -> (A)=G(C), G the inverse of F; lgt and sqr become powers.
    Plan undoFunction()
    {
        int at = 0;
        while (at < m_side.length && m_side.level(at) != m_weakest)
            ++at;
        const unsigned char function = m_side.piece(at);
        note(StepAction::UndoFunction, at, at + 1);
        if (const unsigned char inverse = inverseFunction(function); inverse != 0) {
            m_other.piece(inverse).text("(").old().text(")");
        } else if (function == token::kLgt) {
            m_other.piece(kTen).text("^(").old().text(")"); // lgt(A)=C -> (A)=10^(C)
        } else if (function == token::kSqr) {
            m_other.text("(").old().text(")^").piece(kTwo); // sqr(A)=C -> (A)=(C)^2
        } else {
            note(StepAction::NothingToUndo, 0, 0);
            return Plan::NothingToMove;
        }
        m_edit.eraseFrom = at;
        m_edit.eraseCount = 1;
        return Plan::Edit;
    }

    /// Notes the kind of step and the pieces [from, to) of the side it concerns.
    void note(StepAction action, int from, int to)
    {
        if (m_record == nullptr)
            return;
        m_record->action = action;
        m_record->pieces.clear();
        for (int t = from; t < to; ++t)
            m_record->pieces += static_cast<char>(m_side.piece(t));
    }

    /// Notes a term or factor moved: its operator (firstOperator for the first operand) and itself.
    void noteMove(char firstOperator, int end)
    {
        if (m_record == nullptr)
            return;
        note(StepAction::Move, m_p, end);
        m_record->pieces.insert(0, 1, m_p > 0 ? static_cast<char>(m_side.piece(m_p - 1)) : firstOperator);
    }

    const Side& m_side;
    int m_p;
    int m_weakest = 0;
    OtherSide& m_other;
    KeptEdit& m_edit;
    IsolationRecord* m_record;
};

/// Edits the kept side in place, then puts the new other side (in scratch) where the old one was.
void applyStep(PieceString& pieces, const Side& side, const KeptEdit& edit, bool keptIsLeft, int equals,
               const PieceString& scratch)
{
    if (edit.invertProduct) {
        for (int t = 1; t < side.length; ++t) {
            if (side.level(t) != 2)
                continue;
            const int at = side.start + t;
            if (pieces.at(at) == '*')
                pieces.set(at, '/');
            else if (pieces.at(at) == '/')
                pieces.set(at, '*');
        }
    }
    const int keptLength = side.length - edit.eraseCount;
    pieces.erase(side.start + edit.eraseFrom, edit.eraseCount);
    if (keptIsLeft) {
        pieces.truncate(keptLength + 1);
        pieces.insert(keptLength + 1, scratch.data(), scratch.length());
    } else {
        pieces.erase(0, equals);
        pieces.insert(0, scratch.data(), scratch.length());
    }
}

} // namespace

bool IsolateStep(PieceString& pieces, const LevelString& levels, int position, PieceString& scratch,
                 IsolationRecord* record)
{
    if (record != nullptr)
        *record = {};
    if (&scratch == &pieces)
        return false;
    const int count = pieces.length();
    const auto equalsAt = pieces.view().find('=');
    if (equalsAt == std::string_view::npos)
        return false;
    const int equals = static_cast<int>(equalsAt);
    if (position < 0 || position >= count || position == equals)
        return false;

    const bool keptIsLeft = position < equals;
    if (record != nullptr)
        record->side = keptIsLeft ? StepSide::Right : StepSide::Left;
    const Side side{pieces, levels, keptIsLeft ? 0 : equals + 1, keptIsLeft ? equals : count - equals - 1};
    OtherSide other(scratch, pieces, keptIsLeft ? equals + 1 : 0, keptIsLeft ? count : equals);
    KeptEdit edit;
    switch (IsolationStep(side, position - side.start, other, edit, record).plan()) {
    case Plan::Edit:
        break;
    case Plan::NothingToMove:
        return true;
    case Plan::SingleOperand:
        return false;
    }

    const int keptLength = side.length - edit.eraseCount;
    if (scratch.hasOverflowed() || keptLength + 1 + scratch.length() >= PieceString::kCapacity) {
        pieces.markOverflowed();
        return false;
    }
    applyStep(pieces, side, edit, keptIsLeft, equals, scratch);
    return true;
}

} // namespace engine
