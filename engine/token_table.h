// SPDX-License-Identifier: MIT
// The token alphabet: function tokens, their names and inverses, and the constant-token codes.
#pragma once

#include <string_view>

namespace engine {

/// Sixteen groups of a token character followed by the three-letter function name it stands for.
inline constexpr std::string_view kFunctionTokenTable =
    "!acs#ahc$ahs&aht,asn:atn;cos<exp>hcs@hsn[htn]lgt{log|sin}sqr~tan";
/// The token of a three-letter function name, or 0 when the name is not a function.
inline constexpr unsigned char functionTokenOf(std::string_view name)
{
    for (std::size_t i = 1; i + 3 <= kFunctionTokenTable.size(); i += 4) {
        if (kFunctionTokenTable.substr(i, 3) == name)
            return static_cast<unsigned char>(kFunctionTokenTable[i - 1]);
    }
    return 0;
}
/// All sixteen function tokens.
inline constexpr std::string_view kFunctionTokens = "!#$&,:;<>@[]{|}~";
/// Functions with a plain inverse (same position in both literals); lgt and sqr are undone otherwise.
inline constexpr std::string_view kInvertibleTokens = "!#$&,:;<>@[{|~";
inline constexpr std::string_view kInverseTokens = ";>@[|~!{#$&<,:";

/// Constant-token codes.
inline constexpr unsigned char kZero = 0x80;
inline constexpr unsigned char kOne = 0x81;
inline constexpr unsigned char kTwo = 0x82;
inline constexpr unsigned char kTen = 0x83;
inline constexpr unsigned char kFour = 0x84;
inline constexpr unsigned char kHalf = 0x85;
inline constexpr unsigned char kE = 0x86;
inline constexpr unsigned char kESquared = 0x87;
inline constexpr unsigned char kSqrtE = 0x88;
inline constexpr unsigned char kMinusOne = 0x89;
inline constexpr unsigned char kMinusTwo = 0x8A;
inline constexpr unsigned char kFirstFreeCode = 0x8B;

inline constexpr bool isConstantToken(unsigned char piece)
{
    return piece >= 0x80;
}
inline constexpr bool isLetter(unsigned char piece)
{
    return piece >= 'a' && piece <= 'z';
}
inline constexpr bool isFunctionToken(unsigned char piece)
{
    return piece != 0 && kFunctionTokens.find(static_cast<char>(piece)) != std::string_view::npos;
}
inline constexpr bool isSign(unsigned char piece)
{
    return piece == '+' || piece == '-';
}

/// Class of a level: 0 parenthesis/`=`, 1 `+-`, 2 `*/`, 3 sign after `*/`, 4 `^`,
/// 5 sign after `^`, 6 function, 7 operand.
inline constexpr int levelClass(int level)
{
    return level % 8;
}

} // namespace engine
