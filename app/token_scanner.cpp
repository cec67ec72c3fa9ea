// SPDX-License-Identifier: MIT
// The solution view's token scanner: numbers and keywords of a UTF-16 text as spans, without Qt.
#include "app/token_scanner.h"

namespace app {

namespace {

bool isDigit(char16_t c)
{
    return c >= u'0' && c <= u'9';
}

char16_t lowerAscii(char16_t c)
{
    return c >= u'A' && c <= u'Z' ? static_cast<char16_t>(c - u'A' + u'a') : c;
}

/// Letters beyond ASCII: everything except controls, punctuation, symbols and spaces, so that a
/// keyword inside a word of another script (Turkish "sinüs") is never taken for one.
bool isOtherLetter(char16_t c)
{
    if (c < 0x80)
        return false;
    if (c < 0xC0) // C1 controls, Latin-1 punctuation and symbols; but ª, µ and º are letters
        return c == 0xAA || c == 0xB5 || c == 0xBA;
    if (c == 0xD7 || c == 0xF7) // × ÷
        return false;
    if (c >= 0x2000 && c <= 0x2BFF) // spaces, punctuation, line and paragraph separators, symbols
        return false;
    if (c >= 0x3000 && c <= 0x303F) // CJK spaces and punctuation
        return false;
    if (c == 0x060C || c == 0x061B || c == 0x061F || (c >= 0x066A && c <= 0x066D)) // Arabic punctuation
        return false;
    return c != 0xFEFF;
}

bool isWordStart(char16_t c)
{
    return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z') || c == u'_' || isOtherLetter(c);
}

bool isWordCharacter(char16_t c)
{
    return isWordStart(c) || isDigit(c);
}

/// The longest prefix from start that a decimal floating-point parse accepts: digits, an optional
/// point with digits, an optional exponent. text[start] is a digit.
std::size_t numberLength(std::u16string_view text, std::size_t start)
{
    const std::size_t n = text.size();
    std::size_t i = start;
    while (i < n && isDigit(text[i]))
        ++i;
    if (i < n && text[i] == u'.') {
        ++i;
        while (i < n && isDigit(text[i]))
            ++i;
    }
    if (i < n && (text[i] == u'e' || text[i] == u'E')) {
        std::size_t j = i + 1;
        if (j < n && (text[j] == u'+' || text[j] == u'-'))
            ++j;
        if (j < n && isDigit(text[j])) {
            while (j < n && isDigit(text[j]))
                ++j;
            i = j;
        }
    }
    return i - start;
}

/// True when a reason starts at text[i]: "← " after two blanks.
bool isReasonStart(std::u16string_view text, std::size_t i)
{
    return text[i] == u'\u2190' && i >= 2 && text[i - 1] == u' ' && text[i - 2] == u' ' &&
           i + 1 < text.size() && text[i + 1] == u' ';
}

std::size_t lineEnd(std::u16string_view text, std::size_t i)
{
    while (i < text.size() && text[i] != u'\n' && text[i] != u'\u2029')
        ++i;
    return i;
}

} // namespace

void TokenScanner::SetKeywords(std::u16string_view words)
{
    if (m_keywords.empty() || m_keywords.back() != u' ')
        m_keywords += u' ';
    m_keywords += words;
    if (m_keywords.back() != u' ')
        m_keywords += u' ';
    m_lowered = m_keywords;
    for (char16_t& c : m_lowered)
        c = lowerAscii(c);
}

std::u16string_view TokenScanner::findKeyword(std::u16string_view word) const
{
    // The list holds " word " for every word: a match needs a blank on both sides.
    const std::u16string_view list = m_isCaseSensitive ? m_keywords : m_lowered;
    const std::size_t n = word.size();
    for (std::size_t p = 0; p + n + 2 <= list.size(); ++p) {
        if (list[p] != u' ' || list[p + n + 1] != u' ')
            continue;
        std::size_t i = 0;
        while (i < n && (m_isCaseSensitive ? word[i] : lowerAscii(word[i])) == list[p + 1 + i])
            ++i;
        if (i == n)
            return std::u16string_view(m_keywords).substr(p + 1, n);
    }
    return {};
}

ScanResult TokenScanner::scan(std::u16string_view text) const
{
    ScanResult result;
    const std::size_t n = text.size();
    std::size_t i = 0;
    while (i < n) {
        const char16_t c = text[i];
        if (isReasonStart(text, i)) {
            const std::size_t end = lineEnd(text, i);
            result.spans.push_back({i, end - i, TokenClass::Reason});
            i = end;
        } else if (isDigit(c)) {
            const std::size_t length = numberLength(text, i);
            result.spans.push_back({i, length, TokenClass::Number});
            i += length;
        } else if (isWordStart(c)) {
            std::size_t end = i + 1;
            while (end < n && isWordCharacter(text[end]))
                ++end;
            const std::u16string_view word = text.substr(i, end - i);
            const std::u16string_view written = findKeyword(word);
            if (!written.empty()) {
                result.spans.push_back({i, word.size(), TokenClass::Keyword});
                if (!m_isCaseSensitive && m_isFixCase && written != word)
                    result.respellings.push_back({i, std::u16string(written)});
            }
            i = end;
        } else {
            ++i;
        }
    }
    return result;
}

} // namespace app
