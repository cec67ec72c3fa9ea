// SPDX-License-Identifier: MIT
// The result check: a solve's final value substituted into the equation as it was entered.
#include "engine/result_check.h"

#include "engine/solve_details.h"

#include <cmath>

namespace engine {

namespace {

/// Both sides at x (with its bound) and the verdict of their difference.
CheckResult checkAt(const EquationEvaluator& equation, BoundedValue x, const LetterValues& letters)
{
    CheckResult result;
    result.value = x.value;
    BoundedValue left;
    BoundedValue right;
    if (!equation.left().evaluateBounded(x, letters, left) ||
        !equation.right().evaluateBounded(x, letters, right)) {
        result.verdict = CheckVerdict::Undetermined;
        return result;
    }
    result.left = left.value;
    result.right = right.value;
    const double allowed = left.bound + right.bound;
    const double difference = magnitude({left.value.re - right.value.re, left.value.im - right.value.im});
    if (!std::isfinite(allowed) || !std::isfinite(difference))
        result.verdict = CheckVerdict::Undetermined;
    else
        result.verdict = difference <= allowed ? CheckVerdict::Verified : CheckVerdict::Failed;
    return result;
}

std::string lettersOf(std::uint32_t mask)
{
    std::string letters;
    for (int k = 0; k < 26; ++k) {
        if ((mask >> k) & 1U)
            letters += static_cast<char>('a' + k);
    }
    return letters;
}

} // namespace

Complex letterValue(int set, char letter)
{
    // Steps of 97, 128 and 159 hundredths modulo 2.5 walk through 26 different values per set.
    const int k = letter - 'a' + 1;
    const int hundredths = (k * (97 + 31 * set) + 13 * set) % 250;
    return {0.5 + 0.01 * hundredths, 0.0};
}

LetterValues letterValues(int set)
{
    LetterValues values{};
    for (int k = 0; k < 26; ++k)
        values[static_cast<std::size_t>(k)] = letterValue(set, static_cast<char>('a' + k));
    return values;
}

std::string_view verdictName(CheckVerdict verdict)
{
    switch (verdict) {
    case CheckVerdict::Verified:
        return "verified";
    case CheckVerdict::Failed:
        return "failed";
    case CheckVerdict::Undetermined:
        return "undetermined";
    case CheckVerdict::NotApplicable:
        break;
    }
    return "not applicable";
}

CheckResult checkValue(const EquationEvaluator& equation, Complex x)
{
    if (!equation.isLoaded() || equation.otherLetters() != 0)
        return {};
    return checkAt(equation, {x, kCheckTolerance * magnitude(x)}, LetterValues{});
}

CheckResult checkSolve(std::string_view prepared, const SolveDetails& details)
{
    const FinalSide& side = details.finalSide;
    if (side.isEmpty())
        return {};
    EquationEvaluator equation;
    CompiledExpression finalSide;
    if (!equation.load(prepared) ||
        !finalSide.compile(reinterpret_cast<const unsigned char*>(side.pieces.data()),
                           static_cast<int>(side.pieces.size()), side.pool))
        return {};
    const std::uint32_t letters = equation.otherLetters() | finalSide.letterMask();
    if (letters == 0) {
        Complex x;
        if (!finalSide.evaluate({}, LetterValues{}, x))
            return {};
        return checkAt(equation, {x, kCheckTolerance * magnitude(x)}, LetterValues{});
    }

    // Each set of letter values gives x from the final side, with its bound, and then both sides.
    CheckResult firstVerified;
    CheckResult firstFailed;
    for (int set = 0; set < kLetterSets; ++set) {
        const LetterValues values = letterValues(set);
        BoundedValue x;
        CheckResult result;
        if (finalSide.evaluateBounded({}, values, x)) {
            x.bound += kCheckTolerance * magnitude(x.value);
            result = checkAt(equation, x, values);
        } else
            result.verdict = CheckVerdict::Undetermined;
        result.letterSet = set;
        if (result.verdict == CheckVerdict::Verified && firstVerified.letterSet < 0)
            firstVerified = result;
        if (result.verdict == CheckVerdict::Failed && firstFailed.letterSet < 0)
            firstFailed = result;
    }
    CheckResult result;
    if (firstVerified.letterSet >= 0 && firstFailed.letterSet < 0)
        result = firstVerified;
    else if (firstFailed.letterSet >= 0 && firstVerified.letterSet < 0)
        result = firstFailed;
    else
        result.verdict = CheckVerdict::Undetermined;
    result.letters = lettersOf(letters);
    return result;
}

} // namespace engine
