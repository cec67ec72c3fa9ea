// SPDX-License-Identifier: MIT
// Renders a PieceString as a solution line, constants with their brackets.
#include "engine/formatting.h"

#include "engine/token_table.h"

#include <algorithm>
#include <array>

namespace engine {
namespace {

constexpr std::string_view kImaginaryUnit = "*sqr(-1)";

/// Where each function token stands in kFunctionTokenTable; its name follows it there. Every other
/// byte found there is a letter of a name.
constexpr std::array<std::size_t, 256> kFunctionNameAt = [] {
    std::array<std::size_t, 256> at{};
    for (std::size_t i = 0; i < kFunctionTokenTable.size(); i += 4)
        at[static_cast<unsigned char>(kFunctionTokenTable[i])] = i;
    return at;
}();

/// Gathers the text of a line in a small buffer and hands it to the output in a few appends.
class LineWriter {
public:
    explicit LineWriter(std::string& out) : m_out(out) {}
    ~LineWriter() { flush(); }
    LineWriter(const LineWriter&) = delete;
    LineWriter& operator=(const LineWriter&) = delete;

    /// Room for one item of the line (at most kItem characters), written there and then counted
    /// with advance.
    char* room()
    {
        if (m_used > kSize - kItem)
            flush();
        return m_buffer.data() + m_used;
    }
    void advance(int count) { m_used += count; }
    void put(char c)
    {
        *room() = c;
        ++m_used;
    }
    void put(std::string_view text)
    {
        for (const char c : text)
            put(c);
    }

private:
    void flush()
    {
        m_out.append(m_buffer.data(), static_cast<std::size_t>(m_used));
        m_used = 0;
    }

    static constexpr int kSize = 512;
    static constexpr int kItem = 2 * kMaxDecimalLength + 16; // the longest constant, bracketed
    std::array<char, kSize> m_buffer;
    int m_used = 0;
    std::string& m_out;
};

/// A constant's text in the order the cases are told apart: complex (re and im not 0), real,
/// zero, imaginary; bracketed where its neighbours would otherwise bind into it.
void putConstant(LineWriter& line, Complex value, int previousClass, int nextClass)
{
    const double re = value.re;
    const double im = value.im;
    const bool real = re != 0.0 && im == 0.0;
    const bool complex = re != 0.0 && !real;
    bool bracket = false;
    if (complex)
        bracket = previousClass >= 1 || nextClass >= 2;
    else if (real)
        bracket = re < 0.0 && previousClass <= 3 && nextClass == 4; // only a negative base of a power
    else if (im != 0.0)
        bracket = previousClass >= 2 || nextClass == 4;

    char* const start = line.room();
    char* text = start;
    if (bracket)
        *text++ = '(';
    if (re == 0.0 && im == 0.0) {
        *text++ = '0';
    } else {
        if (re != 0.0)
            text += writeDecimal(re, text);
        if (complex && !(im < 0.0))
            *text++ = '+'; // a negative imaginary part brings its own sign
        if (!real) {
            text += writeDecimal(im, text);
            text = std::copy(kImaginaryUnit.begin(), kImaginaryUnit.end(), text);
        }
    }
    if (bracket)
        *text++ = ')';
    line.advance(static_cast<int>(text - start));
}

} // namespace

void appendPieces(std::string& out, const PieceString& pieces, const LevelString& levels,
                  const ConstantPool& pool, std::string_view tokenTable)
{
    LineWriter line(out);
    // The solver's own table is looked up by index; any other is searched.
    const bool ownTable = tokenTable == kFunctionTokenTable;
    const unsigned char* bytes = pieces.data();
    const int count = pieces.length();
    for (int i = 0; i < count; ++i) {
        const unsigned char piece = bytes[i];
        if (isConstantToken(piece)) {
            putConstant(line, pool.value(piece), levelClass(levels[i - 1]), levelClass(levels[i + 1]));
            continue;
        }
        std::size_t at = std::string_view::npos;
        if (ownTable && isFunctionToken(piece))
            at = kFunctionNameAt[piece];
        else if (!ownTable && !isLetter(piece))
            at = tokenTable.find(static_cast<char>(piece));
        if (at != std::string_view::npos)
            line.put(tokenTable.substr(at + 1, 3));
        else
            line.put(static_cast<char>(piece));
    }
}

std::string formatValue(Complex value)
{
    std::string text;
    {
        LineWriter line(text); // hands its text over when it ends
        putConstant(line, value, 0, 0);
    }
    return text;
}

std::string renderPieces(const PieceString& pieces, const LevelString& levels, const ConstantPool& pool,
                         std::string_view tokenTable)
{
    std::string line;
    appendPieces(line, pieces, levels, pool, tokenTable);
    return line;
}

bool appendLine(std::string& output, const PieceString& pieces, const LevelString& levels,
                std::string_view tokenTable, const ConstantPool& pool, int& outputLineCounter)
{
    // The line is rendered in either case, as the counter demands; past the limit it is dropped.
    const std::size_t start = output.size();
    appendPieces(output, pieces, levels, pool, tokenTable);
    output += "\r\n";
    ++outputLineCounter;
    if (outputLineCounter >= kLineLimit) {
        output.resize(start);
        return false;
    }
    return true;
}

std::string FormatLine(const PieceString& pieces, const LevelString& levels, std::string_view tokenTable,
                       const ConstantPool& pool, int& outputLineCounter)
{
    std::string line;
    if (!appendLine(line, pieces, levels, tokenTable, pool, outputLineCounter))
        return {};
    return line;
}

} // namespace engine
