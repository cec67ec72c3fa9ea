// SPDX-License-Identifier: MIT
// An expression compiled as the right side of "x=expression", evaluated on its own.
#include "analysis/precise_expression.h"

#include <cmath>
#include <string>

namespace analysis {

struct PreciseExpression::Compiled {
    Equation equation;
    std::unique_ptr<PreciseEvaluator> evaluator;
};

PreciseExpression::PreciseExpression() = default;

PreciseExpression::~PreciseExpression() = default;

std::string evaluableEquation(std::string_view expression)
{
    std::string text = "x=";
    for (std::size_t i = 0; i < expression.size();) {
        if (expression.substr(i).starts_with(kPiText)) {
            text += "(4*atn(1))";
            i += kPiText.size();
        } else {
            text += expression[i++];
        }
    }
    return text;
}

bool PreciseExpression::load(std::string_view expression)
{
    m_compiled.reset();
    auto compiled = std::make_unique<Compiled>();
    if (!compiled->equation.load(evaluableEquation(expression)))
        return false;
    compiled->evaluator = std::make_unique<PreciseEvaluator>(compiled->equation.right());
    m_compiled = std::move(compiled);
    return true;
}

std::optional<PreciseResult> PreciseExpression::at(const PreciseComplex& x) const
{
    if (!m_compiled)
        return std::nullopt;
    PreciseResult result = m_compiled->evaluator->evaluate(x, 0.0, LetterValues{}, false);
    if (result.outcome != EvaluationOutcome::Defined || !std::isfinite(result.bound))
        return std::nullopt;
    return result;
}

std::optional<PreciseResult> PreciseExpression::value(int precision) const
{
    return at(PreciseComplex(Complex{}, precision));
}

} // namespace analysis
