// SPDX-License-Identifier: MIT
// Private to the rule code: which pattern pieces are letters, and what a pattern's letters allow.
#pragma once

#include "engine/token_table.h"

#include <algorithm>
#include <string_view>

namespace engine {

/// Pattern wildcards are `a` to `x`; `y`, `z` and every other byte match only themselves.
constexpr bool isPatternLetter(unsigned char piece)
{
    return piece >= 'a' && piece <= 'x';
}

inline constexpr int kPatternLetterCount = 'x' - 'a' + 1;

/// The number of letter pieces (`a` to `z`) in text.
inline int countLetterPieces(std::string_view text)
{
    return static_cast<int>(std::count_if(text.begin(), text.end(),
                                          [](char c) { return isLetter(static_cast<unsigned char>(c)); }));
}

/// True when no two pattern letters stand side by side in pattern, so that literals separate
/// every binding from the next.
inline bool hasSeparatedLetters(std::string_view pattern)
{
    for (std::size_t k = 1; k < pattern.size(); ++k) {
        if (isPatternLetter(static_cast<unsigned char>(pattern[k - 1])) &&
            isPatternLetter(static_cast<unsigned char>(pattern[k])))
            return false;
    }
    return true;
}

/// How a pattern stands on the piece at its anchor position.
struct Anchoring {
    int index = 0;    // the pattern piece on the anchor: the last one, or the one before a final letter
    int literals = 0; // literal pieces from there leftwards, up to the nearest letter
    // A literal stands on the anchor and literals separate the letters: every binding then lies
    // between literals (or the ends of the match) and can be judged as soon as it is taken.
    bool bindingsBetweenLiterals = false;
};

/// The anchoring of pattern (two pieces or more) on a piece equal to anchorPiece.
inline Anchoring anchoringOf(std::string_view pattern, unsigned char anchorPiece)
{
    Anchoring anchoring;
    const int n = static_cast<int>(pattern.size());
    const auto piece = [pattern](int k) {
        return static_cast<unsigned char>(pattern[static_cast<std::size_t>(k)]);
    };
    anchoring.index = piece(n - 1) == anchorPiece ? n - 1 : n - 2;
    while (anchoring.literals <= anchoring.index &&
           !isPatternLetter(piece(anchoring.index - anchoring.literals)))
        ++anchoring.literals;
    anchoring.bindingsBetweenLiterals =
        hasSeparatedLetters(pattern) && !isPatternLetter(piece(anchoring.index));
    return anchoring;
}

} // namespace engine
