// SPDX-License-Identifier: MIT
// Precise complex numbers and the evaluation of compiled expressions with them, on GNU MPC.
#include "analysis/precise_arithmetic.h"

#include "analysis/error_bounds.h"
#include "engine/token_table.h"

#include <mpc.h>

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <complex>
#include <limits>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace analysis {

struct PreciseComplex::Digits {
    explicit Digits(int precision) { mpc_init2(z, precision); }
    Digits(const Digits&) = delete;
    Digits& operator=(const Digits&) = delete;
    ~Digits() { mpc_clear(z); }
    mpc_t z;
};

namespace {

constexpr mpc_rnd_t kNearest = MPC_RNDNN;

int precisionOf(mpc_srcptr z)
{
    return static_cast<int>(std::max(mpfr_get_prec(mpc_realref(z)), mpfr_get_prec(mpc_imagref(z))));
}

bool isZeroValue(mpc_srcptr z)
{
    return mpfr_zero_p(mpc_realref(z)) != 0 && mpfr_zero_p(mpc_imagref(z)) != 0;
}

Complex toDoubles(mpc_srcptr z)
{
    return {mpfr_get_d(mpc_realref(z), MPFR_RNDN), mpfr_get_d(mpc_imagref(z), MPFR_RNDN)};
}

/// +0 for a zero part of either sign: the side of a branch cut is taken from the angle (-pi, pi].
void makeZerosPositive(mpc_ptr z)
{
    if (mpfr_zero_p(mpc_realref(z)) != 0)
        mpfr_set_zero(mpc_realref(z), 1);
    if (mpfr_zero_p(mpc_imagref(z)) != 0)
        mpfr_set_zero(mpc_imagref(z), 1);
}

bool isPartWithinRange(mpfr_srcptr part)
{
    if (mpfr_nan_p(part) != 0 || mpfr_inf_p(part) != 0)
        return false;
    return mpfr_zero_p(part) != 0 || mpfr_get_exp(part) <= kLargestExponent;
}

bool isWithinRange(mpc_srcptr z)
{
    return isPartWithinRange(mpc_realref(z)) && isPartWithinRange(mpc_imagref(z));
}

bool equals(mpc_srcptr z, long re, long im)
{
    return mpfr_cmp_si(mpc_realref(z), re) == 0 && mpfr_cmp_si(mpc_imagref(z), im) == 0;
}

/// Real scratch numbers of a division, at the quotient's precision.
class DivisionParts {
public:
    explicit DivisionParts(mpfr_prec_t precision)
    {
        mpfr_init2(m_norm, precision + 2);
        mpfr_init2(m_re, precision + 2);
        mpfr_init2(m_im, precision + 2);
    }
    DivisionParts(const DivisionParts&) = delete;
    DivisionParts& operator=(const DivisionParts&) = delete;
    ~DivisionParts()
    {
        mpfr_clear(m_norm);
        mpfr_clear(m_re);
        mpfr_clear(m_im);
    }

    /// r = x / y, or 1 / y when x is nullptr. Each part is rounded from its exact numerator and
    /// denominator: MPC's mpc_div rounds both parts correctly, which costs it precision without end
    /// where one part is tiny beside the other.
    void divide(mpc_ptr r, mpc_srcptr x, mpc_srcptr y)
    {
        mpfr_srcptr c = mpc_realref(y);
        mpfr_srcptr d = mpc_imagref(y);
        mpfr_fmma(m_norm, c, c, d, d, MPFR_RNDN);
        if (x == nullptr) {
            mpfr_set(m_re, c, MPFR_RNDN);
            mpfr_neg(m_im, d, MPFR_RNDN);
        } else {
            mpfr_srcptr a = mpc_realref(x);
            mpfr_srcptr b = mpc_imagref(x);
            mpfr_fmma(m_re, a, c, b, d, MPFR_RNDN);
            mpfr_fmms(m_im, b, c, a, d, MPFR_RNDN);
        }
        mpfr_div(mpc_realref(r), m_re, m_norm, MPFR_RNDN);
        mpfr_div(mpc_imagref(r), m_im, m_norm, MPFR_RNDN);
    }

private:
    mpfr_t m_norm;
    mpfr_t m_re;
    mpfr_t m_im;
};

} // namespace

PreciseComplex::PreciseComplex() : PreciseComplex(Complex{}, kDefaultPrecision) {}

PreciseComplex::PreciseComplex(int precision) : m_digits(std::make_unique<Digits>(precision)) {}

PreciseComplex::PreciseComplex(Complex value, int precision) : PreciseComplex(precision)
{
    mpc_set_d_d(m_digits->z, value.re, value.im, kNearest);
}

PreciseComplex::PreciseComplex(const PreciseComplex& other) : PreciseComplex(other.precision())
{
    mpc_set(m_digits->z, other.m_digits->z, kNearest);
}

PreciseComplex::PreciseComplex(PreciseComplex&& other) noexcept = default;

PreciseComplex& PreciseComplex::operator=(const PreciseComplex& other)
{
    if (this != &other)
        *this = PreciseComplex(other);
    return *this;
}

PreciseComplex& PreciseComplex::operator=(PreciseComplex&& other) noexcept = default;

PreciseComplex::~PreciseComplex() = default;

PreciseComplex PreciseComplex::pi(int precision)
{
    PreciseComplex result(precision);
    mpfr_const_pi(mpc_realref(result.m_digits->z), MPFR_RNDN);
    mpfr_set_zero(mpc_imagref(result.m_digits->z), 1);
    return result;
}

