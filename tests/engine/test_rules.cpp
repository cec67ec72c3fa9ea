// SPDX-License-Identifier: MIT
// Tests of the rewrite-rule tables, of matching one rule at one place and of trying a whole table.
#include "engine/formatting.h"
#include "engine/pieces.h"
#include "engine/rule_tables.h"
#include "engine/rules.h"
#include "engine/solver_buffers.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <memory>
#include <span>
#include <string>
#include <string_view>

using namespace std::string_view_literals;

namespace engine {
namespace {

using RuleSpan = std::span<const std::string_view>;

/// The one rule Xn as a table of its own.
RuleSpan singleRule(char table, int number)
{
    return ruleTable(table).subspan(static_cast<std::size_t>(number - 1), 1);
}

constexpr bool isWildcard(unsigned char c)
{
    return c >= 'a' && c <= 'x';
}

// ---- the table data -------------------------------------------------------------------------------

TEST(RuleTableData, CountsMatchTheThreeTables)
{
    EXPECT_EQ(kRuleSetA.size(), 189u);
    EXPECT_EQ(kRuleSetB.size(), 16u);
    EXPECT_EQ(kRuleSetC.size(), 80u);
}

// Every byte of every rule belongs to the piece alphabet of a rule: operators, parentheses, function
// tokens, preset constants 0x80-0x8A, wildcard letters and the one blank.
bool isRuleByte(unsigned char c)
{
    return std::string_view("+-*/^() ").find(static_cast<char>(c)) != std::string_view::npos ||
           isFunctionToken(c) || (c >= 0x80 && c <= 0x8A) || isWildcard(c);
}

TEST(RuleTableData, EveryRuleIsWellFormed)
{
    for (const char table : {'A', 'B', 'C'}) {
        const RuleSpan rules = ruleTable(table);
        for (std::size_t i = 0; i < rules.size(); ++i) {
            const std::string_view rule = rules[i];
            SCOPED_TRACE(std::string(1, table) + std::to_string(i + 1));
            ASSERT_EQ(std::count(rule.begin(), rule.end(), ' '), 1) << "exactly one blank";
            const std::size_t blank = rule.find(' ');
            const std::string_view pattern = rule.substr(0, blank);
            const std::string_view replacement = rule.substr(blank + 1);
            ASSERT_GE(pattern.size(), 2u);
            ASSERT_FALSE(replacement.empty());

            std::array<int, 26> patternLetters{};
            std::array<int, 26> replacementLetters{};
            for (const char c : rule) {
                const auto piece = static_cast<unsigned char>(c);
                EXPECT_TRUE(isRuleByte(piece)) << "byte " << static_cast<int>(piece);
                EXPECT_NE(piece, '=');
                EXPECT_NE(piece, 'y');
                EXPECT_NE(piece, 'z');
            }
            for (const char c : pattern)
                if (isLetter(static_cast<unsigned char>(c)))
                    ++patternLetters[static_cast<std::size_t>(c - 'a')];
            for (const char c : replacement)
                if (isLetter(static_cast<unsigned char>(c)))
                    ++replacementLetters[static_cast<std::size_t>(c - 'a')];
            for (std::size_t l = 0; l < 26; ++l) {
                EXPECT_LE(patternLetters[l], 2)
                    << "letter " << static_cast<char>('a' + l) << " in the pattern";
                if (replacementLetters[l] > 0) {
                    EXPECT_GT(patternLetters[l], 0)
                        << "replacement letter " << static_cast<char>('a' + l) << " missing in the pattern";
                }
            }
            EXPECT_GT(patternLetters['x' - 'a'], 0) << "every rule is about the unknown";

            for (const std::string_view half : {pattern, replacement}) {
                int depth = 0;
                for (const char c : half) {
                    depth += (c == '(') - (c == ')');
                    EXPECT_GE(depth, 0) << half;
                }
                EXPECT_EQ(depth, 0) << half;
            }
            // The anchor, the last pattern piece or the one before a final letter, is a literal.
            const auto last = static_cast<unsigned char>(pattern.back());
            const auto anchor =
                isLetter(last) ? static_cast<unsigned char>(pattern[pattern.size() - 2]) : last;
            EXPECT_FALSE(isLetter(anchor));

            PieceString patternPieces;
            LevelString patternLevels;
            ASSERT_TRUE(patternPieces.assign(pattern));
            EXPECT_TRUE(engine::ComputeLevels(patternPieces, patternLevels));
        }
    }
}

// A few rules typed again by hand from the rule listing, byte for byte.
TEST(RuleTableData, SpotChecksAgainstTheListing)
{
    struct Row {
        const char* id;
        std::string_view actual;
        std::string_view expected;
    };
    const Row rows[] = {
        {"A1", kRuleSetA[0], "a+x+x a+x*\x82"sv},
        {"A6", kRuleSetA[5], "x-x \x80"sv},
        {"A56", kRuleSetA[55], "x^\x85 }(x)"sv},
        {"A61", kRuleSetA[60], "a^-x \x81/a^x"sv},
        {"A117", kRuleSetA[116], "\x88^x }(<(x))"sv},
        {"A139", kRuleSetA[138], "<(](x)) x^(\x81/{(\x83))"sv},
        {"A172", kRuleSetA[171], ">(](x)) (\x81/x^(\x81/{(\x83))+x^(\x81/{(\x83)))/\x82"sv},
        {"A189", kRuleSetA[188], "|(\x85*x) }((\x81-;(x))/\x82)"sv},
        {"B7", kRuleSetB[6], "(a+x)^\x82 a^\x82+\x82*a*x+x^\x82"sv},
        {"B16", kRuleSetB[15], "|(\x82*x) \x82*;(x)*|(x)"sv},
        {"C17", kRuleSetC[16], "a+b*x^\x82+x a+(}(b)*x+\x81/\x82/}(b))^\x82-\x81/\x84/b"sv},
        {"C48", kRuleSetC[47], "-a*x^\x82-b*x^\x84 -b*x^\x84-a*x^\x82"sv},
        {"C80", kRuleSetC[79], "-a*x^\x84-b*x^\x82 -(}(a)*x^\x82+b/\x82/}(a))^\x82+b^\x82/\x84/a"sv},
    };
    for (const Row& row : rows)
        EXPECT_EQ(row.actual, row.expected) << row.id;
}

// ---- matching and applying ------------------------------------------------------------------------

class RuleTest : public ::testing::Test {
protected:
    void load(const char* equation)
    {
        ASSERT_EQ(engine::loadEquation(m_buffers, equation), engine::ErrorCode::None) << equation;
    }
    bool tryTable(std::span<const std::string_view> table, unsigned char letter, int n,
                  bool skipRulesAddingLetters, int* appliedRule = nullptr)
    {
        const auto filter =
            skipRulesAddingLetters ? engine::RuleFilter::NoRuleAddingLetters : engine::RuleFilter::AllRules;
        const engine::PreparedRuleTable prepared(table);
        return engine::tryRuleTable(m_buffers.pieces, m_buffers.levels, m_buffers.rules, prepared, letter, n,
                                    filter, appliedRule);
    }
    std::string rendered()
    {
        EXPECT_TRUE(engine::ComputeLevels(m_buffers.pieces, m_renderLevels));
        return engine::renderPieces(m_buffers.pieces, m_renderLevels, m_buffers.pool);
    }
    // Sets the pattern buffers to the pattern of rule text (the part before the blank).
    void setPattern(std::string_view rule)
    {
        ASSERT_TRUE(m_pattern.assign(rule.substr(0, rule.find(' '))));
        ASSERT_TRUE(engine::ComputeLevels(m_pattern, m_patternLevels));
    }
    static std::string_view replacementOf(std::string_view rule) { return rule.substr(rule.find(' ') + 1); }

