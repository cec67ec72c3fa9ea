// SPDX-License-Identifier: MIT
// Moves one term, factor, base, exponent or function of one side of the equation to the other side
// by applying the inverse operation there.
#include "equation_solver.h"

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

} // namespace

bool EquationSolver::IsolateStep(PieceString& pieces, const LevelString& levels, int position,
                                 PieceString& scratch)
{
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
    const Side side{pieces, levels, keptIsLeft ? 0 : equals + 1, keptIsLeft ? equals : count - equals - 1};
    const int otherStart = keptIsLeft ? equals + 1 : 0;
    const int otherEnd = keptIsLeft ? count : equals;
    int p = position - side.start;

    int weakest = side.level(0);
    for (int t = 1; t < side.length; ++t)
        weakest = std::min(weakest, side.level(t));

    if (weakest <= 2)
        p = operandStart(side, p, weakest);

    OtherSide other(scratch, pieces, otherStart, otherEnd);
    KeptEdit edit;

    switch (weakest) {
    case 1: { // a sum
        bool otherTerms = false;
        for (int t = 1; t < side.length; ++t)
            otherTerms = otherTerms || side.level(t) == 1;
        if (!otherTerms) {
            // -A=C -> A=-(C); a redundant `+` in front is simply dropped.
            if (side.piece(0) == '-')
                other.text("-(").old().text(")");
            else
                other.old();
            edit.eraseFrom = 0;
            edit.eraseCount = 1;
            break;
        }
        // A+B=C -> A=C-B, A-B=C -> A=C+B
        const int q = operandEnd(side, p, weakest);
        if (p == 0 && q >= side.length)
            return true; // the whole side: there is no other term to keep
        other.old().piece(side.piece(p - 1) == '-' ? '+' : '-').range(side, p, q);
        edit.eraseFrom = p > 0 ? p - 1 : 0;
        edit.eraseCount = p > 0 ? q - p + 1 : q;
        break;
    }
    case 2: { // a product
        const int q = operandEnd(side, p, weakest);
        if (q >= side.length && p == 0)
            return true;
        if (p == 0 && side.piece(q) == '/') {
            // A/B=C -> B=A/(C): the first factor becomes the numerator over the other side, and
            // every other factor changes between multiplying and dividing.
            other.range(side, 0, q).text("/(").old().text(")");
            edit.invertProduct = true;
            edit.eraseFrom = 0;
            edit.eraseCount = q + 1;
            break;
        }
        // A*B=C -> A=(C)/B, A/B=C -> A=(C)*B
        other.text("(").old().text(side.piece(p - 1) == '/' ? ")*" : ")/").range(side, p, q);
        edit.eraseFrom = p > 0 ? p - 1 : 0;
        edit.eraseCount = p > 0 ? q - p + 1 : q + 1;
        break;
    }
    case 4: { // a power: base ^ exponent, split at the last top-level `^`
        int caret = side.length - 1;
        while (caret > 0 && !(side.level(caret) == weakest && side.piece(caret) == '^'))
            --caret;
        if (caret <= 0)
            return true;
        if (p == 0) {
            // B^A=C -> A=log(C)/log(B)
            other.piece('{').text("(").old().text(")/").piece('{').text("(").range(side, 0, caret).text(")");
            edit.eraseFrom = 0;
            edit.eraseCount = caret + 1;
        } else {
            // A^E=C -> A=(C)^(1/(E))
            other.text("(")
                .old()
                .text(")^(")
                .piece(kOne)
                .text("/(")
                .range(side, caret + 1, side.length)
                .text("))");
            edit.eraseFrom = caret;
            edit.eraseCount = side.length - caret;
        }
        break;
    }
    case 6: { // a function application F(A)=C -> (A)=G(C)
        int token = 0;
        while (token < side.length && side.level(token) != weakest)
            ++token;
        const unsigned char function = side.piece(token);
        const auto inverse = kInvertibleTokens.find(static_cast<char>(function));
        if (function != 0 && inverse != std::string_view::npos) {
            other.piece(static_cast<unsigned char>(kInverseTokens[inverse])).text("(").old().text(")");
        } else if (function == ']') {
            other.piece(kTen).text("^(").old().text(")"); // lgt(A)=C -> (A)=10^(C)
        } else if (function == '}') {
            other.text("(").old().text(")^").piece(kTwo); // sqr(A)=C -> (A)=(C)^2
        } else {
            return true;
        }
        edit.eraseFrom = token;
        edit.eraseCount = 1;
        break;
    }
    case 7: // a single operand: nothing left to move
        return false;
    default:
        return true;
    }

    const int keptLength = side.length - edit.eraseCount;
    if (scratch.hasOverflowed() || keptLength + 1 + scratch.length() >= PieceString::kCapacity) {
        pieces.markOverflowed();
        return false;
    }

    // Edit the kept side in place, then put the new other side where the old one was.
    if (edit.invertProduct) {
        for (int t = 1; t < side.length; ++t) {
            if (side.level(t) != 2)
                continue;
            const int at = side.start + t;
            if (pieces.at(at) == '*')
                pieces[at] = '/';
            else if (pieces.at(at) == '/')
                pieces[at] = '*';
        }
    }
    pieces.erase(side.start + edit.eraseFrom, edit.eraseCount);
    if (keptIsLeft) {
        pieces.truncate(keptLength + 1);
        pieces.insert(keptLength + 1, scratch.data(), scratch.length());
    } else {
        pieces.erase(0, equals);
        pieces.insert(0, scratch.data(), scratch.length());
    }
    return true;
}

} // namespace engine
