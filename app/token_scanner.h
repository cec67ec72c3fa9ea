// SPDX-License-Identifier: MIT
// The solution view's token scanner: numbers and keywords of a UTF-16 text as spans, without Qt.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace app {

/// The classes a span can have; characters outside every span are plain text.
enum class TokenClass {
    Number,
    Keyword,
    Reason, ///< a solution line's reason: from its "←" to the end of the line
};

struct TokenSpan {
    std::size_t offset = 0;
    std::size_t length = 0;
    TokenClass tokenClass = TokenClass::Number;

    bool operator==(const TokenSpan&) const = default;
};

/// A keyword written otherwise than in the keyword list: the characters at offset are to be
/// replaced by text, which has the same length.
struct Respelling {
    std::size_t offset = 0;
    std::u16string text;

    bool operator==(const Respelling&) const = default;
};

struct ScanResult {
    std::vector<TokenSpan> spans; ///< in text order, never overlapping
    std::vector<Respelling> respellings;
};

/// Finds the numbers and the keywords of a text, the same way for the view, its exports and the
/// tests. Numbers are ASCII digits with an optional "." and digits and an optional exponent ("e"
/// or "E", a sign, digits), read by hand so that no locale can change them; a sign or a point in
/// front of the first digit is not part of a number. Words run over letters, digits and "_" from a
/// letter or "_"; a word is a keyword when it is a whole word of the keyword list (without case
/// unless case-sensitive). Letters are the ASCII letters and every character from U+0080 on except
/// the punctuation, symbol and space ranges, so words of every script stay whole. A reason shown
/// beside a solution line starts with "←" and a blank after two blanks at least, and runs to the
/// end of its line (a line feed or U+2029); it is one Reason span, with nothing scanned inside.
class TokenScanner {
public:
    /// Appends blank-separated words to the keyword list.
    void SetKeywords(std::u16string_view words);
    /// Compare keywords with case (off by default).
    void setCaseSensitive(bool isCaseSensitive) { m_isCaseSensitive = isCaseSensitive; }
    /// Respell a keyword found without case as the list writes it (on by default).
    void setFixCase(bool isFixCase) { m_isFixCase = isFixCase; }

    /// The spans of text and, with fix-case on and case-sensitivity off, the keywords to respell.
    [[nodiscard]] ScanResult scan(std::u16string_view text) const;

private:
    /// The written form of word in the keyword list, or an empty view when it is none of them.
    [[nodiscard]] std::u16string_view findKeyword(std::u16string_view word) const;

    std::u16string m_keywords; ///< " word word ... ", a blank before and after every word
    std::u16string m_lowered;  ///< m_keywords with ASCII letters in lower case
    bool m_isCaseSensitive = false;
    bool m_isFixCase = true;
};

} // namespace app