int PreciseComplex::precision() const
{
    return precisionOf(m_digits->z);
}

PreciseComplex PreciseComplex::atPrecision(int bits) const
{
    PreciseComplex result(bits);
    mpc_set(result.m_digits->z, m_digits->z, kNearest);
    return result;
}

Complex PreciseComplex::toComplex() const
{
    return toDoubles(m_digits->z);
}

bool PreciseComplex::isZero() const
{
    return isZeroValue(m_digits->z);
}

double PreciseComplex::magnitude() const
{
    mpfr_t size;
    mpfr_init2(size, 64);
    mpc_abs(size, m_digits->z, MPFR_RNDN);
    const double result = mpfr_get_d(size, MPFR_RNDN);
    mpfr_clear(size);
    return result;
}

PreciseComplex operator+(const PreciseComplex& a, const PreciseComplex& b)
{
    PreciseComplex result(std::max(a.precision(), b.precision()));
    mpc_add(result.m_digits->z, a.m_digits->z, b.m_digits->z, kNearest);
    return result;
}

PreciseComplex operator-(const PreciseComplex& a, const PreciseComplex& b)
{
    PreciseComplex result(std::max(a.precision(), b.precision()));
    mpc_sub(result.m_digits->z, a.m_digits->z, b.m_digits->z, kNearest);
    return result;
}

PreciseComplex operator*(const PreciseComplex& a, const PreciseComplex& b)
{
    PreciseComplex result(std::max(a.precision(), b.precision()));
    mpc_mul(result.m_digits->z, a.m_digits->z, b.m_digits->z, kNearest);
    return result;
}

PreciseComplex operator/(const PreciseComplex& a, const PreciseComplex& b)
{
    PreciseComplex result(std::max(a.precision(), b.precision()));
    DivisionParts(result.precision()).divide(result.m_digits->z, a.m_digits->z, b.m_digits->z);
    return result;
}

PreciseComplex PreciseComplex::withoutNoise(int bits) const
{
    PreciseComplex result = *this;
    mpfr_ptr re = mpc_realref(result.m_digits->z);
    mpfr_ptr im = mpc_imagref(result.m_digits->z);
    if (mpfr_regular_p(re) == 0 || mpfr_regular_p(im) == 0)
        return result;
    const long gap = static_cast<long>(mpfr_get_exp(re)) - static_cast<long>(mpfr_get_exp(im));
    if (gap > bits)
        mpfr_set_zero(im, 1);
    else if (-gap > bits)
        mpfr_set_zero(re, 1);
    return result;
}

PreciseComplex PreciseComplex::realPart() const
{
    PreciseComplex result(precision());
    mpfr_set(mpc_realref(result.m_digits->z), mpc_realref(m_digits->z), MPFR_RNDN);
    mpfr_set_zero(mpc_imagref(result.m_digits->z), 1);
    return result;
}

PreciseComplex PreciseComplex::imaginaryPart() const
{
    PreciseComplex result(precision());
    mpfr_set(mpc_realref(result.m_digits->z), mpc_imagref(m_digits->z), MPFR_RNDN);
    mpfr_set_zero(mpc_imagref(result.m_digits->z), 1);
    return result;
}

std::array<std::string, 2> PreciseComplex::scaledIntegerParts(int bits) const
{
    std::array<std::string, 2> parts;
    mpfr_t scaled;
    mpfr_init2(scaled, precision());
    mpz_t whole;
    mpz_init(whole);
    for (int i = 0; i < 2; ++i) {
        mpfr_srcptr part = i == 0 ? mpc_realref(m_digits->z) : mpc_imagref(m_digits->z);
        if (mpfr_number_p(part) == 0)
            continue;
        mpfr_mul_2si(scaled, part, bits, MPFR_RNDN);
        mpfr_get_z(whole, scaled, MPFR_RNDN);
        std::string digits(mpz_sizeinbase(whole, 10) + 2, '\0');
        mpz_get_str(digits.data(), 10, whole);
        digits.resize(digits.find('\0'));
        parts[static_cast<std::size_t>(i)] = std::move(digits);
    }
    mpz_clear(whole);
    mpfr_clear(scaled);
    return parts;
}

PreciseComplex PreciseComplex::times(long k) const
{
    PreciseComplex result(precision());
    mpc_mul_si(result.m_digits->z, m_digits->z, k, kNearest);
    return result;
}

namespace {

/// One stack entry: a value, its derivative by x and its error bound.
struct Cell {
    mpc_t value;
    mpc_t derivative;
    double bound = 0.0;
    bool readsX = false; ///< false: the derivative is 0 and is not computed
};

void setZero(mpc_ptr z)
{
    mpc_set_ui(z, 0, kNearest);
}

/// Scratch numbers of one precision.
struct Scratch {
    /// ln 10 costs a logarithm at the precision: it is computed only for a program that needs it.
    Scratch(int bits, bool needsLn10) : precision(bits), rounding(std::ldexp(1.0, 1 - bits)), division(bits)
    {
        for (mpc_ptr t : {t1, t2, t3, t4, argument})
            mpc_init2(t, bits);
        mpfr_init2(tiny, bits);
        mpfr_init2(ln10, bits);
        mpfr_set_ui(ln10, 10, MPFR_RNDN);
        if (needsLn10)
            mpfr_log(ln10, ln10, MPFR_RNDN);
    }
    Scratch(const Scratch&) = delete;
    Scratch& operator=(const Scratch&) = delete;
    ~Scratch()
    {
        for (mpc_ptr t : {t1, t2, t3, t4, argument})
            mpc_clear(t);
        mpfr_clear(tiny);
        mpfr_clear(ln10);
    }

