// SPDX-License-Identifier: MIT
// One expression in x, written in the program's notation, evaluated at any precision with principal
// values: what the exact values are computed and proved with.
#pragma once

#include "analysis/precise_arithmetic.h"

#include <memory>
#include <optional>
#include <string>
#include <string_view>

namespace analysis {

/// The text for pi in a closed form as the program shows it; loading reads it as 4*atn(1).
inline constexpr std::string_view kPiText = "\xCF\x80";

/// "x=" and expression with every kPiText written 4*atn(1): the equation whose right side the
/// engine's reading compiles for it (also for an evaluation of a closed form in other arithmetic).
[[nodiscard]] std::string evaluableEquation(std::string_view expression);

class PreciseExpression {
public:
    PreciseExpression();
    PreciseExpression(const PreciseExpression&) = delete;
    PreciseExpression& operator=(const PreciseExpression&) = delete;
    ~PreciseExpression();

    /// Compiles expression (bytes 33-127 but kPiText, "." as decimal point, x the only letter).
    /// False when the engine's reading rejects it.
    [[nodiscard]] bool load(std::string_view expression);

    /// The value at x, at x's precision (x is not read by an expression without it); nothing when
    /// the expression is not loaded, not defined there or its error bound is not finite.
    [[nodiscard]] std::optional<PreciseResult> at(const PreciseComplex& x) const;

    /// The value of an expression without x at precision bits.
    [[nodiscard]] std::optional<PreciseResult> value(int precision) const;

private:
    struct Compiled;
    std::unique_ptr<Compiled> m_compiled;
};

} // namespace analysis
