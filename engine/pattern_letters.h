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

} // namespace engine
