// SPDX-License-Identifier: MIT
// Exact values: refine, propose closed forms, prove one at two precisions.
#include "analysis/exact_value.h"

#include "analysis/closed_forms.h"
#include "analysis/precise_equation.h"
#include "analysis/precise_expression.h"
#include "analysis/root_refinement.h"
#include "engine/formatting.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <optional>
#include <vector>

namespace analysis {

namespace {

/// Bits below a refined root's precision that a part must lie beneath the other to be noise.
constexpr int kNoiseSlack = 8;

constexpr std::array<int, 2> kProofPrecisions = {kExactPrecision, 2 * kExactPrecision};

/// The root near x at both proving precisions.
std::optional<std::array<PreciseComplex, 2>> refinedRoots(const PreciseEquation& equation, Complex x)
{
    const double reach = std::max(1e-9 * magnitude(x), 1e-300);
    std::optional<PreciseComplex> first = refineRoot(equation, PreciseComplex(x, kProofPrecisions[0]), reach);
    if (!first)
        return std::nullopt;
    *first = first->withoutNoise(kProofPrecisions[0] - kNoiseSlack);
    std::optional<PreciseComplex> second =
        refineRoot(equation, first->atPrecision(kProofPrecisions[1]), std::max(1e-30 * magnitude(x), 1e-300));
    if (!second)
        return std::nullopt;
    return std::array<PreciseComplex, 2>{*first, second->withoutNoise(kProofPrecisions[1] - kNoiseSlack)};
}

/// |a - b| at most 2^-(precision - kProofSlack) |b|.
bool isWithin(const PreciseComplex& a, const PreciseComplex& b, int precision)
{
    const double difference = (a - b).magnitude();
    return difference == 0.0 || difference <= std::ldexp(b.magnitude(), kProofSlack - precision);
}

/// Whether the equation holds at value (off by bound) at value's precision P: both sides defined
/// and equal to 2^-(P - kProofSlack) of the larger, or within the slack of their rounding bound.
bool satisfies(const PreciseEquation& equation, const PreciseComplex& value, double bound)
{
    const PreciseSides sides = equation.evaluate(value, bound, LetterValues{}, false);
    if (!sides.isDefined() || !std::isfinite(sides.bound))
        return false;
    const double difference = sides.difference().magnitude();
    const double size = std::max(sides.leftValue.magnitude(), sides.rightValue.magnitude());
    return std::isfinite(difference) && (difference <= std::ldexp(size, kProofSlack - value.precision()) ||
                                         difference <= kAgreementSlack * sides.bound);
}

/// The value of a closed form at precision bits, from its text.
std::optional<PreciseResult> closedFormValue(const PreciseExpression& form, int precision)
{
    return form.value(precision);
}

/// Whether text, read as an expression, is the refined root and satisfies the equation at both
/// proving precisions.
bool proves(const PreciseEquation& equation, std::string_view text,
            const std::array<PreciseComplex, 2>& roots)
{
    PreciseExpression form;
    if (!form.load(text))
        return false;
    for (std::size_t i = 0; i < kProofPrecisions.size(); ++i) {
        const std::optional<PreciseResult> value = closedFormValue(form, kProofPrecisions[i]);
        if (!value || !isWithin(value->value, roots[i], kProofPrecisions[i]) ||
            !satisfies(equation, value->value, value->bound))
            return false;
    }
    return true;
}

/// Whether x's six-digit decimal, read back, is the refined root itself.
bool isDecimalExact(Complex x, const PreciseComplex& root)
{
    PreciseExpression decimal;
    if (!decimal.load(engine::formatValue(x)))
        return false;
    const std::optional<PreciseResult> value = decimal.value(root.precision());
    return value && isWithin(value->value, root, root.precision());
}

/// Every constant the compiled sides push.
std::vector<double> constantsOf(const Equation& equation)
{
    std::vector<double> constants;
    for (const ExpressionProgram* side : {&equation.left(), &equation.right()})
        for (const Instruction instruction : side->instructions())
            if (instruction.op == Op::Constant)
                constants.push_back(side->constant(instruction.operand).re);
    return constants;
}

/// Whether every number typed in prepared is a constant of the compiled equation as it was typed.
/// The reading merges a number with a nearby one it met before (2.0000000001 is read as 2, the
/// engine's cancellation): the exact value of what was typed is then not to be had. A number of a
/// kind other than plain decimal counts as merged.
bool readsNumbersAsTyped(std::string_view prepared, const Equation& equation)
{
    const std::vector<double> constants = constantsOf(equation);
    const auto isNumberEnd = [](char c) {
        return std::string_view("+-*/^()=").find(c) != std::string_view::npos;
    };
    for (std::size_t i = 0; i < prepared.size();) {
        const char c = prepared[i];
        if (!((c >= '0' && c <= '9') || c == '.')) {
            ++i;
            continue;
        }
        double value = 0.0;
        const char* end = prepared.data() + prepared.size();
        const std::from_chars_result read = std::from_chars(prepared.data() + i, end, value);
        if (read.ec != std::errc{} || (read.ptr != end && !isNumberEnd(*read.ptr)))
            return false;
        if (std::find(constants.begin(), constants.end(), value) == constants.end())
            return false;
        i = static_cast<std::size_t>(read.ptr - prepared.data());
    }
    return true;
}

} // namespace

ExactValue ExactValueFinder::root(Complex x) const
{
    ExactValue exact;
    const std::optional<std::array<PreciseComplex, 2>> roots = refinedRoots(m_judge.precise(), x);
    if (!roots) {
        exact.outcome = ExactOutcome::NotRefined;
        return exact;
    }
    if (isDecimalExact(x, (*roots)[1])) {
        exact.outcome = ExactOutcome::AlreadyExact;
        return exact;
    }
    const std::optional<std::string> form = firstClosedForm((*roots)[0], [&](const std::string& candidate) {
        return proves(m_judge.precise(), candidate, *roots);
    });
    exact.outcome = form ? ExactOutcome::Found : ExactOutcome::NoForm;
    if (form)
        exact.text = *form;
    return exact;
}

ExactValue ExactValueFinder::family(const SolutionFamily& family) const
{
    ExactValue exact;
    ExactValue base = root(family.base);
    const std::optional<std::string> period = periodCandidate(family.period);
    const bool isBaseKnown = base.isFound() || base.outcome == ExactOutcome::AlreadyExact;
    if (!isBaseKnown || !period) {
        exact.outcome =
            base.outcome == ExactOutcome::NotRefined ? ExactOutcome::NotRefined : ExactOutcome::NoForm;
        return exact;
    }
    const std::string baseText = base.isFound() ? base.text : engine::formatValue(family.base);
    exact.outcome = ExactOutcome::NoForm;
    for (const char* member : {"+", "-", "+2*"}) {
        PreciseExpression form;
        if (!form.load(baseText + member + "(" + *period + ")"))
            return exact;
        for (const int precision : kProofPrecisions) {
            const std::optional<PreciseResult> value = form.value(precision);
            if (!value || !satisfies(m_judge.precise(), value->value, value->bound))
                return exact;
        }
    }
    exact.outcome = ExactOutcome::Found;
    exact.text = (baseText == "0" ? std::string() : baseText + "+") + *period + "*k";
    return exact;
}

ExactValues findExactValues(std::string_view prepared, const CheckResult& check, const AllSolutions& found)
{
    ExactValues values;
    values.solutions.resize(found.solutions.size());
    values.families.resize(found.families.size());
    const bool isFinalChecked = check.verdict == CheckVerdict::Verified && check.letterSet < 0;
    if (!isFinalChecked && found.solutions.empty() && found.families.empty())
        return values;
    Equation equation;
    if (!equation.load(prepared) || equation.otherLetters() != 0)
        return values;
    if (!readsNumbersAsTyped(prepared, equation)) {
        const ExactValue merged{ExactOutcome::NumbersMerged, {}};
        if (isFinalChecked)
            values.finalValue = merged;
        std::fill(values.solutions.begin(), values.solutions.end(), merged);
        std::fill(values.families.begin(), values.families.end(), merged);
        return values;
    }
    const ResultJudge judge(equation);
    const ExactValueFinder finder(judge);
    if (isFinalChecked)
        values.finalValue = finder.root(check.value);
    for (std::size_t i = 0; i < found.solutions.size(); ++i)
        values.solutions[i] = isSameSolution(found.solutions[i].value, check.value) && isFinalChecked
                                  ? values.finalValue
                                  : finder.root(found.solutions[i].value);
    for (std::size_t i = 0; i < found.families.size(); ++i)
        values.families[i] = finder.family(found.families[i]);
    return values;
}

std::string_view exactOutcomeName(ExactOutcome outcome)
{
    switch (outcome) {
    case ExactOutcome::Found:
        return "found";
    case ExactOutcome::AlreadyExact:
        return "already-exact";
    case ExactOutcome::NotRefined:
        return "not-refined";
    case ExactOutcome::NoForm:
        return "no-form";
    case ExactOutcome::NumbersMerged:
        return "numbers-merged";
    case ExactOutcome::NotAsked:
        break;
    }
    return "not-asked";
}

} // namespace analysis