    int precision;
    /// What one correctly rounded operation may be off by, relative to its result (two units in
    /// the last place: one for each part).
    double rounding;
    mpc_t t1;
    mpc_t t2;
    mpc_t t3;
    mpc_t t4;
    mpc_t argument; ///< evaluateFunction's own
    mpfr_t tiny;
    mpfr_t ln10;
    DivisionParts division;
};

} // namespace

namespace {

/// One part of a typed number at bits: the decimal the double was read from (its shortest
/// round-trip digits), so that 0.1 means one tenth and not the double nearest to it. Whether the
/// part is rounded.
bool setTypedPart(mpfr_ptr part, double value)
{
    if (!std::isfinite(value) || std::trunc(value) == value)
        return mpfr_set_d(part, value, MPFR_RNDN) != 0;
    std::array<char, 32> digits{};
    const auto written = std::to_chars(digits.data(), digits.data() + digits.size() - 1, value);
    *written.ptr = '\0';
    // mpfr_strtofr gives the rounding's direction; mpfr_set_str only whether the text was a number.
    char* end = nullptr;
    return mpfr_strtofr(part, digits.data(), &end, 10, MPFR_RNDN) != 0;
}

bool readsLgt(const ExpressionProgram& program)
{
    for (const Instruction instruction : program.instructions())
        if (instruction.op == Op::Function && instruction.operand == engine::token::kLgt)
            return true;
    return false;
}

} // namespace

/// The cells and scratch numbers of one precision, and the program's constants at it, made once.
struct PreciseEvaluator::Workspace {
    Workspace(int bits, int cellCount, const ExpressionProgram& program)
        : precision(bits), depth(cellCount),
          cells(std::make_unique<Cell[]>(static_cast<std::size_t>(cellCount))),
          scratch(bits, readsLgt(program))
    {
        for (int i = 0; i < depth; ++i) {
            mpc_init2(cells[static_cast<std::size_t>(i)].value, bits);
            mpc_init2(cells[static_cast<std::size_t>(i)].derivative, bits);
        }
        for (const Instruction instruction : program.instructions()) {
            if (instruction.op != Op::Constant)
                continue;
            const std::size_t index = instruction.operand;
            if (constants.size() <= index) {
                constants.resize(index + 1);
                isRounded.resize(index + 1, false);
            }
            const Complex value = program.constant(instruction.operand);
            PreciseComplex typed(bits);
            const bool re = setTypedPart(mpc_realref(typed.m_digits->z), value.re);
            const bool im = setTypedPart(mpc_imagref(typed.m_digits->z), value.im);
            constants[index] = std::move(typed);
            isRounded[index] = re || im;
        }
    }
    Workspace(const Workspace&) = delete;
    Workspace& operator=(const Workspace&) = delete;
    ~Workspace()
    {
        for (int i = 0; i < depth; ++i) {
            mpc_clear(cells[static_cast<std::size_t>(i)].value);
            mpc_clear(cells[static_cast<std::size_t>(i)].derivative);
        }
    }

    int precision;
    int depth = 0;
    std::unique_ptr<Cell[]> cells;
    Scratch scratch;
    std::vector<PreciseComplex> constants; ///< by constant index; only the used ones are set
    std::vector<bool> isRounded;           ///< whether the constant's decimal needed rounding
};

PreciseEvaluator::PreciseEvaluator(const ExpressionProgram& program) : m_program(program) {}

PreciseEvaluator::~PreciseEvaluator() = default;

