// SPDX-License-Identifier: MIT
// The recognisers of closed forms: each finds an integer relation among the value and the numbers
// of its form, and writes the value that relation gives.
#include "analysis/closed_forms.h"

#include "analysis/integer_relation.h"
#include "analysis/precise_expression.h"

#include <array>
#include <cmath>
#include <complex>
#include <cstdlib>
#include <numeric>

namespace analysis {

namespace {

/// p/q in lowest terms, q > 0.
struct Fraction {
    long p = 0;
    long q = 1;
};

Fraction reduced(long p, long q)
{
    if (q < 0) {
        p = -p;
        q = -q;
    }
    const long g = std::gcd(p, q);
    return g > 1 ? Fraction{p / g, q / g} : Fraction{p, q};
}

/// A fraction with a denominator up to maxDenominator and a numerator up to maxNumerator in
/// magnitude that equals the real value to its precision.
std::optional<Fraction> fractionOf(const PreciseComplex& value, long maxDenominator, long maxNumerator)
{
    const double size = value.magnitude();
    if (!std::isfinite(size) || size > static_cast<double>(maxNumerator))
        return std::nullopt;
    const std::array<PreciseComplex, 2> terms = {value, PreciseComplex(Complex{1.0, 0.0}, value.precision())};
    const std::optional<std::vector<long>> relation =
        findIntegerRelation(terms, std::max(maxDenominator, maxNumerator));
    // c0 value + c1 = 0
    if (!relation || (*relation)[0] == 0)
        return std::nullopt;
    const Fraction fraction = reduced(-(*relation)[1], (*relation)[0]);
    if (fraction.q > maxDenominator || std::labs(fraction.p) > maxNumerator)
        return std::nullopt;
    return fraction;
}

std::optional<Fraction> fractionOf(const PreciseComplex& value)
{
    return fractionOf(value, kMaxDenominator, 1000000000000L);
}

std::string fractionText(Fraction f)
{
    return f.q == 1 ? std::to_string(f.p) : std::to_string(f.p) + "/" + std::to_string(f.q);
}

/// f times the factor text ("π", "sqr(5)", "2^(1/3)"): π, -π, 3*π, π/6, 5*π/6, -π/6.
std::string multipleText(Fraction f, const std::string& factor)
{
    std::string text = f.p < 0 ? "-" : "";
    if (std::labs(f.p) != 1)
        text += std::to_string(std::labs(f.p)) + "*";
    text += factor;
    if (f.q != 1)
        text += "/" + std::to_string(f.q);
    return text;
}

/// The largest whole number written under a root when a fraction is taken out of it.
constexpr long kMaxRadicand = 1000000000L;

/// n = whole^k * rest with rest free of k-th powers (n > 0).
std::pair<long, long> splitPower(long n, int k)
{
    long whole = 1;
    for (long d = 2;; ++d) {
        long power = 1;
        for (int i = 0; i < k && power <= n; ++i)
            power *= d;
        if (power > n)
            break;
        while (n % power == 0) {
            n /= power;
            whole *= d;
        }
    }
    return {whole, n};
}

PreciseComplex unit(int precision)
{
    return PreciseComplex(Complex{1.0, 0.0}, precision);
}

/// The functions the forms need, compiled once for all forms of one value.
class FormContext {
public:
    FormContext()
    {
        static_cast<void>(m_exp.load("exp(x)"));
        static_cast<void>(m_log.load("log(x)"));
    }

    std::optional<PreciseComplex> exp(const PreciseComplex& value) const { return valueOf(m_exp, value); }
    std::optional<PreciseComplex> log(const PreciseComplex& value) const { return valueOf(m_log, value); }

private:
    static std::optional<PreciseComplex> valueOf(const PreciseExpression& function,
                                                 const PreciseComplex& value)
    {
        std::optional<PreciseResult> result = function.at(value);
        if (!result)
            return std::nullopt;
        return std::move(result->value);
    }

