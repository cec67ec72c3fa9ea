// SPDX-License-Identifier: MIT
// The result check: values judged with principal values at raised precision, and compared with the
// engine's own function values when they fail.
#include "analysis/result_check.h"

#include "analysis/expression_evaluator.h"
#include "analysis/precise_equation.h"
#include "analysis/root_refinement.h"
#include "engine/solve_details.h"

#include <cmath>
#include <functional>
#include <utility>

namespace analysis {

namespace {

/// What one reading of both sides at one precision showed.
enum class Reading { Agree, Differ, UndefinedLeft, UndefinedRight, Unbounded };

struct SidesReading {
    Reading reading = Reading::Unbounded;
    Complex left;
    Complex right;
    double difference = 0.0;
    double bound = 0.0;
};

/// x at a precision: how far it may lie from the value meant, and how many times the bound of the
/// sides' error they may differ by (kAgreementSlack where that bound is rounding; 1 where it is a
/// tolerance of x, which must not be stretched).
struct Substitution {
    PreciseComplex x;
    double bound = 0.0;
    double slack = kAgreementSlack;
};

SidesReading readAt(const PreciseEquation& equation, const Substitution& substitution,
                    const LetterValues& letters)
{
    const PreciseComplex& x = substitution.x;
    const double xBound = substitution.bound;
    SidesReading result;
    const PreciseSides sides = equation.evaluate(x, xBound, letters, false);
    if (sides.left == EvaluationOutcome::Undefined) {
        result.reading = Reading::UndefinedLeft;
        return result;
    }
    if (sides.left == EvaluationOutcome::Defined && sides.right == EvaluationOutcome::Undefined) {
        result.reading = Reading::UndefinedRight;
        return result;
    }
    if (!sides.isDefined())
        return result;
    result.left = sides.leftValue.toComplex();
    result.right = sides.rightValue.toComplex();
    result.difference = sides.difference().magnitude();
    result.bound = sides.bound;
    if (result.difference == 0.0)
        result.reading = Reading::Agree;
    else if (std::isfinite(result.bound) && std::isfinite(result.difference))
        result.reading =
            result.difference <= substitution.slack * result.bound ? Reading::Agree : Reading::Differ;
    return result;
}

/// Whether two readings at different precisions tell the same: for sides that differ, by the same
/// amount, so that the difference is the equation's and not the rounding's.
bool isSameReading(const SidesReading& a, const SidesReading& b)
{
    if (a.reading != b.reading)
        return false;
    if (a.reading != Reading::Differ)
        return true;
    return std::fabs(a.difference - b.difference) <=
           1e-3 * std::max(a.difference, b.difference) + kAgreementSlack * (a.bound + b.bound);
}

/// x at a precision; nothing where it cannot be had.
using ValueAt = std::function<std::optional<Substitution>(int precision)>;

struct Decision {
    SidesReading reading;
    Complex value;
};

/// Readings at kBasePrecision and twice it, and again at twice the last while they disagree.
Decision decide(const PreciseEquation& equation, const ValueAt& valueAt, const LetterValues& letters)
{
    Decision decision;
    std::optional<SidesReading> previous;
    for (int precision = kBasePrecision; precision <= kMaxPrecision; precision *= 2) {
        const std::optional<Substitution> x = valueAt(precision);
        if (!x) {
            decision.reading = {};
            return decision;
        }
        decision.reading = readAt(equation, *x, letters);
        decision.value = x->x.toComplex();
        if (previous && isSameReading(*previous, decision.reading))
            return decision;
        previous = decision.reading;
    }
    decision.reading.reading = Reading::Unbounded;
    return decision;
}

/// Whether x, off by at most xBound, satisfies the equation with the engine's own function values.
bool holdsWithEngineValues(const Equation& equation, BoundedValue x, const LetterValues& letters)
{
    BoundedValue left;
    BoundedValue right;
    if (!engineValueBounded(equation.left(), x, letters, left) ||
        !engineValueBounded(equation.right(), x, letters, right))
        return false;
    const double allowed = left.bound + right.bound;
    const double difference = magnitude({left.value.re - right.value.re, left.value.im - right.value.im});
    return std::isfinite(allowed) && std::isfinite(difference) && difference <= allowed;
}

/// The verdict of a decision; sides that differ are asked whether the engine's values hold (engineX).
CheckResult resultOf(const Decision& decision, const Equation& equation,
                     const std::optional<BoundedValue>& engineX, const LetterValues& letters)
{
    CheckResult result;
    result.value = decision.value;
    result.left = decision.reading.left;
    result.right = decision.reading.right;
    switch (decision.reading.reading) {
    case Reading::Agree:
        result.verdict = CheckVerdict::Verified;
        break;
    case Reading::Differ:
        result.verdict = engineX && holdsWithEngineValues(equation, *engineX, letters)
                             ? CheckVerdict::OtherBranch
                             : CheckVerdict::Failed;
        break;
    case Reading::UndefinedLeft:
    case Reading::UndefinedRight:
        result.verdict = CheckVerdict::Undefined;
        result.undefinedSide =
            decision.reading.reading == Reading::UndefinedLeft ? EquationSide::Left : EquationSide::Right;
        break;
    case Reading::Unbounded:
        result.verdict = CheckVerdict::Undetermined;
        break;
    }
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

/// Bits short of the working precision that a refined root is taken to be exact to.
constexpr int kRefinedSlack = 8;

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
    case CheckVerdict::OtherBranch:
        return "other-branch";
    case CheckVerdict::Undefined:
        return "undefined";
    case CheckVerdict::Undetermined:
        return "undetermined";
    case CheckVerdict::NotApplicable:
        break;
    }
    return "not-applicable";
}

bool isRejection(CheckVerdict verdict)
{
    return verdict == CheckVerdict::Failed || verdict == CheckVerdict::OtherBranch ||
           verdict == CheckVerdict::Undefined;
}

ResultJudge::ResultJudge(const Equation& equation)
    : m_equation(equation), m_precise(std::make_unique<PreciseEquation>(equation))
{
}

ResultJudge::~ResultJudge() = default;

CheckResult ResultJudge::judge(Complex x) const
{
    return judgeRoot(x).check;
}

ResultJudge::Judgement ResultJudge::judgeRoot(Complex x) const
{
    Judgement judgement;
    if (!m_equation.isLoaded() || m_equation.otherLetters() != 0)
        return judgement;
    const double tolerance = kCheckTolerance * magnitude(x);
    std::optional<PreciseComplex> refined =
        refineRoot(*m_precise, PreciseComplex(x, kBasePrecision), tolerance);
    if (refined)
        refined = refined->withoutNoise(kBasePrecision - kRefinedSlack);
    std::optional<PreciseComplex> current = refined;
    const ValueAt valueAt = [&](int precision) -> std::optional<Substitution> {
        if (!refined)
            return Substitution{PreciseComplex(x, precision), tolerance, 1.0};
        if (current->precision() < precision) {
            PreciseComplex extended = current->atPrecision(precision);
            std::optional<PreciseComplex> better = refineRoot(*m_precise, extended, tolerance);
            current = (better ? *better : extended).withoutNoise(precision - kRefinedSlack);
        }
        return Substitution{*current, current->magnitude() * std::ldexp(1.0, kRefinedSlack - precision)};
    };
    const LetterValues noLetters{};
    judgement.check =
        resultOf(decide(*m_precise, valueAt, noLetters), m_equation, BoundedValue{x, tolerance}, noLetters);
    if (refined && judgement.check.verdict == CheckVerdict::Verified)
        judgement.root = refined;
    return judgement;
}

CheckVerdict ResultJudge::verdictAt(const PreciseComplex& x, double xBound) const
{
    const ValueAt valueAt = [&](int precision) -> std::optional<Substitution> {
        return Substitution{x.atPrecision(std::max(precision, x.precision())), xBound};
    };
    return resultOf(decide(*m_precise, valueAt, LetterValues{}), m_equation, std::nullopt, LetterValues{})
        .verdict;
}

CheckResult checkValue(const Equation& equation, Complex x)
{
    return ResultJudge(equation).judge(x);
}

CheckResult checkSolve(std::string_view prepared, const engine::SolveDetails& details)
{
    const engine::FinalSide& side = details.finalSide;
    if (side.isEmpty())
        return {};
    Equation equation;
    ExpressionProgram formula;
    if (!equation.load(prepared) ||
        !formula.compile(reinterpret_cast<const unsigned char*>(side.pieces.data()),
                         static_cast<int>(side.pieces.size()), side.pool))
        return {};
    const std::uint32_t letters = equation.otherLetters() | formula.letterMask();
    if (letters == 0) {
        Complex x;
        if (!engineValue(formula, {}, LetterValues{}, x))
            return {};
        return checkValue(equation, x);
    }

    // Each set of letter values gives x from the derivation's formula, exact to the working
    // precision, and then both sides.
    const PreciseEquation precise(equation);
    const PreciseEvaluator formulaValue(formula);
    CheckResult firstVerified;
    CheckResult firstRejected;
    for (int set = 0; set < kLetterSets; ++set) {
        const LetterValues values = letterValues(set);
        const ValueAt valueAt = [&](int precision) -> std::optional<Substitution> {
            PreciseResult x = formulaValue.evaluate(PreciseComplex({}, precision), 0.0, values, false);
            if (x.outcome != EvaluationOutcome::Defined)
                return std::nullopt;
            return Substitution{std::move(x.value), x.bound};
        };
        // The engine's own value of the formula, with its bound and the check's tolerance.
        std::optional<BoundedValue> engineX;
        BoundedValue x;
        if (engineValueBounded(formula, {}, values, x)) {
            x.bound += kCheckTolerance * magnitude(x.value);
            engineX = x;
        }
        CheckResult result = resultOf(decide(precise, valueAt, values), equation, engineX, values);
        result.letterSet = set;
        if (result.verdict == CheckVerdict::Verified && firstVerified.letterSet < 0)
            firstVerified = result;
        if (isRejection(result.verdict) && firstRejected.letterSet < 0)
            firstRejected = result;
    }
    CheckResult result;
    if (firstVerified.letterSet >= 0 && firstRejected.letterSet < 0)
        result = firstVerified;
    else if (firstRejected.letterSet >= 0 && firstVerified.letterSet < 0)
        result = firstRejected;
    else
        result.verdict = CheckVerdict::Undetermined;
    result.letters = lettersOf(letters);
    return result;
}

} // namespace analysis