namespace {

using RealFunction = int (*)(mpfr_ptr, mpfr_srcptr, mpfr_rnd_t);

/// The real function that f is on the real number a, when f(a) is real there (sqr of a negative
/// number is not); nullptr otherwise. Real arguments are the common case, and the real functions
/// cost a fraction of the complex ones.
RealFunction realFunction(unsigned char token, mpfr_srcptr a)
{
    namespace t = engine::token;
    switch (token) {
    case t::kSin:
        return mpfr_sin;
    case t::kCos:
        return mpfr_cos;
    case t::kTan:
        return mpfr_tan;
    case t::kExp:
        return mpfr_exp;
    case t::kHsn:
        return mpfr_sinh;
    case t::kHcs:
        return mpfr_cosh;
    case t::kHtn:
        return mpfr_tanh;
    case t::kAtn:
        return mpfr_atan;
    case t::kAhs:
        return mpfr_asinh;
    case t::kSqr:
        return mpfr_sgn(a) >= 0 ? mpfr_sqrt : nullptr;
    case t::kLog:
        return mpfr_sgn(a) > 0 ? mpfr_log : nullptr;
    case t::kLgt:
        return mpfr_sgn(a) > 0 ? mpfr_log10 : nullptr;
    case t::kAsn:
        return mpfr_cmpabs_ui(a, 1) <= 0 ? mpfr_asin : nullptr;
    case t::kAcs:
        return mpfr_cmpabs_ui(a, 1) <= 0 ? mpfr_acos : nullptr;
    case t::kAhc:
        return mpfr_cmp_ui(a, 1) >= 0 ? mpfr_acosh : nullptr;
    case t::kAht:
        return mpfr_cmpabs_ui(a, 1) < 0 ? mpfr_atanh : nullptr;
    default:
        return nullptr;
    }
}

/// f'(a) in factor for the function token, r = f(a); false where the derivative is infinite.
bool derivativeFactor(unsigned char token, mpc_srcptr a, mpc_srcptr r, mpc_ptr factor, mpc_ptr scratch,
                      mpfr_srcptr ln10, DivisionParts& division)
{
    namespace t = engine::token;
    const bool isReal = mpfr_zero_p(mpc_imagref(a)) != 0;
    if (isReal && (token == t::kSin || token == t::kCos || token == t::kHsn || token == t::kHcs)) {
        const RealFunction derivative = token == t::kSin   ? mpfr_cos
                                        : token == t::kCos ? mpfr_sin
                                        : token == t::kHsn ? mpfr_cosh
                                                           : mpfr_sinh;
        derivative(mpc_realref(factor), mpc_realref(a), MPFR_RNDN);
        if (token == t::kCos)
            mpfr_neg(mpc_realref(factor), mpc_realref(factor), MPFR_RNDN);
        mpfr_set_zero(mpc_imagref(factor), 1);
        return true;
    }
    switch (token) {
    case t::kSin:
        mpc_cos(factor, a, kNearest);
        return true;
    case t::kCos:
        mpc_sin(factor, a, kNearest);
        mpc_neg(factor, factor, kNearest);
        return true;
    case t::kTan: // 1 + tan^2
        mpc_sqr(factor, r, kNearest);
        mpc_add_ui(factor, factor, 1, kNearest);
        return true;
    case t::kExp:
        mpc_set(factor, r, kNearest);
        return true;
    case t::kHsn:
        mpc_cosh(factor, a, kNearest);
        return true;
    case t::kHcs:
        mpc_sinh(factor, a, kNearest);
        return true;
    case t::kHtn: // 1 - tanh^2
        mpc_sqr(factor, r, kNearest);
        mpc_ui_sub(factor, 1, factor, kNearest);
        return true;
    case t::kSqr: // 1 / (2 sqrt a)
        if (isZeroValue(r))
            return false;
        mpc_mul_ui(factor, r, 2, kNearest);
        division.divide(factor, nullptr, factor);
        return true;
    case t::kLog:
        division.divide(factor, nullptr, a);
        return true;
    case t::kLgt:
        mpc_mul_fr(factor, a, ln10, kNearest);
        division.divide(factor, nullptr, factor);
        return true;
    case t::kAsn: // +-1 / sqrt(1 - a^2)
    case t::kAcs:
        mpc_sqr(scratch, a, kNearest);
        mpc_ui_sub(scratch, 1, scratch, kNearest);
        mpc_sqrt(scratch, scratch, kNearest);
        if (isZeroValue(scratch))
            return false;
        division.divide(factor, nullptr, scratch);
        if (token == t::kAcs)
            mpc_neg(factor, factor, kNearest);
        return true;
    case t::kAtn: // 1 / (1 + a^2)
    case t::kAht: // 1 / (1 - a^2)
        mpc_sqr(scratch, a, kNearest);
        if (token == t::kAtn)
            mpc_add_ui(scratch, scratch, 1, kNearest);
        else
            mpc_ui_sub(scratch, 1, scratch, kNearest);
        division.divide(factor, nullptr, scratch);
        return true;
    case t::kAhs: // 1 / sqrt(a^2 + 1)
        mpc_sqr(scratch, a, kNearest);
        mpc_add_ui(scratch, scratch, 1, kNearest);
        mpc_sqrt(scratch, scratch, kNearest);
        if (isZeroValue(scratch))
            return false;
        division.divide(factor, nullptr, scratch);
        return true;
    case t::kAhc: // 1 / (sqrt(a - 1) sqrt(a + 1))
        mpc_sub_ui(scratch, a, 1, kNearest);
        mpc_sqrt(scratch, scratch, kNearest);
        mpc_add_ui(factor, a, 1, kNearest);
        mpc_sqrt(factor, factor, kNearest);
        mpc_mul(scratch, scratch, factor, kNearest);
        if (isZeroValue(scratch))
            return false;
        division.divide(factor, nullptr, scratch);
        return true;
    default:
        return false;
    }
}

/// What every nonzero value's bound has at least: four of the smallest positive doubles.
constexpr double kSmallestBound = 4.0 * std::numeric_limits<double>::denorm_min();

/// Beyond this size of the part that grows them, exponentials overflow 2^kLargestExponent.
constexpr unsigned long kFarArgument = 700;

/// f(a) where the exponential inside f is beyond kFarArgument: an overflow, or for tan and htn
/// their limit (+-sqr(-1), +-1; e^-1400 away from it), which MPC would spend a precision of the
/// exponential's own size on. Nothing for arguments nearer.
std::optional<EvaluationOutcome> farValue(unsigned char token, mpc_srcptr a, mpc_ptr r)
{
    namespace t = engine::token;
    mpfr_srcptr re = mpc_realref(a);
    mpfr_srcptr im = mpc_imagref(a);
    const bool isFarIm = mpfr_cmpabs_ui(im, kFarArgument) > 0;
    const bool isFarRe = mpfr_cmpabs_ui(re, kFarArgument) > 0;
    switch (token) {
    case t::kSin:
    case t::kCos:
        return isFarIm ? std::optional(EvaluationOutcome::Overflow) : std::nullopt;
    case t::kHsn:
    case t::kHcs:
        return isFarRe ? std::optional(EvaluationOutcome::Overflow) : std::nullopt;
    case t::kExp:
        return isFarRe && mpfr_sgn(re) > 0 ? std::optional(EvaluationOutcome::Overflow) : std::nullopt;
    case t::kTan:
        if (!isFarIm)
            return std::nullopt;
        mpc_set_si_si(r, 0, mpfr_sgn(im), kNearest);
        return EvaluationOutcome::Defined;
    case t::kHtn:
        if (!isFarRe)
            return std::nullopt;
        mpc_set_si_si(r, mpfr_sgn(re), 0, kNearest);
        return EvaluationOutcome::Defined;
    default:
        return std::nullopt;
    }
}

/// r = f(a) for the function token, r not a.
EvaluationOutcome plainFunction(unsigned char token, mpc_srcptr a, mpc_ptr r, mpfr_srcptr ln10)
{
    namespace t = engine::token;
    if (const std::optional<EvaluationOutcome> far = farValue(token, a, r))
        return *far;
    if (mpfr_zero_p(mpc_imagref(a)) != 0) {
        if (const RealFunction real = realFunction(token, mpc_realref(a))) {
            real(mpc_realref(r), mpc_realref(a), MPFR_RNDN);
            mpfr_set_zero(mpc_imagref(r), 1);
            return EvaluationOutcome::Defined;
        }
    }
    switch (token) {
    case t::kSin:
        mpc_sin(r, a, kNearest);
        break;
    case t::kCos:
        mpc_cos(r, a, kNearest);
        break;
    case t::kTan:
        mpc_tan(r, a, kNearest);
        break;
    case t::kExp:
        mpc_exp(r, a, kNearest);
        break;
    case t::kSqr:
        mpc_sqrt(r, a, kNearest);
        break;
    case t::kLog:
    case t::kLgt:
        if (isZeroValue(a))
            return EvaluationOutcome::Undefined;
        mpc_log(r, a, kNearest);
        if (token == t::kLgt)
            mpc_div_fr(r, r, ln10, kNearest);
        break;
    case t::kAsn:
        mpc_asin(r, a, kNearest);
        break;
    case t::kAcs:
        mpc_acos(r, a, kNearest);
        break;
    case t::kAtn:
        if (equals(a, 0, 1) || equals(a, 0, -1))
            return EvaluationOutcome::Undefined;
        mpc_atan(r, a, kNearest);
        break;
    case t::kHsn:
        mpc_sinh(r, a, kNearest);
        break;
    case t::kHcs:
        mpc_cosh(r, a, kNearest);
        break;
    case t::kHtn:
        mpc_tanh(r, a, kNearest);
        break;
    case t::kAhs:
        mpc_asinh(r, a, kNearest);
        break;
    case t::kAhc:
        mpc_acosh(r, a, kNearest);
        break;
    case t::kAht:
        if (equals(a, 1, 0) || equals(a, -1, 0))
            return EvaluationOutcome::Undefined;
        mpc_atanh(r, a, kNearest);
        break;
    default:
        return EvaluationOutcome::Invalid;
    }
    return EvaluationOutcome::Defined;
}

/// Whether a is so near 0 (both parts below 2^-(2 precision + 16)) that its square is lost beside
/// any value of order 1: the complex functions of MPC would spend a precision of the size of its
/// exponent on it.
bool isTinyArgument(mpc_srcptr a, int precision)
{
    const long limit = -2L * precision - 16;
    const auto isTiny = [limit](mpfr_srcptr part) {
        return mpfr_zero_p(part) != 0 || (mpfr_regular_p(part) != 0 && mpfr_get_exp(part) < limit);
    };
    return !isZeroValue(a) && isTiny(mpc_realref(a)) && isTiny(mpc_imagref(a));
}

/// Whether the function is analytic at 0 (all but sqr, log and lgt).
bool isAnalyticAtZero(unsigned char token)
{
    namespace t = engine::token;
    return token != t::kSqr && token != t::kLog && token != t::kLgt;
}

/// Whether one part of a is so much smaller than the other that the complex functions of MPC,
/// which round each part correctly, would spend far more precision on it than the working one
/// (asin(0.5 + 10^-300 sqr(-1)) costs them milliseconds).
mpfr_ptr tinyPart(mpc_ptr a, int precision)
{
    mpfr_ptr re = mpc_realref(a);
    mpfr_ptr im = mpc_imagref(a);
    if (mpfr_regular_p(re) == 0 || mpfr_regular_p(im) == 0)
        return nullptr;
    const long gap = static_cast<long>(mpfr_get_exp(re)) - static_cast<long>(mpfr_get_exp(im));
    if (gap > precision / 2)
        return im;
    if (-gap > precision / 2)
        return re;
    return nullptr;
}

/// r = f(a) and, when wanted, factor = f'(a) (hasFactor false where it is infinite); a's zero
/// parts count as +0. A part of a below 2^-(precision/2) of the other is taken to first order:
/// f(a0 + d) = f(a0) + d f'(a0), a0 with that part made a zero of its sign (so that the side of a
/// branch cut stays); perturbation is then |d|, for the caller's error bound.
EvaluationOutcome evaluateFunction(unsigned char token, mpc_ptr a, mpc_ptr r, Scratch& scratch,
                                   bool wantsFactor, bool& hasFactor, double& perturbation)
{
    makeZerosPositive(a);
    perturbation = 0.0;
    hasFactor = false;
    if (isTinyArgument(a, scratch.precision) && isAnalyticAtZero(token)) {
        // f(a) = f(0) + a f'(0) + O(a^2), 0 with the signs of a's parts.
        mpc_set(scratch.argument, a, kNearest);
        mpfr_set_zero(mpc_realref(a), mpfr_signbit(mpc_realref(a)) != 0 ? -1 : 1);
        mpfr_set_zero(mpc_imagref(a), mpfr_signbit(mpc_imagref(a)) != 0 ? -1 : 1);
        const EvaluationOutcome outcome = plainFunction(token, a, r, scratch.ln10);
        if (outcome != EvaluationOutcome::Defined ||
            !derivativeFactor(token, a, r, scratch.t4, scratch.t3, scratch.ln10, scratch.division))
            return EvaluationOutcome::Overflow;
        mpc_mul(scratch.t3, scratch.t4, scratch.argument, kNearest);
        mpc_add(r, r, scratch.t3, kNearest);
        perturbation = toDoubles(scratch.argument).re == 0.0 && toDoubles(scratch.argument).im == 0.0
                           ? std::ldexp(1.0, -kLargestExponent)
                           : magnitude(toDoubles(scratch.argument));
        hasFactor = true;
        return EvaluationOutcome::Defined;
    }
    mpfr_ptr tiny = tinyPart(a, scratch.precision);
    if (tiny != nullptr) {
        mpfr_set(scratch.tiny, tiny, MPFR_RNDN);
        const bool isImaginary = tiny == mpc_imagref(a);
        mpfr_set_zero(tiny, mpfr_sgn(scratch.tiny));
        const EvaluationOutcome outcome = plainFunction(token, a, r, scratch.ln10);
        if (outcome == EvaluationOutcome::Defined &&
            derivativeFactor(token, a, r, scratch.t4, scratch.t3, scratch.ln10, scratch.division)) {
            mpc_mul_fr(scratch.t3, scratch.t4, scratch.tiny, kNearest);
            if (isImaginary)
                mpc_mul_i(scratch.t3, scratch.t3, 1, kNearest);
            mpc_add(r, r, scratch.t3, kNearest);
            perturbation = std::fabs(mpfr_get_d(scratch.tiny, MPFR_RNDN));
            hasFactor = true;
            return EvaluationOutcome::Defined;
        }
        // At a branch point the expansion fails: the whole value, whatever it costs.
        mpfr_set(tiny, scratch.tiny, MPFR_RNDN);
    }
    const EvaluationOutcome outcome = plainFunction(token, a, r, scratch.ln10);
    if (outcome == EvaluationOutcome::Defined && wantsFactor)
        hasFactor = derivativeFactor(token, a, r, scratch.t4, scratch.t3, scratch.ln10, scratch.division);
    return outcome;
}

/// The whole number w, when it is one that fits a long.
bool isWholeExponent(mpc_srcptr w, long& n)
{
    if (mpfr_zero_p(mpc_imagref(w)) == 0 || mpfr_integer_p(mpc_realref(w)) == 0 ||
        mpfr_fits_slong_p(mpc_realref(w), MPFR_RNDN) == 0)
        return false;
    n = mpfr_get_si(mpc_realref(w), MPFR_RNDN);
    return true;
}

/// Whole-number exponents up to this size are exact powers; MPC's own way for larger ones can spend
/// minutes rounding a part that is nearly zero (z^(-5*10^6) with |z| near 1).
constexpr long kLargestSquaredPower = 1L << 16;

/// Drops a part of z smaller than the other by more than its precision and 64 bits: that changes a
/// power up to kLargestSquaredPower by less than a unit of rounding, while MPC would round the tiny
/// part of the result at a precision of the whole gap (millions of bits for 1 + 2^-9000000 i).
bool dropNegligiblePart(mpc_ptr z)
{
    mpfr_ptr re = mpc_realref(z);
    mpfr_ptr im = mpc_imagref(z);
    if (mpfr_zero_p(re) != 0 || mpfr_zero_p(im) != 0 || mpfr_number_p(re) == 0 || mpfr_number_p(im) == 0)
        return false;
    const long gap = static_cast<long>(mpfr_get_exp(re)) - static_cast<long>(mpfr_get_exp(im));
    const long limit = static_cast<long>(mpfr_get_prec(re)) + 64;
    mpfr_ptr negligible = gap > limit ? im : (-gap > limit ? re : nullptr);
    if (negligible == nullptr)
        return false;
    mpfr_set_zero(negligible, mpfr_signbit(negligible) != 0 ? -1 : 1);
    return true;
}

/// a := a ^ b with its derivative and bound: a whole-number exponent up to kLargestSquaredPower as
/// an exact power, otherwise e^(b log a); 0^b is 1 for b = 0 and 0 for Re b > 0.
EvaluationOutcome power(Cell& a, const Cell& b, Scratch& scratch, bool withDerivative, bool& isDerivativeLost)
{
    const Complex av = toDoubles(a.value);
    const Complex bv = toDoubles(b.value);
    long n = 0;
    const bool isWhole = isWholeExponent(b.value, n);
    const bool isSquared = isWhole && std::abs(n) <= kLargestSquaredPower;
    const bool needsDerivative = withDerivative && (a.readsX || b.readsX) && !isDerivativeLost;
    mpc_ptr result = scratch.t1;
    mpc_ptr logarithm = scratch.t2;
    double extra = 0.0;         // bound of what the first-order expansions of log and exp leave out
    bool isPartDropped = false; // changes the power by far less than a unit of rounding
    if (isZeroValue(a.value)) {
        if (isZeroValue(b.value))
            mpc_set_ui(result, 1, kNearest);
        else if (mpfr_sgn(mpc_realref(b.value)) > 0)
            setZero(result);
        else
            return EvaluationOutcome::Undefined;
        // (a^b)' = b a^(b-1) a' at a = 0 is a' for b = 1, 0 for Re b > 1, infinite in between.
        if (needsDerivative) {
            const bool isIdentity = isWhole && n == 1; // a^1 keeps a's derivative
            if (!isIdentity && (!a.readsX || mpfr_cmp_ui(mpc_realref(b.value), 1) > 0))
                setZero(a.derivative);
            else if (!isIdentity)
                isDerivativeLost = true;
        }
    } else {
        makeZerosPositive(a.value);
        bool hasFactor = false;
        double logShift = 0.0;
        if (!isSquared || (needsDerivative && b.readsX)) {
            mpc_set(scratch.t4, a.value, kNearest);
            static_cast<void>(evaluateFunction(engine::token::kLog, scratch.t4, logarithm, scratch, false,
                                               hasFactor, logShift));
        }
        if (isSquared) {
            isPartDropped = dropNegligiblePart(a.value);
            mpc_pow_si(result, a.value, n, kNearest);
        } else {
            // e^(b log a)
            mpc_mul(scratch.t4, logarithm, b.value, kNearest);
            if (!isWithinRange(scratch.t4))
                return EvaluationOutcome::Overflow;
            mpc_set(scratch.t3, scratch.t4, kNearest);
            double expShift = 0.0;
            const EvaluationOutcome outcome = evaluateFunction(engine::token::kExp, scratch.t3, result,
                                                               scratch, false, hasFactor, expShift);
            if (outcome != EvaluationOutcome::Defined)
                return outcome;
            const double logError = logShift > 0.0 ? logShift / std::max(magnitude(av) - logShift, 0.0) : 0.0;
            extra = magnitude(toDoubles(result)) * std::expm1(magnitude(bv) * logError + expShift);
        }
        if (needsDerivative) {
            // (a^b)' = a^b (b' log a + b a' / a)
            mpc_ptr sum = scratch.t3;
            setZero(sum);
            if (b.readsX) {
                mpc_mul(scratch.t4, logarithm, b.derivative, kNearest);
                mpc_add(sum, sum, scratch.t4, kNearest);
            }
            if (a.readsX) {
                mpc_mul(scratch.t4, b.value, a.derivative, kNearest);
                scratch.division.divide(scratch.t4, scratch.t4, a.value);
                mpc_add(sum, sum, scratch.t4, kNearest);
            }
            mpc_mul(a.derivative, sum, result, kNearest);
        }
    }
    mpc_set(a.value, result, kNearest);
    const Complex r = toDoubles(a.value);
    const double logMagnitude =
        av.re == 0.0 && av.im == 0.0 ? 0.0 : std::abs(std::log(std::complex<double>(av.re, av.im)));
    const double pi = std::acos(-1.0); // principal angles lie in (-pi, pi]
    // The logarithm's rounding grows by the exponent: e^(b log a) is off by |b log a| units more.
    a.bound = powerBound(av, a.bound, bv, b.bound, r, logMagnitude, pi) + extra +
              scratch.rounding * magnitude(r) *
                  (1.0 + (isPartDropped ? 1.0 : 0.0) + (isSquared ? 0.0 : magnitude(bv) * logMagnitude));
    a.readsX = a.readsX || b.readsX;
    return EvaluationOutcome::Defined;
}

} // namespace

