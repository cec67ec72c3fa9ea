// SPDX-License-Identifier: MIT
// Compiles the engine's token form into postfix programs by recursive descent over its precedence.
#include "analysis/expression_program.h"

#include "engine/piece_string.h"
#include "engine/pieces.h"
#include "engine/token_table.h"
#include "engine/validation.h"

#include <cmath>
#include <memory>

namespace analysis {

double magnitude(Complex z)
{
    return std::hypot(z.re, z.im);
}

namespace {

/// Far deeper than the 30 levels an equation may have; only keeps arbitrary pieces from recursing
/// without end.
constexpr int kMaxNesting = 64;

/// The functions whose value repeats along a line of arguments: x inside one may give infinitely
/// many solutions.
bool isPeriodicFunction(unsigned char token)
{
    namespace t = engine::token;
    return token == t::kSin || token == t::kCos || token == t::kTan || token == t::kExp || token == t::kHsn ||
           token == t::kHcs || token == t::kHtn;
}

} // namespace

/// One function per precedence class of the levels.
class ExpressionCompiler {
public:
    ExpressionCompiler(const unsigned char* pieces, int count, ExpressionProgram& out)
        : m_pieces(pieces), m_count(count), m_out(out)
    {
    }

    bool compile() { return sum(0) && m_position == m_count && m_depth == 1; }

private:
    [[nodiscard]] unsigned char peek() const { return m_position < m_count ? m_pieces[m_position] : 0; }

    /// Appends an instruction and follows, beside the stack depth, which stack cells depend on x.
    bool emit(Op op, unsigned char operand)
    {
        if (m_out.m_length >= ExpressionProgram::kMaxInstructions)
            return false;
        switch (op) {
        case Op::Constant:
        case Op::Letter:
        case Op::Unknown:
            if (m_depth >= ExpressionProgram::kMaxStack)
                return false;
            m_readsX[static_cast<std::size_t>(m_depth++)] = op == Op::Unknown;
            break;
        case Op::Negate:
        case Op::Function:
            if (m_depth < 1)
                return false;
            if (op == Op::Function && isPeriodicFunction(operand) &&
                m_readsX[static_cast<std::size_t>(m_depth - 1)])
                m_out.m_hasPeriodicX = true;
            break;
        default: {
            if (m_depth < 2)
                return false;
            const bool rightReadsX = m_readsX[static_cast<std::size_t>(m_depth - 1)];
            if (op == Op::Power && rightReadsX)
                m_out.m_hasPeriodicX = true;
            --m_depth;
            m_readsX[static_cast<std::size_t>(m_depth - 1)] =
                m_readsX[static_cast<std::size_t>(m_depth - 1)] || rightReadsX;
            break;
        }
        }
        m_out.m_stackDepth = std::max(m_out.m_stackDepth, m_depth);
        m_out.m_program[static_cast<std::size_t>(m_out.m_length++)] = {op, operand};
        return true;
    }

    /// Consumes a run of signs; true when they make a minus.
    bool takeSigns()
    {
        bool isNegative = false;
        while (engine::isSign(peek())) {
            isNegative = isNegative != (peek() == '-');
            ++m_position;
        }
        return isNegative;
    }

    bool negateIf(bool isNegative) { return !isNegative || emit(Op::Negate, 0); }

    /// Terms joined by + and -; a sign at the start or after + - belongs to the whole term (-a*b).
    bool sum(int nesting)
    {
        if (nesting > kMaxNesting)
            return false;
        const bool isNegative = takeSigns();
        if (!term(nesting) || !negateIf(isNegative))
            return false;
        while (engine::isSign(peek())) {
            // A sign after + or - shares its level: a--b is a-(-b).
            const bool isDifference = takeSigns();
            if (!term(nesting) || !emit(isDifference ? Op::Subtract : Op::Add, 0))
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
            if (!power(nesting) || !negateIf(isNegative) || !emit(op, 0))
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
            if (!operand(nesting) || !negateIf(isNegative) || (!isFirst && !emit(Op::Multiply, 0)))
                return false;
        }
        return emit(Op::Power, 0);
    }

    bool operand(int nesting)
    {
        const unsigned char piece = peek();
        ++m_position;
        if (engine::isConstantToken(piece))
            return emit(Op::Constant, static_cast<unsigned char>(piece - 0x80));
        if (piece == 'x')
            return mark(piece) && emit(Op::Unknown, 0);
        if (engine::isLetter(piece))
            return mark(piece) && emit(Op::Letter, static_cast<unsigned char>(piece - 'a'));
        const bool isFunction = engine::isFunctionToken(piece);
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
        return !isFunction || emit(Op::Function, piece);
    }

    bool mark(unsigned char letter)
    {
        m_out.m_letterMask |= std::uint32_t{1} << (letter - 'a');
        return true;
    }

    const unsigned char* m_pieces;
    int m_count;
    ExpressionProgram& m_out;
    int m_position = 0;
    int m_depth = 0;
    std::array<bool, ExpressionProgram::kMaxStack> m_readsX{};
};

bool ExpressionProgram::compile(const unsigned char* pieces, int count, const engine::ConstantPool& pool)
{
    *this = ExpressionProgram();
    for (int i = 0; i < engine::ConstantPool::kSize; ++i)
        m_constants[static_cast<std::size_t>(i)] = pool.value(static_cast<unsigned char>(0x80 + i));
    if (ExpressionCompiler(pieces, count, *this).compile())
        return true;
    *this = ExpressionProgram();
    return false;
}

bool Equation::load(std::string_view prepared)
{
    m_isLoaded = false;
    const std::size_t nul = prepared.find('\0');
    if (nul != std::string_view::npos)
        prepared = prepared.substr(0, nul);
    if (engine::Validate(prepared).code != engine::ErrorCode::None)
        return false;
    // The token form is built in the engine's own buffers, once per equation.
    struct Scratch {
        engine::PieceString pieces;
        engine::LevelString levels;
        engine::ConstantPool pool;
    };
    const auto scratch = std::make_unique<Scratch>();
    engine::writePresets(scratch->pool);
    if (!scratch->pieces.assign(prepared) ||
        engine::Tokenise(scratch->pieces, scratch->pool) != engine::StoreResult::Stored ||
        !engine::ComputeLevels(scratch->pieces, scratch->levels))
        return false;
    const engine::PieceString& pieces = scratch->pieces;
    const int equals = engine::FindPiece(pieces, '=');
    if (equals < 0)
        return false;
    m_isLoaded = m_left.compile(pieces.data(), equals, scratch->pool) &&
                 m_right.compile(pieces.data() + equals + 1, pieces.length() - equals - 1, scratch->pool);
    return m_isLoaded;
}

std::uint32_t Equation::otherLetters() const
{
    return (m_left.letterMask() | m_right.letterMask()) & ~kXBit;
}

bool Equation::readsX() const
{
    return ((m_left.letterMask() | m_right.letterMask()) & kXBit) != 0;
}

} // namespace analysis
