// SPDX-License-Identifier: MIT
// The token alphabet: function tokens, their names and inverses, and the constant-token codes.
#pragma once

#include <array>
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
/// The token of each function, named after it.
namespace token {
inline constexpr unsigned char kAcs = '!';
inline constexpr unsigned char kAhc = '#';
inline constexpr unsigned char kAhs = '$';
inline constexpr unsigned char kAht = '&';
inline constexpr unsigned char kAsn = ',';
inline constexpr unsigned char kAtn = ':';
inline constexpr unsigned char kCos = ';';
inline constexpr unsigned char kExp = '<';
inline constexpr unsigned char kHcs = '>';
inline constexpr unsigned char kHsn = '@';
inline constexpr unsigned char kHtn = '[';
inline constexpr unsigned char kLgt = ']';
inline constexpr unsigned char kLog = '{';
inline constexpr unsigned char kSin = '|';
inline constexpr unsigned char kSqr = '}';
inline constexpr unsigned char kTan = '~';
} // namespace token

/// All sixteen function tokens.
inline constexpr std::string_view kFunctionTokens = "!#$&,:;<>@[]{|}~";

/// The function that undoes a function with a plain inverse (acs and cos, exp and log, ...), or 0
/// for lgt and sqr, which are undone by a power instead.
inline constexpr unsigned char inverseFunction(unsigned char function)
{
    using namespace token;
    constexpr unsigned char kPairs[][2] = {
        {kAcs, kCos}, {kAhc, kHcs}, {kAhs, kHsn}, {kAht, kHtn}, {kAsn, kSin}, {kAtn, kTan}, {kExp, kLog},
    };
    for (const auto& pair : kPairs) {
        if (pair[0] == function)
            return pair[1];
        if (pair[1] == function)
            return pair[0];
    }
    return 0;
}

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
/// Which bytes are function tokens, for a lookup in inner loops.
inline constexpr std::array<bool, 256> kIsFunctionToken = [] {
    std::array<bool, 256> table{};
    for (const char token : kFunctionTokens)
        table[static_cast<unsigned char>(token)] = true;
    return table;
}();
inline constexpr bool isFunctionToken(unsigned char piece)
{
    return kIsFunctionToken[piece];
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
