// SPDX-License-Identifier: MIT
// The Solve command's text path: preparing the equation, the dressed block and its decimal point.
#include "config/solve_command.h"

#include "config/interface_texts.h"
#include "config/settings.h"
#include "engine/equation_solver.h"

#include <gtest/gtest.h>

#include <string>

namespace config {
namespace {

/// U+066B ARABIC DECIMAL SEPARATOR in UTF-8: two bytes the engine cannot read.
const std::string kArabic = "\xD9\xAB";

struct BlockRow {
    const char* name;
    std::string equation;
    SolveOptions options;
    std::string block;
    bool endedWithError;
};

SolveOptions with(void (*change)(SolveOptions&))
{
    SolveOptions options = defaultSolveOptions();
    change(options);
    return options;
}

TEST(SolveCommand, BlocksAsTheViewShowsThem)
{
    const SolveOptions defaults = defaultSolveOptions();
    const BlockRow rows[] = {
        {"Defaults", "x-1=2", defaults, "Solution of 'x-1=2'\r\nx - 1 = 2\r\n<=> x = 2 + 1\r\n<=> x = 3\r\n",
         false},
        {"BlanksStrippedFromTheHeader", " x = 5 ", defaults, "Solution of 'x=5'\r\nx = 5\r\n", false},
        {"CommaEverywhere", "x=2,5+1", with([](SolveOptions& o) { o.decimalSeparator = ","; }),
         "Solution of 'x=2,5+1'\r\nx = 2,5 + 1\r\n<=> x = 3,5\r\n", false},
        {"NonAsciiSeparatorReachesTheEngine", "x=2" + kArabic + "5+1",
         with([](SolveOptions& o) { o.decimalSeparator = kArabic; }),
         "Solution of 'x=2" + kArabic + "5+1'\r\nx = 2" + kArabic + "5 + 1\r\n<=> x = 3" + kArabic + "5\r\n",
         false},
        {"SeparatorHoldingThePoint", "x=2..5", with([](SolveOptions& o) { o.decimalSeparator = ".."; }),
         "Solution of 'x=2..5'\r\nx = 2..5\r\n", false},
        {"EmptySeparatorIsThePoint", "x=2.5", with([](SolveOptions& o) { o.decimalSeparator.clear(); }),
         "Solution of 'x=2.5'\r\nx = 2.5\r\n", false},
        {"NumbersWithoutPrefix", "x-1=2", with([](SolveOptions& o) {
             o.addLineNumbers = true;
             o.equivalent.clear();
         }),
         "Solution of 'x-1=2'\r\nx - 1 = 2\r\n1) x = 2 + 1\r\n2) x = 3\r\n", false},
        {"AsTheEngineWroteIt", "x-1=2", with([](SolveOptions& o) {
             o.addSpaces = false;
             o.equivalent.clear();
         }),
         "Solution of 'x-1=2'\r\nx-1=2\r\nx=2+1\r\nx=3\r\n", false},
        {"ErrorDressedLikeALine", "x+1", defaults,
         "Solution of 'x+1'\r\nERROR 22: Equation contains no ' = '!\r\n", true},
        {"FullStopOfAHeaderToo", "x=1", with([](SolveOptions& o) {
             o.decimalSeparator = ",";
             o.headerFormat = "Solution of '%s'.\r\n%s";
         }),
         "Solution of 'x=1',\r\nx = 1\r\n", false},
        {"UnfitHeaderIsReplaced", "x=1", with([](SolveOptions& o) { o.headerFormat = "%s %d %s"; }),
         "Solution of 'x=1'\r\nx = 1\r\n", false},
        {"EmptyEquation", "", defaults, "Solution of ''\r\nERROR 2: Equation line is empty!\r\n", true},
    };
    engine::EquationSolver solver;
    for (const BlockRow& row : rows) {
        const SolutionBlock block = solutionBlock(solver, row.equation, row.options);
        EXPECT_EQ(block.text, row.block) << row.name;
        EXPECT_EQ(block.endedWithError, row.endedWithError) << row.name;
    }
}

TEST(SolveCommand, CheckLineFollowsTheDerivation)
{
    const SolveOptions defaults = defaultSolveOptions();
    const SolveOptions showCheck = with([](SolveOptions& o) { o.showCheck = true; });
    struct Row {
        const char* name;
        std::string equation;
        SolveOptions options;
        std::string lastLines; ///< the end of the block
        bool hasCheckLine;
    };
    const Row rows[] = {
        {"FailedAlways", "sqr(x)=-1", defaults,
         "<=> x = 1\r\nCheck: x = 1 does not satisfy the equation (left side 1, right side -1).\r\n", true},
        {"FailedWithLetters", "sqr(x)=-a", defaults,
         "Check: with a = 1.47, x = 2.1609 does not satisfy the equation (left side 1.47, right side "
         "-1.47).\r\n",
         true},
        {"VerifiedOnlyWhenAsked", "x^2-5*x+6=0", defaults, "<=> x = 3\r\n", false},
        {"Verified", "x^2-5*x+6=0", showCheck, "<=> x = 3\r\nCheck: both sides equal 0.\r\n", true},
        {"VerifiedWithLetters", "a*x=b", showCheck,
         "Check: both sides agree for three sets of values of the other letters.\r\n", true},
        {"NotApplicable", "x+1", showCheck, "!\r\nCheck: not possible here.\r\n", true},
        {"DecimalComma", "x=2,5*2", with([](SolveOptions& o) {
             o.showCheck = true;
             o.decimalSeparator = ",";
         }),
         "Check: both sides equal 5.\r\n", true},
        {"DecimalCommaInFigures", "sqr(x)=-a", with([](SolveOptions& o) { o.decimalSeparator = ","; }),
         "(left side 1,47, right side -1,47).\r\n", true},
        {"UnfitTextIsReplaced", "sqr(x)=-1", with([](SolveOptions& o) { o.checkTexts.failed = "%s %s"; }),
         "Check: x = 1 does not satisfy the equation (left side 1, right side -1).\r\n", true},
        {"Translated", "sqr(x)=-1",
         with([](SolveOptions& o) { o.checkTexts.failed = "Probe: %s / %s / %s"; }),
         "<=> x = 1\r\nProbe: 1 / 1 / -1\r\n", true},
    };
    engine::EquationSolver solver;
    for (const Row& row : rows) {
        const SolutionBlock block = solutionBlock(solver, row.equation, row.options);
        EXPECT_TRUE(block.text.ends_with(row.lastLines)) << row.name << ": " << block.text;
        EXPECT_EQ(block.hasCheckLine, row.hasCheckLine) << row.name;
    }
}

TEST(SolveCommand, SeparatorIsReplacedBeforeStripping)
{
    // A separator of bytes the engine cannot read must become "." before those bytes are removed.
    EXPECT_EQ(prepareEquation(" x = 2" + kArabic + "5 ", kArabic), "x=2.5");
    // Printable separators give what stripping first gave.
    EXPECT_EQ(prepareEquation("x = 2 ,5\t", ","), "x=2.5");
    EXPECT_EQ(prepareEquation("x=2.5", "."), "x=2.5");
}

TEST(SolveCommand, OptionsComeFromTheSettingsAndTexts)
{
    Settings settings;
    EXPECT_EQ(defaultSolveOptions().equivalent, settings.equivalent);
    settings.addSpaces = false;
    settings.addLineNumbers = true;
    settings.equivalent = "=> ";
    settings.decimalSeparator = ",";
    settings.showCheck = true;
    const SolveOptions options = solveOptions(settings, InterfaceTexts());
    EXPECT_FALSE(options.addSpaces);
    EXPECT_TRUE(options.addLineNumbers);
    EXPECT_EQ(options.equivalent, "=> ");
    EXPECT_EQ(options.decimalSeparator, ",");
    EXPECT_EQ(options.headerFormat, "Solution of '%s'\r\n%s");
    EXPECT_TRUE(options.showCheck);
    EXPECT_EQ(options.checkTexts.notPossible, "Check: not possible here.");
}

TEST(SolveCommand, ReplaceAllNeverSearchesItsOwnReplacement)
{
    EXPECT_EQ(ReplaceAll("1.5+2.5", ".", ".."), "1..5+2..5");
    EXPECT_EQ(ReplaceAll("a.b", "", ","), "a.b");
    EXPECT_EQ(ReplaceAll("...", "..", "."), "..");
}

} // namespace
} // namespace config
