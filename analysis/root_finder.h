// SPDX-License-Identifier: MIT
// A numeric search for all roots of a complex function: Newton's method from fixed starting points,
// with deflation by the roots already found.
#pragma once

#include "engine/complex_value.h"

#include <array>
#include <vector>

namespace analysis {

using engine::Complex;

/// The function whose roots are searched, and the test every reported root must pass.
class RootFunction {
public:
    RootFunction() = default;
    RootFunction(const RootFunction&) = default;
    RootFunction& operator=(const RootFunction&) = default;
    virtual ~RootFunction() = default;

    /// f(x); false where f cannot be evaluated (a pole, a logarithm of 0, an overflow).
    [[nodiscard]] virtual bool value(Complex x, Complex& f) const = 0;
    /// Whether a root of f lies at x or right beside it (for an equation, what its result check
    /// verifies after refining x); then root is that root, as exactly as f tells it. Only roots
    /// accepted so are reported.
    [[nodiscard]] virtual bool acceptRoot(Complex x, Complex& root) const = 0;
};

/// At most this many roots are reported.
inline constexpr int kMaxRoots = 12;

/// The work one search may do, counted in evaluations of f so that the same function always gives
/// the same roots whatever the machine's speed. An equation of the golden files' size needs some
/// 2,300 evaluations (median; 4,100 at worst) and 0.2 ms (2.1 ms at worst, bench_all_solutions),
/// so the limit of 10,000 keeps a search within a few milliseconds and a solve interactive.
inline constexpr int kMaxEvaluations = 10000;

/// Starting points on the real axis, nearest to 0 first; each is also used with the opposite sign.
/// Dense up to 20, so that periodic functions give their roots nearest to 0, then sparse up to 10^6.
inline constexpr std::array<double, 30> kRealStarts = {
    0.0,  0.5,  1.0,  1.5,  2.0,  2.5,  3.0,  4.0,  5.0,  6.0,  7.0,  8.0,  9.0,   10.0,   11.0,
    12.0, 13.0, 14.0, 15.0, 16.0, 17.0, 18.0, 19.0, 20.0, 25.0, 30.0, 50.0, 100.0, 1000.0, 1e6};

/// Radii of the circles of complex starting points, each with kCircleStarts points at the angles
/// (k + 1/2) * 360 / kCircleStarts degrees: none on the real axis, and the set closed under
/// conjugation, so complex roots of real equations turn up in pairs.
inline constexpr std::array<double, 5> kCircleRadii = {0.5, 1.0, 2.0, 4.0, 8.0};
inline constexpr int kCircleStarts = 8;

/// What a search found.
struct RootSearchResult {
    /// The roots, each once whatever its multiplicity, each accepted by RootFunction::acceptRoot: the ones
    /// nearest to 0 when more were found than kMaxRoots. Real roots first by value, then complex
    /// ones by real part, then imaginary part.
    std::vector<Complex> roots;
    /// More roots were found than are reported, or the work limit ended the search early.
    bool mayHaveMore = false;
    int evaluations = 0; ///< evaluations of f the search made
};

/// Searches the roots of f: from every starting point (the real ones, then circle after circle,
/// the conjugate of every complex root found, and last the opposite of every real one), Newton's method with
/// a central-difference derivative runs on f divided by (x - r)^m for each root r found so far with the
/// multiplicity m it has shown, so that known roots repel. A converged value where f is exactly 0 (the
/// engine's arithmetic cancels to exact zeros) is moved to the middle of its zero region, which finds a
/// multiple root to many more digits than Newton's method does. A real or imaginary part below
/// 1/1000 of the root's magnitude is dropped, and the root kept only when it still passes (the
/// engine's arithmetic does not resolve such parts); values within 1/1000 of max(1, |r|) of a
/// root r count as r. Deterministic; stops after at most maxEvaluations evaluations of f.
[[nodiscard]] RootSearchResult findRoots(const RootFunction& f, int maxEvaluations = kMaxEvaluations);

/// The display order: real values first by value, then by real part, then by imaginary part.
[[nodiscard]] bool isBeforeInRootOrder(Complex a, Complex b);

} // namespace analysis
