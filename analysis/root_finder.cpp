// SPDX-License-Identifier: MIT
// A numeric search for all roots of a complex function: Newton's method from fixed starting points,
// with deflation by the roots already found.
#include "analysis/root_finder.h"

#include <algorithm>
#include <cmath>
#include <complex>
#include <cstddef>
#include <cstdio>
#include <cstdlib>
#include <deque>
#include <optional>

namespace analysis {

namespace {

using C = std::complex<double>;

C toStd(Complex z)
{
    return {z.re, z.im};
}

Complex fromStd(C z)
{
    return {z.real(), z.imag()};
}

constexpr int kMaxIterations = 60;
/// Halvings of a Newton step that does not make |g| smaller before the start is given up.
constexpr int kMaxHalvings = 5;
/// A start is given up after this many Newton steps that are not below kSlowContraction times the
/// step before (a root of multiplicity up to 4 shrinks its steps faster than that).
constexpr int kMaxSlowSteps = 6;
constexpr double kSlowContraction = 0.8;
/// Newton has converged when a step is below this much of max(1, |x|).
constexpr double kStepTolerance = 1e-12;
/// A step this small (relative) that no longer lowers |g| means the noise of the arithmetic is reached.
constexpr double kNoiseStep = 1e-6;
/// The central difference's step, relative to max(1, |x|): large enough that the engine's
/// cancellation to exact zeros (relative 10^-7) does not swamp the difference.
constexpr double kDerivativeStep = 1e-5;
/// Beyond this magnitude Newton's method is taken to have diverged.
constexpr double kDivergence = 1e12;
/// Two values are the same root when they differ by less than this much of their magnitude (or
/// lie within each other's zero region).
constexpr double kSameRoot = 1e-6;
constexpr double kSameRootNearZero = 1e-12;
/// A root part this small next to the root's magnitude is below what the arithmetic resolves.
constexpr double kUnresolvablePart = 1e-3;
constexpr double kNegligibleRoot = 1e-10;
/// A root found within this much of max(1, |r|) of a root r is the same one: a multiple root's
/// neighbourhood is so flat that the arithmetic's noise holds roots all over it (tan(x) = x seems
/// to hold at 0.000226 as well as at 0).
constexpr double kNearbyRoot = 1e-3;
/// A root found again raises its multiplicity (and the power it is divided out with) up to this.
constexpr int kMaxMultiplicity = 6;
/// The search stops after this many distinct roots; the ones nearest to 0 are reported.
constexpr std::size_t kCollectLimit = 2 * kMaxRoots;
/// A root check costs about this many evaluations of f (it evaluates with error bounds).
constexpr int kCheckCost = 2;
/// The zero region of a root is explored no further than this much of max(1, |x|).
constexpr double kMaxZoneRadius = 1e-2;
constexpr int kZoneBisections = 24;

struct FoundRoot {
    C value;
    double zoneRadius = 0.0; ///< half the width of the region around it where f is exactly 0
    int multiplicity = 1;
};

double scaleOf(C x)
{
    return std::max(1.0, std::abs(x));
}

class Search {
public:
    Search(const RootFunction& f, int maxEvaluations) : m_f(f), m_budget(maxEvaluations) {}

    RootSearchResult run();

private:
    [[nodiscard]] bool evaluate(C x, C& fx);
    [[nodiscard]] std::optional<C> accepted(C x);
    [[nodiscard]] bool deflated(C x, C& g);
    [[nodiscard]] std::optional<C> newton(C start);
    [[nodiscard]] std::optional<double> zeroEdge(C x, C direction);
    [[nodiscard]] std::optional<C> centreOfZeroRegion(C x, double& radius);
    [[nodiscard]] std::optional<C> acceptedValue(C x);
    void record(C candidate, double zoneRadius);
    [[nodiscard]] bool hasBudget() const { return m_used < m_budget; }

