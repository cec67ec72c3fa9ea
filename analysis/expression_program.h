// SPDX-License-Identifier: MIT
// An equation's sides compiled once from the engine's token form into small postfix programs, which
// the evaluators of this library run, each with its own arithmetic.
#pragma once

#include "engine/complex_value.h"

#include <array>
#include <cstdint>
#include <span>
#include <string_view>

namespace analysis {

using engine::Complex;

/// Values of the letters a-z, entry letter - 'a'; the entry of x is not read.
using LetterValues = std::array<Complex, 26>;

/// What one instruction does to the evaluation stack.
enum class Op : unsigned char {
    Constant, ///< pushes the constant with index `operand`
    Unknown,  ///< pushes x
    Letter,   ///< pushes the value of the letter 'a' + `operand`
    Add,      ///< pops b and a, pushes a + b
    Subtract, ///< pops b and a, pushes a - b
    Multiply, ///< pops b and a, pushes a * b
    Divide,   ///< pops b and a, pushes a / b
    Negate,   ///< replaces a by -a
    Power,    ///< pops w and v, pushes v ^ w
    Function, ///< replaces a by f(a), f the function token `operand`
};

struct Instruction {
    Op op = Op::Constant;
    unsigned char operand = 0; ///< constant index, letter index or function token
};

/// One expression of the engine's token form as a postfix program.
///
/// Operators read as the engine's levels read them: `+ -` below `* /` below a sign after `* /`
/// below `^` below a sign after `^`; a chain of powers multiplies its exponents (a^b^c is
/// a^(b*c)), as the constant folding does. The program says nothing about how an operation is
/// computed: that is the evaluator's arithmetic.
class ExpressionProgram {
public:
    static constexpr int kMaxInstructions = 512;
    /// Deepest stack a program may need; an evaluator with this many cells runs every program.
    static constexpr int kMaxStack = 256;

    /// Compiles count pieces (NUL-free, no `=`) with the values of their constant tokens in pool.
    /// False, leaving an empty program, when the pieces are not one expression.
    [[nodiscard]] bool compile(const unsigned char* pieces, int count, const engine::ConstantPool& pool);

    [[nodiscard]] bool isCompiled() const { return m_length > 0; }
    [[nodiscard]] std::span<const Instruction> instructions() const
    {
        return {m_program.data(), static_cast<std::size_t>(m_length)};
    }
    [[nodiscard]] Complex constant(unsigned char index) const { return m_constants[index]; }
    /// The letters the expression reads, bit (letter - 'a'); x included.
    [[nodiscard]] std::uint32_t letterMask() const { return m_letterMask; }
    /// The most stack cells the program uses.
    [[nodiscard]] int stackDepth() const { return m_stackDepth; }
    /// Whether x stands inside a periodic function (sin, cos, tan, exp, hsn, hcs, htn) or in an
    /// exponent, so that an equation with this side may have infinitely many solutions.
    [[nodiscard]] bool hasPeriodicX() const { return m_hasPeriodicX; }

private:
    friend class ExpressionCompiler;
    std::array<Instruction, kMaxInstructions> m_program{};
    int m_length = 0;
    int m_stackDepth = 0;
    std::array<Complex, engine::ConstantPool::kSize> m_constants{};
    std::uint32_t m_letterMask = 0;
    bool m_hasPeriodicX = false;
};

/// Both sides of an equation, compiled from its prepared text.
///
/// Typical use: `load` the text once, then hand the sides to an evaluator as often as needed.
class Equation {
public:
    /// Validates and tokenises the prepared text (bytes 33-127, "." as decimal point) as the engine
    /// does and compiles both sides. False when the engine rejects the text, whose solve then ends
    /// with an error message.
    [[nodiscard]] bool load(std::string_view prepared);

    [[nodiscard]] bool isLoaded() const { return m_isLoaded; }
    [[nodiscard]] const ExpressionProgram& left() const { return m_left; }
    [[nodiscard]] const ExpressionProgram& right() const { return m_right; }
    /// The letters other than x that the equation reads, bit (letter - 'a').
    [[nodiscard]] std::uint32_t otherLetters() const;
    [[nodiscard]] bool readsX() const;
    /// Whether x stands inside a periodic function or an exponent on either side.
    [[nodiscard]] bool hasPeriodicTerm() const { return m_left.hasPeriodicX() || m_right.hasPeriodicX(); }

private:
    ExpressionProgram m_left;
    ExpressionProgram m_right;
    bool m_isLoaded = false;
};

/// The bit of x in a letter mask.
inline constexpr std::uint32_t kXBit = std::uint32_t{1} << ('x' - 'a');

/// |z|, without overflow in the squares.
[[nodiscard]] double magnitude(Complex z);

} // namespace analysis
