// SPDX-License-Identifier: MIT
// Renders a PieceString as a solution line, constants with their brackets.
#include "engine/formatting.h"

#include "engine/token_table.h"

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

/// A constant's text in the order the cases are told apart: complex (re and im not 0), real,
/// zero, imaginary; bracketed where its neighbours would otherwise bind into it.
void appendConstant(std::string& line, Complex value, int previousClass, int nextClass)
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

    if (bracket)
        line += '(';
    if (re == 0.0 && im == 0.0) {
        line += '0';
    } else {
        if (re != 0.0)
            appendDecimal(line, re);
        if (complex && !(im < 0.0))
            line += '+'; // a negative imaginary part brings its own sign
        if (!real) {
            appendDecimal(line, im);
            line += kImaginaryUnit;
        }
    }
    if (bracket)
        line += ')';
}

} // namespace

void appendPieces(std::string& out, const PieceString& pieces, const LevelString& levels,
                  const ConstantPool& pool, std::string_view tokenTable)
{
    // The solver's own table is looked up by index; any other is searched.
    const bool ownTable = tokenTable == kFunctionTokenTable;
    for (int i = 0; pieces[i] != 0; ++i) {
        const unsigned char piece = pieces[i];
        if (isConstantToken(piece)) {
            appendConstant(out, pool.value(piece), levelClass(levels[i - 1]), levelClass(levels[i + 1]));
            continue;
        }
        std::size_t at = std::string_view::npos;
        if (ownTable && isFunctionToken(piece))
            at = kFunctionNameAt[piece];
        else if (!ownTable && !isLetter(piece))
            at = tokenTable.find(static_cast<char>(piece));
        if (at != std::string_view::npos)
            out += tokenTable.substr(at + 1, 3);
        else
            out += static_cast<char>(piece);
    }
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
