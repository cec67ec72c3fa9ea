// SPDX-License-Identifier: MIT
// Sorts the terms of a sum and the factors of a product, one neighbour swap per call, so that
// operands holding a given letter move right and the most loosely bound occurrence ends up last.
#include "engine/transformations.h"

#include "engine/token_table.h"

#include <algorithm>

namespace engine {

namespace {

constexpr int kNoLetter = 255;

/// How tightly the letter is bound inside one operand, and the occurrence that decides it.
struct LetterWeight {
    int weight = kNoLetter;
    int anchor = -1;
};

// The weight of the operand [from, to) is the largest level next to an occurrence of the letter
// (neighbours outside the operand count too); 255 when the letter does not occur. The anchor is
// the rightmost occurrence reaching that weight (the first one met scanning the left operand from
// the right, the last one met scanning the right operand from the left).
LetterWeight letterWeight(const PieceString& pieces, const LevelString& levels, int from, int to,
                          unsigned char letter)
{
    LetterWeight result;
    int best = -1;
    const unsigned char* bytes = pieces.data();
    for (int t = to - 1; t >= from; --t) {
        if (bytes[t] != letter)
            continue;
        const int neighbour = std::max<int>(levels.at(t - 1), levels.at(t + 1));
        if (neighbour > best) {
            best = neighbour;
            result.anchor = t;
        }
    }
    if (result.anchor >= 0)
        result.weight = best;
    return result;
}

// Equal weights: compare the surroundings of the two anchors. Walk left in step through both
// operands while the levels agree and stay inside the operands (above the operator's level L);
// the first differing levels become the weights when either lies inside an operand, else both
// weights are 0. Then walk right, starting one place right of where the left walk stopped, and
// raise the weights to the first differing levels found there.
void breakTie(const LevelString& levels, int operatorLevel, LetterWeight& left, LetterWeight& right)
{
    int p = left.anchor;
    int q = right.anchor;
    while (levels.at(p) == levels.at(q) && levels.at(p) > operatorLevel) {
        --p;
        --q;
    }
    if (levels.at(p) > operatorLevel || levels.at(q) > operatorLevel) {
        left.weight = levels.at(p);
        right.weight = levels.at(q);
    } else {
        left.weight = 0;
        right.weight = 0;
    }

    ++p;
    ++q;
    while (levels.at(p) == levels.at(q) && levels.at(p) > operatorLevel) {
        ++p;
        ++q;
    }
    if (levels.at(p) > operatorLevel || levels.at(q) > operatorLevel) {
        left.weight = std::max<int>(left.weight, levels.at(p));
        right.weight = std::max<int>(right.weight, levels.at(q));
    }
}

void appendRange(PieceString& destination, const PieceString& source, int from, int to)
{
    if (to > from)
        destination.insert(destination.length(), source.data() + from, to - from);
}

/// Operands of a binary operator: the left one (with its own operator, if any) starts at first,
/// the operator stands at op, the right one ends before end.
struct OperandPair {
    int first = 0;
    int op = 0;
    int end = 0;
};

/// Rewrites the two operands in swapped order through scratch; false, with pieces marked
/// overflowed, when the result would not fit.
bool swapOperands(PieceString& pieces, PieceString& scratch, OperandPair pair, int kind, bool leftHasOperator)
{
    const auto [i, k, j] = pair;
    scratch.clear();
    scratch.clearOverflow();
    const unsigned char op = pieces.at(k);
    if (kind == 1) {
        // A+B -> +B+A (a leading `+` or a `+-` is tidied by SimplifySigns).
        scratch.insert(0, op);
        appendRange(scratch, pieces, k + 1, j);
        scratch.insert(scratch.length(), static_cast<unsigned char>('+'));
        appendRange(scratch, pieces, i, k);
    } else if (leftHasOperator) {
        // *A*B -> *B*A, /A*B -> *B/A
        scratch.insert(0, op);
        appendRange(scratch, pieces, k + 1, j);
        appendRange(scratch, pieces, i, k);
    } else {
        // A*B -> B*A, A/B -> 1/B*A
        if (op == '/') {
            scratch.insert(0, kOne);
            scratch.insert(scratch.length(), static_cast<unsigned char>('/'));
        }
        appendRange(scratch, pieces, k + 1, j);
        scratch.insert(scratch.length(), static_cast<unsigned char>('*'));
        appendRange(scratch, pieces, i, k);
    }

    const int replacement = scratch.length();
    if (scratch.hasOverflowed() || pieces.length() - (j - i) + replacement >= PieceString::kCapacity) {
        pieces.markOverflowed();
        return false;
    }
    pieces.erase(i, j - i);
    pieces.insert(i, scratch.data(), replacement);
    return true;
}

} // namespace

bool CollectTerms(PieceString& pieces, const LevelString& levels, unsigned char letter, PieceString& scratch)
{
    if (&scratch == &pieces)
        return false;
    const int count = pieces.length();
    const unsigned char* levelBytes = levels.data(); // read at 0 to count only
    // In a chain a+b+c the right operand at one operator is the left one at the next.
    LetterWeight previousRight;
    int previousRightStart = -1;
    int previousRightEnd = -1;
    for (int k = 1; k < count; ++k) {
        // Only a binary + - * / : its predecessor (the end of the left operand) binds more tightly.
        const int level = levelBytes[k];
        const int kind = levelClass(level);
        if ((kind != 1 && kind != 2) || levelBytes[k - 1] <= level)
            continue;

        int leftRun = k - 1;
        while (leftRun > 0 && levelBytes[leftRun - 1] > level)
            --leftRun;
        // The left operand carries its own operator along when it has one (b in a+b+c).
        const bool leftHasOperator = leftRun > 0 && levelBytes[leftRun - 1] == level;
        const int i = leftHasOperator ? leftRun - 1 : leftRun;
        int j = k + 1;
        while (j < count && levelBytes[j] > level)
            ++j;
        if (j == k + 1)
            continue;

        LetterWeight left = leftRun == previousRightStart && k == previousRightEnd
                                ? previousRight
                                : letterWeight(pieces, levels, leftRun, k, letter);
        LetterWeight right = letterWeight(pieces, levels, k + 1, j, letter);
        previousRight = right;
        previousRightStart = k + 1;
        previousRightEnd = j;
        if (left.weight == right.weight && left.weight < kNoLetter)
            breakTie(levels, level, left, right);
        if (left.weight >= right.weight)
            continue;

        return swapOperands(pieces, scratch, {i, k, j}, kind, leftHasOperator);
    }
    return false;
}

} // namespace engine
