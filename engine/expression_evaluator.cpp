// SPDX-License-Identifier: MIT
// Evaluates an equation's sides for a complex x and values of the other letters, with the engine's own
// arithmetic, and bounds the error of what it computes.
#include "engine/expression_evaluator.h"

#include "engine/complex_arithmetic.h"
#include "engine/constant_folding.h"
#include "engine/piece_string.h"
#include "engine/pieces.h"
#include "engine/token_table.h"
#include "engine/validation.h"

#include <algorithm>
#include <cmath>
#include <complex>
#include <limits>
#include <memory>

namespace engine {

double magnitude(Complex z)
{
    return std::hypot(z.re, z.im);
}

namespace {

constexpr double kLargestPart = 1e18;
constexpr double kUnbounded = std::numeric_limits<double>::infinity();
/// Far deeper than the 30 levels an equation may have; only keeps arbitrary pieces from recursing without
/// end.
constexpr int kMaxNesting = 64;

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

void setValue(Cell& cell, Complex value)
{
    cell.re = value.re;
    cell.im = value.im;
}

bool isZero(Complex z)
{
    return z.re == 0.0 && z.im == 0.0;
}

/// A result as the engine stores it: negligible parts dropped; false beyond 10^18 or not finite.
bool store(Cell& cell, Complex value)
{
    value = withoutNegligibleParts(value);
    if (!std::isfinite(value.re) || !std::isfinite(value.im) || std::fabs(value.re) > kLargestPart ||
        std::fabs(value.im) > kLargestPart)
        return false;
    setValue(cell, value);
    return true;
}

/// x * y where a zero factor gives 0 even against an unbounded one: an exact 0 stays exact.
double times(double x, double y)
{
    return (x == 0.0 || y == 0.0) ? 0.0 : x * y;
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
    if (!LogComplex(t))
        return false;
    MultiplyComplex(t, w);
    if (!ExpComplex(t))
        return false;
    result = t;
    return true;
}

/// Bound of |ln(v + d) - ln v| for |d| <= error: -ln(1 - error/|v|) <= error / (|v| - error).
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

/// Bound for atn and aht, whose derivative has a pole at distance from v: twice the derivative's bound
/// within half that distance, unbounded beyond.
double poleTypeBound(double derivative, double error, double distance)
{
    return 2.0 * error < distance ? 2.0 * derivative * error : kUnbounded;
}

/// Bound of the change of a function value r = f(v) when v moves by at most error. Beyond a change
/// of the argument of 1 (or of its own size for the logarithms) the value says nothing any more: unbounded.
double functionBound(unsigned char token, Complex v, double error, Complex r)
{
    if (error == 0.0)
        return 0.0;
    using C = std::complex<double>;
    const C z(v.re, v.im);
    const bool isLogarithm = token == token::kLog || token == token::kLgt;
    if (!isLogarithm && token != token::kSqr && error > 1.0)
        return kUnbounded;
    switch (token) {
    case token::kSin:
    case token::kCos:
        // |sin'| and |cos'| stay below cosh of the imaginary part.
        return error * std::cosh(std::fabs(v.im) + error);
    case token::kHsn:
    case token::kHcs:
        return error * std::cosh(std::fabs(v.re) + error);
    case token::kExp:
        return magnitude(r) * std::expm1(error);
    case token::kTan:
        return tangentBound(v, error, false);
    case token::kHtn:
        return tangentBound(v, error, true);
    case token::kLog:
        return logarithmBound(v, error);
    case token::kLgt:
        return logarithmBound(v, error) / std::log(10.0);
    case token::kSqr: {
        // |sqrt(v + d) - sqrt v| is below |d| / |sqrt v| and below sqrt |d|.
        const double m = magnitude(r);
        return m > 0.0 ? std::min(error / m, std::sqrt(error)) : std::sqrt(error);
    }
    case token::kAsn:
    case token::kAcs:
        return rootTypeBound(1.0 / std::abs(std::sqrt(1.0 - z * z)), error);
    case token::kAhs:
        return rootTypeBound(1.0 / std::abs(std::sqrt(z * z + 1.0)), error);
    case token::kAhc:
        return rootTypeBound(1.0 / std::abs(std::sqrt(z * z - 1.0)), error);
    case token::kAtn:
        return poleTypeBound(1.0 / std::abs(1.0 + z * z), error,
                             std::min(std::abs(z - C(0.0, 1.0)), std::abs(z + C(0.0, 1.0))));
    case token::kAht:
        return poleTypeBound(1.0 / std::abs(1.0 - z * z), error,
                             std::min(std::abs(z - 1.0), std::abs(z + 1.0)));
    default:
        return kUnbounded;
    }
}

/// The size of the numbers a function value is computed from, which its own rounding is relative to:
/// the circular and hyperbolic functions go through exponentials of size cosh of a part of v, so
/// tan of a small number carries errors of kArithmeticPrecision, not of that much of its small value.
double computedFrom(unsigned char token, Complex v, Complex r)
{
    const double m = magnitude(r);
    const std::complex<double> z(v.re, v.im);
    switch (token) {
    case token::kSin:
    case token::kCos:
        return std::max(m, std::cosh(std::fabs(v.im)));
    case token::kHsn:
    case token::kHcs:
        return std::max(m, std::cosh(std::fabs(v.re)));
    case token::kTan:
        return std::max(m, std::cosh(std::fabs(v.im)) * (1.0 + m) / std::abs(std::cos(z)));
    case token::kHtn:
        return std::max(m, std::cosh(std::fabs(v.re)) * (1.0 + m) / std::abs(std::cosh(z)));
    default:
        return m;
    }
}

template <bool kBounded> Cell leaf(Complex value, double precision)
{
    return {value.re, value.im, kBounded ? precision * magnitude(value) : 0.0};
}

/// a := a + b (b negated for a difference) with the cancellation rule.
template <bool kBounded> bool add(Cell& a, const Cell& b, bool isDifference, double precision)
{
    Complex sum = valueOf(a);
    AddComplex(sum, isDifference ? Complex{-b.re, -b.im} : valueOf(b));
    const double bound = a.bound + b.bound;
    if (!store(a, sum))
        return false;
    if constexpr (kBounded)
        a.bound = bound + precision * magnitude(valueOf(a));
    return true;
}

template <bool kBounded> bool multiply(Cell& a, const Cell& b, double precision)
{
    const double ma = magnitude(valueOf(a));
    const double mb = magnitude(valueOf(b));
    Complex product = valueOf(a);
    MultiplyComplex(product, valueOf(b));
    if (!store(a, product))
        return false;
    if constexpr (kBounded)
        a.bound = times(a.bound, mb) + times(b.bound, ma) + times(a.bound, b.bound) +
                  precision * magnitude(valueOf(a));
    return true;
}

/// a := a * (1 / b).
template <bool kBounded> bool divide(Cell& a, const Cell& b, double precision)
{
    Complex inverse = valueOf(b);
    if (!InvertComplex(inverse))
        return false;
    Cell quotient{inverse.re, inverse.im, 0.0};
    if constexpr (kBounded) {
        // 1/(b + d) - 1/b = -d / (b (b + d)): unbounded once the divisor may be 0.
        const double mb = magnitude(valueOf(b));
        quotient.bound = b.bound < mb ? b.bound / (mb * (mb - b.bound)) : kUnbounded;
    }
    return multiply<kBounded>(a, quotient, precision);
}

template <bool kBounded> bool power(Cell& base, const Cell& exponent, double precision)
{
    const Complex v = valueOf(base);
    const Complex w = valueOf(exponent);
    Complex result;
    if (!powerValue(v, w, result) || !store(base, result))
        return false;
    if constexpr (kBounded) {
        const double ev = base.bound;
        const double ew = exponent.bound;
        const double mr = magnitude(valueOf(base));
        if (isZero(v)) {
            if (isZero(w)) {
                // 0^0 = 1 holds for an exponent that is exactly 0 only.
                base.bound = ew == 0.0 ? precision : kUnbounded;
            } else if (ev == 0.0) {
                base.bound = 0.0;
            } else {
                // |d^w| <= |d|^Re w e^(2 pi |Im w|) for a base d near 0 (angles lie in [0, 2 pi)).
                const double p = ev < 1.0 ? w.re - ew : w.re + ew;
                const double turn = 8.0 * std::atan(1.0);
                base.bound = p > 0.0 ? std::pow(ev, p) * std::exp(turn * (std::fabs(w.im) + ew)) : kUnbounded;
            }
            return true;
        }
        if (isZero(w) && ew == 0.0) {
            base.bound = precision;
            return true;
        }
        // v^w = e^(w ln v): ln v is off by logarithmBound, w ln v by the product rule, and e^t moves
        // by at most |e^t| (e^|dt| - 1).
        Complex lnV = v;
        static_cast<void>(LogComplex(lnV));
        const double el = logarithmBound(v, ev);
        const double et = times(ew, magnitude(lnV)) + times(magnitude(w), el) + times(ew, el);
        // Beyond an exponent moved by 1 the power says nothing any more.
        base.bound = et <= 1.0 ? times(mr, std::expm1(et)) + precision * mr : kUnbounded;
    }
    return true;
}

template <bool kBounded> bool function(Cell& a, unsigned char token, double precision)
{
    const Complex v = valueOf(a);
    Complex u;
    if (functionValue(token, v, u) != EvaluationResult::Folded || !store(a, u))
        return false;
    if constexpr (kBounded)
        a.bound =
            functionBound(token, v, a.bound, valueOf(a)) + precision * computedFrom(token, v, valueOf(a));
    return true;
}

} // namespace

/// Compiles pieces by recursive descent, one function per precedence class of the levels.
class ExpressionCompiler {
public:
    using Op = CompiledExpression::Op;

