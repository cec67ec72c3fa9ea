// SPDX-License-Identifier: MIT
// Matches one rewrite rule at one place of the equation and substitutes it; tries whole rule tables.
#include "equation_solver.h"

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

} // namespace

bool EquationSolver::ApplyRule(PieceString& E, const LevelString& EL, int p, const PieceString& P,
                               const LevelString& PL, std::string_view R, unsigned char u, PieceString& M,
                               PieceString& result)
{
    // Reads of E and M go through at(): their non-const operator[] is for writing only.
    const int lengthE = E.length();
    const int n = P.length();
    if (p < 0 || p >= lengthE || n < 2)
        return false;

    // 1. One mark per piece of the equation. Only the pieces of the match get marks of their own,
    // and every one of them is written below, so the rest of M is never read: it counts as
    // unmarked without being filled, which keeps a failed attempt as cheap as the match itself.

    // 2. The anchor is the last pattern piece, or the one before a final letter. The offset d
    // carries the pattern's levels to the depth at which the anchor stands; it wraps as a byte,
    // while the sums of a pattern level and d below are plain integers.
    const int k0 = (P[n - 1] == E.at(p)) ? n - 1 : n - 2;
    const int d = static_cast<unsigned char>(EL[p] - PL[k0]);

    // 3. The trailing run: everything after the anchor that binds more strongly than the last
    // pattern operator belongs to the final letter.
    int j = p + 1;
    const int trailingLimit = PL[n - 2] + d;
    while (j < lengthE && EL[j] > trailingLimit) {
        M[j] = P[n - 1];
        ++j;
    }
    // A letter bound to nothing would leave an empty operand "()" or compare an empty run; no
    // well-formed match has one, so such a match is refused.
    if (k0 == n - 2 && isPatternLetter(P[n - 1]) && j == p + 1)
        return false;

    // 4. Walk the pattern backwards from the anchor. Literals must be equal; a letter takes the
    // operand to its left, delimited by the weaker of its two neighbouring pattern operators (left
    // association: in a+b+c the run a+b is one operand).
    int e = p;
    int m = EL[p];
    for (int k = k0; k >= 0; --k) {
        const unsigned char piece = P[k];
        if (!isPatternLetter(piece)) {
            if (E.at(e) != piece)
                return false;
            m = std::min(m, static_cast<int>(EL[e]));
            M[e] = piece;
            --e;
            continue;
        }
        if (EL[e] < EL[e + 1])
            return false;
        const int before = PL[k - 1];
        const int after = PL[k + 1];
        const int bindingEnd = e;
        if (before < after) {
            while (e >= 0 && EL[e] >= after + d) {
                M[e] = piece;
                --e;
            }
        } else {
            while (e >= 0 && EL[e] > before + d) {
                M[e] = piece;
                --e;
            }
        }
        if (e == bindingEnd)
            return false;
    }

    // 5. The match must stand alone: the piece before it and the piece after it must bind less
    // strongly than its weakest literal, so that it is a whole sub-expression.
    if (EL[e] >= m || EL[j] > m)
        return false;

    // 6. Letters must agree: an `x` binding holds the unknown, and a letter named twice binds the
    // same pieces at both places.
    const int matchStart = e + 1;
    const int matchEnd = j;
    std::array<Binding, kPatternLetterCount> bindings{};
    for (int i = matchStart; i < matchEnd;) {
        const unsigned char mark = M.at(i);
        if (!isPatternLetter(mark)) {
            ++i;
            continue;
        }
        int end = i;
        while (end < matchEnd && M.at(end) == mark)
            ++end;
        const int runLength = end - i;
        if (mark == 'x' && std::memchr(E.data() + i, u, static_cast<std::size_t>(runLength)) == nullptr)
            return false;
        Binding& binding = bindings[static_cast<std::size_t>(mark - 'a')];
        if (binding.start < 0) {
            binding = {i, runLength};
        } else if (binding.length != runLength || std::memcmp(E.data() + binding.start, E.data() + i,
                                                              static_cast<std::size_t>(runLength)) != 0) {
            return false;
        }
        i = end + 1;
    }

    // 7. The result: the pieces before the match, the replacement in parentheses with every letter
    // replaced by its binding in parentheses, then the pieces after the match. Its size is known
    // beforehand, so an application that would not fit is refused with the equation unchanged.
    long long size = matchStart + 2 + (lengthE - matchEnd);
    for (const char c : R) {
        const auto piece = static_cast<unsigned char>(c);
        if (!isPatternLetter(piece)) {
            size += 1;
            continue;
        }
        const Binding& binding = bindings[static_cast<std::size_t>(piece - 'a')];
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

    append(E.data(), matchStart);
    appendPiece('(');
    for (const char c : R) {
        const auto piece = static_cast<unsigned char>(c);
        if (!isPatternLetter(piece)) {
            appendPiece(piece);
            continue;
        }
        const Binding& binding = bindings[static_cast<std::size_t>(piece - 'a')];
        appendPiece('(');
        append(E.data() + binding.start, binding.length);
        appendPiece(')');
    }
    appendPiece(')');
    append(E.data() + matchEnd, lengthE - matchEnd);

    E.assign(result.view());
    return true;
}

bool EquationSolver::tryRuleTable(std::span<const std::string_view> table, unsigned char letter, int n,
                                  bool skipRulesAddingLetters, int* appliedRule)
{
    n = std::min(n, m_pieces.length());
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
        if (skipRulesAddingLetters && countLetterPieces(rhs) > countLetterPieces(lhs))
            continue;

        const auto last = static_cast<unsigned char>(lhs.back());
        const auto anchor = isLetter(last) ? static_cast<unsigned char>(lhs[lhs.size() - 2]) : last;

        // The pattern and its levels are prepared only once its anchor has been found.
        bool prepared = false;
        for (int position = n - 1; position >= 0; --position) {
            if (m_pieces.at(position) != anchor)
                continue;
            if (!prepared) {
                m_pattern.clear();
                if (!m_pattern.insert(0, lhs) || !ComputeLevels(m_pattern, m_patternLevels))
                    break;
                prepared = true;
            }
            if (ApplyRule(m_pieces, m_levels, position, m_pattern, m_patternLevels, rhs, letter, m_marks,
                          m_ruleResult)) {
                if (appliedRule != nullptr)
                    *appliedRule = static_cast<int>(index);
                return true;
            }
        }
    }
    return false;
}

} // namespace engine
