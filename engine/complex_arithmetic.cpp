// SPDX-License-Identifier: MIT
// The complex primitives the constant folding is built from, with the cancellation and residue rules.
#include "engine/complex_arithmetic.h"

#include <cmath>

namespace engine {

namespace {

double pi()
{
    return 4.0 * std::atan(1.0);
}

} // namespace

void AddComplex(Complex& z, Complex w)
{
    // Each part separately: contributions that cancel to within a relative 10^-7 give an exact 0,
    // so 1 + (-0.99999999) is 0 rather than a rounding residue.
    z.re = ApproxEqual(z.re, -w.re) ? 0.0 : z.re + w.re;
    z.im = ApproxEqual(z.im, -w.im) ? 0.0 : z.im + w.im;
}

void MultiplyComplex(Complex& z, Complex w)
{
    // (a + bi)(c + di) = (ac - bd) + (ad + bc)i; each product is rounded to double before the
    // cancellation test, and both parts are taken from the old z.
    const double p = z.re * w.re;
    const double q = z.im * w.im;
    const double r = z.re * w.im;
    const double s = z.im * w.re;
    z.re = ApproxEqual(p, q) ? 0.0 : p - q;
    z.im = ApproxEqual(r, -s) ? 0.0 : r + s;
}

bool InvertComplex(Complex& z)
{
    // 1 / (a + bi) = (a - bi) / (a^2 + b^2).
    const double m = z.re * z.re + z.im * z.im;
    if (m == 0.0)
        return false;
    z.re = z.re / m;
    z.im = -z.im / m;
    return true;
}

void SqrtComplex(Complex& z)
{
    // sqrt(a + bi) = sqrt((r + a) / 2) + sqrt((r - a) / 2) i with r = |z|. The imaginary part is
    // never negative; the real part takes the sign of b, so sqrt(-2i) = -1 + i.
    const double r = std::sqrt(z.re * z.re + z.im * z.im);
    double re = ApproxEqual(r, -z.re) ? 0.0 : std::sqrt((z.re + r) / 2.0);
    if (z.im < 0.0 && re != 0.0)
        re = -re;
    const double im = ApproxEqual(r, z.re) ? 0.0 : std::sqrt((r - z.re) / 2.0);
    z = {re, im};
}

bool LogComplex(Complex& z)
{
    if (z.re == 0.0 && z.im == 0.0)
        return false;
    // ln z = ln|z| + t i with the angle t taken in [0, 2pi).
    const double halfTurn = pi();
    double t = 0.0;
    if (z.re == 0.0)
        t = z.im > 0.0 ? halfTurn / 2.0 : 3.0 * halfTurn / 2.0;
    else if (z.re > 0.0)
        t = std::atan(z.im / z.re) + (z.im < 0.0 ? 2.0 * halfTurn : 0.0);
    else
        t = std::atan(z.im / z.re) + halfTurn;
    const double m = z.re * z.re + z.im * z.im;
    z.re = ApproxEqual(m, 1.0) ? 0.0 : std::log(m) / 2.0;
    z.im = t + 0.0; // + 0.0 turns the angle of 1 - 0i into +0 rather than -0
    return true;
}

bool ExpComplex(Complex& z)
{
    // e^(a + bi) = e^a (cos b + i sin b). Beyond 18 ln 10 the magnitude would exceed 10^18; below
    // 18 ln 0.1 it is under 10^-18 and the result is stored as 0 anyway.
    const double upper = 18.0 * std::log(10.0);
    const double lower = 18.0 * std::log(0.1);
    if (z.re > upper)
        return false;
    if (z.re < lower) {
        z = {};
        return true;
    }
    // cos and sin leave a rounding residue at multiples of pi/2 (sin(pi) is about 1.2e-16);
    // a value negligible next to the angle is that residue, so e^(pi i) is exactly -1. The residue
    // is also tiny in itself: for angles beyond 10^7 every value is negligible next to the angle,
    // and sin(10^8) = 0.93 must not become 0.
    constexpr double kResidueLimit = 1e-7;
    double c = std::cos(z.im);
    if (ApproxEqual(c + z.im, z.im) && std::fabs(c) < kResidueLimit)
        c = 0.0;
    double s = std::sin(z.im);
    if (ApproxEqual(s + z.im, z.im) && std::fabs(s) < kResidueLimit)
        s = 0.0;
    const double g = std::exp(z.re);
    z = {g * c, g * s};
    return true;
}

} // namespace engine