    ExpressionCompiler(const unsigned char* pieces, int count, CompiledExpression& out)
        : m_pieces(pieces), m_count(count), m_out(out)
    {
    }

    bool compile() { return sum(0) && m_position == m_count && m_depth == 1; }

private:
    [[nodiscard]] unsigned char peek() const { return m_position < m_count ? m_pieces[m_position] : 0; }

    bool emit(Op op, unsigned char operand, int stackChange)
    {
        if (m_out.m_length >= CompiledExpression::kMaxInstructions)
            return false;
        m_depth += stackChange;
        if (m_depth > CompiledExpression::kMaxStack || m_depth < 1)
            return false;
        m_out.m_program[static_cast<std::size_t>(m_out.m_length++)] = {op, operand};
        return true;
    }

    /// Consumes a run of signs; true when they make a minus.
    bool takeSigns()
    {
        bool isNegative = false;
        while (isSign(peek())) {
            isNegative = isNegative != (peek() == '-');
            ++m_position;
        }
        return isNegative;
    }

    bool negateIf(bool isNegative) { return !isNegative || emit(Op::Negate, 0, 0); }

    /// Terms joined by + and -; a sign at the start or after + - belongs to the whole term (-a*b).
    bool sum(int nesting)
    {
        if (nesting > kMaxNesting)
            return false;
        const bool isNegative = takeSigns();
        if (!term(nesting) || !negateIf(isNegative))
            return false;
        while (isSign(peek())) {
            // A sign after + or - shares its level: a--b is a-(-b).
            const bool isDifference = takeSigns();
            if (!term(nesting) || !emit(isDifference ? Op::Subtract : Op::Add, 0, -1))
                return false;
        }
        return true;
    }