    PreciseExpression m_exp;
    PreciseExpression m_log;
};

bool isNegative(const PreciseComplex& value)
{
    return value.toComplex().re < 0.0;
}

// ---- the forms -------------------------------------------------------------------------------

std::optional<std::string> asFraction(const PreciseComplex& value, const FormContext& /*context*/)
{
    const std::optional<Fraction> f = fractionOf(value);
    return f ? std::optional<std::string>(fractionText(*f)) : std::nullopt;
}

/// a value^2 + b value + c = 0 with small integers, not a fraction: (-b +- s sqr(d))/(2a) in lowest
/// terms, the sign that gives value. Also for complex values (then d < 0).
std::optional<std::string> asQuadratic(const PreciseComplex& value, const FormContext& /*context*/)
{
    const int precision = value.precision();
    const std::array<PreciseComplex, 3> terms = {value * value, value, unit(precision)};
    const std::optional<std::vector<long>> relation = findIntegerRelation(terms, kMaxSmallCoefficient);
    if (!relation || (*relation)[0] == 0)
        return std::nullopt;
    long a = (*relation)[0];
    long b = (*relation)[1];
    long c = (*relation)[2];
    if (a < 0) {
        a = -a;
        b = -b;
        c = -c;
    }
    const long discriminant = b * b - 4 * a * c;
    const long root = std::lround(std::sqrt(std::fabs(static_cast<double>(discriminant))));
    if (discriminant >= 0 && root * root == discriminant)
        return std::nullopt; // rational roots: a fraction
    const std::pair<long, long> split = splitPower(std::labs(discriminant), 2);
    const long s = split.first; // discriminant = s^2 |d|
    const long d = discriminant < 0 ? -split.second : split.second;
    // The sign that gives value.
    const std::complex<double> sqrtD = std::sqrt(std::complex<double>(static_cast<double>(d), 0.0));
    const Complex v = value.toComplex();
    const auto candidate = [&](double sign) {
        return (-static_cast<double>(b) + sign * static_cast<double>(s) * sqrtD) /
               (2.0 * static_cast<double>(a));
    };
    const std::complex<double> target(v.re, v.im);
    const bool isPlus = std::abs(candidate(1.0) - target) <= std::abs(candidate(-1.0) - target);
    const long g = std::gcd(std::gcd(std::labs(b), s), 2 * a);
    const long constant = -b / g;
    const long coefficient = s / g;
    const long denominator = 2 * a / g;
    const std::string radical = (coefficient != 1 ? std::to_string(coefficient) + "*" : std::string()) +
                                "sqr(" + std::to_string(d) + ")";
    std::string numerator;
    if (constant != 0)
        numerator = std::to_string(constant) + (isPlus ? "+" : "-") + radical;
    else
        numerator = (isPlus ? "" : "-") + radical;
    if (denominator == 1)
        return numerator;
    if (constant != 0)
        return "(" + numerator + ")/" + std::to_string(denominator);
    return numerator + "/" + std::to_string(denominator);
}

/// value^k = p/q for k = 3 ... kMaxRootDegree: value = (A/B) (p'/q')^(1/k), the k-th powers taken
/// out of p and q.
std::optional<std::string> asRoot(const PreciseComplex& value, const FormContext& /*context*/)
{
    if (value.isZero())
        return std::nullopt;
    PreciseComplex power = value * value;
    for (int k = 3; k <= kMaxRootDegree; ++k) {
        power = power * value;
        const std::optional<Fraction> f = fractionOf(power);
        if (!f || f->p == 0)
            continue;
        const auto [outerP, innerP] = splitPower(std::labs(f->p), k);
        const auto [outerQ, innerQ] = splitPower(f->q, k);
        if (innerP == 1 && innerQ == 1)
            continue; // value^k is a k-th power: value is a fraction
        // (p/q)^(1/k) = (p q^(k-1))^(1/k) / q: a whole number under the root when it stays small.
        long radicand = innerP;
        long denominator = outerQ;
        long under = innerQ;
        if (innerQ != 1) {
            long product = innerP;
            for (int i = 1; i < k && product <= kMaxRadicand; ++i)
                product *= innerQ;
            if (product <= kMaxRadicand) {
                const auto [outer, inner] = splitPower(product, k);
                radicand = inner;
                const Fraction scale = reduced(outerP * outer, outerQ * innerQ);
                const std::string exponent = "^(1/" + std::to_string(k) + ")";
                return multipleText(isNegative(value) ? Fraction{-scale.p, scale.q} : scale,
                                    std::to_string(radicand) + exponent);
            }
        }
        const std::string exponent = "^(1/" + std::to_string(k) + ")";
        const std::string radical =
            under == 1 ? std::to_string(radicand) + exponent
                       : "(" + std::to_string(radicand) + "/" + std::to_string(under) + ")" + exponent;
        const Fraction outer = reduced(isNegative(value) ? -outerP : outerP, denominator);
        return multipleText(outer, radical);
    }
    return std::nullopt;
}

/// c0 value + c1 pi + c2 = 0: value = a pi / b + p / q.
std::optional<std::string> asPiMultiple(const PreciseComplex& value, const FormContext& /*context*/)
{
    const int precision = value.precision();
    const std::array<PreciseComplex, 3> terms = {value, PreciseComplex::pi(precision), unit(precision)};
    const std::optional<std::vector<long>> relation = findIntegerRelation(terms, kMaxSmallCoefficient);
    if (!relation || (*relation)[0] == 0 || (*relation)[1] == 0)
        return std::nullopt;
    const long c0 = (*relation)[0];
    std::string text = multipleText(reduced(-(*relation)[1], c0), std::string(kPiText));
    const Fraction offset = reduced(-(*relation)[2], c0);
    if (offset.p > 0)
        text += "+" + fractionText(offset);
    else if (offset.p < 0)
        text += fractionText(offset);
    return text;
}

/// The logarithm of a fraction as written: log(p), -log(q), log(p/q).
std::string logText(Fraction f)
{
    if (f.q == 1)
        return "log(" + std::to_string(f.p) + ")";
    if (f.p == 1)
        return "-log(" + std::to_string(f.q) + ")";
    return "log(" + std::to_string(f.p) + "/" + std::to_string(f.q) + ")";
}

/// e^value = p/q: value = log(p/q).
std::optional<std::string> asLogarithm(const PreciseComplex& value, const FormContext& context)
{
    if (value.isZero() || value.magnitude() > 40.0)
        return std::nullopt;
    const std::optional<PreciseComplex> power = context.exp(value);
    if (!power)
        return std::nullopt;
    const std::optional<Fraction> f = fractionOf(*power, kMaxDenominator, kMaxDenominator);
    return f && f->p > 0 ? std::optional<std::string>(logText(*f)) : std::nullopt;
}

/// b^value = p/q for a small base b: value = log(p/q)/log(b), as 2^x = 3 gives.
std::optional<std::string> asLogarithmQuotient(const PreciseComplex& value, const FormContext& context)
{
    if (value.isZero() || value.magnitude() > 40.0)
        return std::nullopt;
    for (const int base : {2, 3, 5, 6, 7, 10}) {
        // base^value = e^(value log(base)).
        const std::optional<PreciseComplex> logarithm =
            context.log(PreciseComplex(Complex{static_cast<double>(base), 0.0}, value.precision()));
        const std::optional<PreciseComplex> power =
            logarithm ? context.exp(value * *logarithm) : std::nullopt;
        if (!power)
            continue;
        const std::optional<Fraction> f = fractionOf(*power, kMaxDenominator, kMaxDenominator);
        if (!f || f->p <= 0 || (f->p == 1 && f->q == 1))
            continue;
        std::string numerator = logText(*f);
        if (numerator.front() == '-')
            return "-" + numerator.substr(1) + "/log(" + std::to_string(base) + ")";
        return numerator + "/log(" + std::to_string(base) + ")";
    }
    return std::nullopt;
}

/// log(value) = p/q: value = exp(p/q).
std::optional<std::string> asExponential(const PreciseComplex& value, const FormContext& context)
{
    if (value.toComplex().re <= 0.0)
        return std::nullopt;
    const std::optional<PreciseComplex> logarithm = context.log(value);
    if (!logarithm || logarithm->isZero())
        return std::nullopt;
    const std::optional<Fraction> f = fractionOf(*logarithm, 1000, 100000);
    return f ? std::optional<std::string>("exp(" + fractionText(*f) + ")") : std::nullopt;
}

/// A recogniser: the closed form of a real value (no imaginary part) in one form, or nothing when
/// the value has no form of that kind with coefficients in the bounds.
using RealRecogniser = std::optional<std::string> (*)(const PreciseComplex& value,
                                                      const FormContext& context);

constexpr std::array<RealRecogniser, 7> kRecognisers = {
    asFraction, asQuadratic, asRoot, asPiMultiple, asLogarithm, asLogarithmQuotient, asExponential,
};
constexpr std::array<RealRecogniser, 3> kComplexPartRecognisers = {asQuadratic, asRoot, asPiMultiple};

/// Whether text needs brackets before "*sqr(-1)": a sum or difference after its first character.
bool isSum(const std::string& text)
{
    int depth = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        depth += c == '(' ? 1 : c == ')' ? -1 : 0;
        if (i > 0 && depth == 0 && (c == '+' || c == '-'))
            return true;
    }
    return false;
}

std::string imaginaryText(const std::string& part)
{
    if (part == "1")
        return "sqr(-1)";
    if (part == "-1")
        return "-sqr(-1)";
    return (isSum(part) ? "(" + part + ")" : part) + "*sqr(-1)";
}

} // namespace

