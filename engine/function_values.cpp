// SPDX-License-Identifier: MIT
// The values of the sixteen functions, each by its fixed sequence of complex primitives, so that
// every intermediate value goes through the cancelling arithmetic.
#include "engine/complex_arithmetic.h"
#include "engine/constant_folding.h"
#include "engine/token_table.h"

#include <cmath>

namespace engine {
namespace {

constexpr Complex kRealOne{1.0, 0.0};
constexpr Complex kRealMinusOne{-1.0, 0.0};
constexpr Complex kImaginaryUnit{0.0, 1.0};
constexpr Complex kMinusImaginaryUnit{0.0, -1.0};
constexpr Complex kTwoImaginaryUnits{0.0, 2.0};
constexpr Complex kMinusHalfImaginaryUnit{0.0, -0.5};

using Result = EvaluationResult;

Complex negated(Complex v)
{
    return {-v.re, -v.im};
}

Complex halved(Complex v)
{
    return {v.re / 2.0, v.im / 2.0};
}

Complex doubled(Complex v)
{
    return {v.re * 2.0, v.im * 2.0};
}

/// sqrt(v^2 + c) for c = 1 or -1, the root shared by the inverse functions.
Complex rootOfSquarePlus(Complex v, Complex c)
{
    Complex w = v;
    MultiplyComplex(w, v);
    AddComplex(w, c);
    SqrtComplex(w);
    return w;
}

// acs v = -i ln(v + sqrt(v^2 - 1))
Result arcCosine(Complex v, Complex& w)
{
    w = rootOfSquarePlus(v, kRealMinusOne);
    AddComplex(w, v);
    if (!LogComplex(w))
        return Result::LogOfZero;
    MultiplyComplex(w, kMinusImaginaryUnit);
    return Result::Folded;
}

// ahc v = ln(v - sqrt(v^2 - 1)), the other branch: ahc(2) = -1.3169579
Result areaHyperbolicCosine(Complex v, Complex& w)
{
    w = negated(rootOfSquarePlus(v, kRealMinusOne));
    AddComplex(w, v);
    if (!LogComplex(w))
        return Result::LogOfZero;
    return Result::Folded;
}

// ahs v = ln(v + sqrt(v^2 + 1))
Result areaHyperbolicSine(Complex v, Complex& w)
{
    w = rootOfSquarePlus(v, kRealOne);
    AddComplex(w, v);
    if (!LogComplex(w))
        return Result::LogOfZero;
    return Result::Folded;
}

// aht v = ln((1 + v) / (1 - v)) / 2
Result areaHyperbolicTangent(Complex v, Complex& w)
{
    w = negated(v);
    AddComplex(w, kRealOne);
    Complex numerator = v;
    AddComplex(numerator, kRealOne);
    // 1 - v = 0 leaves w at 0, and the logarithm below reports it.
    static_cast<void>(InvertComplex(w));
    MultiplyComplex(w, numerator);
    if (!LogComplex(w))
        return Result::AhtOfOne;
    w = halved(w);
    return Result::Folded;
}

// asn v = -i ln(sqrt(1 - v^2) + i v)
Result arcSine(Complex v, Complex& w)
{
    w = v;
    MultiplyComplex(w, v);
    w = negated(w);
    AddComplex(w, kRealOne);
    SqrtComplex(w);
    Complex iv = v;
    MultiplyComplex(iv, kImaginaryUnit);
    AddComplex(w, iv);
    if (!LogComplex(w))
        return Result::LogOfZero;
    MultiplyComplex(w, kMinusImaginaryUnit);
    return Result::Folded;
}

// atn v = -i/2 ln((1 + iv) / (1 - iv))
Result arcTangent(Complex v, Complex& w)
{
    w = v;
    MultiplyComplex(w, kImaginaryUnit);
    Complex numerator = w;
    w = negated(w);
    AddComplex(w, kRealOne);
    AddComplex(numerator, kRealOne);
    // 1 - iv = 0 leaves w at 0, and the logarithm below reports it.
    static_cast<void>(InvertComplex(w));
    MultiplyComplex(w, numerator);
    if (!LogComplex(w))
        return Result::AtnOfI;
    MultiplyComplex(w, kMinusHalfImaginaryUnit);
    return Result::Folded;
}

// cos v = (e^(iv) + e^(-iv)) / 2
Result cosine(Complex v, Complex& w)
{
    w = v;
    MultiplyComplex(w, kImaginaryUnit);
    Complex other = negated(w);
    if (!ExpComplex(w) || !ExpComplex(other))
        return Result::Overflow;
    AddComplex(w, other);
    w = halved(w);
    return Result::Folded;
}

Result exponential(Complex v, Complex& w)
{
    w = v;
    if (!ExpComplex(w))
        return Result::Overflow;
    return Result::Folded;
}

// hcs v = (e^v + e^-v) / 2
Result hyperbolicCosine(Complex v, Complex& w)
{
    Complex other = negated(v);
    w = v;
    if (!ExpComplex(w) || !ExpComplex(other))
        return Result::Overflow;
    AddComplex(w, other);
    w = halved(w);
    return Result::Folded;
}

// hsn v = (e^v - e^-v) / 2
Result hyperbolicSine(Complex v, Complex& w)
{
    Complex other = negated(v);
    w = v;
    if (!ExpComplex(w) || !ExpComplex(other))
        return Result::Overflow;
    AddComplex(w, negated(other));
    w = halved(w);
    return Result::Folded;
}

// htn v = (e^2v - 1) / (e^2v + 1)
Result hyperbolicTangent(Complex v, Complex& w)
{
    w = doubled(v);
    if (!ExpComplex(w))
        return Result::Overflow;
    Complex numerator = w;
    AddComplex(w, kRealOne);
    AddComplex(numerator, kRealMinusOne);
    // e^2v = -1 exactly: a pole of htn.
    if (!InvertComplex(w))
        return Result::DivisionByZero;
    MultiplyComplex(w, numerator);
    return Result::Folded;
}

// lgt v = ln v / ln 10
Result decimalLogarithm(Complex v, Complex& w)
{
    w = v;
    if (!LogComplex(w))
        return Result::LgtOfZero;
    w.re /= std::log(10.0);
    w.im /= std::log(10.0);
    return Result::Folded;
}

Result naturalLogarithm(Complex v, Complex& w)
{
    w = v;
    if (!LogComplex(w))
        return Result::LogOfZero;
    return Result::Folded;
}

// sin v = -i/2 (e^(iv) - e^(-iv))
Result sine(Complex v, Complex& w)
{
    w = v;
    MultiplyComplex(w, kImaginaryUnit);
    Complex other = negated(w);
    if (!ExpComplex(w) || !ExpComplex(other))
        return Result::Overflow;
    AddComplex(w, negated(other));
    MultiplyComplex(w, kMinusHalfImaginaryUnit);
    return Result::Folded;
}

Result squareRoot(Complex v, Complex& w)
{
    w = v;
    SqrtComplex(w);
    return Result::Folded;
}

// tan v = -i (e^2iv - 1) / (e^2iv + 1)
Result tangent(Complex v, Complex& w)
{
    w = v;
    MultiplyComplex(w, kTwoImaginaryUnits);
    if (!ExpComplex(w))
        return Result::Overflow;
    Complex numerator = w;
    AddComplex(w, kRealOne);
    AddComplex(numerator, kRealMinusOne);
    // e^2iv = -1 exactly: a pole of tan.
    if (!InvertComplex(w))
        return Result::DivisionByZero;
    MultiplyComplex(w, numerator);
    MultiplyComplex(w, kMinusImaginaryUnit);
    return Result::Folded;
}

struct FunctionEntry {
    unsigned char token;
    Result (*value)(Complex v, Complex& w);
};

constexpr FunctionEntry kFunctions[] = {
    {token::kAcs, arcCosine},
    {token::kAhc, areaHyperbolicCosine},
    {token::kAhs, areaHyperbolicSine},
    {token::kAht, areaHyperbolicTangent},
    {token::kAsn, arcSine},
    {token::kAtn, arcTangent},
    {token::kCos, cosine},
    {token::kExp, exponential},
    {token::kHcs, hyperbolicCosine},
    {token::kHsn, hyperbolicSine},
    {token::kHtn, hyperbolicTangent},
    {token::kLgt, decimalLogarithm},
    {token::kLog, naturalLogarithm},
    {token::kSin, sine},
    {token::kSqr, squareRoot},
    {token::kTan, tangent},
};

} // namespace

EvaluationResult functionValue(unsigned char token, Complex v, Complex& u)
{
    u = {};
    for (const FunctionEntry& entry : kFunctions) {
        if (entry.token != token)
            continue;
        Complex w{};
        const Result result = entry.value(v, w);
        if (result == Result::Folded)
            u = w;
        return result;
    }
    // Not a function token: the caller checks, so this is never reached with a valid string.
    return Result::Unchanged;
}

} // namespace engine
