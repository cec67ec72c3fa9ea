// SPDX-License-Identifier: MIT
// Runs compiled expressions with the engine's own arithmetic, with or without error bounds.
#include "analysis/expression_evaluator.h"

#include "analysis/error_bounds.h"
#include "engine/complex_arithmetic.h"
#include "engine/constant_folding.h"
#include "engine/token_table.h"

#include <cmath>
#include <complex>

namespace analysis {

namespace {

constexpr double kLargestPart = 1e18;

/// A stack entry: a value and, when bounds are asked for, its error bound. Left uninitialised, so
/// that an evaluation does not clear its whole stack first.
struct Cell {
    double re;
    double im;
    double bound;
};

Complex valueOf(const Cell& cell)
{
    return {cell.re, cell.im};
}

bool isZero(Complex z)
{
    return z.re == 0.0 && z.im == 0.0;
}

/// A result as the engine stores it: negligible parts dropped; false beyond 10^18 or not finite.
bool store(Cell& cell, Complex value)
{
    value = engine::withoutNegligibleParts(value);
    if (!std::isfinite(value.re) || !std::isfinite(value.im) || std::fabs(value.re) > kLargestPart ||
        std::fabs(value.im) > kLargestPart)
        return false;
    cell.re = value.re;
    cell.im = value.im;
    return true;
}

/// The power with the usual meaning at base 0, else e^(w ln v) as the folding computes it.
bool powerValue(Complex v, Complex w, Complex& result)
{
    if (isZero(v)) {
        if (isZero(w)) {
            result = {1.0, 0.0};
            return true;
        }
        result = {};
        return w.re > 0.0;
    }
    if (isZero(w)) {
        result = {1.0, 0.0};
        return true;
    }
    Complex t = v;
    if (!engine::LogComplex(t))
        return false;
    engine::MultiplyComplex(t, w);
    if (!engine::ExpComplex(t))
        return false;
    result = t;
    return true;
}

/// The size of the numbers a function value is computed from, which its own rounding is relative to:
/// the circular and hyperbolic functions go through exponentials of size cosh of a part of v, so
/// tan of a small number carries errors of kArithmeticPrecision, not of that much of its small value.
double computedFrom(unsigned char token, Complex v, Complex r)
{
    namespace t = engine::token;
    const double m = magnitude(r);
    const std::complex<double> z(v.re, v.im);
    switch (token) {
    case t::kSin:
    case t::kCos:
        return std::max(m, std::cosh(std::fabs(v.im)));
    case t::kHsn:
    case t::kHcs:
        return std::max(m, std::cosh(std::fabs(v.re)));
    case t::kTan:
        return std::max(m, std::cosh(std::fabs(v.im)) * (1.0 + m) / std::abs(std::cos(z)));
    case t::kHtn:
        return std::max(m, std::cosh(std::fabs(v.re)) * (1.0 + m) / std::abs(std::cosh(z)));
    default:
        return m;
    }
}

template <bool kBounded> Cell leaf(Complex value)
{
    return {value.re, value.im, kBounded ? kArithmeticPrecision * magnitude(value) : 0.0};
}

/// a := a + b (b negated for a difference) with the cancellation rule.
template <bool kBounded> bool add(Cell& a, const Cell& b, bool isDifference)
{
    Complex sum = valueOf(a);
    engine::AddComplex(sum, isDifference ? Complex{-b.re, -b.im} : valueOf(b));
    const double bound = a.bound + b.bound;
    if (!store(a, sum))
        return false;
    if constexpr (kBounded)
        a.bound = bound + kArithmeticPrecision * magnitude(valueOf(a));
    return true;
}

template <bool kBounded> bool multiply(Cell& a, const Cell& b)
{
    const double ma = magnitude(valueOf(a));
    const double mb = magnitude(valueOf(b));
    Complex product = valueOf(a);
    engine::MultiplyComplex(product, valueOf(b));
    if (!store(a, product))
        return false;
    if constexpr (kBounded)
        a.bound = productBound(ma, a.bound, mb, b.bound) + kArithmeticPrecision * magnitude(valueOf(a));
    return true;
}

/// a := a * (1 / b).
template <bool kBounded> bool divide(Cell& a, const Cell& b)
{
    Complex inverse = valueOf(b);
    if (!engine::InvertComplex(inverse))
        return false;
    Cell quotient{inverse.re, inverse.im, 0.0};
    if constexpr (kBounded)
        quotient.bound = inverseBound(valueOf(b), b.bound);
    return multiply<kBounded>(a, quotient);
}

template <bool kBounded> bool power(Cell& base, const Cell& exponent)
{
    const Complex v = valueOf(base);
    const Complex w = valueOf(exponent);
    Complex result;
    if (!powerValue(v, w, result) || !store(base, result))
        return false;
    if constexpr (kBounded) {
        Complex lnV = v;
        const double logMagnitude = isZero(v) || !engine::LogComplex(lnV) ? 0.0 : magnitude(lnV);
        const double turn = 8.0 * std::atan(1.0); // angles lie in [0, 2 pi)
        const Complex r = valueOf(base);
        base.bound = powerBound(v, base.bound, w, exponent.bound, r, logMagnitude, turn) +
                     kArithmeticPrecision * magnitude(r);
    }
    return true;
}

template <bool kBounded> bool function(Cell& a, unsigned char token)
{
    const Complex v = valueOf(a);
    Complex u;
    if (engine::functionValue(token, v, u) != engine::EvaluationResult::Folded || !store(a, u))
        return false;
    if constexpr (kBounded)
        a.bound = functionBound(token, v, a.bound, valueOf(a)) +
                  kArithmeticPrecision * computedFrom(token, v, valueOf(a));
    return true;
}

template <bool kBounded>
bool run(const ExpressionProgram& program, const Cell& x, const LetterValues& letters, Cell& result)
{
    if (!program.isCompiled())
        return false;
    Cell stack[ExpressionProgram::kMaxStack];
    int top = -1;
    for (const Instruction instruction : program.instructions()) {
        bool isDone = true;
        switch (instruction.op) {
        case Op::Constant:
            stack[++top] = leaf<kBounded>(program.constant(instruction.operand));
            break;
        case Op::Unknown:
            stack[++top] = x;
            break;
        case Op::Letter:
            stack[++top] = leaf<kBounded>(letters[instruction.operand]);
            break;
        case Op::Negate:
            // Exact, as the folding negates: no cancellation is possible.
            stack[top].re = -stack[top].re;
            stack[top].im = -stack[top].im;
            break;
        case Op::Add:
        case Op::Subtract:
            --top;
            isDone = add<kBounded>(stack[top], stack[top + 1], instruction.op == Op::Subtract);
            break;
        case Op::Multiply:
            --top;
            isDone = multiply<kBounded>(stack[top], stack[top + 1]);
            break;
        case Op::Divide:
            --top;
            isDone = divide<kBounded>(stack[top], stack[top + 1]);
            break;
        case Op::Power:
            --top;
            isDone = power<kBounded>(stack[top], stack[top + 1]);
            break;
        case Op::Function:
            isDone = function<kBounded>(stack[top], instruction.operand);
            break;
        }
        if (!isDone)
            return false;
    }
    result = stack[0];
    return true;
}

} // namespace

bool engineValue(const ExpressionProgram& program, Complex x, const LetterValues& letters, Complex& result)
{
    Cell cell{};
    if (!run<false>(program, Cell{x.re, x.im, 0.0}, letters, cell))
        return false;
    result = valueOf(cell);
    return true;
}

bool engineValueBounded(const ExpressionProgram& program, BoundedValue x, const LetterValues& letters,
                        BoundedValue& result)
{
    Cell cell{};
    if (!run<true>(program, Cell{x.value.re, x.value.im, x.bound}, letters, cell))
        return false;
    // A bound that lost its meaning (inf - inf, 0 * inf) counts as unbounded.
    result = {valueOf(cell), std::isnan(cell.bound) ? kUnbounded : cell.bound};
    return true;
}

} // namespace analysis
