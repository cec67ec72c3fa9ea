// SPDX-License-Identifier: MIT
// Matches one rewrite rule at one place of the equation and substitutes it; tries whole rule tables.
#include "engine/rules.h"

#include "engine/pattern_letters.h"

#include <algorithm>
#include <array>
#include <cstring>

namespace engine {

namespace {

/// Where a letter's binding lies in the equation.
struct Binding {
    int start = -1;
    int length = 0;
};

/// A pattern as the matcher reads it: length pieces and their levels, each followed by a 0.
struct PatternView {
    const unsigned char* pieces = nullptr;
    const unsigned char* levels = nullptr;
    int length = 0;
    bool separatedLetters = false;

    [[nodiscard]] unsigned char piece(int k) const { return pieces[k]; }
    /// The level of piece k; 0 before the first piece and after the last.
    [[nodiscard]] int level(int k) const { return k < 0 ? 0 : levels[k]; }
};

/// One attempt to match a pattern with its anchor at one position of the equation. Reads of E and
/// M go through at(), which gives 0 outside the strings.
class RuleMatch {
public:
    RuleMatch(const PieceString& E, const LevelString& EL, int p, const PatternView& P, unsigned char u,
              PieceString& M)
        : m_E(E), m_EL(EL), m_p(p), m_P(P), m_u(u), m_M(M)
    {
    }

