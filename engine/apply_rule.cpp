// SPDX-License-Identifier: MIT
// Matches one rewrite rule at one place of the equation and substitutes it; tries whole rule tables.
#include "engine/rules.h"

#include "engine/pieces.h"
#include "engine/token_table.h"

#include <algorithm>
#include <array>
#include <cstring>

namespace engine {

namespace {

/// Pattern wildcards are `a` to `x`; `y`, `z` and every other byte match only themselves.
constexpr bool isPatternLetter(unsigned char piece)
{
    return piece >= 'a' && piece <= 'x';
}

constexpr int kPatternLetterCount = 'x' - 'a' + 1;

/// Where a letter's first binding lies in the equation.
struct Binding {
    int start = -1;
    int length = 0;
};

int countLetterPieces(std::string_view text)
{
    return static_cast<int>(std::count_if(text.begin(), text.end(),
                                          [](char c) { return isLetter(static_cast<unsigned char>(c)); }));
}

/// One attempt to match a pattern with its anchor at one position of the equation. Reads of E and
/// M go through at(): their non-const operator[] is for writing only.
class RuleMatch {
public:
    RuleMatch(const PieceString& E, const LevelString& EL, int p, const PieceString& P, const LevelString& PL,
              unsigned char u, PieceString& M)
        : m_E(E), m_EL(EL), m_p(p), m_P(P), m_PL(PL), m_u(u), m_M(M)
    {
    }

    /// Steps 1 to 6: true when the pattern matches a whole sub-expression with consistent letters.
    bool match()
    {
        m_lengthE = m_E.length();
        m_n = m_P.length();
        if (m_p < 0 || m_p >= m_lengthE || m_n < 2)
            return false;

        // 1. One mark per piece of the equation. Only the pieces of the match get marks of their
        // own, and every one of them is written below, so the rest of M is never read: it counts as
        // unmarked without being filled, which keeps a failed attempt as cheap as the match itself.

        // 2. The anchor is the last pattern piece, or the one before a final letter. The offset d
        // carries the pattern's levels to the depth at which the anchor stands; it wraps as a byte,
        // while the sums of a pattern level and d below are plain integers.
        m_k0 = (m_P[m_n - 1] == m_E.at(m_p)) ? m_n - 1 : m_n - 2;
        m_d = static_cast<unsigned char>(m_EL[m_p] - m_PL[m_k0]);

        if (!markTrailingRun() || !matchBackwards())
            return false;
        // 5. The match must stand alone: the piece before it and the piece after it must bind less
        // strongly than its weakest literal, so that it is a whole sub-expression.
        if (m_EL[m_e] >= m_weakestLiteral || m_EL[m_matchEnd] > m_weakestLiteral)
            return false;
        return bindLetters();
    }

    /// Step 7: the pieces before the match, R in parentheses with every letter replaced by its
    /// binding in parentheses, then the pieces after the match, written to E through result. Its
    /// size is known beforehand, so an application that would not fit is refused with E unchanged.
    bool substitute(PieceString& E, std::string_view R, PieceString& result) const
    {
        long long size = matchStart() + 2 + (m_lengthE - m_matchEnd);
        for (const char c : R) {
            const auto piece = static_cast<unsigned char>(c);
            if (!isPatternLetter(piece)) {
                size += 1;
                continue;
            }
            const Binding& binding = bindingOf(piece);
            if (binding.start < 0)
                return false;
            size += binding.length + 2;
        }
        if (size > PieceString::kCapacity - 1)
            return false;

        result.truncate(0);
        int out = 0;
        const auto append = [&result, &out](const unsigned char* bytes, int count) {
            for (int i = 0; i < count; ++i)
                result[out++] = bytes[i];
        };
        const auto appendPiece = [&result, &out](unsigned char piece) { result[out++] = piece; };

        append(m_E.data(), matchStart());
        appendPiece('(');
        for (const char c : R) {
            const auto piece = static_cast<unsigned char>(c);
            if (!isPatternLetter(piece)) {
                appendPiece(piece);
                continue;
            }
            const Binding& binding = bindingOf(piece);
            appendPiece('(');
            append(m_E.data() + binding.start, binding.length);
            appendPiece(')');
        }
        appendPiece(')');
        append(m_E.data() + m_matchEnd, m_lengthE - m_matchEnd);

        E.assign(result.view());
        return true;
    }

private:
    [[nodiscard]] int matchStart() const { return m_e + 1; }
    [[nodiscard]] const Binding& bindingOf(unsigned char letter) const
    {
        return m_bindings[static_cast<std::size_t>(letter - 'a')];
    }

    /// 3. The trailing run: everything after the anchor that binds more strongly than the last
    /// pattern operator belongs to the final letter.
    bool markTrailingRun()
    {
        int j = m_p + 1;
        const int trailingLimit = m_PL[m_n - 2] + m_d;
        while (j < m_lengthE && m_EL[j] > trailingLimit) {
            m_M[j] = m_P[m_n - 1];
            ++j;
        }
        m_matchEnd = j;
        // A letter bound to nothing would leave an empty operand "()" or compare an empty run; no
        // well-formed match has one, so such a match is refused.
        return !(m_k0 == m_n - 2 && isPatternLetter(m_P[m_n - 1]) && j == m_p + 1);
    }

