// SPDX-License-Identifier: MIT
// Rewrite rules: matching one rule at one place of the equation, and trying whole rule tables.
#pragma once

#include "engine/piece_string.h"

#include <array>
#include <cstdint>
#include <span>
#include <string_view>
#include <vector>

namespace engine {

/// Matches pattern P (levels PL) with its anchor at E[p] (levels EL current) and replaces the match
/// by the replacement R in parentheses, every letter of R by its binding in parentheses; letter u
/// plays the unknown (an `x` of the pattern binds only pieces holding u). M (marks) and result are
/// scratch strings, neither E. True when E was rewritten (EL is then stale); on false E is unchanged,
/// also when the result would not fit.
[[nodiscard]] bool ApplyRule(PieceString& E, const LevelString& EL, int p, const PieceString& P,
                             const LevelString& PL, std::string_view R, unsigned char u, PieceString& M,
                             PieceString& result);

/// A set of piece values, one bit each.
class PieceSet {
public:
    void add(unsigned char piece) { m_words[piece / 64u] |= std::uint64_t{1} << (piece % 64u); }
    void clear() { m_words = {}; }
    /// True when every piece of other is in this set.
    [[nodiscard]] bool includes(const PieceSet& other) const
    {
        for (std::size_t i = 0; i < m_words.size(); ++i) {
            if ((other.m_words[i] & ~m_words[i]) != 0)
                return false;
        }
        return true;
    }

private:
    std::array<std::uint64_t, 4> m_words{};
};

/// One rule made ready for matching: its pattern with the levels `ComputeLevels` gives it, its
/// anchor (the last pattern piece, or the one before a final letter) and the literal pieces every
/// match needs.
struct PreparedRule {
    const unsigned char* pattern = nullptr; // length pieces, then a NUL
    const unsigned char* levels = nullptr;  // length levels, then a 0
    int length = 0;
    std::string_view replacement;
    unsigned char anchor = 0;
    bool usable = false;      // false for a row without a blank after two pattern pieces
    bool addsLetters = false; // the replacement names more letter pieces than the pattern
    PieceSet required;        // the anchor and every literal before the last pattern piece
    // How the pattern stands on its anchor: the pattern piece there, the literals from there
    // leftwards up to the nearest letter, and whether literals separate every binding.
    int anchorIndex = 0;
    int anchorLiterals = 0;
    bool bindingsBetweenLiterals = false;
};

/// A rule table prepared once: the rules up to the first empty row, with their patterns' pieces and
/// levels kept in one block. Immutable after construction; the table's strings must outlive it.
class PreparedRuleTable {
public:
    explicit PreparedRuleTable(std::span<const std::string_view> table);
    // The rules point into the table's own block.
    PreparedRuleTable(const PreparedRuleTable&) = delete;
    PreparedRuleTable& operator=(const PreparedRuleTable&) = delete;

    [[nodiscard]] std::span<const PreparedRule> rules() const { return m_rules; }

private:
    std::vector<PreparedRule> m_rules;
    std::vector<unsigned char> m_bytes;
};

/// The rule table named 'A', 'B' or 'C' (any other name gives C), as the tables number them.
[[nodiscard]] std::span<const std::string_view> ruleTable(char name);

/// The solver's three tables (rule_tables.h), prepared on first use.
[[nodiscard]] const PreparedRuleTable& preparedRuleSetA();
[[nodiscard]] const PreparedRuleTable& preparedRuleSetB();
[[nodiscard]] const PreparedRuleTable& preparedRuleSetC();

/// What one attempt with a rule table asks about the equation again and again: where each piece
/// value occurs below the scan limit (the last position, and from every position the previous one
/// holding the same piece; -1 when there is none) and where the operands before and after a piece
/// end.
class EquationIndex {
public:
    /// Indexes pieces (levels current) with anchors scanned below n. Both must outlive the use.
    void index(const PieceString& pieces, const LevelString& levels, int n);

    /// True when every piece of wanted occurs below the scan limit.
    [[nodiscard]] bool holdsAll(const PieceSet& wanted) const { return m_present.includes(wanted); }
    /// The last position below the scan limit holding piece, or -1.
    [[nodiscard]] int lastOf(unsigned char piece) const { return m_last[piece]; }
    /// The position before p holding the same piece, or -1.
    [[nodiscard]] int previousLike(int p) const { return m_previous[static_cast<std::size_t>(p)]; }
    /// The first piece after p whose level is not above that of p (or the length), worked out
    /// once per index.
    [[nodiscard]] int operandEndAfter(int p);
    /// The last piece at or before e whose level is below lowest, or -1: where an operand that
    /// ends at e starts, less one.
    [[nodiscard]] int lastBelow(int e, int lowest);

private:
    PieceSet m_present;
    std::array<std::int16_t, 256> m_last{};
    std::array<std::int16_t, PieceString::kCapacity> m_previous{};
    std::array<std::int16_t, PieceString::kCapacity> m_operandEnd{};  // -1: not yet worked out
    std::array<std::int16_t, PieceString::kCapacity> m_lowerBefore{}; // the last earlier piece of lower level
    bool m_hasLowerBefore = false; // worked out for all pieces at the first lastBelow
    const unsigned char* m_levels = nullptr;
    int m_length = 0;
};

/// The scratch of a rule-table attempt: the index of the equation, the marks and the rewritten
/// equation.
struct RuleScratch {
    EquationIndex index;
    PieceString marks;
    PieceString result;
};

/// Which rules of a table an attempt may use.
enum class RuleFilter {
    AllRules,
    NoRuleAddingLetters, // the letter pass: skip rules whose replacement names more letters than their
                         // pattern
};

/// Tries the rules of table in order on pieces (levels current), letter playing the unknown: each
/// rule at every piece equal to its anchor, from position n-1 down to 0 (a rule whose literals do
/// not all occur there cannot match and is passed over). The first rule that applies rewrites
/// pieces (levels are then stale), stores its table index in appliedRule when given, and ends the
/// attempt with true.
[[nodiscard]] bool tryRuleTable(PieceString& pieces, const LevelString& levels, RuleScratch& scratch,
                                const PreparedRuleTable& table, unsigned char letter, int n,
                                RuleFilter filter = RuleFilter::AllRules, int* appliedRule = nullptr);

} // namespace engine
