// SPDX-License-Identifier: MIT
// Every solution of an equation in x, found numerically, refined, verified and put into families.
#include "analysis/all_solutions.h"

#include "analysis/principal_values.h"
#include "analysis/root_finder.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <complex>

namespace analysis {

namespace {

/// A converged value whose sides still differ by more than this much of the numbers they were
/// computed from is no root: it is not handed to the precise check.
constexpr double kNoRoot = 1e-6;

/// f(x) = left side - right side with principal values in double precision; a root is what the
/// result check refines and verifies, and the refined roots are kept for the families.
class EquationFunction : public RootFunction {
public:
    explicit EquationFunction(const ResultJudge& judge) : m_judge(judge) {}

    bool value(Complex x, Complex& f) const override
    {
        std::complex<double> left;
        std::complex<double> right;
        if (!sides(x, left, right, nullptr))
            return false;
        const std::complex<double> difference = left - right;
        f = {difference.real(), difference.imag()};
        return true;
    }

    bool acceptRoot(Complex x, Complex& root) const override
    {
        std::complex<double> left;
        std::complex<double> right;
        double scale = 0.0;
        if (!sides(x, left, right, &scale) || std::abs(left - right) > kNoRoot * scale)
            return false;
        // Only a root refined to the working precision is listed: its six digits are all right.
        ResultJudge::Judgement judgement = m_judge.judgeRoot(x);
        if (judgement.check.verdict != CheckVerdict::Verified || !judgement.root)
            return false;
        root = judgement.check.value;
        m_accepted.push_back({root, std::move(judgement.root)});
        return true;
    }

    /// The refined root behind a reported one.
    [[nodiscard]] FoundRoot found(Complex root) const
    {
        for (const FoundRoot& accepted : m_accepted)
            if (accepted.value.re == root.re && accepted.value.im == root.im)
                return accepted;
        return {root, std::nullopt};
    }

private:
    bool sides(Complex x, std::complex<double>& left, std::complex<double>& right, double* scale) const
    {
        const std::complex<double> z(x.re, x.im);
        const PrincipalResult<double> l = principalValue<double>(m_judge.equation().left(), z, m_noLetters);
        if (l.outcome != EvaluationOutcome::Defined)
            return false;
        const PrincipalResult<double> r = principalValue<double>(m_judge.equation().right(), z, m_noLetters);
        if (r.outcome != EvaluationOutcome::Defined)
            return false;
        left = l.value;
        right = r.value;
        if (scale != nullptr)
            *scale = std::max(l.scale, r.scale);
        return true;
    }

    const ResultJudge& m_judge;
    LetterValues m_noLetters{};
    mutable std::vector<FoundRoot> m_accepted;
};

/// The work of one search, in evaluations times characters of the equation, so that the search of
/// a long equation stays within a few milliseconds, while short ones get kMaxEvaluations.
constexpr std::size_t kWorkPerSearch = 400000;
constexpr int kMinEvaluations = 1000;

/// Values at which an equation in x is most unlikely to hold unless it holds everywhere.
constexpr std::array<Complex, 3> kIdentityProbes = {
    {{0.6180339, 0.2718281}, {-1.4142135, 0.5772156}, {2.2360679, -1.7320508}}};

} // namespace

bool isSameSolution(Complex a, Complex b)
{
    const double distance = magnitude({a.re - b.re, a.im - b.im});
    return distance <= 1e-6 * std::max(magnitude(a), magnitude(b)) + 1e-12;
}

AllSolutions findAllSolutions(std::string_view prepared)
{
    AllSolutions result;
    Equation equation;
    if (!equation.load(prepared) || equation.otherLetters() != 0 || !equation.readsX())
        return result;
    const ResultJudge judge(equation);
    // An identity in x (x=x, sin(x)^2+cos(x)^2=1) holds at every value; it has no list of roots.
    if (std::all_of(kIdentityProbes.begin(), kIdentityProbes.end(), [&judge](Complex probe) {
            return judge.verdictAt(PreciseComplex(probe, kBasePrecision), 0.0) == CheckVerdict::Verified;
        }))
        return result;

    const int maxEvaluations = static_cast<int>(std::clamp<std::size_t>(
        kWorkPerSearch / std::max<std::size_t>(prepared.size(), 1), kMinEvaluations, kMaxEvaluations));
    const EquationFunction function(judge);
    const RootSearchResult search = findRoots(function, maxEvaluations);
    result.hasRun = true;
    result.evaluations = search.evaluations;

    std::vector<FoundRoot> roots;
    for (const Complex root : search.roots)
        roots.push_back(function.found(root));
    FamilyGrouping grouping;
    if (equation.hasPeriodicTerm())
        grouping = groupIntoFamilies(judge, roots);
    else
        for (const FoundRoot& root : roots)
            grouping.loose.push_back(root.value);
    result.families = std::move(grouping.families);
    for (const Complex root : grouping.loose)
        result.solutions.push_back({root, CheckVerdict::Verified});
    const bool mayHaveMore = search.mayHaveMore || equation.hasPeriodicTerm();
    result.mayHaveMore = result.families.empty() ? mayHaveMore : mayHaveMore && !result.solutions.empty();
    return result;
}

} // namespace analysis
