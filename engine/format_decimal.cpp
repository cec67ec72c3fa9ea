// SPDX-License-Identifier: MIT
// The engine's one number-to-text conversion: six significant digits, as "%.5e" gives them in the
// C locale, shaped into fixed or exponent notation without superfluous zeros.
#include "engine/formatting.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <limits>

namespace engine {
namespace {

/// A finite value rounded to six significant digits: d.ddddd times 10 to the exponent.
struct Scientific {
    bool negative = false;
    std::array<char, 6> digits{};
    int exponent = 0;
};

/// The mantissa digits and the exponent of what to_chars printed in scientific notation; false
/// when it printed no exponent (inf or nan).
bool readScientific(const char* text, const char* end, bool& negative, std::array<char, 20>& digits,
                    int& count, int& exponent)
{
    negative = *text == '-';
    const char* c = negative ? text + 1 : text;
    count = 0;
    for (; c != end && *c != 'e'; ++c) {
        if (*c != '.' && count < static_cast<int>(digits.size()))
            digits[static_cast<std::size_t>(count++)] = *c;
    }
    if (c == end)
        return false;
    const bool negativeExponent = c[1] == '-';
    exponent = 0;
    for (c += 2; c != end; ++c)
        exponent = exponent * 10 + (*c - '0');
    if (negativeExponent)
        exponent = -exponent;
    return true;
}

/// Rounds value to six significant digits exactly as "%.5e" does; false for inf and nan, whose
/// text is then in text. The shortest text that reads back as value decides cheaply. With eight
/// or more digits, no seven-digit decimal (and so no halfway point between six-digit ones) reads
/// back as value, so none lies between value and that text: rounding the text gives the digits of
/// rounding value. With at most six digits, the text lies within half a unit of the last binary
/// place of value, far closer than any halfway point, and is the rounded value itself; that
/// needs the full precision of a normal double. Seven digits and subnormal values take the exact
/// conversion.
bool roundToSixDigits(double value, Scientific& number, std::array<char, 32>& text, int& textLength)
{
    std::array<char, 20> digits; // written up to count
    int count = 0;
    auto printed =
        std::to_chars(text.data(), text.data() + text.size(), value, std::chars_format::scientific);
    textLength = static_cast<int>(printed.ptr - text.data());
    if (!readScientific(text.data(), printed.ptr, number.negative, digits, count, number.exponent))
        return false;
    if (count == 7 || (value != 0.0 && std::fabs(value) < std::numeric_limits<double>::min())) {
        printed =
            std::to_chars(text.data(), text.data() + text.size(), value, std::chars_format::scientific, 5);
        static_cast<void>(
            readScientific(text.data(), printed.ptr, number.negative, digits, count, number.exponent));
    }
    for (std::size_t i = 0; i < number.digits.size(); ++i)
        number.digits[i] = static_cast<int>(i) < count ? digits[i] : '0';
    if (count <= 6 || digits[6] < '5')
        return true;
    // Round up; the seventh digit is 5 or more and, in a text of eight or more digits, not a tie.
    std::size_t i = number.digits.size();
    while (i > 0 && number.digits[i - 1] == '9')
        number.digits[--i] = '0';
    if (i > 0) {
        ++number.digits[i - 1];
    } else {
        number.digits[0] = '1';
        ++number.exponent;
    }
    return true;
}

/// Fixed notation: the six digits padded with six zeros on each side and the point moved by the
/// exponent (it stood after the seventh padded digit); leading zeros go, keeping one before the
/// point, and so do trailing zeros with a point left last.
int writeFixed(const Scientific& number, char* out)
{
    std::array<char, 18> padded;
    padded.fill('0');
    for (std::size_t i = 0; i < number.digits.size(); ++i)
        padded[6 + i] = number.digits[i];
    // The value lies strictly between 10^-6 and 10^6, so the exponent lies between -6 and 6.
    const int point = std::clamp(7 + number.exponent, 1, 13);
    int first = 0;
    while (first + 1 < point && padded[static_cast<std::size_t>(first)] == '0')
        ++first;
    int last = static_cast<int>(padded.size());
    while (last > point && padded[static_cast<std::size_t>(last - 1)] == '0')
        --last;
    int length = 0;
    if (number.negative)
        out[length++] = '-';
    for (int i = first; i < point; ++i)
        out[length++] = padded[static_cast<std::size_t>(i)];
    if (last > point) {
        out[length++] = '.';
        for (int i = point; i < last; ++i)
            out[length++] = padded[static_cast<std::size_t>(i)];
    }
    return length;
}

/// Exponent notation: d.ddddd without trailing zeros (and without a point left last), `e`, the
/// exponent without a plus sign or leading zeros.
int writeExponent(const Scientific& number, char* out)
{
    int length = 0;
    if (number.negative)
        out[length++] = '-';
    out[length++] = number.digits[0];
    std::size_t last = number.digits.size();
    while (last > 1 && number.digits[last - 1] == '0')
        --last;
    if (last > 1) {
        out[length++] = '.';
        for (std::size_t i = 1; i < last; ++i)
            out[length++] = number.digits[i];
    }
    out[length++] = 'e';
    const auto printed = std::to_chars(out + length, out + length + 8, number.exponent);
    return static_cast<int>(printed.ptr - out);
}

/// A whole number from 1 to 999999 (negated when negative): at most six digits, printed as they are.
int writeWhole(bool negative, int whole, char* out)
{
    std::array<char, 8> digits;
    int count = 0;
    do {
        digits[static_cast<std::size_t>(count++)] = static_cast<char>('0' + whole % 10);
        whole /= 10;
    } while (whole > 0);
    int length = 0;
    if (negative)
        out[length++] = '-';
    while (count > 0)
        out[length++] = digits[static_cast<std::size_t>(--count)];
    return length;
}

/// Any other value: rounded to six digits, then in fixed or exponent notation.
int writeRounded(double value, char* out)
{
    Scientific number;
    std::array<char, 32> text; // written by the conversions
    int length = 0;
    if (!roundToSixDigits(value, number, text, length)) {
        std::copy_n(text.data(), length, out); // inf or nan: nothing to shape
        return length;
    }
    // Fixed notation strictly between 10^-6 and 10^6; the test is on the value, before rounding.
    if ((value > -1000000.0 && value < -0.000001) || (value > 0.000001 && value < 1000000.0))
        return writeFixed(number, out);
    return writeExponent(number, out);
}

} // namespace

int writeDecimal(double value, char* out)
{
    const double magnitude = std::fabs(value);
    if (magnitude >= 1.0 && magnitude < 1000000.0) {
        const int whole = static_cast<int>(magnitude);
        if (static_cast<double>(whole) == magnitude)
            return writeWhole(value < 0.0, whole, out);
    }
    return writeRounded(value, out);
}

void appendDecimal(std::string& out, double value)
{
    std::array<char, kMaxDecimalLength> text;
    out.append(text.data(), static_cast<std::size_t>(writeDecimal(value, text.data())));
}

std::string FormatDecimal(double value)
{
    std::string text;
    appendDecimal(text, value);
    return text;
}

} // namespace engine