    /// Factors joined by * and /, from the left; a sign after * or / binds below ^ (a*-b^2 = a*(-(b^2))).
    bool term(int nesting)
    {
        if (!power(nesting))
            return false;
        while (peek() == '*' || peek() == '/') {
            const Op op = peek() == '*' ? Op::Multiply : Op::Divide;
            ++m_position;
            const bool isNegative = takeSigns();
            if (!power(nesting) || !negateIf(isNegative) || !emit(op, 0, -1))
                return false;
        }
        return true;
    }

    /// An operand with its chain of exponents; a sign after ^ binds to the next operand alone, and
    /// the exponents of a chain multiply (a^b^c = a^(b*c)).
    bool power(int nesting)
    {
        if (!operand(nesting))
            return false;
        if (peek() != '^')
            return true;
        for (bool isFirst = true; peek() == '^'; isFirst = false) {
            ++m_position;
            const bool isNegative = takeSigns();
            if (!operand(nesting) || !negateIf(isNegative) || (!isFirst && !emit(Op::Multiply, 0, -1)))
                return false;
        }
        return emit(Op::Power, 0, -1);
    }

    bool operand(int nesting)
    {
        const unsigned char piece = peek();
        ++m_position;
        if (isConstantToken(piece))
            return emit(Op::Constant, static_cast<unsigned char>(piece - 0x80), 1);
        if (piece == 'x')
            return mark(piece) && emit(Op::Unknown, 0, 1);
        if (isLetter(piece))
            return mark(piece) && emit(Op::Letter, static_cast<unsigned char>(piece - 'a'), 1);
        const bool isFunction = isFunctionToken(piece);
        if (isFunction) {
            if (peek() != '(')
                return false;
            ++m_position;
        } else if (piece != '(') {
            return false;
        }
        if (!sum(nesting + 1) || peek() != ')')
            return false;
        ++m_position;
        return !isFunction || emit(Op::Function, piece, 0);
    }

    bool mark(unsigned char letter)
    {
        m_out.m_letterMask |= std::uint32_t{1} << (letter - 'a');
        return true;
    }

