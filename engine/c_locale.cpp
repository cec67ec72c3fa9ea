// SPDX-License-Identifier: MIT
// Runs the C library's conversions under a private C locale, so a user's comma locale never leaks in.
#include "c_locale.h"

#include <charconv>
#include <cstdarg>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <locale.h>
#include <vector>

namespace engine {
namespace {

// Switches the calling thread to the C locale for one conversion and back afterwards.
class CLocaleScope {
public:
    CLocaleScope()
    {
        static const locale_t cLocale = newlocale(LC_ALL_MASK, "C", static_cast<locale_t>(nullptr));
        m_previous = uselocale(cLocale);
    }
    ~CLocaleScope() { uselocale(m_previous); }
    CLocaleScope(const CLocaleScope&) = delete;
    CLocaleScope& operator=(const CLocaleScope&) = delete;

private:
    locale_t m_previous;
};

/// An operator, a parenthesis or `=`: what may follow a number that nothing else could extend.
bool isNumberEnd(char c)
{
    switch (c) {
    case '+':
    case '-':
    case '*':
    case '/':
    case '^':
    case '(':
    case ')':
    case '=':
        return true;
    default:
        return false;
    }
}

} // namespace

bool readNumber(const char* text, double& value, int& consumed)
{
    // A plain decimal number (digits, point, exponent) followed by an operator, a parenthesis, `=`
    // or the end: from_chars reads the same value as the C library, correctly rounded and without
    // a locale, and stops where it would. Everything else (hexadecimal, a cut exponent, a
    // value out of range) is left to the C library itself.
    double parsed = 0.0;
    // Whole numbers of up to 15 digits are exact doubles: read them digit by digit.
    int digits = 0;
    std::int64_t whole = 0;
    while (digits < 16 && text[digits] >= '0' && text[digits] <= '9')
        whole = whole * 10 + (text[digits++] - '0');
    if (digits > 0 && digits <= 15 && (text[digits] == '\0' || isNumberEnd(text[digits]))) {
        value = static_cast<double>(whole);
        consumed = digits;
        return true;
    }
    const bool decimal = (*text >= '0' && *text <= '9') || *text == '.';
    const std::from_chars_result fast = decimal ? std::from_chars(text, text + std::strlen(text), parsed)
                                                : std::from_chars_result{text, std::errc::invalid_argument};
    if (fast.ec == std::errc{} && (*fast.ptr == '\0' || isNumberEnd(*fast.ptr))) {
        value = parsed;
        consumed = static_cast<int>(fast.ptr - text);
        return true;
    }

    const CLocaleScope scope;
    int read = 0;
    // %n reports where the number ended: the same place the rest read by "%lf%s" would start.
    if (std::sscanf(text, "%lf%n", &parsed, &read) < 1)
        return false;
    value = parsed;
    consumed = read;
    return true;
}

std::string formatCLocale(const char* format, ...)
{
    const CLocaleScope scope;
    va_list args;
    va_start(args, format);
    va_list copy;
    va_copy(copy, args);
    char small[128];
    const int size = std::vsnprintf(small, sizeof small, format, copy);
    va_end(copy);
    std::string result;
    if (size > 0 && static_cast<std::size_t>(size) < sizeof small) {
        result.assign(small, static_cast<std::size_t>(size));
    } else if (size > 0) {
        std::vector<char> buffer(static_cast<std::size_t>(size) + 1);
        std::vsnprintf(buffer.data(), buffer.size(), format, args);
        result.assign(buffer.data(), static_cast<std::size_t>(size));
    }
    va_end(args);
    return result;
}

} // namespace engine
