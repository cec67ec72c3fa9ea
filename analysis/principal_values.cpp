// SPDX-License-Identifier: MIT
// Runs compiled expressions with std::complex and principal values.
#include "analysis/principal_values.h"

#include "engine/token_table.h"

#include <cmath>

namespace analysis {

namespace {

template <typename T> using C = std::complex<T>;

/// +0 for a zero part of either sign: the side of a branch cut is taken from the angle (-pi, pi].
template <typename T> C<T> withPositiveZeros(C<T> z)
{
    return {z.real() == T(0) ? T(0) : z.real(), z.imag() == T(0) ? T(0) : z.imag()};
}

template <typename T> bool isZero(C<T> z)
{
    return z.real() == T(0) && z.imag() == T(0);
}

template <typename T> bool isWithinRange(C<T> z)
{
    static const T kLargest = std::ldexp(T(1), kLargestExponent);
    return std::isfinite(z.real()) && std::isfinite(z.imag()) && std::fabs(z.real()) <= kLargest &&
           std::fabs(z.imag()) <= kLargest;
}

/// z^n by repeated squaring, so that a whole-number power of a negative or complex base is exact
/// to the rounding of its products (e^(n log z) would leave an imaginary residue on (-2)^2).
template <typename T> C<T> wholePower(C<T> z, long long n)
{
    const bool isInverse = n < 0;
    unsigned long long k =
        isInverse ? 0ULL - static_cast<unsigned long long>(n) : static_cast<unsigned long long>(n);
    C<T> result(1);
    while (k != 0) {
        if ((k & 1ULL) != 0)
            result *= z;
        k >>= 1U;
        if (k != 0)
            z *= z;
    }
    return isInverse ? T(1) / result : result;
}

/// The largest whole exponent computed by squaring; beyond it e^(n log z) is as good.
constexpr double kLargestWholeExponent = 9007199254740992.0; // 2^53

template <typename T> EvaluationOutcome power(C<T> v, C<T> w, C<T>& result)
{
    const bool isWhole = w.imag() == T(0) && std::floor(w.real()) == w.real() &&
                         std::fabs(w.real()) <= T(kLargestWholeExponent);
    if (isZero(v)) {
        if (isZero(w)) {
            result = T(1);
            return EvaluationOutcome::Defined;
        }
        result = T(0);
        return w.real() > T(0) ? EvaluationOutcome::Defined : EvaluationOutcome::Undefined;
    }
    if (isWhole)
        result = wholePower(v, static_cast<long long>(w.real()));
    else
        result = std::exp(w * std::log(withPositiveZeros(v)));
    return EvaluationOutcome::Defined;
}

template <typename T> EvaluationOutcome function(unsigned char token, C<T> v, C<T>& r)
{
    namespace t = engine::token;
    const C<T> z = withPositiveZeros(v);
    const C<T> i(T(0), T(1));
    switch (token) {
    case t::kSin:
        r = std::sin(z);
        break;
    case t::kCos:
        r = std::cos(z);
        break;
    case t::kTan:
        r = std::tan(z);
        break;
    case t::kExp:
        r = std::exp(z);
        break;
    case t::kSqr:
        r = std::sqrt(z);
        break;
    case t::kLog:
    case t::kLgt:
        if (isZero(z))
            return EvaluationOutcome::Undefined;
        r = token == t::kLog ? std::log(z) : std::log(z) / std::log(T(10));
        break;
    case t::kAsn:
        r = std::asin(z);
        break;
    case t::kAcs:
        r = std::acos(z);
        break;
    case t::kAtn:
        if (z == i || z == -i)
            return EvaluationOutcome::Undefined;
        r = std::atan(z);
        break;
    case t::kHsn:
        r = std::sinh(z);
        break;
    case t::kHcs:
        r = std::cosh(z);
        break;
    case t::kHtn:
        r = std::tanh(z);
        break;
    case t::kAhs:
        r = std::asinh(z);
        break;
    case t::kAhc:
        r = std::acosh(z);
        break;
    case t::kAht:
        if (z == C<T>(1) || z == C<T>(-1))
            return EvaluationOutcome::Undefined;
        r = std::atanh(z);
        break;
    default:
        return EvaluationOutcome::Invalid;
    }
    return EvaluationOutcome::Defined;
}

template <typename T> C<T> fromEngine(Complex z)
{
    return {static_cast<T>(z.re), static_cast<T>(z.im)};
}

} // namespace

template <typename T>
PrincipalResult<T> principalValue(const ExpressionProgram& program, std::complex<T> x,
                                  const LetterValues& letters)
{
    PrincipalResult<T> result;
    if (!program.isCompiled())
        return result;
    C<T> stack[ExpressionProgram::kMaxStack];
    int top = -1;
    T scale = 0;
    for (const Instruction instruction : program.instructions()) {
        EvaluationOutcome outcome = EvaluationOutcome::Defined;
        switch (instruction.op) {
        case Op::Constant:
            stack[++top] = fromEngine<T>(program.constant(instruction.operand));
            break;
        case Op::Unknown:
            stack[++top] = x;
            break;
        case Op::Letter:
            stack[++top] = fromEngine<T>(letters[instruction.operand]);
            break;
        case Op::Negate:
            stack[top] = -stack[top];
            break;
        case Op::Add:
            --top;
            stack[top] += stack[top + 1];
            break;
        case Op::Subtract:
            --top;
            stack[top] -= stack[top + 1];
            break;
        case Op::Multiply:
            --top;
            stack[top] *= stack[top + 1];
            break;
        case Op::Divide:
            --top;
            if (isZero(stack[top + 1]))
                outcome = EvaluationOutcome::Undefined;
            else
                stack[top] /= stack[top + 1];
            break;
        case Op::Power:
            --top;
            outcome = power(stack[top], stack[top + 1], stack[top]);
            break;
        case Op::Function:
            outcome = function(instruction.operand, stack[top], stack[top]);
            break;
        }
        if (outcome == EvaluationOutcome::Defined && !isWithinRange(stack[top]))
            outcome = EvaluationOutcome::Overflow;
        if (outcome != EvaluationOutcome::Defined) {
            result.outcome = outcome;
            return result;
        }
        scale = std::max(scale, std::abs(stack[top]));
    }
    result.outcome = EvaluationOutcome::Defined;
    result.value = stack[0];
    result.scale = scale;
    return result;
}

template PrincipalResult<double> principalValue<double>(const ExpressionProgram&, std::complex<double>,
                                                        const LetterValues&);
template PrincipalResult<long double>
principalValue<long double>(const ExpressionProgram&, std::complex<long double>, const LetterValues&);

} // namespace analysis
