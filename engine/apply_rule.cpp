// SPDX-License-Identifier: MIT
// Matches one rewrite rule at one place of the equation and substitutes it; tries whole rule tables.
#include "engine/rules.h"

#include "engine/pattern_letters.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstring>

namespace engine {

namespace {

/// Where a letter's binding lies in the equation.
struct Binding {
    int start = 0;
    int length = 0;
};

/// A pattern as the matcher reads it: length pieces and their levels, each followed by a 0, and how
/// it stands on the anchor.
struct PatternView {
    const unsigned char* pieces = nullptr;
    const unsigned char* levels = nullptr;
    int length = 0;
    Anchoring anchoring;

    /// The level of piece k; 0 before the first piece and after the last.
    [[nodiscard]] int level(int k) const { return k < 0 ? 0 : levels[k]; }
};

/// Where a match lies and what its letters bound.
struct Match {
    int start = 0;                                     // the first piece of the match
    int end = 0;                                       // the first piece after it
    std::uint32_t bound = 0;                           // one bit per letter with a binding
    bool checkEarly = false;                           // bindings are judged as they are taken, without marks
    int weakestLiteral = 0;                            // the lowest level among the matched literals
    std::array<Binding, kPatternLetterCount> bindings; // valid where bound has the letter's bit
};

std::uint32_t letterBit(unsigned char letter)
{
    return std::uint32_t{1} << (letter - 'a');
}

/// Matches patterns at places of one equation (steps 1 to 6) and substitutes a match (step 7).
/// With the index of a table attempt, operand ends are looked up instead of walked piece by piece.
class Matcher {
public:
    Matcher(const PieceString& E, const LevelString& EL, unsigned char u, PieceString& M,
            EquationIndex* index)
        : m_pieces(E.data()), m_levels(EL.data()), m_lengthE(E.length()), m_u(u), m_M(M), m_index(index)
    {
    }

    /// Steps 1 to 6 with the anchor at p (a piece that P's anchoring was worked out for): true
    /// when the pattern matches a whole sub-expression with consistent letters; match then tells
    /// where it lies and what its letters bound.
    bool match(int p, const PatternView& P, Match& match) const
    {
        // 1. One mark per piece of the equation. Only the pieces of the match get marks of their
        // own, and every one of them is written below, so the rest of M is never read: it counts as
        // unmarked without being filled, which keeps a failed attempt as cheap as the match itself.

        // 2. The anchor is the last pattern piece, or the one before a final letter. The offset d
        // carries the pattern's levels to the depth at which the anchor stands; it wraps as a byte,
        // while the sums of a pattern level and d below are plain integers.
        const int k0 = P.anchoring.index;
        const int d = static_cast<unsigned char>(m_levels[p] - P.level(k0));
        match.checkEarly = P.anchoring.bindingsBetweenLiterals;
        match.bound = 0;

        // The literals up to the nearest letter sit at fixed places left of the anchor: comparing
        // them first rejects most trials before any letter is bound.
        for (int i = 0; i < P.anchoring.literals; ++i) {
            if (p - i < 0 || m_pieces[p - i] != P.pieces[k0 - i])
                return false;
        }
        if (!matchTrailingRun(p, P, k0, d, match) || !matchBackwards(p, P, k0, d, match))
            return false;
        // 5. The match must stand alone: the piece before it and the piece after it must bind less
        // strongly than its weakest literal, so that it is a whole sub-expression.
        const int before = match.start > 0 ? m_levels[match.start - 1] : 0;
        if (before >= match.weakestLiteral || m_levels[match.end] > match.weakestLiteral)
            return false;
        return match.checkEarly || bindMarkedLetters(match);
    }