    const RootFunction& m_f;
    int m_budget;
    int m_used = 0;
    std::vector<FoundRoot> m_found;
    std::vector<C> m_rejected; ///< values Newton's method ended at that proved no roots
    std::deque<C> m_conjugateStarts;
    std::deque<C> m_mirrorStarts; // after the fixed starts: the opposites of the real roots found
};

bool Search::evaluate(C x, C& fx)
{
    if (!hasBudget())
        return false;
    ++m_used;
    Complex value;
    if (!m_f.value(fromStd(x), value) || !std::isfinite(value.re) || !std::isfinite(value.im))
        return false;
    fx = toStd(value);
    return true;
}

std::optional<C> Search::accepted(C x)
{
    m_used += kCheckCost;
    Complex root;
    if (!m_f.acceptRoot(fromStd(x), root))
        return std::nullopt;
    return toStd(root);
}

// g(x) = f(x) / prod (x - r)^m over the roots found: Newton's method on g cannot return to them.
bool Search::deflated(C x, C& g)
{
    if (!evaluate(x, g))
        return false;
    C divisor = 1.0;
    for (const FoundRoot& root : m_found)
        for (int i = 0; i < root.multiplicity; ++i)
            divisor *= x - root.value;
    if (divisor == 0.0 || !std::isfinite(divisor.real()) || !std::isfinite(divisor.imag()))
        return false;
    g /= divisor;
    return std::isfinite(g.real()) && std::isfinite(g.imag());
}

std::optional<C> Search::newton(C start)
{
    C x = start;
    C g;
    if (!deflated(x, g))
        return std::nullopt;
    double previousStep = 0.0;
    int slowSteps = 0;
    for (int iteration = 0; iteration < kMaxIterations; ++iteration) {
        if (g == 0.0)
            return x;
        const double scale = scaleOf(x);
        const double h = kDerivativeStep * scale;
        C above;
        C below;
        if (!deflated(x + h, above) || !deflated(x - h, below))
            return std::nullopt;
        const C derivative = (above - below) / (2.0 * h);
        if (derivative == 0.0)
            return std::nullopt;
        C step = g / derivative;
        // A far jump is damped to ten times the current scale: it keeps the search near its start.
        if (std::abs(step) > 10.0 * scale)
            step *= 10.0 * scale / std::abs(step);
        // Damped Newton: halve the step until |g| goes down.
        bool isLower = false;
        C next;
        C gNext;
        for (int halving = 0; halving <= kMaxHalvings && !isLower; ++halving) {
            next = x - step;
            isLower = deflated(next, gNext) && std::abs(gNext) < std::abs(g);
            if (!isLower)
                step *= 0.5;
        }
        if (!isLower)
            return std::abs(step) <= kNoiseStep * scale ? std::optional<C>(x) : std::nullopt;
        // Near a root of multiplicity m the steps shrink by (m - 1) / m each; steps that do not
        // shrink mean the search is wandering (on a plateau, or away to infinity).
        if (iteration > 0 && std::abs(step) > kSlowContraction * previousStep && ++slowSteps > kMaxSlowSteps)
            return std::nullopt;
        previousStep = std::abs(step);
        x = next;
        g = gNext;
        if (std::abs(x) > kDivergence)
            return std::nullopt;
        if (std::abs(step) <= kStepTolerance * scale)
            return x;
    }
    return x;
}

// How far from x along direction f stays exactly 0 (x itself is a zero of f); nothing when f is
// still 0 at kMaxZoneRadius or cannot be evaluated.
std::optional<double> Search::zeroEdge(C x, C direction)
{
    const double limit = kMaxZoneRadius * scaleOf(x);
    double inside = 0.0;
    double outside = 1e-13 * scaleOf(x);
    C fx;
    while (true) {
        if (!evaluate(x + outside * direction, fx))
            return std::nullopt;
        if (fx != 0.0)
            break;
        inside = outside;
        outside *= 4.0;
        if (outside > limit)
            return std::nullopt;
    }
    for (int i = 0; i < kZoneBisections; ++i) {
        const double middle = 0.5 * (inside + outside);
        if (!evaluate(x + middle * direction, fx))
            return std::nullopt;
        (fx == 0.0 ? inside : outside) = middle;
    }
    return inside;
}

// Where cancellation makes f exactly 0 around a root, the root lies in the middle of that region:
// a double root's region is some 3 * 10^-4 wide, far more than Newton's method gets close. Nothing
// when f is 0 all around: a value underflowing to 0 (e^x for x below -41) or an identity.
std::optional<C> Search::centreOfZeroRegion(C x, double& radius)
{
    radius = 0.0;
    C fx;
    if (!evaluate(x, fx) || fx != 0.0)
        return x;
    for (const C direction : {C(1.0, 0.0), C(0.0, 1.0)}) {
        const std::optional<double> forward = zeroEdge(x, direction);
        const std::optional<double> backward = zeroEdge(x, -direction);
        if (!forward || !backward)
            return std::nullopt;
        x += 0.5 * (*forward - *backward) * direction;
        radius = std::max(radius, 0.5 * (*forward + *backward));
    }
    return x;
}

// The root at x without the parts below 1/1000 of |x| when that passes the root test, else the one
// at x. A part that small may be an artefact of the function's arithmetic (one that takes two
// magnitudes agreeing to 10^-7 as equal loses its square), so the plainer value is tried first.
std::optional<C> Search::acceptedValue(C x)
{
    const double size = std::abs(x);
    if (size <= kNegligibleRoot) {
        if (const std::optional<C> zero = accepted(0.0))
            return zero;
    }
    C plain = x;
    if (std::abs(plain.imag()) <= kUnresolvablePart * size)
        plain.imag(0.0);
    if (std::abs(plain.real()) <= kUnresolvablePart * size)
        plain.real(0.0);
    if (plain != x) {
        if (const std::optional<C> root = accepted(plain))
            return root;
    }
    return accepted(x);
}

void Search::record(C candidate, double zoneRadius)
{
    for (FoundRoot& root : m_found) {
        const double distance = std::abs(candidate - root.value);
        const double tolerance = kSameRoot * std::max(std::abs(candidate), std::abs(root.value)) +
                                 kSameRootNearZero + 2.0 * std::max(zoneRadius, root.zoneRadius);
        if (distance <= tolerance || distance <= kNearbyRoot * scaleOf(root.value)) {
            root.multiplicity = std::min(root.multiplicity + 1, kMaxMultiplicity);
            return;
        }
    }
    // The partner of a complex root found before is taken as the root the function accepts at its
    // exact conjugate, so that the pair of a real function prints and sorts as one; the function
    // decides, since one with complex coefficients has partners that are not exact conjugates.
    if (candidate.imag() != 0.0) {
        for (const FoundRoot& root : m_found) {
            const C partner = std::conj(root.value);
            if (root.value.imag() == 0.0 ||
                std::abs(candidate - partner) > kSameRoot * std::abs(partner) + kSameRootNearZero)
                continue;
            if (const std::optional<C> atPartner = accepted(partner)) {
                candidate = *atPartner;
                break;
            }
        }
    }
    m_found.push_back({candidate, zoneRadius, 1});
    if (candidate.imag() != 0.0)
        m_conjugateStarts.push_back(std::conj(candidate));
    // Odd and even functions have their roots in pairs -r, r; a start at -r finds a partner that
    // the fixed starts passed by. Last, since elsewhere it may lead far away.
    else if (candidate.real() != 0.0)
        m_mirrorStarts.push_back(-candidate);
}

RootSearchResult Search::run()
{
    std::vector<C> starts;
    for (const double start : kRealStarts) {
        starts.emplace_back(start, 0.0);
        if (start != 0.0)
            starts.emplace_back(-start, 0.0);
    }
    const double pi = std::acos(-1.0);
    for (const double radius : kCircleRadii)
        for (int k = 0; k < kCircleStarts; ++k)
            starts.push_back(std::polar(radius, (k + 0.5) * 2.0 * pi / kCircleStarts));

    std::size_t next = 0;
    while (hasBudget() && m_found.size() < kCollectLimit) {
        C start;
        if (!m_conjugateStarts.empty()) {
            start = m_conjugateStarts.front();
            m_conjugateStarts.pop_front();
        } else if (next < starts.size()) {
            start = starts[next++];
        } else if (!m_mirrorStarts.empty()) {
            start = m_mirrorStarts.front();
            m_mirrorStarts.pop_front();
        } else {
            break;
        }
        const std::optional<C> converged = newton(start);
        // Many starts end at the same false root (a pole's edge, a cut): it is examined once.
        if (!converged || std::any_of(m_rejected.begin(), m_rejected.end(), [&converged](C rejected) {
                return std::abs(*converged - rejected) <= kNearbyRoot * scaleOf(rejected);
            }))
            continue;
        double zoneRadius = 0.0;
        const std::optional<C> centre = centreOfZeroRegion(*converged, zoneRadius);
        const std::optional<C> root = centre ? acceptedValue(*centre) : std::nullopt;
        if (root)
            record(*root, zoneRadius);
        else
            m_rejected.push_back(*converged);
    }

    RootSearchResult result;
    result.evaluations = m_used;
    result.mayHaveMore = !hasBudget() || m_found.size() > static_cast<std::size_t>(kMaxRoots);
    // The roots nearest to 0, then in display order.
    std::vector<Complex> roots;
    for (const FoundRoot& root : m_found)
        roots.push_back(fromStd(root.value));
    std::stable_sort(roots.begin(), roots.end(), [](Complex a, Complex b) {
        const double sizeA = std::abs(toStd(a));
        const double sizeB = std::abs(toStd(b));
        return sizeA != sizeB ? sizeA < sizeB : isBeforeInRootOrder(a, b);
    });
    if (roots.size() > static_cast<std::size_t>(kMaxRoots))
        roots.resize(static_cast<std::size_t>(kMaxRoots));
    std::sort(roots.begin(), roots.end(), isBeforeInRootOrder);
    result.roots = std::move(roots);
    return result;
}

} // namespace

bool isBeforeInRootOrder(Complex a, Complex b)
{
    const bool isRealA = a.im == 0.0;
    const bool isRealB = b.im == 0.0;
    if (isRealA != isRealB)
        return isRealA;
    if (a.re != b.re)
        return a.re < b.re;
    return a.im < b.im;
}

RootSearchResult findRoots(const RootFunction& f, int maxEvaluations)
{
    return Search(f, maxEvaluations).run();
}

} // namespace analysis