std::optional<std::string> firstClosedForm(const PreciseComplex& value,
                                           const std::function<bool(const std::string&)>& accept)
{
    const Complex v = value.toComplex();
    if (!std::isfinite(v.re) || !std::isfinite(v.im))
        return std::nullopt;
    const FormContext context;
    const auto taken = [&](std::optional<std::string> text) { return text && accept(*text); };
    if (v.im == 0.0) {
        for (const RealRecogniser recognise : kRecognisers)
            if (std::optional<std::string> text = recognise(value, context); taken(text))
                return text;
        return std::nullopt;
    }
    if (std::optional<std::string> text = asQuadratic(value, context); taken(text))
        return text;
    const PreciseComplex re = value.realPart();
    const PreciseComplex im = value.imaginaryPart();
    // Both parts in one form: fractions are the quadratic's already, and parts that are both
    // logarithms or powers of e are no form anyone writes (and cost most).
    for (const RealRecogniser recognise : kComplexPartRecognisers) {
        const std::optional<std::string> imText = recognise(im, context);
        if (!imText)
            continue;
        std::optional<std::string> text;
        if (re.isZero()) {
            text = imaginaryText(*imText);
        } else if (const std::optional<std::string> reText = recognise(re, context)) {
            const std::string imaginary = imaginaryText(*imText);
            text = *reText + (imaginary.front() == '-' ? "" : "+") + imaginary;
        }
        if (taken(text))
            return text;
    }
    return std::nullopt;
}

