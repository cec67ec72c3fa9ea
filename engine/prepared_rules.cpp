// SPDX-License-Identifier: MIT
// Prepares rule tables once: patterns split off, their levels computed, anchors and literals found.
#include "engine/rules.h"

#include "engine/pattern_letters.h"
#include "engine/pieces.h"
#include "engine/rule_tables.h"

#include <memory>

namespace engine {

namespace {

/// Where a prepared rule's pattern and levels lie in the table's block until the block stops growing.
struct PatternPlace {
    std::size_t pieces = 0;
    std::size_t levels = 0;
};

/// Fills rule from one table row and appends its pattern pieces and levels to bytes.
void prepareRule(std::string_view row, PreparedRule& rule, PatternPlace& place,
                 std::vector<unsigned char>& bytes, PieceString& pattern, LevelString& levels)
{
    const std::size_t blank = row.find(' ');
    if (blank == std::string_view::npos || blank < 2)
        return;
    const std::string_view lhs = row.substr(0, blank);
    rule.replacement = row.substr(blank + 1);
    rule.addsLetters = countLetterPieces(rule.replacement) > countLetterPieces(lhs);
    const auto last = static_cast<unsigned char>(lhs.back());
    rule.anchor = isLetter(last) ? static_cast<unsigned char>(lhs[lhs.size() - 2]) : last;

    // The pattern as a piece string reads it (up to a NUL), with its levels.
    pattern.clear();
    if (!pattern.insert(0, lhs) || !ComputeLevels(pattern, levels) || pattern.length() < 2)
        return;
    rule.usable = true;
    rule.length = pattern.length();
    const Anchoring anchoring = anchoringOf(pattern.view(), rule.anchor);
    rule.anchorIndex = anchoring.index;
    rule.anchorLiterals = anchoring.literals;
    rule.bindingsBetweenLiterals = anchoring.bindingsBetweenLiterals;
    // Every match compares the anchor and each literal from the first piece to the last but one.
    rule.required.add(rule.anchor);
    for (int k = 0; k + 1 < rule.length; ++k) {
        if (!isPatternLetter(pattern[k]))
            rule.required.add(pattern[k]);
    }
    place.pieces = bytes.size();
    bytes.insert(bytes.end(), pattern.data(), pattern.data() + rule.length);
    bytes.push_back(0);
    place.levels = bytes.size();
    bytes.insert(bytes.end(), levels.data(), levels.data() + rule.length);
    bytes.push_back(0);
}

} // namespace

PreparedRuleTable::PreparedRuleTable(std::span<const std::string_view> table)
{
    const auto pattern = std::make_unique<PieceString>();
    const auto levels = std::make_unique<LevelString>();
    std::vector<PatternPlace> places;
    for (const std::string_view row : table) {
        // An empty row ends the table.
        if (row.empty())
            break;
        prepareRule(row, m_rules.emplace_back(), places.emplace_back(), m_bytes, *pattern, *levels);
    }
    for (std::size_t i = 0; i < m_rules.size(); ++i) {
        if (!m_rules[i].usable)
            continue;
        m_rules[i].pattern = m_bytes.data() + places[i].pieces;
        m_rules[i].levels = m_bytes.data() + places[i].levels;
    }
}

std::span<const std::string_view> ruleTable(char name)
{
    switch (name) {
    case 'A':
        return kRuleSetA;
    case 'B':
        return kRuleSetB;
    default:
        return kRuleSetC;
    }
}

const PreparedRuleTable& preparedRuleSetA()
{
    static const PreparedRuleTable table(kRuleSetA);
    return table;
}

const PreparedRuleTable& preparedRuleSetB()
{
    static const PreparedRuleTable table(kRuleSetB);
    return table;
}

const PreparedRuleTable& preparedRuleSetC()
{
    static const PreparedRuleTable table(kRuleSetC);
    return table;
}

} // namespace engine