PreciseResult PreciseEvaluator::evaluate(const PreciseComplex& x, double xBound, const LetterValues& letters,
                                         bool withDerivative) const
{
    PreciseResult result;
    if (!m_program.isCompiled())
        return result;
    const int precision = x.precision();
    Workspace* found = nullptr;
    for (const auto& workspace : m_workspaces)
        if (workspace->precision == precision)
            found = workspace.get();
    if (found == nullptr) {
        m_workspaces.push_back(std::make_unique<Workspace>(precision, m_program.stackDepth(), m_program));
        found = m_workspaces.back().get();
    }
    Workspace& w = *found;
    Scratch& scratch = w.scratch;
    const double u = scratch.rounding;
    bool isDerivativeLost = false;
    int top = -1;

    const auto push = [&](Complex value, bool readsX) -> Cell& {
        Cell& cell = w.cells[static_cast<std::size_t>(++top)];
        mpc_set_d_d(cell.value, value.re, value.im, kNearest);
        setZero(cell.derivative);
        cell.bound = 0.0;
        cell.readsX = readsX;
        return cell;
    };

    for (const Instruction instruction : m_program.instructions()) {
        EvaluationOutcome outcome = EvaluationOutcome::Defined;
        switch (instruction.op) {
        case Op::Constant: {
            const std::size_t index = instruction.operand;
            Cell& cell = push({}, false);
            mpc_set(cell.value, w.constants[index].m_digits->z, kNearest);
            if (w.isRounded[index])
                cell.bound = u * magnitude(m_program.constant(instruction.operand));
            break;
        }
        case Op::Letter:
            push(letters[instruction.operand], false);
            break;
        case Op::Unknown: {
            Cell& cell = push({}, true);
            mpc_set(cell.value, x.m_digits->z, kNearest);
            mpc_set_ui(cell.derivative, 1, kNearest);
            cell.bound = xBound;
            break;
        }
        case Op::Negate: {
            Cell& a = w.cells[static_cast<std::size_t>(top)];
            mpc_neg(a.value, a.value, kNearest);
            mpc_neg(a.derivative, a.derivative, kNearest);
            break;
        }
        case Op::Add:
        case Op::Subtract: {
            --top;
            Cell& a = w.cells[static_cast<std::size_t>(top)];
            const Cell& b = w.cells[static_cast<std::size_t>(top + 1)];
            const bool isSum = instruction.op == Op::Add;
            (isSum ? mpc_add : mpc_sub)(a.value, a.value, b.value, kNearest);
            if (withDerivative && (a.readsX || b.readsX))
                (isSum ? mpc_add : mpc_sub)(a.derivative, a.derivative, b.derivative, kNearest);
            a.bound = a.bound + b.bound + u * analysis::magnitude(toDoubles(a.value));
            a.readsX = a.readsX || b.readsX;
            break;
        }
        case Op::Multiply:
        case Op::Divide: {
            --top;
            Cell& a = w.cells[static_cast<std::size_t>(top)];
            const Cell& b = w.cells[static_cast<std::size_t>(top + 1)];
            const bool isProduct = instruction.op == Op::Multiply;
            if (!isProduct && isZeroValue(b.value)) {
                outcome = EvaluationOutcome::Undefined;
                break;
            }
            const Complex av = toDoubles(a.value);
            const Complex bv = toDoubles(b.value);
            if (isProduct) {
                if (withDerivative && (a.readsX || b.readsX)) {
                    // (a b)' = a' b + a b'
                    mpc_mul(scratch.t1, a.derivative, b.value, kNearest);
                    mpc_mul(scratch.t2, a.value, b.derivative, kNearest);
                    mpc_add(a.derivative, scratch.t1, scratch.t2, kNearest);
                }
                mpc_mul(a.value, a.value, b.value, kNearest);
                a.bound = productBound(magnitude(av), a.bound, magnitude(bv), b.bound);
            } else {
                scratch.division.divide(a.value, a.value, b.value);
                if (withDerivative && (a.readsX || b.readsX)) {
                    // (a / b)' = (a' - (a / b) b') / b
                    mpc_mul(scratch.t1, a.value, b.derivative, kNearest);
                    mpc_sub(scratch.t1, a.derivative, scratch.t1, kNearest);
                    scratch.division.divide(a.derivative, scratch.t1, b.value);
                }
                const double mb = magnitude(bv);
                a.bound = productBound(magnitude(av), a.bound, mb > 0.0 ? 1.0 / mb : kUnbounded,
                                       inverseBound(bv, b.bound));
            }
            a.bound += u * magnitude(toDoubles(a.value));
            a.readsX = a.readsX || b.readsX;
            break;
        }
        case Op::Power: {
            --top;
            Cell& a = w.cells[static_cast<std::size_t>(top)];
            const Cell& b = w.cells[static_cast<std::size_t>(top + 1)];
            outcome = power(a, b, scratch, withDerivative, isDerivativeLost);
            break;
        }
        case Op::Function: {
            Cell& a = w.cells[static_cast<std::size_t>(top)];
            const Complex av = toDoubles(a.value);
            const bool wantsFactor = withDerivative && a.readsX && !isDerivativeLost;
            bool hasFactor = false;
            double perturbation = 0.0;
            outcome = evaluateFunction(instruction.operand, a.value, scratch.t1, scratch, wantsFactor,
                                       hasFactor, perturbation);
            if (outcome != EvaluationOutcome::Defined)
                break;
            if (wantsFactor) {
                if (hasFactor)
                    mpc_mul(a.derivative, a.derivative, scratch.t4, kNearest);
                else
                    isDerivativeLost = true;
            }
            mpc_set(a.value, scratch.t1, kNearest);
            const Complex r = toDoubles(a.value);
            a.bound = functionBound(instruction.operand, av, a.bound + perturbation, r) + u * magnitude(r);
            break;
        }
        }
        if (outcome == EvaluationOutcome::Defined &&
            !isWithinRange(w.cells[static_cast<std::size_t>(top)].value))
            outcome = EvaluationOutcome::Overflow;
        if (outcome == EvaluationOutcome::Defined) {
            // A bound is a double: the error of a value far below the doubles' range (x^1.3 at
            // x = 1e-312) rounds to nothing there, and a division by a tiny x would carry on from
            // nothing. A few of the smallest doubles cover it, and are lost beside any larger bound.
            Cell& cell = w.cells[static_cast<std::size_t>(top)];
            if (!isZeroValue(cell.value))
                cell.bound += kSmallestBound;
        }
        if (outcome != EvaluationOutcome::Defined) {
            result.outcome = outcome;
            return result;
        }
    }
    const Cell& cell = w.cells[0];
    result.outcome = EvaluationOutcome::Defined;
    result.value = PreciseComplex(precision);
    mpc_set(result.value.m_digits->z, cell.value, kNearest);
    result.bound = std::isnan(cell.bound) ? kUnbounded : cell.bound;
    if (withDerivative && !isDerivativeLost && isWithinRange(cell.derivative)) {
        result.derivative = PreciseComplex(precision);
        mpc_set(result.derivative.m_digits->z, cell.derivative, kNearest);
        result.hasDerivative = true;
    }
    return result;
}

} // namespace analysis
