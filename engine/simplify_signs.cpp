// SPDX-License-Identifier: MIT
// Removes one redundant sign or one pair of redundant parentheses from an equation per call.
#include "engine/transformations.h"

#include "engine/token_table.h"

namespace engine {

namespace {

unsigned char flippedSign(unsigned char piece)
{
    return piece == '+' ? '-' : '+';
}

// +a -> a, a++b -> a+b, a+-b -> a-b, a--b -> a+b.
// A `+` at or above its predecessor's level is a sign with nothing to do: it leads the equation or
// follows `=`, `(`, an operator or another sign (a binary `+` always follows a stronger operand).
// A `-` that copied its predecessor's level is a second sign in a row; the two merge into one.
bool mergeSigns(PieceString& pieces, const LevelString& levels, int count)
{
    const unsigned char* bytes = pieces.data();
    for (int k = 0; k < count; ++k) {
        const unsigned char piece = bytes[k];
        if (!isSign(piece))
            continue;
        const int level = levels.at(k);
        const int previousLevel = levels.at(k - 1);
        if (piece == '+' && level >= previousLevel) {
            pieces.erase(k, 1);
            return true;
        }
        if (piece == '-' && k > 0 && level == previousLevel && isSign(pieces.at(k - 1))) {
            pieces.set(k - 1, flippedSign(pieces.at(k - 1)));
            pieces.erase(k, 1);
            return true;
        }
    }
    return false;
}

// a*-b -> -a*b: the sign of a factor moves to the front of its product (the term), i.e. just after
// the nearest piece to the left that binds more weakly than the operator.
bool moveFactorSign(PieceString& pieces, const LevelString& levels, int count)
{
    const unsigned char* bytes = pieces.data();
    for (int k = 0; k < count; ++k) {
        const unsigned char piece = bytes[k];
        if ((piece != '*' && piece != '/') || bytes[k + 1] != '-' || levelClass(levels.at(k)) != 2)
            continue;
        int termStart = k;
        while (termStart > 0 && levels.at(termStart - 1) >= levels.at(k))
            --termStart;
        pieces.erase(k + 1, 1);
        pieces.insert(termStart, static_cast<unsigned char>('-'));
        return true;
    }
    return false;
}

void deleteParentheses(PieceString& pieces, int open, int close)
{
    pieces.erase(close, 1);
    pieces.erase(open, 1);
}

// Tries to dissolve the group opened at `open`. Returns true when the equation was changed.
bool dissolveGroup(PieceString& pieces, const LevelString& levels, int count, int open)
{
    const int groupLevel = levels.at(open);
    int close = open + 1;
    while (close < count && levels.at(close) != groupLevel)
        ++close;
    if (close >= count || pieces.at(close) != ')' || close == open + 1)
        return false;

    // The weakest piece inside, the last one on ties.
    int weakest = open + 1;
    for (int t = open + 1; t < close; ++t) {
        if (levels.at(t) <= levels.at(weakest))
            weakest = t;
    }
    const int m = levels.at(weakest);
    const int before = levelClass(levels.at(open - 1));
    const int after = levelClass(levels.at(close + 1));
    const unsigned char pieceBefore = pieces.at(open - 1);

    switch (levelClass(m)) {
    case 1: // a sum inside
        if (before <= 1 && after <= 1) {
            // a-(b+c) -> a-b-c: a minus in front negates every term after the first one; the
            // first one's own sign (if any) merges with that minus later.
            if (pieceBefore == '-' && close - open - 1 > 1) {
                for (int t = open + 2; t < close; ++t) {
                    if (levels.at(t) == m && isSign(pieces.at(t)))
                        pieces.set(t, flippedSign(pieces.at(t)));
                }
            }
            deleteParentheses(pieces, open, close);
            return true;
        }
        // a*(-b) -> a*-(b), 2^(-x) -> 2^-(x): a leading sign leaves the group, unless the group is
        // the base of a power ((-b)^2 keeps its sign inside).
        if (weakest == open + 1 && (before >= 4 || after < 4)) {
            const unsigned char sign = pieces.at(open + 1);
            pieces.set(open + 1, '(');
            pieces.set(open, sign);
            return true;
        }
        return false;
    case 2: // a product inside
        if (before <= 2 && after <= 2) {
            // a/(b*c) -> a/b/c: dividing by a product divides by each factor.
            if (pieceBefore == '/') {
                for (int t = open + 1; t < close; ++t) {
                    if (levels.at(t) != m)
                        continue;
                    if (pieces.at(t) == '*')
                        pieces.set(t, '/');
                    else if (pieces.at(t) == '/')
                        pieces.set(t, '*');
                }
            }
            deleteParentheses(pieces, open, close);
            return true;
        }
        return false;
    case 4: // a power inside, not itself a base or exponent: (a^b)*c -> a^b*c
        if (before < 4) {
            deleteParentheses(pieces, open, close);
            return true;
        }
        return false;
    case 6: // a single function application
    case 7: // a single operand
        deleteParentheses(pieces, open, close);
        return true;
    default:
        return false;
    }
}

bool dissolveParentheses(PieceString& pieces, const LevelString& levels, int count)
{
    const unsigned char* bytes = pieces.data();
    for (int open = 0; open < count; ++open) {
        // The parentheses of a function argument always stay.
        if (bytes[open] != '(' || isFunctionToken(pieces.at(open - 1)))
            continue;
        if (dissolveGroup(pieces, levels, count, open))
            return true;
    }
    return false;
}

} // namespace

bool SimplifySigns(PieceString& pieces, const LevelString& levels)
{
    const int count = pieces.length();
    if (mergeSigns(pieces, levels, count))
        return true;
    if (moveFactorSign(pieces, levels, count))
        return true;
    return dissolveParentheses(pieces, levels, count);
}

} // namespace engine
