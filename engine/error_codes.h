// SPDX-License-Identifier: MIT
// The numbered errors a solve can end with; entry k of the message table words ERROR k.
#pragma once

namespace engine {

/// The ERROR number a solve ended with. Codes 2-23 come from validating the text, in the order the
/// checks run; 25-34 from solving. There is no 1 and no 24.
enum class ErrorCode : int {
    None = 0,                        // the solve ended without an error message
    EmptyEquation = 2,               // the text is empty
    TooManyCharacters = 3,           // the text has more than 255 characters
    WrongFirstCharacter = 4,         // the first character cannot start an operand
    MissingAfterOpening = 5,         // a `(` ends the text
    IllegalAfterOpening = 6,         // the character after `(` cannot start an operand
    UnmatchedClosing = 7,            // a `)` while no parenthesis is open
    IllegalAfterClosing = 8,         // the character after `)` is not an operator or `)`
    MissingAfterOperator = 9,        // an operator ends the text
    IllegalAfterOperator = 10,       // the character after an operator cannot start an operand
    WrongNumber = 11,                // a number cannot be read or lies outside 10^-18 to 10^18
    IllegalAfterNumber = 12,         // the character after a number is not an operator or `)`
    OpenBeforeEquals = 13,           // an `=` while a parenthesis is open
    MissingThirdLetter = 14,         // two letters end the text
    NoThirdLetter = 15,              // two letters are followed by a non-letter
    UnknownFunction = 16,            // three letters that name no function
    MissingFunctionParenthesis = 17, // a function name ends the text
    IllegalAfterFunctionName = 18,   // a function name is followed by something other than `(`
    IllegalAfterLetter = 19,         // the character after a single letter is not an operator or `)`
    OpenAtEnd = 20,                  // parentheses are still open at the end of the text
    NoUnknown = 21,                  // the text holds no `x`
    NoEquals = 22,                   // the text holds no `=`
    MultipleEquals = 23,             // a second `=` follows the first
    TooManyPieces = 25,              // the equation grew beyond 255 pieces while solving
    TooDeeplyNested = 26,            // more than 30 nested parentheses
    Overflow = 27,                   // a number beyond 10^18 in magnitude, or an exponential overflowed
    DivisionByZero = 28,             // a division by 0, also an exact pole of tan or htn
    LogOfZero = 29,                  // log of 0, also a failing inner logarithm of acs, ahc, ahs, asn
    LgtOfZero = 30,                  // lgt of 0
    AtnOfImaginaryUnit = 31,         // atn of sqr(-1) or -sqr(-1)
    AhtOfOne = 32,                   // aht of 1 or -1
    TooManyLines = 33,               // a 255th solution line would be needed
    TooManyNumbers = 34,             // the equation needs more than 117 different numbers
};

/// The number printed in the message, which is also its index in the message table.
inline constexpr int errorNumber(ErrorCode code)
{
    return static_cast<int>(code);
}

/// Entries of the message table: one per ERROR number, with unused entries among them.
inline constexpr int kMessageCount = 40;

} // namespace engine
