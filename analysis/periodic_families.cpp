// SPDX-License-Identifier: MIT
// Finds periodic families among the roots of a search.
#include "analysis/periodic_families.h"

#include "analysis/principal_values.h"
#include "analysis/root_finder.h"

#include <algorithm>
#include <cmath>
#include <complex>

namespace analysis {

namespace {

using C = std::complex<double>;

C toStd(Complex z)
{
    return {z.re, z.im};
}

/// A period with a positive real part, or on the positive imaginary axis.
PreciseComplex normalised(const PreciseComplex& period)
{
    const Complex p = period.toComplex();
    return p.re < 0.0 || (p.re == 0.0 && p.im < 0.0) ? period.times(-1) : period;
}

/// Two periods closer than this (relative) are the same candidate.
constexpr double kSamePeriod = 1e-9;
/// A multiple k p is a whole k when it is this close to one.
constexpr double kWholeMultiple = 1e-6;
/// Bits short of the working precision that a member r + k p is exact to, besides its k.
constexpr int kMemberSlack = 10;
/// A member whose sides differ by more than this much of the numbers they were computed from is
/// no root; the quick look in double precision spares the precise check.
constexpr double kPlainlyNoRoot = 1e-6;

std::vector<PreciseComplex> candidatePeriods(const std::vector<FoundRoot>& roots)
{
    std::vector<PreciseComplex> candidates;
    const PreciseComplex pi = PreciseComplex::pi(kBasePrecision);
    const PreciseComplex i(Complex{0.0, 1.0}, kBasePrecision);
    for (const PreciseComplex& standard : {pi, pi.times(2), pi * i, pi.times(2) * i})
        candidates.push_back(standard);
    for (std::size_t a = 0; a < roots.size(); ++a)
        for (std::size_t b = a + 1; b < roots.size(); ++b)
            if (roots[a].precise && roots[b].precise)
                // A difference along an axis keeps rounding noise across it (5.9e-39 beside 9.06i).
                candidates.push_back(normalised(
                    (*roots[b].precise - *roots[a].precise).withoutNoise(kBasePrecision - kMemberSlack)));
    std::stable_sort(
        candidates.begin(), candidates.end(),
        [](const PreciseComplex& p, const PreciseComplex& q) { return p.magnitude() < q.magnitude(); });
    std::vector<PreciseComplex> distinct;
    for (const PreciseComplex& candidate : candidates) {
        const C p = toStd(candidate.toComplex());
        if (std::abs(p) == 0.0)
            continue;
        const bool isKnown = std::any_of(distinct.begin(), distinct.end(), [&p](const PreciseComplex& known) {
            return std::abs(toStd(known.toComplex()) - p) <= kSamePeriod * std::abs(p);
        });
        if (!isKnown)
            distinct.push_back(candidate);
        if (distinct.size() >= static_cast<std::size_t>(kMaxPeriodCandidates))
            break;
    }
    return distinct;
}

/// Whether x is plainly no root: its sides differ far beyond their rounding in double precision.
bool isPlainlyNoRoot(const Equation& equation, Complex x)
{
    const LetterValues noLetters{};
    const PrincipalResult<double> left = principalValue<double>(equation.left(), toStd(x), noLetters);
    const PrincipalResult<double> right = principalValue<double>(equation.right(), toStd(x), noLetters);
    if (left.outcome != EvaluationOutcome::Defined || right.outcome != EvaluationOutcome::Defined)
        return left.outcome == EvaluationOutcome::Undefined || right.outcome == EvaluationOutcome::Undefined;
    return std::abs(left.value - right.value) > kPlainlyNoRoot * std::max(left.scale, right.scale);
}

bool isMember(const ResultJudge& judge, const PreciseComplex& root, const PreciseComplex& period, long k)
{
    const PreciseComplex member = root + period.times(k);
    if (isPlainlyNoRoot(judge.equation(), member.toComplex()))
        return false;
    const double bound = (root.magnitude() + static_cast<double>(std::labs(k)) * period.magnitude()) *
                         std::ldexp(1.0, kMemberSlack - kBasePrecision);
    return judge.verdictAt(member, bound) == CheckVerdict::Verified;
}

bool isFamily(const ResultJudge& judge, const PreciseComplex& root, const PreciseComplex& period)
{
    return std::all_of(std::begin(kFamilyMembers), std::end(kFamilyMembers),
                       [&](int k) { return isMember(judge, root, period, k); });
}

/// The whole k that makes root + k period nearest to 0 (ties: the larger real part, then imaginary).
long nearestMember(const PreciseComplex& root, const PreciseComplex& period)
{
    const C r = toStd(root.toComplex());
    const C p = toStd(period.toComplex());
    const long centre = -std::lround((r * std::conj(p)).real() / std::norm(p));
    long best = centre;
    for (const long k : {centre - 1, centre + 1}) {
        const C a = r + static_cast<double>(k) * p;
        const C b = r + static_cast<double>(best) * p;
        const double sizeA = std::abs(a);
        const double sizeB = std::abs(b);
        if (sizeA < sizeB * (1.0 - 1e-12) ||
            (sizeA <= sizeB * (1.0 + 1e-12) &&
             (a.real() > b.real() || (a.real() == b.real() && a.imag() > b.imag()))))
            best = k;
    }
    return best;
}

} // namespace

bool isFamilyMember(const SolutionFamily& family, Complex value)
{
    const C t = (toStd(value) - toStd(family.base)) / toStd(family.period);
    return std::abs(t.imag()) <= kWholeMultiple &&
           std::abs(t.real() - std::round(t.real())) <= kWholeMultiple;
}

FamilyGrouping groupIntoFamilies(const ResultJudge& judge, const std::vector<FoundRoot>& roots)
{
    FamilyGrouping grouping;
    const std::vector<PreciseComplex> periods = candidatePeriods(roots);
    std::vector<std::size_t> order(roots.size());
    for (std::size_t k = 0; k < order.size(); ++k)
        order[k] = k;
    std::stable_sort(order.begin(), order.end(), [&roots](std::size_t a, std::size_t b) {
        return magnitude(roots[a].value) < magnitude(roots[b].value);
    });
    std::vector<bool> isGrouped(roots.size(), false);
    for (const std::size_t index : order) {
        const FoundRoot& root = roots[index];
        if (isGrouped[index] || !root.precise)
            continue;
        for (const PreciseComplex& period : periods) {
            // The members are tried on both sides of the one nearest 0: a root far out may repeat
            // with a period only on its own side (where a term has decayed to nothing).
            const PreciseComplex base = *root.precise + period.times(nearestMember(*root.precise, period));
            if (!isMember(judge, base, period, 0) || !isFamily(judge, base, period))
                continue;
            const SolutionFamily family{base.toComplex(), period.toComplex()};
            for (std::size_t other = 0; other < roots.size(); ++other)
                if (!isGrouped[other] && isFamilyMember(family, roots[other].value))
                    isGrouped[other] = true;
            isGrouped[index] = true;
            grouping.families.push_back(family);
            break;
        }
    }
    for (std::size_t k = 0; k < roots.size(); ++k)
        if (!isGrouped[k])
            grouping.loose.push_back(roots[k].value);
    std::sort(
        grouping.families.begin(), grouping.families.end(),
        [](const SolutionFamily& a, const SolutionFamily& b) { return isBeforeInRootOrder(a.base, b.base); });
    return grouping;
}

} // namespace analysis