    /// Step 7: the pieces before the match, R in parentheses with every letter replaced by its
    /// binding in parentheses, then the pieces after the match, written to E through result. Its
    /// size is known beforehand, so an application that would not fit is refused with E unchanged.
    bool substitute(PieceString& E, const Match& match, std::string_view R, PieceString& result) const
    {
        long long size = match.start + 2 + (m_lengthE - match.end);
        for (const char c : R) {
            const auto piece = static_cast<unsigned char>(c);
            if (!isPatternLetter(piece)) {
                size += 1;
                continue;
            }
            if ((match.bound & letterBit(piece)) == 0)
                return false;
            size += match.bindings[static_cast<std::size_t>(piece - 'a')].length + 2;
        }
        if (size > PieceString::kCapacity - 1)
            return false;

        result.truncate(0);
        const auto append = [&result](const unsigned char* bytes, int count) {
            if (count > 0)
                result.insert(result.length(), bytes, count);
        };
        const auto appendPiece = [&result](unsigned char piece) { result.insert(result.length(), piece); };

        append(m_pieces, match.start);
        appendPiece('(');
        for (const char c : R) {
            const auto piece = static_cast<unsigned char>(c);
            if (!isPatternLetter(piece)) {
                appendPiece(piece);
                continue;
            }
            const Binding& binding = match.bindings[static_cast<std::size_t>(piece - 'a')];
            appendPiece('(');
            append(m_pieces + binding.start, binding.length);
            appendPiece(')');
        }
        appendPiece(')');
        append(m_pieces + match.end, m_lengthE - match.end);

        E.assign(result.view());
        return true;
    }

private:
    /// 3. The trailing run: everything after the anchor that binds more strongly than the last
    /// pattern operator belongs to the final letter.
    bool matchTrailingRun(int p, const PatternView& P, int k0, int d, Match& match) const
    {
        const unsigned char last = P.pieces[P.length - 1];
        const int trailingLimit = P.level(P.length - 2) + d;
        int j = p + 1;
        if (match.checkEarly && m_index != nullptr && trailingLimit == m_levels[p]) {
            j = m_index->operandEndAfter(p);
        } else {
            while (j < m_lengthE && m_levels[j] > trailingLimit) {
                if (!match.checkEarly)
                    m_M.set(j, last);
                ++j;
            }
        }
        match.end = j;
        if (k0 != P.length - 2 || !isPatternLetter(last))
            return true;
        // A letter bound to nothing would leave an empty operand "()" or compare an empty run; no
        // well-formed match has one, so such a match is refused.
        return j != p + 1 && bind(last, p + 1, j - p - 1, match);
    }

    /// 4. Walk the pattern backwards from the anchor. Literals must be equal; a letter takes the
    /// operand to its left, delimited by the weaker of its two neighbouring pattern operators (left
    /// association: in a+b+c the run a+b is one operand). Nothing matches before the first piece.
    bool matchBackwards(int p, const PatternView& P, int k0, int d, Match& match) const
    {
        int e = p;
        int m = m_levels[p];
        for (int k = k0; k >= 0; --k) {
            const unsigned char piece = P.pieces[k];
            if (e < 0)
                return false;
            if (!isPatternLetter(piece)) {
                if (m_pieces[e] != piece)
                    return false;
                m = std::min(m, static_cast<int>(m_levels[e]));
                if (!match.checkEarly)
                    m_M.set(e, piece);
                --e;
                continue;
            }
            if (m_levels[e] < m_levels[e + 1])
                return false;
            const int before = P.level(k - 1);
            const int after = P.level(k + 1);
            // The binding takes every piece at or above this level.
            const int lowest = before < after ? after + d : before + d + 1;
            const int bindingEnd = e;
            if (match.checkEarly && m_index != nullptr) {
                e = m_index->lastBelow(e, lowest);
            } else {
                while (e >= 0 && m_levels[e] >= lowest)
                    --e;
            }
            if (e == bindingEnd || !bind(piece, e + 1, bindingEnd - e, match))
                return false;
        }
        match.start = e + 1;
        match.weakestLiteral = m;
        return true;
    }

    /// Takes the binding of letter to the pieces [start, start + length). Judged at once (step 6
    /// for this binding) when every binding has marks of its own; otherwise only marked.
    bool bind(unsigned char letter, int start, int length, Match& match) const
    {
        if (!match.checkEarly) {
            for (int i = start; i < start + length; ++i)
                m_M.set(i, letter);
            return true;
        }
        if (letter == 'x' && !holdsUnknown(start, length))
            return false;
        Binding& binding = match.bindings[static_cast<std::size_t>(letter - 'a')];
        // The walk goes leftwards, so the binding kept last is the first one, as step 7 takes it.
        if ((match.bound & letterBit(letter)) != 0 &&
            (binding.length != length ||
             std::memcmp(m_pieces + binding.start, m_pieces + start, static_cast<std::size_t>(length)) != 0))
            return false;
        match.bound |= letterBit(letter);
        binding = {start, length};
        return true;
    }

    [[nodiscard]] bool holdsUnknown(int start, int length) const
    {
        const unsigned char* end = m_pieces + start + length;
        return std::find(m_pieces + start, end, m_u) != end;
    }

    /// 6. Letters must agree: an `x` binding holds the unknown, and a letter named twice binds the
    /// same pieces at both places. Reads the marks, one run of them per binding.
    bool bindMarkedLetters(Match& match) const
    {
        for (int i = match.start; i < match.end;) {
            const unsigned char mark = m_M.at(i);
            if (!isPatternLetter(mark)) {
                ++i;
                continue;
            }
            int end = i;
            while (end < match.end && m_M.at(end) == mark)
                ++end;
            const int runLength = end - i;
            if (mark == 'x' && std::memchr(m_pieces + i, m_u, static_cast<std::size_t>(runLength)) == nullptr)
                return false;
            Binding& binding = match.bindings[static_cast<std::size_t>(mark - 'a')];
            if ((match.bound & letterBit(mark)) == 0) {
                match.bound |= letterBit(mark);
                binding = {i, runLength};
            } else if (binding.length != runLength || std::memcmp(m_pieces + binding.start, m_pieces + i,
                                                                  static_cast<std::size_t>(runLength)) != 0) {
                return false;
            }
            i = end + 1;
        }
        return true;
    }

