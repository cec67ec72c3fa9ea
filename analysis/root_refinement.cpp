// SPDX-License-Identifier: MIT
// Damped Newton's method with multiplicity at high precision.
#include "analysis/root_refinement.h"

#include <algorithm>
#include <cmath>

namespace analysis {

namespace {

/// Halvings of a step that does not make the difference of the sides smaller.
constexpr int kMaxHalvings = 10;
/// Bits short of the working precision at which a step counts as negligible.
constexpr int kConvergenceSlack = 8;
/// A step this many times shorter than the one before shows a simple root converging; slower
/// shrinking (by (m - 1) / m) shows a root of multiplicity m.
constexpr double kSimpleRootContraction = 0.3;
constexpr int kMaxMultiplicity = 8;

/// The multiplicity m that a step shrinking by ratio shows, (m - 1) / m = ratio; 1 for fast shrinking.
int multiplicityOf(double ratio)
{
    if (!(ratio > kSimpleRootContraction && ratio < 1.0))
        return 1;
    const double m = 1.0 / (1.0 - ratio);
    return std::clamp(static_cast<int>(std::lround(m)), 1, kMaxMultiplicity);
}

} // namespace

std::optional<PreciseComplex> refineRoot(const PreciseEquation& equation, const PreciseComplex& start,
                                         double reach)
{
    const int precision = start.precision();
    const LetterValues noLetters{};
    const double negligible = std::ldexp(1.0, kConvergenceSlack - precision);
    const PreciseComplex half(Complex{0.5, 0.0}, precision);
    PreciseComplex x = start;
    PreciseSides here = equation.evaluate(x, 0.0, noLetters, true);
    double previousStep = 0.0;
    for (int step = 0; step < kMaxRefinementSteps; ++step) {
        if (!here.isDefined())
            return std::nullopt;
        const PreciseComplex f = here.difference();
        if (f.isZero())
            return x;
        if (!here.hasDerivative || here.derivative.isZero())
            return std::nullopt;
        PreciseComplex newton = f / here.derivative;
        const double length = newton.magnitude();
        const double scale = x.magnitude();
        if (length <= negligible * scale)
            return x;
        const int multiplicity = step > 0 ? multiplicityOf(length / previousStep) : 1;
        if (multiplicity > 1)
            newton = newton.times(multiplicity);
        // Halve the step until the sides come closer; at a root the rounding noise stops that.
        const double size = f.magnitude();
        bool isCloser = false;
        PreciseComplex next;
        PreciseSides there;
        for (int halving = 0; halving <= kMaxHalvings && !isCloser; ++halving) {
            next = x - newton;
            there = equation.evaluate(next, 0.0, noLetters, true);
            isCloser = there.isDefined() && there.difference().magnitude() < size;
            if (!isCloser)
                newton = newton * half;
        }
        if (!isCloser)
            return length <= negligible * scale * 1024.0 ? std::optional<PreciseComplex>(x) : std::nullopt;
        x = std::move(next);
        here = std::move(there);
        if ((x - start).magnitude() > reach)
            return std::nullopt;
        previousStep = length;
    }
    return std::nullopt;
}

} // namespace analysis