    /// 4. Walk the pattern backwards from the anchor. Literals must be equal; a letter takes the
    /// operand to its left, delimited by the weaker of its two neighbouring pattern operators (left
    /// association: in a+b+c the run a+b is one operand).
    bool matchBackwards()
    {
        int e = m_p;
        int m = m_EL[m_p];
        for (int k = m_k0; k >= 0; --k) {
            const unsigned char piece = m_P[k];
            if (!isPatternLetter(piece)) {
                if (m_E.at(e) != piece)
                    return false;
                m = std::min(m, static_cast<int>(m_EL[e]));
                m_M[e] = piece;
                --e;
                continue;
            }
            if (m_EL[e] < m_EL[e + 1])
                return false;
            const int before = m_PL[k - 1];
            const int after = m_PL[k + 1];
            const int bindingEnd = e;
            if (before < after) {
                while (e >= 0 && m_EL[e] >= after + m_d) {
                    m_M[e] = piece;
                    --e;
                }
            } else {
                while (e >= 0 && m_EL[e] > before + m_d) {
                    m_M[e] = piece;
                    --e;
                }
            }
            if (e == bindingEnd)
                return false;
        }
        m_e = e;
        m_weakestLiteral = m;
        return true;
    }

    /// 6. Letters must agree: an `x` binding holds the unknown, and a letter named twice binds the
    /// same pieces at both places.
    bool bindLetters()
    {
        for (int i = matchStart(); i < m_matchEnd;) {
            const unsigned char mark = m_M.at(i);
            if (!isPatternLetter(mark)) {
                ++i;
                continue;
            }
            int end = i;
            while (end < m_matchEnd && m_M.at(end) == mark)
                ++end;
            const int runLength = end - i;
            if (mark == 'x' &&
                std::memchr(m_E.data() + i, m_u, static_cast<std::size_t>(runLength)) == nullptr)
                return false;
            Binding& binding = m_bindings[static_cast<std::size_t>(mark - 'a')];
            if (binding.start < 0) {
                binding = {i, runLength};
            } else if (binding.length != runLength || std::memcmp(m_E.data() + binding.start, m_E.data() + i,
                                                                  static_cast<std::size_t>(runLength)) != 0) {
                return false;
            }
            i = end + 1;
        }
        return true;
    }

    const PieceString& m_E;
    const LevelString& m_EL;
    const int m_p;
    const PieceString& m_P;
    const LevelString& m_PL;
    const unsigned char m_u;
    PieceString& m_M;

    int m_lengthE = 0;
    int m_n = 0;
    int m_k0 = 0;
    int m_d = 0;
    int m_e = 0;              // the piece just before the match
    int m_matchEnd = 0;       // the first piece after the match
    int m_weakestLiteral = 0; // the lowest level among the matched literals
    std::array<Binding, kPatternLetterCount> m_bindings{};
};

} // namespace

bool ApplyRule(PieceString& E, const LevelString& EL, int p, const PieceString& P, const LevelString& PL,
               std::string_view R, unsigned char u, PieceString& M, PieceString& result)
{
    RuleMatch match(E, EL, p, P, PL, u, M);
    return match.match() && match.substitute(E, R, result);
}

bool tryRuleTable(PieceString& pieces, const LevelString& levels, RuleScratch& scratch,
                  std::span<const std::string_view> table, unsigned char letter, int n, RuleFilter filter,
                  int* appliedRule)
{
    n = std::min(n, pieces.length());
    for (std::size_t index = 0; index < table.size(); ++index) {
        const std::string_view rule = table[index];
        if (rule.empty())
            break;
        const std::size_t blank = rule.find(' ');
        if (blank == std::string_view::npos || blank < 2)
            continue;
        const std::string_view lhs = rule.substr(0, blank);
        const std::string_view rhs = rule.substr(blank + 1);
        // The letter pass must not let a rule multiply the occurrences of its letter.
        if (filter == RuleFilter::NoRuleAddingLetters && countLetterPieces(rhs) > countLetterPieces(lhs))
            continue;

        const auto last = static_cast<unsigned char>(lhs.back());
        const auto anchor = isLetter(last) ? static_cast<unsigned char>(lhs[lhs.size() - 2]) : last;

        // The pattern and its levels are prepared only once its anchor has been found.
        bool prepared = false;
        for (int position = n - 1; position >= 0; --position) {
            if (pieces.at(position) != anchor)
                continue;
            if (!prepared) {
                scratch.pattern.clear();
                if (!scratch.pattern.insert(0, lhs) || !ComputeLevels(scratch.pattern, scratch.patternLevels))
                    break;
                prepared = true;
            }
            if (ApplyRule(pieces, levels, position, scratch.pattern, scratch.patternLevels, rhs, letter,
                          scratch.marks, scratch.result)) {
                if (appliedRule != nullptr)
                    *appliedRule = static_cast<int>(index);
                return true;
            }
        }
    }
    return false;
}

} // namespace engine
