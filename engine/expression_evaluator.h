// SPDX-License-Identifier: MIT
// Evaluates an equation's sides for a complex x and values of the other letters, with the engine's own
// arithmetic: parsed once into a small postfix program, run as often as wanted without allocating.
#pragma once

#include "engine/complex_value.h"

#include <array>
#include <cstdint>
#include <string_view>

namespace engine {

/// Values of the letters a-z, entry letter - 'a'; the entry of x is not read.
using LetterValues = std::array<Complex, 26>;

/// The relative precision of the engine's arithmetic: sums and products whose contributions cancel to
/// within it give 0, parts negligible to within it are dropped, sine and cosine residues below it
/// vanish. An evaluated value may be off by this much of every number that went into it.
inline constexpr double kArithmeticPrecision = 1e-7;

/// A value and a bound on its error: how far it may lie from the exact value when x moves within its
/// own bound and every number of the expression and every intermediate result within
/// kArithmeticPrecision of itself (to first order, and beyond it where a function would hide the
/// growth: roots, powers near 0, tangents near a pole). An infinite bound means the value is not
/// determined at all (a pole within reach, or an argument that may move by more than 1).
struct BoundedValue {
    Complex value;
    double bound = 0.0;
};

/// One expression compiled from pieces (the engine's token form) into a postfix program.
///
/// Operators read as the engine's levels read them: `+ -` below `* /` below a sign after `* /`
/// below `^` below a sign after `^`; a chain of powers multiplies its exponents (a^b^c is
/// a^(b*c)), as the constant folding does. Every operation is the engine's own: sums and
/// products with their cancellation rule, 1 / z, powers as e^(w ln v) with the logarithm's angle
/// in [0, 2 pi), the sixteen function values with their branches; each result is cleaned of
/// negligible parts as a stored constant is, and fails beyond 10^18. One exception: a power with
/// base exactly 0 keeps its usual meaning (0^y is 0 when y has a positive real part, 1 when y is 0,
/// and fails otherwise), where the folding's shortcut gives 0 for every y.
class CompiledExpression {
public:
    /// Compiles count pieces (NUL-free, no `=`) with the values of their constant tokens in pool.
    /// False, leaving an expression that always fails, when the pieces are not one expression.
    [[nodiscard]] bool compile(const unsigned char* pieces, int count, const ConstantPool& pool);

    /// The value for x and letters; false when an operation fails (division by 0, a logarithm of 0,
    /// a pole of a function, an overflow) or nothing was compiled.
    [[nodiscard]] bool evaluate(Complex x, const LetterValues& letters, Complex& result) const;
    /// The same with an error bound: x comes with its own, and every constant, letter value and
    /// intermediate result may be off by kArithmeticPrecision of its magnitude.
    [[nodiscard]] bool evaluateBounded(BoundedValue x, const LetterValues& letters,
                                       BoundedValue& result) const;

    /// The letters the expression reads, bit (letter - 'a'); x included.
    [[nodiscard]] std::uint32_t letterMask() const { return m_letterMask; }

private:
    enum class Op : unsigned char {
        Constant,
        Unknown,
        Letter,
        Add,
        Subtract,
        Multiply,
        Divide,
        Negate,
        Power,
        Function
    };
    struct Instruction {
        Op op = Op::Constant;
        unsigned char operand = 0; // constant index, letter index or function token
    };
    friend class ExpressionCompiler;
    /// The program on a stack of Cell (a value and its bound), bounds only when kBounded.
    template <bool kBounded, typename Cell>
    bool run(const Cell& x, const LetterValues& letters, double precision, Cell& result) const;

    static constexpr int kMaxInstructions = 512;
    static constexpr int kMaxStack = 256;
    std::array<Instruction, kMaxInstructions> m_program{};
    int m_length = 0;
    std::array<Complex, ConstantPool::kSize> m_constants{};
    std::uint32_t m_letterMask = 0;
};

/// Both sides of an equation, compiled from its prepared text.
///
/// Typical use: `load` the text once, then `evaluate` or `difference` for as many x as needed; neither
/// allocates nor changes the object, so one evaluator may serve a whole search.
class EquationEvaluator {
public:
    /// Validates and tokenises the prepared text (bytes 33-127, "." as decimal point) with the engine's
    /// own functions and compiles both sides. False when the engine rejects the text, whose solve
    /// then ends with an error message.
    [[nodiscard]] bool load(std::string_view prepared);

    [[nodiscard]] bool isLoaded() const { return m_isLoaded; }
    [[nodiscard]] const CompiledExpression& left() const { return m_left; }
    [[nodiscard]] const CompiledExpression& right() const { return m_right; }
    /// The letters other than x that the equation reads, bit (letter - 'a').
    [[nodiscard]] std::uint32_t otherLetters() const;

    /// Both sides at x; false when either cannot be evaluated.
    [[nodiscard]] bool evaluate(Complex x, const LetterValues& letters, Complex& left, Complex& right) const;
    /// f(x) = left side - right side, subtracted plainly (without the cancellation rule, so that a
    /// root search sees how small the difference is); false when a side cannot be evaluated.
    [[nodiscard]] bool difference(Complex x, const LetterValues& letters, Complex& f) const;

private:
    CompiledExpression m_left;
    CompiledExpression m_right;
    bool m_isLoaded = false;
};

/// |z|, without overflow in the squares.
[[nodiscard]] double magnitude(Complex z);

} // namespace engine