    /// Steps 1 to 6: true when the pattern matches a whole sub-expression with consistent letters.
    bool match()
    {
        m_lengthE = m_E.length();
        m_n = m_P.length;
        if (m_p < 0 || m_p >= m_lengthE || m_n < 2)
            return false;

        // 1. One mark per piece of the equation. Only the pieces of the match get marks of their
        // own, and every one of them is written below, so the rest of M is never read: it counts as
        // unmarked without being filled, which keeps a failed attempt as cheap as the match itself.

        // 2. The anchor is the last pattern piece, or the one before a final letter. The offset d
        // carries the pattern's levels to the depth at which the anchor stands; it wraps as a byte,
        // while the sums of a pattern level and d below are plain integers.
        m_k0 = (m_P.piece(m_n - 1) == m_E.at(m_p)) ? m_n - 1 : m_n - 2;
        m_d = static_cast<unsigned char>(m_EL[m_p] - m_P.level(m_k0));
        // When a literal anchors the pattern and literals separate its letters, every binding is a
        // run of marks of its own, so step 6 can judge each binding as soon as it is taken, and the
        // marks are not needed at all.
        m_checkEarly = m_P.separatedLetters && !isPatternLetter(m_P.piece(m_k0));

        // The literals up to the nearest letter sit at fixed places left of the anchor: comparing
        // them first rejects most trials before any letter is bound.
        if (!anchorLiteralsMatch() || !markTrailingRun() || !matchBackwards())
            return false;
        // 5. The match must stand alone: the piece before it and the piece after it must bind less
        // strongly than its weakest literal, so that it is a whole sub-expression.
        if (m_EL[m_e] >= m_weakestLiteral || m_EL[m_matchEnd] > m_weakestLiteral)
            return false;
        return m_checkEarly || bindLetters();
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
        const auto append = [&result](const unsigned char* bytes, int count) {
            if (count > 0)
                result.insert(result.length(), bytes, count);
        };
        const auto appendPiece = [&result](unsigned char piece) { result.insert(result.length(), piece); };

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

    /// The anchor and the literals left of it up to the first pattern letter, compared in place.
    [[nodiscard]] bool anchorLiteralsMatch() const
    {
        for (int k = m_k0, e = m_p; k >= 0 && !isPatternLetter(m_P.piece(k)); --k, --e) {
            if (m_E.at(e) != m_P.piece(k))
                return false;
        }
        return true;
    }

    /// 3. The trailing run: everything after the anchor that binds more strongly than the last
    /// pattern operator belongs to the final letter.
    bool markTrailingRun()
    {
        const unsigned char last = m_P.piece(m_n - 1);
        const int trailingLimit = m_P.level(m_n - 2) + m_d;
        int j = m_p + 1;
        while (j < m_lengthE && m_EL[j] > trailingLimit) {
            if (!m_checkEarly)
                m_M.set(j, last);
            ++j;
        }
        m_matchEnd = j;
        if (m_k0 != m_n - 2 || !isPatternLetter(last))
            return true;
        // A letter bound to nothing would leave an empty operand "()" or compare an empty run; no
        // well-formed match has one, so such a match is refused.
        return j != m_p + 1 && takeBinding(last, m_p + 1, j - m_p - 1);
    }

    /// 4. Walk the pattern backwards from the anchor. Literals must be equal; a letter takes the
    /// operand to its left, delimited by the weaker of its two neighbouring pattern operators (left
    /// association: in a+b+c the run a+b is one operand).
    bool matchBackwards()
    {
        const unsigned char* levels = m_EL.data();
        int e = m_p;
        int m = m_EL[m_p];
        for (int k = m_k0; k >= 0; --k) {
            const unsigned char piece = m_P.piece(k);
            if (!isPatternLetter(piece)) {
                if (m_E.at(e) != piece)
                    return false;
                m = std::min(m, static_cast<int>(m_EL[e]));
                if (!m_checkEarly)
                    m_M.set(e, piece);
                --e;
                continue;
            }
            if (m_EL[e] < m_EL[e + 1])
                return false;
            const int before = m_P.level(k - 1);
            const int after = m_P.level(k + 1);
            // The binding takes every piece at or above this level.
            const int lowest = before < after ? after + m_d : before + m_d + 1;
            const int bindingEnd = e;
            while (e >= 0 && levels[e] >= lowest)
                --e;
            if (e == bindingEnd || !takeBinding(piece, e + 1, bindingEnd - e))
                return false;
        }
        m_e = e;
        m_weakestLiteral = m;
        return true;
    }

    /// Records the binding of letter to the pieces [start, start + length). Checked at once (step 6
    /// for this binding) when every binding has marks of its own; otherwise only marked.
    bool takeBinding(unsigned char letter, int start, int length)
    {
        if (!m_checkEarly) {
            for (int i = start; i < start + length; ++i)
                m_M.set(i, letter);
            return true;
        }
        const unsigned char* bytes = m_E.data();
        if (letter == 'x' && std::memchr(bytes + start, m_u, static_cast<std::size_t>(length)) == nullptr)
            return false;
        // The walk goes leftwards, so the binding kept last is the first one, as step 7 takes it.
        Binding& binding = m_bindings[static_cast<std::size_t>(letter - 'a')];
        if (binding.start >= 0 &&
            (binding.length != length ||
             std::memcmp(bytes + binding.start, bytes + start, static_cast<std::size_t>(length)) != 0))
            return false;
        binding = {start, length};
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
    const PatternView& m_P;
    const unsigned char m_u;
    PieceString& m_M;

    int m_lengthE = 0;
    int m_n = 0;
    int m_k0 = 0;
    int m_d = 0;
    bool m_checkEarly = false;
    int m_e = 0;              // the piece just before the match
    int m_matchEnd = 0;       // the first piece after the match
    int m_weakestLiteral = 0; // the lowest level among the matched literals
    std::array<Binding, kPatternLetterCount> m_bindings{};
};

bool matchAndSubstitute(PieceString& E, const LevelString& EL, int p, const PatternView& P,
                        std::string_view R, unsigned char u, PieceString& M, PieceString& result)
{
    RuleMatch match(E, EL, p, P, u, M);
    return match.match() && match.substitute(E, R, result);
}

} // namespace

bool ApplyRule(PieceString& E, const LevelString& EL, int p, const PieceString& P, const LevelString& PL,
               std::string_view R, unsigned char u, PieceString& M, PieceString& result)
{
    const PatternView pattern{P.data(), PL.data(), P.length(), hasSeparatedLetters(P.view())};
    return matchAndSubstitute(E, EL, p, pattern, R, u, M, result);
}

void PiecePositions::index(const PieceString& pieces, int n)
{
    present.clear();
    last.fill(-1);
    const unsigned char* bytes = pieces.data();
    for (int i = 0; i < n; ++i) {
        const unsigned char piece = bytes[i];
        previous[static_cast<std::size_t>(i)] = last[piece];
        last[piece] = static_cast<std::int16_t>(i);
        present.add(piece);
    }
}

bool tryRuleTable(PieceString& pieces, const LevelString& levels, RuleScratch& scratch,
                  const PreparedRuleTable& table, unsigned char letter, int n, RuleFilter filter,
                  int* appliedRule)
{
    PiecePositions& positions = scratch.positions;
    positions.index(pieces, std::min(n, pieces.length()));
    const std::span<const PreparedRule> rules = table.rules();
    for (std::size_t index = 0; index < rules.size(); ++index) {
        const PreparedRule& rule = rules[index];
        // The letter pass must not let a rule multiply the occurrences of its letter.
        if (!rule.usable || (filter == RuleFilter::NoRuleAddingLetters && rule.addsLetters))
            continue;
        // A rule with a literal the equation lacks has nowhere to match.
        if (!positions.present.includes(rule.required))
            continue;
        const PatternView pattern{rule.pattern, rule.levels, rule.length, rule.separatedLetters};
        for (int position = positions.last[rule.anchor]; position >= 0;
             position = positions.previous[static_cast<std::size_t>(position)]) {
            if (matchAndSubstitute(pieces, levels, position, pattern, rule.replacement, letter, scratch.marks,
                                   scratch.result)) {
                if (appliedRule != nullptr)
                    *appliedRule = static_cast<int>(index);
                return true;
            }
        }
    }
    return false;
}

} // namespace engine