std::optional<std::string> periodCandidate(Complex period)
{
    const double size = std::hypot(period.re, period.im);
    if (!std::isfinite(size) || size == 0.0)
        return std::nullopt;
    const bool isImaginary = std::fabs(period.re) < 1e-9 * size;
    if (!isImaginary && std::fabs(period.im) >= 1e-9 * size)
        return std::nullopt;
    // p/q pi, or p/q pi / log(b) for the period of b^x (2 pi sqr(-1)/log(2) for 2^x = 3).
    for (const int base : {1, 2, 3, 5, 6, 7, 10}) {
        const double divisor = base == 1 ? 1.0 : std::log(static_cast<double>(base));
        const double ratio = (isImaginary ? period.im : period.re) * divisor / std::acos(-1.0);
        for (long q = 1; q <= 12; ++q) {
            const double p = std::round(ratio * static_cast<double>(q));
            if (std::fabs(p) > 64.0 * static_cast<double>(q))
                break;
            if (p == 0.0)
                continue;
            if (std::fabs(ratio * static_cast<double>(q) - p) <= 1e-9 * std::fabs(p)) {
                std::string text = multipleText(reduced(static_cast<long>(p), q), std::string(kPiText));
                if (isImaginary)
                    text = imaginaryText(text);
                if (base != 1)
                    text += "/log(" + std::to_string(base) + ")";
                return text;
            }
        }
    }
    return std::nullopt;
}

} // namespace analysis