    const unsigned char* m_pieces;
    int m_count;
    CompiledExpression& m_out;
    int m_position = 0;
    int m_depth = 0;
};

bool CompiledExpression::compile(const unsigned char* pieces, int count, const ConstantPool& pool)
{
    m_length = 0;
    m_letterMask = 0;
    for (int i = 0; i < ConstantPool::kSize; ++i)
        m_constants[static_cast<std::size_t>(i)] = pool.value(static_cast<unsigned char>(0x80 + i));
    if (ExpressionCompiler(pieces, count, *this).compile())
        return true;
    m_length = 0;
    m_letterMask = 0;
    return false;
}

template <bool kBounded, typename Cell>
bool CompiledExpression::run(const Cell& x, const LetterValues& letters, double precision, Cell& result) const
{
    if (m_length == 0)
        return false;
    Cell stack[kMaxStack];
    int top = -1;
    for (int i = 0; i < m_length; ++i) {
        const Instruction instruction = m_program[static_cast<std::size_t>(i)];
        bool isDone = true;
        switch (instruction.op) {
        case Op::Constant:
            stack[++top] = leaf<kBounded>(m_constants[instruction.operand], precision);
            break;
        case Op::Unknown:
            stack[++top] = x;
            break;
        case Op::Letter:
            stack[++top] = leaf<kBounded>(letters[instruction.operand], precision);
            break;
        case Op::Negate:
            // Exact, as the folding negates: no cancellation is possible.
            stack[top].re = -stack[top].re;
            stack[top].im = -stack[top].im;
            break;
        case Op::Add:
        case Op::Subtract:
            --top;
            isDone = add<kBounded>(stack[top], stack[top + 1], instruction.op == Op::Subtract, precision);
            break;
        case Op::Multiply:
            --top;
            isDone = multiply<kBounded>(stack[top], stack[top + 1], precision);
            break;
        case Op::Divide:
            --top;
            isDone = divide<kBounded>(stack[top], stack[top + 1], precision);
            break;
        case Op::Power:
            --top;
            isDone = power<kBounded>(stack[top], stack[top + 1], precision);
            break;
        case Op::Function:
            isDone = function<kBounded>(stack[top], instruction.operand, precision);
            break;
        }
        if (!isDone)
            return false;
    }
    result = stack[0];
    return true;
}

bool CompiledExpression::evaluate(Complex x, const LetterValues& letters, Complex& result) const
{
    Cell cell{};
    if (!run<false, Cell>(Cell{x.re, x.im, 0.0}, letters, 0.0, cell))
        return false;
    result = valueOf(cell);
    return true;
}

bool CompiledExpression::evaluateBounded(BoundedValue x, const LetterValues& letters,
                                         BoundedValue& result) const
{
    Cell cell{};
    if (!run<true, Cell>(Cell{x.value.re, x.value.im, x.bound}, letters, kArithmeticPrecision, cell))
        return false;
    // A bound that lost its meaning (inf - inf, 0 * inf) counts as unbounded.
    result = {valueOf(cell), std::isnan(cell.bound) ? kUnbounded : cell.bound};
    return true;
}

bool EquationEvaluator::load(std::string_view prepared)
{
    m_isLoaded = false;
    const std::size_t nul = prepared.find('\0');
    if (nul != std::string_view::npos)
        prepared = prepared.substr(0, nul);
    if (Validate(prepared).code != ErrorCode::None)
        return false;
    // The token form is built in the engine's own buffers, once per equation.
    struct Scratch {
        PieceString pieces;
        LevelString levels;
        ConstantPool pool;
    };
    const auto scratch = std::make_unique<Scratch>();
    writePresets(scratch->pool);
    if (!scratch->pieces.assign(prepared) ||
        Tokenise(scratch->pieces, scratch->pool) != StoreResult::Stored ||
        !ComputeLevels(scratch->pieces, scratch->levels))
        return false;
    const PieceString& pieces = scratch->pieces;
    const int equals = FindPiece(pieces, '=');
    if (equals < 0)
        return false;
    m_isLoaded = m_left.compile(pieces.data(), equals, scratch->pool) &&
                 m_right.compile(pieces.data() + equals + 1, pieces.length() - equals - 1, scratch->pool);
    return m_isLoaded;
}

std::uint32_t EquationEvaluator::otherLetters() const
{
    return (m_left.letterMask() | m_right.letterMask()) & ~(std::uint32_t{1} << ('x' - 'a'));
}

bool EquationEvaluator::evaluate(Complex x, const LetterValues& letters, Complex& left, Complex& right) const
{
    return m_left.evaluate(x, letters, left) && m_right.evaluate(x, letters, right);
}

bool EquationEvaluator::difference(Complex x, const LetterValues& letters, Complex& f) const
{
    Complex left;
    Complex right;
    if (!evaluate(x, letters, left, right))
        return false;
    f = {left.re - right.re, left.im - right.im};
    return true;
}

} // namespace engine
