// SPDX-License-Identifier: MIT
// Rewrite rules: matching one rule at one place of the equation, and trying whole rule tables.
#pragma once

#include "engine/piece_string.h"

#include <span>
#include <string_view>

namespace engine {

/// Matches pattern P (levels PL) with its anchor at E[p] (levels EL current) and replaces the match
/// by the replacement R in parentheses, every letter of R by its binding in parentheses; letter u
/// plays the unknown (an `x` of the pattern binds only pieces holding u). M (marks) and result are
/// scratch strings, neither E. True when E was rewritten (EL is then stale); on false E is unchanged,
/// also when the result would not fit.
[[nodiscard]] bool ApplyRule(PieceString& E, const LevelString& EL, int p, const PieceString& P,
                             const LevelString& PL, std::string_view R, unsigned char u, PieceString& M,
                             PieceString& result);

/// The scratch strings of a rule-table attempt: the prepared pattern and its levels, the marks and
/// the rewritten equation.
struct RuleScratch {
    PieceString pattern;
    LevelString patternLevels;
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
/// rule at every piece equal to its anchor, from position n-1 down to 0. The first rule that
/// applies rewrites pieces (levels are then stale), stores its table index in appliedRule when
/// given, and ends the attempt with true. An empty rule ends the table.
[[nodiscard]] bool tryRuleTable(PieceString& pieces, const LevelString& levels, RuleScratch& scratch,
                                std::span<const std::string_view> table, unsigned char letter, int n,
                                RuleFilter filter = RuleFilter::AllRules, int* appliedRule = nullptr);

} // namespace engine