    engine::SolverBuffers m_buffers;
    LevelString m_renderLevels;
    PieceString m_pattern;
    LevelString m_patternLevels;
    PieceString m_marks;
    PieceString m_result;
};

// One rule on its own, tried at every anchor from the right. An empty expectation means the rule
// must not apply; then the equation must be left exactly as it was.
struct SingleRuleRow {
    const char* name;
    const char* equation;
    char table;
    int rule;
    unsigned char letter;
    const char* expected;
};

const SingleRuleRow kSingleRuleRows[] = {
    {"A1 needs a term before the first x", "x+x=4", 'A', 1, 'x', ""},
    {"A5 doubles x+x", "x+x=4", 'A', 5, 'x', "((x)*2)=4"},
    {"A13 cannot split 2*x*x", "2*x*x=8", 'A', 13, 'x', ""},
    {"A9 takes 2*x*x as a*x*x", "2*x*x=8", 'A', 9, 'x', "((2)*(x)^2)=8"},
    {"A2 cancels two equal bindings of x", "y+2*x-2*x=1", 'A', 2, 'x', "((y))=1"},
    {"A2 refuses two different bindings", "y+2*x-3*x=1", 'A', 2, 'x', ""},
    {"A40 collects 2*x-3*x", "y+2*x-3*x=1", 'A', 40, 'x', "((y)+((2)-(3))*(x))=1"},
    {"A56 roots a parenthesised operand", "(x+1)^0.5=2", 'A', 56, 'x', "(sqr(((x+1))))=2"},
    {"A56 needs the unknown in its x", "a^0.5=x", 'A', 56, 'x', ""},
    {"A56 matches 0.5 within the pool tolerance", "x^0.50000001=2", 'A', 56, 'x', "(sqr((x)))=2"},
    {"A5 cannot take y+x+x", "y+x+x=1", 'A', 5, 'x', ""},
    {"A1 takes y+x+x", "y+x+x=1", 'A', 1, 'x', "((y)+(x)*2)=1"},
    {"A65 reads c^x^d as (c^x)^d", "c^x^d=1", 'A', 65, 'x', "((c)^(d)^(x))=1"},
    {"A7 must stand alone, not as the tail of y-x+x", "y-x+x=1", 'A', 7, 'x', ""},
    {"A3 takes y-x+x", "y-x+x=1", 'A', 3, 'x', "((y))=1"},
    {"A23 refuses a quotient followed by a power", "y/(z-x)^2=1", 'A', 23, 'x', ""},
    {"A23 turns a difference round", "y/(z-x)=1", 'A', 23, 'x', "(-(y)/(-(z)+(x)))=1"},
    {"A61 negative exponent", "2^-x=3", 'A', 61, 'x', "(1/(2)^(x))=3"},
    {"a binding stops at =", "z=y+x+x", 'A', 1, 'x', "z=((y)+(x)*2)"},
    {"a sign after = is no operand", "x=+x", 'A', 5, 'x', ""},
    {"inside parentheses the levels are offset", "y*(x+x)=1", 'A', 5, 'x', "y*(((x)*2))=1"},
    {"repeated letters compare whole bindings", "sin(x)-sin(x)=y", 'A', 6, 'x', "(0)=y"},
    {"repeated letters differ in their function", "sin(x)-cos(x)=y", 'A', 6, 'x', ""},
    {"the letter passed plays the unknown", "x=a+a", 'A', 5, 'a', "x=((a)*2)"},
    {"with x as the unknown a+a is left alone", "x=a+a", 'A', 5, 'x', ""},
    // x-+y is x-y: an empty binding of the second x would make it 0+y.
    {"an empty trailing binding is refused", "x-+y=0", 'A', 6, 'x', ""},
    // y++x is y+x: an empty middle x would make it y+x*2.
    {"an empty middle binding is refused", "y++x=1", 'A', 1, 'x', ""},
    {"B1 distributes a factor", "2*(3+x)=4", 'B', 1, 'x', "((2)*(3)+(2)*(x))=4"},
    {"B7 squares a sum", "(y+x)^2=1", 'B', 7, 'x', "((y)^2+2*(y)*(x)+(x)^2)=1"},
    {"C5 completes the square", "x^2+x=1", 'C', 5, 'x', "(((x)+1/2)^2-1/4)=1"},
};

TEST_F(RuleTest, SingleRules)
{
    for (const SingleRuleRow& row : kSingleRuleRows) {
        SCOPED_TRACE(row.name);
        load(row.equation);
        const std::string before(m_buffers.pieces.view());
        const int n = m_buffers.pieces.length();
        const bool applied = tryTable(singleRule(row.table, row.rule), row.letter, n, false);
        const std::string_view expected = row.expected;
        EXPECT_EQ(applied, !expected.empty());
        if (applied) {
            EXPECT_EQ(rendered(), expected);
        } else {
            EXPECT_EQ(m_buffers.pieces.view(), before) << "a failed match changes nothing";
        }
        EXPECT_FALSE(m_buffers.pieces.hasOverflowed());
    }
}

// Whole tables: the first rule in table order that applies anywhere wins.
struct TableRow {
    const char* name;
    const char* equation;
    char table;
    unsigned char letter;
    bool skipRulesAddingLetters;
    int expectedRule; // 1-based number within the table, 0 when nothing applies
    const char* expected;
};

const TableRow kTableRows[] = {
    {"x+x: A1 to A4 fail, A5 applies", "x+x=4", 'A', 'x', false, 5, "((x)*2)=4"},
    {"2*x*x: A9 before A13", "2*x*x=8", 'A', 'x', false, 9, "((2)*(x)^2)=8"},
    {"equal terms cancel by A2", "y+2*x-2*x=1", 'A', 'x', false, 2, "((y))=1"},
    {"different coefficients collect by A40", "y+2*x-3*x=1", 'A', 'x', false, 40, "((y)+((2)-(3))*(x))=1"},
    {"A56 on (x+1)^0.5", "(x+1)^0.5=2", 'A', 'x', false, 56, "(sqr(((x+1))))=2"},
    {"nothing for a^0.5 without x", "a^0.5=x", 'A', 'x', false, 0, ""},
    {"A56 through the tolerance", "x^0.50000001=2", 'A', 'x', false, 56, "(sqr((x)))=2"},
    {"y+x+x by A1", "y+x+x=1", 'A', 'x', false, 1, "((y)+(x)*2)=1"},
    {"c^x^d by A65", "c^x^d=1", 'A', 'x', false, 65, "((c)^(d)^(x))=1"},
    {"y-x+x by A3, not A7", "y-x+x=1", 'A', 'x', false, 3, "((y))=1"},
    {"sin(x)-sin(x) by A6", "sin(x)-sin(x)=y", 'A', 'x', false, 6, "(0)=y"},
    {"letter pass collects a+a", "x=a+a", 'A', 'a', false, 5, "x=((a)*2)"},
    {"no rule reaches across =", "x=a+a", 'A', 'x', false, 0, ""},
    {"hcs(log(a)) by A169", "x=hcs(log(a))", 'A', 'a', false, 169, "x=((1/(a)+(a))/2)"},
    // A169-A174 name their letter twice in the replacement: the letter pass passes over them.
    {"letter pass skips A169", "x=hcs(log(a))", 'A', 'a', true, 176, "x=(sqr(1+hsn((log(a)))^2))"},
    {"(y+x)^2 by B7", "(y+x)^2=1", 'B', 'x', false, 7, "((y)^2+2*(y)*(x)+(x)^2)=1"},
    {"2*(3+x) by B1", "2*(3+x)=4", 'B', 'x', false, 1, "((2)*(3)+(2)*(x))=4"},
    {"x^2+x by C5", "x^2+x=1", 'C', 'x', false, 5, "(((x)+1/2)^2-1/4)=1"},
};

TEST_F(RuleTest, WholeTables)
{
    for (const TableRow& row : kTableRows) {
        SCOPED_TRACE(row.name);
        load(row.equation);
        const std::string before(m_buffers.pieces.view());
        int appliedRule = -1;
        const bool applied = tryTable(ruleTable(row.table), row.letter, m_buffers.pieces.length(),
                                      row.skipRulesAddingLetters, &appliedRule);
        EXPECT_EQ(applied, row.expectedRule != 0);
        if (applied) {
            EXPECT_EQ(appliedRule + 1, row.expectedRule);
            EXPECT_EQ(rendered(), row.expected);
        } else {
            EXPECT_EQ(appliedRule, -1);
            EXPECT_EQ(m_buffers.pieces.view(), before);
        }
    }
}

// The scan starts at n-1: positions at or beyond n are never anchors.
TEST_F(RuleTest, ScanStartsBelowTheGivenLength)
{
    load("x=a+a");
    EXPECT_FALSE(tryTable(kRuleSetA, 'a', 3, false)) << "the + at index 3 is outside the scan";
    EXPECT_EQ(rendered(), "x=a+a");
    EXPECT_TRUE(tryTable(kRuleSetA, 'a', 4, false));
    EXPECT_EQ(rendered(), "x=((a)*2)");
}

// ApplyRule at one given anchor position.
struct PositionRow {
    const char* name;
    const char* equation;
    int rule; // of table A
    int position;
    bool applies;
    const char* expected;
};

const PositionRow kPositionRows[] = {
    {"A13 at the first *: its first x would bind 2", "2*x*x=8", 13, 1, false, ""},
    {"A13 at the second *: the x bind 2*x and x", "2*x*x=8", 13, 3, false, ""},
    {"A9 at the second *", "2*x*x=8", 9, 3, true, "((2)*(x)^2)=8"},
    {"A9 at the first *: nothing left for a", "2*x*x=8", 9, 1, false, ""},
    {"A5 anchored on a letter", "x+x=4", 5, 0, false, ""},
    {"A5 anchored on =", "x+x=4", 5, 3, false, ""},
    {"anchor before the first piece", "x+x=4", 5, -1, false, ""},
    {"anchor at the terminator", "x+x=4", 5, 5, false, ""},
    {"anchor far beyond the equation", "x+x=4", 5, 40000, false, ""},
};

TEST_F(RuleTest, ApplyRuleAtAPosition)
{
    for (const PositionRow& row : kPositionRows) {
        SCOPED_TRACE(row.name);
        load(row.equation);
        const std::string before(m_buffers.pieces.view());
        const std::string_view rule = kRuleSetA[static_cast<std::size_t>(row.rule - 1)];
        setPattern(rule);
        const bool applied = engine::ApplyRule(m_buffers.pieces, m_buffers.levels, row.position, m_pattern,
                                               m_patternLevels, replacementOf(rule), 'x', m_marks, m_result);
        EXPECT_EQ(applied, row.applies);
        if (applied) {
            EXPECT_EQ(rendered(), row.expected);
        } else {
            EXPECT_EQ(m_buffers.pieces.view(), before);
        }
        EXPECT_FALSE(m_buffers.pieces.hasOverflowed());
        EXPECT_FALSE(m_marks.hasOverflowed());
    }
}

// The scratch strings are reused: marks left by a longer equation do not disturb the next match.
TEST_F(RuleTest, ScratchStringsAreReusable)
{
    load("y+2*x-2*x+x*x*x*x*x*x*x*x=1");
    const std::string_view a13 = kRuleSetA[12];
    setPattern(a13);
    EXPECT_TRUE(engine::ApplyRule(m_buffers.pieces, m_buffers.levels, 11, m_pattern, m_patternLevels,
                                  replacementOf(a13), 'x', m_marks, m_result));
    EXPECT_EQ(rendered(), "y+2*x-2*x+((x)^2)*x*x*x*x*x*x=1");
    load("x+x=4");
    const std::string_view a5 = kRuleSetA[4];
    setPattern(a5);
    EXPECT_TRUE(engine::ApplyRule(m_buffers.pieces, m_buffers.levels, 1, m_pattern, m_patternLevels,
                                  replacementOf(a5), 'x', m_marks, m_result));
    EXPECT_EQ(rendered(), "((x)*2)=4");
}

// A replacement may only name letters its pattern bound; anything else would leave an empty "()".
TEST_F(RuleTest, ReplacementLetterWithoutBindingIsRefused)
{
    load("x+x=4");
    setPattern("x+x");
    EXPECT_FALSE(engine::ApplyRule(m_buffers.pieces, m_buffers.levels, 1, m_pattern, m_patternLevels, "x*b",
                                   'x', m_marks, m_result));
    EXPECT_EQ(rendered(), "x+x=4");
    EXPECT_TRUE(engine::ApplyRule(m_buffers.pieces, m_buffers.levels, 1, m_pattern, m_patternLevels, "x*x",
                                  'x', m_marks, m_result));
    EXPECT_EQ(rendered(), "((x)*(x))=4");
}

// The level offset is taken modulo 256: an anchor that stands deeper in the pattern than in the
// equation lifts every binding threshold beyond any level, so no letter binds anything.
TEST_F(RuleTest, LevelOffsetWrapsAsAByte)
{
    load("y*2=x");
    const std::string_view rule = "a*\x82 a";
    ASSERT_TRUE(m_pattern.assign(rule.substr(0, 3)));
    // The levels of a*2 one parenthesis deeper: the anchor's 15 against the equation's 7.
    ASSERT_TRUE(m_patternLevels.assign("\x0F\x0A\x0F"));
    EXPECT_FALSE(engine::ApplyRule(m_buffers.pieces, m_buffers.levels, 2, m_pattern, m_patternLevels,
                                   replacementOf(rule), 'x', m_marks, m_result));
    EXPECT_EQ(rendered(), "y*2=x");
    // With the levels at the equation's own depth the same pattern applies.
    ASSERT_TRUE(engine::ComputeLevels(m_pattern, m_patternLevels));
    EXPECT_TRUE(engine::ApplyRule(m_buffers.pieces, m_buffers.levels, 2, m_pattern, m_patternLevels,
                                  replacementOf(rule), 'x', m_marks, m_result));
    EXPECT_EQ(rendered(), "((y))=x");
}

// Random well-formed equations: every application keeps the parentheses balanced and never leaves an
// empty operand "()", and a refused one leaves the equation as it was.
class RandomEquation {
public:
    explicit RandomEquation(unsigned seed) : m_state(seed) {}
    std::string equation()
    {
        std::string text = expression(0) + "=" + expression(0);
        if (text.find('x') == std::string::npos)
            text += "+x";
        return text;
    }

private:
    unsigned next(unsigned bound)
    {
        m_state = m_state * 1103515245u + 12345u;
        return (m_state >> 16) % bound;
    }
    std::string expression(int depth)
    {
        static constexpr std::string_view kOperators = "+-*/^";
        std::string text = term(depth);
        for (unsigned terms = next(4); terms > 0; --terms)
            text += kOperators[next(5)] + term(depth);
        return text;
    }
    std::string term(int depth)
    {
        static constexpr std::array<std::string_view, 8> kOperands = {"x", "x", "x",   "y",
                                                                      "a", "2", "0.5", "3"};
        static constexpr std::array<std::string_view, 6> kFunctions = {"sin", "sqr", "exp",
                                                                       "log", "hcs", "asn"};
        std::string text = next(5) == 0 ? "-" : "";
        const unsigned kind = depth >= 3 ? 0 : next(4);
        if (kind == 0 || kind == 1)
            text += kOperands[next(8)];
        else if (kind == 2)
            text += "(" + expression(depth + 1) + ")";
        else
            text += std::string(kFunctions[next(6)]) + "(" + expression(depth + 1) + ")";
        return text;
    }
    unsigned m_state;
};

TEST_F(RuleTest, RandomEquationsStayWellFormed)
{
    RandomEquation generator(20240611u);
    int applications = 0;
    for (int i = 0; i < 400; ++i) {
        const std::string text = generator.equation();
        if (text.size() > 255 || engine::loadEquation(m_buffers, text) != engine::ErrorCode::None)
            continue;
        SCOPED_TRACE(text);
        for (const char table : {'A', 'B', 'C'}) {
            for (const unsigned char letter : {'x', 'a'}) {
                ASSERT_EQ(engine::loadEquation(m_buffers, text), engine::ErrorCode::None);
                const std::string before(m_buffers.pieces.view());
                if (!tryTable(ruleTable(table), letter, m_buffers.pieces.length(), letter != 'x')) {
                    EXPECT_EQ(m_buffers.pieces.view(), before);
                    continue;
                }
                ++applications;
                const std::string_view after = m_buffers.pieces.view();
                int depth = 0;
                for (const char c : after) {
                    depth += (c == '(') - (c == ')');
                    ASSERT_GE(depth, 0) << table << letter;
                }
                EXPECT_EQ(depth, 0) << table << letter;
                EXPECT_EQ(after.find("()"), std::string_view::npos) << table << letter;
                EXPECT_EQ(std::count(after.begin(), after.end(), '='), 1);
            }
        }
    }
    EXPECT_GT(applications, 100) << "the generator should reach many rules";
}

// A table attempt reads an index of the equation (where each piece occurs, operand ends found by
// jumps) and each rule's prepared anchoring. It must agree with ApplyRule, which works them out
// plainly, tried at the rule's anchors from the right: same success, same result, for every rule.
TEST_F(RuleTest, TableAttemptsAgreeWithApplyRuleAtEachAnchor)
{
    RandomEquation generator(20261208u);
    auto reference = std::make_unique<PieceString>();
    int applications = 0;
    for (int i = 0; i < 60; ++i) {
        const std::string text = generator.equation();
        if (text.size() > 255 || engine::loadEquation(m_buffers, text) != engine::ErrorCode::None)
            continue;
        SCOPED_TRACE(text);
        for (const char table : {'A', 'B', 'C'}) {
            const RuleSpan rules = ruleTable(table);
            for (std::size_t number = 0; number < rules.size(); ++number) {
                const std::string_view rule = rules[number];
                setPattern(rule);
                const auto last = static_cast<unsigned char>(rule[rule.find(' ') - 1]);
                const auto anchor = isLetter(last) ? m_pattern[m_pattern.length() - 2] : last;
                for (const unsigned char letter : {'x', 'a'}) {
                    ASSERT_EQ(engine::loadEquation(m_buffers, text), engine::ErrorCode::None);
                    *reference = m_buffers.pieces;
                    bool expected = false;
                    for (int p = reference->length() - 1; p >= 0 && !expected; --p) {
                        expected =
                            (*reference)[p] == anchor &&
                            engine::ApplyRule(*reference, m_buffers.levels, p, m_pattern, m_patternLevels,
                                              replacementOf(rule), letter, m_marks, m_result);
                    }
                    const bool applied =
                        tryTable(rules.subspan(number, 1), letter, m_buffers.pieces.length(), false);
                    ASSERT_EQ(applied, expected) << table << number + 1 << letter;
                    ASSERT_EQ(m_buffers.pieces.view(), reference->view()) << table << number + 1 << letter;
                    applications += applied ? 1 : 0;
                }
            }
        }
    }
    EXPECT_GT(applications, 100) << "the generator should reach many rules";
}

// ---- buffer limits --------------------------------------------------------------------------------

// (a+x)^2=1 with a bound to a run of `length` pieces (-y+y+...+y, length even). B7 copies a twice,
// so the result has 2*length + 23 pieces.
std::string longSquare(int length)
{
    std::string a = "-y";
    while (static_cast<int>(a.size()) < length)
        a += "+y";
    return "(" + a + "+x)^\x82=\x81";
}

TEST_F(RuleTest, ResultUpToTheCapacityIsAccepted)
{
    const int length = (PieceString::kCapacity - 1 - 23) / 2; // the result fills the buffer exactly
    ASSERT_TRUE(m_buffers.pieces.assign(longSquare(length)));
    ASSERT_TRUE(engine::ComputeLevels(m_buffers.pieces, m_buffers.levels));
    EXPECT_TRUE(tryTable(singleRule('B', 7), 'x', m_buffers.pieces.length(), false));
    EXPECT_EQ(m_buffers.pieces.length(), PieceString::kCapacity - 1);
    EXPECT_FALSE(m_buffers.pieces.hasOverflowed());
    const std::string_view result = m_buffers.pieces.view();
    EXPECT_EQ(result.substr(0, 6), "((-y+y");
    EXPECT_EQ(result.substr(result.size() - 9), "+(x)^\x82)=\x81");
}

TEST_F(RuleTest, ResultBeyondTheCapacityIsRefused)
{
    const int length = (PieceString::kCapacity - 1 - 23) / 2 + 2;
    ASSERT_TRUE(m_buffers.pieces.assign(longSquare(length)));
    ASSERT_TRUE(engine::ComputeLevels(m_buffers.pieces, m_buffers.levels));
    const std::string before(m_buffers.pieces.view());
    EXPECT_FALSE(tryTable(singleRule('B', 7), 'x', m_buffers.pieces.length(), false));
    EXPECT_EQ(m_buffers.pieces.view(), before);
    EXPECT_FALSE(m_buffers.pieces.hasOverflowed());
}

// A rule may lengthen an equation beyond 255 pieces; the driver's length check deals with that.
TEST_F(RuleTest, ResultMayExceed255Pieces)
{
    ASSERT_TRUE(m_buffers.pieces.assign(longSquare(200)));
    ASSERT_TRUE(engine::ComputeLevels(m_buffers.pieces, m_buffers.levels));
    EXPECT_TRUE(tryTable(singleRule('B', 7), 'x', m_buffers.pieces.length(), false));
    EXPECT_EQ(m_buffers.pieces.length(), 2 * 200 + 23);
}

} // namespace
} // namespace engine
