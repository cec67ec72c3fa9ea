// SPDX-License-Identifier: MIT
// The complex primitives the constant folding is built from, with their cancellation rules.
#pragma once

#include "engine/complex_value.h"

namespace engine {

/// True when a and b are both 0, or when b / a lies strictly between 0.9999999 and 1.0000001.
[[nodiscard]] inline bool ApproxEqual(double a, double b)
{
    if (a == 0.0)
        return b == 0.0;
    const double quotient = b / a;
    return quotient > 0.9999999 && quotient < 1.0000001;
}

/// value as it is stored: a part negligible next to the other one (ApproxEqual of the other part and
/// the sum) or below 10^-18 in magnitude becomes exactly 0, so 1 + 10^-8 i is 1.
[[nodiscard]] inline Complex withoutNegligibleParts(Complex value)
{
    double re = value.re;
    double im = value.im;
    if (ApproxEqual(re, re + im) || (im > -1e-18 && im < 1e-18))
        im = 0.0;
    if (ApproxEqual(im, re + im) || (re > -1e-18 && re < 1e-18))
        re = 0.0;
    return {re, im};
}

/// z += w, part by part; a part whose two contributions cancel to within ApproxEqual becomes 0.
void AddComplex(Complex& z, Complex w);
/// z *= w; a part whose two products cancel to within ApproxEqual becomes 0.
void MultiplyComplex(Complex& z, Complex w);
/// z := 1 / z. False, with z unchanged, when z is 0.
[[nodiscard]] bool InvertComplex(Complex& z);
/// z := the square root of z whose imaginary part is not negative (its real part takes the sign of
/// the imaginary part of z).
void SqrtComplex(Complex& z);
/// z := ln z with the angle in [0, 2 pi). False, with z unchanged, when z is 0.
[[nodiscard]] bool LogComplex(Complex& z);
/// z := e^z. False, with z unchanged, when the magnitude would exceed 10^18; a magnitude below
/// 10^-18 gives exactly 0.
[[nodiscard]] bool ExpComplex(Complex& z);

} // namespace engine
