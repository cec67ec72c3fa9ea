// SPDX-License-Identifier: MIT
// The root search on plain functions: every root once, in display order, within its work limit.
#include "analysis/root_finder.h"

#include <gtest/gtest.h>

#include <complex>
#include <functional>
#include <vector>

namespace {

using analysis::Complex;
using C = std::complex<double>;

/// f with a root test relative to the size of f's terms (given by size(x)).
class LambdaFunction : public analysis::RootFunction {
public:
    LambdaFunction(std::function<C(C)> f, std::function<double(C)> size)
        : m_f(std::move(f)), m_size(std::move(size))
    {
    }
    bool value(Complex x, Complex& f) const override
    {
        const C y = m_f({x.re, x.im});
        f = {y.real(), y.imag()};
        return true;
    }
    bool acceptRoot(Complex x, Complex& root) const override
    {
        root = x;
        return std::abs(m_f({x.re, x.im})) <= 1e-9 * m_size({x.re, x.im});
    }

private:
    std::function<C(C)> m_f;
    std::function<double(C)> m_size;
};

/// The polynomial with these roots (repeated roots listed repeatedly).
LambdaFunction withRoots(std::vector<C> roots)
{
    const auto f = [roots](C x) {
        C product = 1.0;
        for (const C r : roots)
            product *= x - r;
        return product;
    };
    const auto size = [roots](C x) {
        double product = 1.0;
        for (const C r : roots)
            product *= std::abs(x) + std::abs(r);
        return product;
    };
    return {f, size};
}

struct Row {
    const char* name;
    LambdaFunction f;
    std::vector<C> expected; ///< in display order
};

TEST(FindRoots, FindsEveryRootOnceInDisplayOrder)
{
    const C i(0.0, 1.0);
    const Row rows[] = {
        {"TwoReal", withRoots({3.0, 2.0}), {2.0, 3.0}},
        {"ThreeReal", withRoots({1.0, 5.0, -5.0}), {-5.0, 1.0, 5.0}},
        {"ComplexPair", withRoots({i, -i}), {-i, i}},
        {"CubeRootsOfEight",
         withRoots({2.0, -1.0 + std::sqrt(3.0) * i, -1.0 - std::sqrt(3.0) * i}),
         {2.0, -1.0 - std::sqrt(3.0) * i, -1.0 + std::sqrt(3.0) * i}},
        {"DoubleRootOnce", withRoots({1.0, 1.0, -2.0}), {-2.0, 1.0}},
        {"TripleRootAtZero", withRoots({0.0, 0.0, 0.0, 4.0}), {0.0, 4.0}},
        {"FarRoots", withRoots({250.0, -0.001}), {-0.001, 250.0}},
        {"QuarticWithoutRealRoots",
         LambdaFunction([](C x) { return x * x * x * x + x + 1.0; },
                        [](C x) { return std::pow(std::abs(x), 4) + std::abs(x) + 1.0; }),
         {C(-0.7271360845, -0.4300142883), C(-0.7271360845, 0.4300142883), C(0.7271360845, -0.9340992895),
          C(0.7271360845, 0.9340992895)}},
        {"NoRoots",
         LambdaFunction([](C x) { return std::exp(x); }, [](C x) { return std::abs(std::exp(x)); }),
         {}},
    };
    for (const Row& row : rows) {
        const analysis::RootSearchResult result = analysis::findRoots(row.f);
        ASSERT_EQ(result.roots.size(), row.expected.size()) << row.name;
        for (std::size_t k = 0; k < row.expected.size(); ++k) {
            const C root(result.roots[k].re, result.roots[k].im);
            EXPECT_LE(std::abs(root - row.expected[k]), 1e-7 * std::max(1.0, std::abs(row.expected[k])))
                << row.name << " root " << k << ": " << root;
            // A real root is reported as exactly real.
            if (row.expected[k].imag() == 0.0) {
                EXPECT_EQ(root.imag(), 0.0) << row.name << " root " << k;
            }
        }
        EXPECT_FALSE(result.mayHaveMore) << row.name;
        EXPECT_LE(result.evaluations, analysis::kMaxEvaluations + 2) << row.name;
    }
}

TEST(FindRoots, PeriodicFunctionGivesTheRootsNearestToZeroAndSaysMoreMayExist)
{
    const LambdaFunction f([](C x) { return std::sin(x) - 0.5; },
                           [](C x) { return std::abs(std::sin(x)) + 0.5; });
    const analysis::RootSearchResult result = analysis::findRoots(f);
    ASSERT_EQ(result.roots.size(), static_cast<std::size_t>(analysis::kMaxRoots));
    EXPECT_TRUE(result.mayHaveMore);
    // The twelve roots pi/6 + 2 pi k and 5 pi/6 + 2 pi k nearest to 0 lie within |x| < 18.4.
    const double pi = std::acos(-1.0);
    std::vector<double> expected;
    for (int k = -3; k <= 3; ++k)
        for (const double base : {pi / 6.0, 5.0 * pi / 6.0})
            if (std::abs(base + 2.0 * pi * k) < 18.4)
                expected.push_back(base + 2.0 * pi * k);
    std::sort(expected.begin(), expected.end());
    ASSERT_EQ(expected.size(), 12u);
    for (std::size_t k = 0; k < expected.size(); ++k) {
        EXPECT_NEAR(result.roots[k].re, expected[k], 1e-7) << k;
        EXPECT_EQ(result.roots[k].im, 0.0) << k;
    }
}

TEST(FindRoots, IsDeterministicAndKeepsToItsWorkLimit)
{
    const LambdaFunction f([](C x) { return std::sin(x) - x / 10.0; },
                           [](C x) { return std::abs(std::sin(x)) + 1.0; });
    const analysis::RootSearchResult first = analysis::findRoots(f);
    const analysis::RootSearchResult second = analysis::findRoots(f);
    ASSERT_EQ(first.roots.size(), second.roots.size());
    for (std::size_t k = 0; k < first.roots.size(); ++k) {
        EXPECT_EQ(first.roots[k].re, second.roots[k].re);
        EXPECT_EQ(first.roots[k].im, second.roots[k].im);
    }
    const analysis::RootSearchResult limited = analysis::findRoots(f, 40);
    EXPECT_LE(limited.evaluations, 40 + 2);
    EXPECT_TRUE(limited.mayHaveMore);
}

} // namespace