    const unsigned char* m_pieces;
    const unsigned char* m_levels;
    const int m_lengthE;
    const unsigned char m_u;
    PieceString& m_M;
    EquationIndex* m_index; // its operand ends are filled in as they are asked for
};

} // namespace

bool ApplyRule(PieceString& E, const LevelString& EL, int p, const PieceString& P, const LevelString& PL,
               std::string_view R, unsigned char u, PieceString& M, PieceString& result)
{
    if (p < 0 || p >= E.length() || P.length() < 2)
        return false;
    const PatternView pattern{P.data(), PL.data(), P.length(), anchoringOf(P.view(), E[p])};
    const Matcher matcher(E, EL, u, M, nullptr);
    Match match;
    return matcher.match(p, pattern, match) && matcher.substitute(E, match, R, result);
}

void EquationIndex::index(const PieceString& pieces, const LevelString& levels, int n)
{
    const unsigned char* bytes = pieces.data();
    const int length = pieces.length();
    m_present.clear();
    m_last.fill(-1);
    for (int i = 0; i < n; ++i) {
        const unsigned char piece = bytes[i];
        m_previous[static_cast<std::size_t>(i)] = m_last[piece];
        m_last[piece] = static_cast<std::int16_t>(i);
        m_present.add(piece);
    }
    // Operand ends are found when first asked for: most sweeps ask for few of them.
    std::fill_n(m_operandEnd.begin(), length, std::int16_t{-1});
    m_hasLowerBefore = false;
    m_levels = levels.data();
    m_length = length;
}

int EquationIndex::lastBelow(int e, int lowest)
{
    if (!m_hasLowerBefore) {
        // Every piece between a piece and the last earlier one of lower level stands at least as
        // high, so the search for the latter jumps over whole operands.
        for (int q = 0; q < m_length; ++q) {
            int i = q - 1;
            while (i >= 0 && m_levels[i] >= m_levels[q])
                i = m_lowerBefore[static_cast<std::size_t>(i)];
            m_lowerBefore[static_cast<std::size_t>(q)] = static_cast<std::int16_t>(i);
        }
        m_hasLowerBefore = true;
    }
    // A piece at or above lowest takes every piece back to the last one below its own level along.
    while (e >= 0 && m_levels[e] >= lowest)
        e = m_lowerBefore[static_cast<std::size_t>(e)];
    return e;
}

int EquationIndex::operandEndAfter(int p)
{
    std::int16_t& end = m_operandEnd[static_cast<std::size_t>(p)];
    if (end < 0) {
        int j = p + 1;
        while (j < m_length && m_levels[j] > m_levels[p])
            ++j;
        end = static_cast<std::int16_t>(j);
    }
    return end;
}

bool tryRuleTable(PieceString& pieces, const LevelString& levels, RuleScratch& scratch,
                  const PreparedRuleTable& table, unsigned char letter, int n, RuleFilter filter,
                  int* appliedRule)
{
    EquationIndex& index = scratch.index;
    index.index(pieces, levels, std::min(n, pieces.length()));
    const Matcher matcher(pieces, levels, letter, scratch.marks, &index);
    Match match;
    const std::span<const PreparedRule> rules = table.rules();
    for (std::size_t number = 0; number < rules.size(); ++number) {
        const PreparedRule& rule = rules[number];
        // The letter pass must not let a rule multiply the occurrences of its letter.
        if (!rule.usable || (filter == RuleFilter::NoRuleAddingLetters && rule.addsLetters))
            continue;
        // A rule with a literal the equation lacks has nowhere to match.
        if (!index.holdsAll(rule.required))
            continue;
        const PatternView pattern{rule.pattern,
                                  rule.levels,
                                  rule.length,
                                  {rule.anchorIndex, rule.anchorLiterals, rule.bindingsBetweenLiterals}};
        for (int position = index.lastOf(rule.anchor); position >= 0;
             position = index.previousLike(position)) {
            if (matcher.match(position, pattern, match) &&
                matcher.substitute(pieces, match, rule.replacement, scratch.result)) {
                if (appliedRule != nullptr)
                    *appliedRule = static_cast<int>(number);
                return true;
            }
        }
    }
    return false;
}

} // namespace engine
