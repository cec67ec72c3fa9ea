// SPDX-License-Identifier: MIT
// Prints numbers with six significant digits and renders a PieceString as a solution line.
#include "engine/formatting.h"

#include "engine/c_locale.h"
#include "engine/token_table.h"

#include <cstdlib>

namespace engine {
namespace {

constexpr std::string_view kImaginaryUnit = "*sqr(-1)";

std::string constantText(Complex value, int previousClass, int nextClass)
{
    const double re = value.re;
    const double im = value.im;
    std::string text;
    bool bracket = false;
    if (re != 0.0 && im < 0.0) {
        text = FormatDecimal(re) + FormatDecimal(im) + std::string(kImaginaryUnit);
        bracket = previousClass >= 1 || nextClass >= 2;
    } else if (re != 0.0 && im == 0.0) {
        text = FormatDecimal(re);
        // Only a negative base of a power needs its own brackets.
        bracket = re < 0.0 && previousClass <= 3 && nextClass == 4;
    } else if (re != 0.0) {
        text = FormatDecimal(re) + "+" + FormatDecimal(im) + std::string(kImaginaryUnit);
        bracket = previousClass >= 1 || nextClass >= 2;
    } else if (im == 0.0) {
        text = "0";
    } else {
        text = FormatDecimal(im) + std::string(kImaginaryUnit);
        bracket = previousClass >= 2 || nextClass == 4;
    }
    return bracket ? "(" + text + ")" : text;
}

} // namespace

std::string FormatDecimal(double value)
{
    std::string text = formatCLocale("%.5e", value);
    for (char& c : text) {
        if (c == 'E')
            c = 'e';
    }

    // Exponent: keep a minus, drop a plus and leading zeros, keep at least one digit.
    std::size_t e = text.find('e');
    if (e == std::string::npos)
        return text; // inf or nan: nothing to shape
    std::size_t digits = e + 1;
    if (digits < text.size() && text[digits] == '+')
        text.erase(digits, 1);
    else if (digits < text.size() && text[digits] == '-')
        ++digits;
    while (digits + 1 < text.size() && text[digits] == '0')
        text.erase(digits, 1);

    // Fixed notation between 10^-6 and 10^6: pad six zeros on both sides and move the point.
    if ((value > -1000000.0 && value < -0.000001) || (value > 0.000001 && value < 1000000.0)) {
        const std::size_t first = text[0] == '-' ? 1 : 0;
        text.insert(first, "000000");
        e = text.find('e');
        text.insert(e, "000000");
        e = text.find('e');
        const int exponent = std::atoi(text.c_str() + e + 1);
        text.erase(e);
        const std::size_t point = text.find('.');
        text.erase(point, 1);
        text.insert(static_cast<std::size_t>(static_cast<int>(point) + exponent), 1, '.');
    }

    // Leading zeros, except the one in front of the point or a lone 0.
    const std::size_t start = (!text.empty() && text[0] == '-') ? 1 : 0;
    while (start + 1 < text.size() && text[start] == '0' && text[start + 1] != '.')
        text.erase(start, 1);

    // Trailing zeros of the mantissa, and a point left last.
    e = text.find('e');
    std::size_t end = e == std::string::npos ? text.size() : e;
    if (text.find('.') < end) {
        while (end > 0 && text[end - 1] == '0') {
            text.erase(end - 1, 1);
            --end;
        }
        if (end > 0 && text[end - 1] == '.')
            text.erase(end - 1, 1);
    }
    return text;
}

std::string renderPieces(const PieceString& pieces, const LevelString& levels, const ConstantPool& pool,
                         std::string_view tokenTable)
{
    std::string line;
    for (int i = 0; pieces[i] != 0; ++i) {
        const unsigned char piece = pieces[i];
        if (isConstantToken(piece)) {
            line += constantText(pool.value(piece), levelClass(levels[i - 1]), levelClass(levels[i + 1]));
            continue;
        }
        const std::size_t at =
            isLetter(piece) ? std::string_view::npos : tokenTable.find(static_cast<char>(piece));
        if (at != std::string_view::npos)
            line += tokenTable.substr(at + 1, 3);
        else
            line += static_cast<char>(piece);
    }
    return line;
}

std::string FormatLine(const PieceString& pieces, const LevelString& levels, std::string_view tokenTable,
                       const ConstantPool& pool, int& outputLineCounter)
{
    std::string line = renderPieces(pieces, levels, pool, tokenTable) + "\r\n";
    ++outputLineCounter;
    if (outputLineCounter >= kLineLimit)
        return {};
    return line;
}

} // namespace engine
