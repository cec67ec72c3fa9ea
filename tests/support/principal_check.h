// SPDX-License-Identifier: MIT
// A second opinion on a solution, independent of the precise check: both sides evaluated in plain
// std::complex<long double> with principal values.
#pragma once

#include "analysis/principal_values.h"

#include <algorithm>
#include <cmath>
#include <complex>
#include <optional>

namespace support {

using LongComplex = std::complex<long double>;

/// Whether x satisfies the equation in long double with principal values: the sides differ by no
/// more than 10^-10 of the numbers they come from, where x counts with its derivative's weight
/// (|x f'(x)|, estimated by a central difference), since a double x is itself rounded.
inline bool holdsInLongDouble(const analysis::Equation& equation, LongComplex x)
{
    const analysis::LetterValues noLetters{};
    const auto difference = [&](LongComplex at, long double& scale) -> std::optional<LongComplex> {
        const auto left = analysis::principalValue<long double>(equation.left(), at, noLetters);
        const auto right = analysis::principalValue<long double>(equation.right(), at, noLetters);
        if (left.outcome != analysis::EvaluationOutcome::Defined ||
            right.outcome != analysis::EvaluationOutcome::Defined)
            return std::nullopt;
        scale = std::max(left.scale, right.scale);
        return left.value - right.value;
    };
    long double scale = 0;
    const std::optional<LongComplex> f = difference(x, scale);
    if (!f)
        return false;
    const long double h = 1e-7L * std::max(1.0L, std::abs(x));
    long double ignored = 0;
    const std::optional<LongComplex> above = difference(x + h, ignored);
    const std::optional<LongComplex> below = difference(x - h, ignored);
    const long double slope = above && below ? std::abs((*above - *below) / (2.0L * h)) : 0.0L;
    return std::abs(*f) <= 1e-10L * (scale + std::abs(x) * slope);
}

} // namespace support
