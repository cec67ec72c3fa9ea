// SPDX-License-Identifier: MIT
// The propagation rules of error bounds, one per operation.
#include "analysis/error_bounds.h"

#include "analysis/expression_program.h"
#include "engine/token_table.h"

#include <algorithm>
#include <cmath>
#include <complex>

namespace analysis {

namespace {

bool isZero(Complex z)
{
    return z.re == 0.0 && z.im == 0.0;
}

/// Bound of |log(v + d) - log v| for |d| <= error: -log(1 - error/|v|) <= error / (|v| - error).
double logarithmBound(Complex v, double error)
{
    const double m = magnitude(v);
    return error < m ? error / (m - error) : kUnbounded;
}

/// Bound of the change of tan v (circular) or tanh v (hyperbolic) when v moves by at most error:
/// tan(v + d) - tan v = sin d / (cos(v + d) cos v), and cos moves by at most error cosh(|Im v| + error).
double tangentBound(Complex v, double error, bool isHyperbolic)
{
    const std::complex<double> z(v.re, v.im);
    const double c = std::abs(isHyperbolic ? std::cosh(z) : std::cos(z));
    const double spread = std::fabs(isHyperbolic ? v.re : v.im) + error;
    const double lowest = c - error * std::cosh(spread);
    if (!(lowest > 0.0))
        return kUnbounded;
    return error * std::cosh(error) / (c * lowest);
}

/// Bound for an inverse function whose derivative is 1 / sqrt(...) (asn, acs, ahs, ahc): the
/// derivative at v, doubled for its growth within the error, but never more than the square-root
/// growth next to a branch point, 2 sqrt(error) + error.
double rootTypeBound(double derivative, double error)
{
    return std::min(2.0 * derivative * error, 2.0 * std::sqrt(error) + error);
}

/// Bound for atn and aht, whose derivative has a pole at distance from v: twice the derivative's
/// bound within half that distance, unbounded beyond.
double poleTypeBound(double derivative, double error, double distance)
{
    return 2.0 * error < distance ? 2.0 * derivative * error : kUnbounded;
}

} // namespace

double times(double x, double y)
{
    return (x == 0.0 || y == 0.0) ? 0.0 : x * y;
}

double productBound(double ma, double ea, double mb, double eb)
{
    return times(ea, mb) + times(eb, ma) + times(ea, eb);
}

double inverseBound(Complex b, double eb)
{
    // 1/(b + d) - 1/b = -d / (b (b + d)).
    const double mb = magnitude(b);
    if (eb == 0.0)
        return 0.0;
    return eb < mb ? eb / (mb * (mb - eb)) : kUnbounded;
}

double powerBound(Complex v, double ev, Complex w, double ew, Complex r, double logMagnitude, double turn)
{
    if (isZero(v)) {
        if (isZero(w))
            return ew == 0.0 ? 0.0 : kUnbounded; // 0^0 = 1 holds for an exponent that is exactly 0 only
        if (ev == 0.0)
            return 0.0;
        const double p = ev < 1.0 ? w.re - ew : w.re + ew;
        return p > 0.0 ? std::pow(ev, p) * std::exp(turn * (std::fabs(w.im) + ew)) : kUnbounded;
    }
    if (isZero(w) && ew == 0.0)
        return 0.0;
    // v^w = e^(w log v): log v is off by logarithmBound, w log v by the product rule, and e^t moves
    // by at most |e^t| (e^|dt| - 1).
    const double el = logarithmBound(v, ev);
    const double et = times(ew, logMagnitude) + times(magnitude(w), el) + times(ew, el);
    return et <= 1.0 ? times(magnitude(r), std::expm1(et)) : kUnbounded;
}

double functionBound(unsigned char token, Complex v, double error, Complex r)
{
    if (error == 0.0)
        return 0.0;
    namespace t = engine::token;
    using C = std::complex<double>;
    const C z(v.re, v.im);
    const bool isLogarithm = token == t::kLog || token == t::kLgt;
    if (!isLogarithm && token != t::kSqr && error > 1.0)
        return kUnbounded;
    switch (token) {
    case t::kSin:
    case t::kCos:
        // |sin'| and |cos'| stay below cosh of the imaginary part.
        return error * std::cosh(std::fabs(v.im) + error);
    case t::kHsn:
    case t::kHcs:
        return error * std::cosh(std::fabs(v.re) + error);
    case t::kExp:
        return magnitude(r) * std::expm1(error);
    case t::kTan:
        return tangentBound(v, error, false);
    case t::kHtn:
        return tangentBound(v, error, true);
    case t::kLog:
        return logarithmBound(v, error);
    case t::kLgt:
        return logarithmBound(v, error) / std::log(10.0);
    case t::kSqr: {
        // |sqrt(v + d) - sqrt v| is below |d| / |sqrt v| and below sqrt |d|.
        const double m = magnitude(r);
        return m > 0.0 ? std::min(error / m, std::sqrt(error)) : std::sqrt(error);
    }
    case t::kAsn:
    case t::kAcs:
        return rootTypeBound(1.0 / std::abs(std::sqrt(1.0 - z * z)), error);
    case t::kAhs:
        return rootTypeBound(1.0 / std::abs(std::sqrt(z * z + 1.0)), error);
    case t::kAhc:
        return rootTypeBound(1.0 / std::abs(std::sqrt(z * z - 1.0)), error);
    case t::kAtn:
        return poleTypeBound(1.0 / std::abs(1.0 + z * z), error,
                             std::min(std::abs(z - C(0.0, 1.0)), std::abs(z + C(0.0, 1.0))));
    case t::kAht:
        return poleTypeBound(1.0 / std::abs(1.0 - z * z), error,
                             std::min(std::abs(z - 1.0), std::abs(z + 1.0)));
    default:
        return kUnbounded;
    }
}

} // namespace analysis
