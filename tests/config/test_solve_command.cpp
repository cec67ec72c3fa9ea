// SPDX-License-Identifier: MIT
// The Solve command's text path: preparing the equation, the dressed block and its decimal point.
#include "config/solve_command.h"

#include "config/interface_texts.h"
#include "config/settings.h"
#include "engine/equation_solver.h"

#include "analysis/all_solutions.h"
#include "analysis/root_finder.h"
#include "support/golden_file.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

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
    const SolveOptions compact = with([](SolveOptions& o) { o.addSpaces = false; });
    struct Row {
        const char* name;
        std::string equation;
        SolveOptions options;
        std::string lastLines; ///< the end of the block
        bool hasCheckLine;
    };
    const Row rows[] = {
        // Its numbers written as the derivation writes them: with blanks, or without.
        {"FailedAlways", "sqr(x)=-1", defaults,
         "<=> x = 1\r\nCheck: x = 1 does not satisfy the equation (left side 1, right side  - 1).\r\n", true},
        {"FailedCompact", "sqr(x)=-1", compact,
         "x=1\r\nCheck: x = 1 does not satisfy the equation (left side 1, right side -1).\r\n", true},
        {"FailedWithLetters", "sqr(x)=-a", defaults,
         "Check: with a = 1.47, x = 2.1609 does not satisfy the equation (left side 1.47, right side  - "
         "1.47).\r\n",
         true},
        {"OtherBranchAlways", "x^x=10", compact,
         "Check: x = -0.0751785-0.493367*sqr(-1) satisfies the equation only with another branch of a power, "
         "root or logarithm; with principal values the left side is 0.401194+0.204986*sqr(-1) and the right "
         "side 10.\r\n",
         true},
        {"UndefinedAlways", "x/(x-2)=2/(x-2)", defaults,
         "<=> x = 2\r\nCheck: x = 2 is not a solution: the left side is not defined there.\r\n", true},
        {"UndefinedRightSide", "x=1/(x-1)-1/(x-1)+1", defaults,
         "Check: x = 1 is not a solution: the right side is not defined there.\r\n", true},
        // acosh(3.7622) = 2: right in standard mathematics, so nothing to say by default.
        {"VerifiedOnlyWhenAsked", "ahc(x)=2", defaults, "<=> x = 3.7622\r\n", false},
        {"Verified", "x^2-5*x+6=0", showCheck, "<=> x = 3\r\nCheck: both sides equal 0.\r\n", true},
        // Of two agreeing sides the one without rounding noise is shown: 0.
        {"Verified, the plainer side", "x^4+x+1=0", showCheck, "sqr( - 1)\r\nCheck: both sides equal 0.\r\n",
         true},
        {"Verified, the real side", "tan(x)=0.000113", showCheck,
         "<=> x = 0.000113\r\nCheck: both sides equal 0.000113.\r\n", true},
        {"VerifiedWithLetters", "a*x=b", showCheck,
         "Check: both sides agree for three sets of values of the other letters.\r\n", true},
        {"NotApplicable", "0*x=1", showCheck, "\r\nCheck: not possible here.\r\n", true},
        // The error message is the verdict.
        {"NoneAfterAnError", "x+1", showCheck, "ERROR 22: Equation contains no ' = '!\r\n", false},
        {"DecimalComma", "x=2,5*2", with([](SolveOptions& o) {
             o.showCheck = true;
             o.decimalSeparator = ",";
         }),
         "Check: both sides equal 5.\r\n", true},
        {"DecimalCommaInFigures", "sqr(x)=-a", with([](SolveOptions& o) { o.decimalSeparator = ","; }),
         "(left side 1,47, right side  - 1,47).\r\n", true},
        {"UnfitTextIsReplaced", "sqr(x)=-1", with([](SolveOptions& o) { o.checkTexts.failed = "%s %s"; }),
         "Check: x = 1 does not satisfy the equation (left side 1, right side  - 1).\r\n", true},
        {"Translated", "sqr(x)=-1",
         with([](SolveOptions& o) { o.checkTexts.failed = "Probe: %s / %s / %s"; }),
         "<=> x = 1\r\nProbe: 1 / 1 /  - 1\r\n", true},
    };
    engine::EquationSolver solver;
    for (const Row& row : rows) {
        const SolutionBlock block = solutionBlock(solver, row.equation, row.options);
        EXPECT_TRUE(block.text.ends_with(row.lastLines)) << row.name << ": " << block.text;
        EXPECT_EQ(block.hasCheckLine, row.hasCheckLine) << row.name;
        // The check line is a part of its own, so that the view can colour it.
        const bool hasCheckPart =
            std::any_of(block.parts.begin(), block.parts.end(),
                        [](const BlockPart& part) { return part.kind == BlockPartKind::Check; });
        EXPECT_EQ(hasCheckPart, row.hasCheckLine) << row.name;
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

TEST(SolveCommand, AllSolutionsFollowTheDerivationAndItsCheck)
{
    const SolveOptions all = with([](SolveOptions& o) { o.allSolutions = true; });
    struct Row {
        const char* name;
        std::string equation;
        SolveOptions options;
        std::string lastLines; ///< the end of the block
    };
    const Row rows[] = {
        {"Other", "x^2-5*x+6=0", all, "<=> x = 3\r\nOther solutions: x = 2\r\n"},
        {"NoneOther", "x-1=2", all, "x = 3\r\nNo other solutions found.\r\n"},
        // The search confirms the derivation's value; a double root is shown once.
        {"DoubleRootOnce", "x^2-2*x+1=0", all, "No other solutions found.\r\n"},
        // The derivation ends in ERROR 33: every solution is listed.
        {"AfterLineLimit", "exp(x)=3*x", all,
         "!\r\nSolutions: x = 0.619061, x = 1.51213, x = 3.19096 - 7.44927 * sqr( - 1), x = "
         "3.19096 + 7.44927 * sqr( - 1)\r\n"
         "More solutions may exist.\r\n"},
        // A final value that fails its check is no solution either, nor one where a side is undefined.
        {"FailedCheck", "sqr(x)=-1", all, "(left side 1, right side  - 1).\r\nNo solutions found.\r\n"},
        {"UndefinedCheck", "x/(x-2)=2/(x-2)", all, "not defined there.\r\nNo solutions found.\r\n"},
        {"OtherBranchCheck", "x^x=10", all,
         "side 10.\r\nSolutions: x = 2.50618, x = 3.07298 - 2.80939 * "
         "sqr( - 1), x = 3.07298 + 2.80939 * sqr( - 1), x = 3.76364 - "
         "4.96944 * sqr( - 1), x = 3.76364 + 4.96944 * sqr( - 1)\r\nMore "
         "solutions may exist.\r\n"},
        {"CheckLineFirst", "x^2-5*x+6=0", with([](SolveOptions& o) {
             o.allSolutions = true;
             o.showCheck = true;
         }),
         "Check: both sides equal 0.\r\nOther solutions: x = 2\r\n"},
        // Every solution repeats with the period: two families, and no note that more may exist.
        {"Periodic", "sin(x)=0.5", all,
         "<=> x = 0.523599\r\nOther solutions: x = 0.523599 + 6.28319 * k, x = 2.61799 + 6.28319 * "
         "k\r\n(k any whole number)\r\n"},
        {"PeriodicCompact", "exp(x)=2", with([](SolveOptions& o) {
             o.allSolutions = true;
             o.addSpaces = false;
         }),
         "Other solutions: x = 0.693147+6.28319*sqr(-1)*k\r\n(k any whole number)\r\n"},
        {"PeriodicAndSingle", "sin(x)*(x-5)=0", all,
         "Other solutions: x = 3.14159 * k, x = 5\r\n(k any whole number)\r\nMore solutions may exist.\r\n"},
        {"OtherLettersLeftOut", "a*x=b", all, "<=> x = b / a\r\n"},
        {"RejectedEquationLeftOut", "x+1", all, "!\r\n"},
        {"DecimalComma", "x^2=2,25", with([](SolveOptions& o) {
             o.allSolutions = true;
             o.decimalSeparator = ",";
         }),
         "Other solutions: x =  - 1,5\r\n"},
        {"Translated", "x^2-5*x+6=0", with([](SolveOptions& o) {
             o.allSolutions = true;
             o.solutionsTexts.other = "Weitere Lösungen: %s";
         }),
         "Weitere Lösungen: x = 2\r\n"},
        {"UnfitTextIsReplaced", "x^2-5*x+6=0", with([](SolveOptions& o) {
             o.allSolutions = true;
             o.solutionsTexts.other = "%d";
         }),
         "Other solutions: x = 2\r\n"},
    };
    engine::EquationSolver solver;
    for (const Row& row : rows) {
        const SolutionBlock block = solutionBlock(solver, row.equation, row.options);
        EXPECT_TRUE(block.text.ends_with(row.lastLines)) << row.name << ": " << block.text;
    }
}

TEST(SolveCommand, ExactValuesFollowTheDerivationAndTheValuesListed)
{
    const auto exact = [](void (*more)(SolveOptions&)) {
        SolveOptions options = with(more);
        options.exactValues = true;
        return options;
    };
    const struct {
        const char* name;
        std::string equation;
        SolveOptions options;
        std::string lastLines; ///< the end of the block
        bool hasExactLine = true;
    } rows[] = {
        {"Line", "x^2=2", exact([](SolveOptions&) {}), "<=> x = 1.41421\r\nExact value: x = sqr(2)\r\n"},
        {"BeforeTheCheck", "3*x=1", exact([](SolveOptions& o) { o.showCheck = true; }),
         "Exact value: x = 1 / 3\r\nCheck: both sides equal 1.\r\n"},
        // A decimal that is the value already gets nothing.
        {"AlreadyExact", "2*x=5", exact([](SolveOptions&) {}), "<=> x = 2.5\r\n", false},
        {"Listed", "x^2-x-1=0", exact([](SolveOptions& o) { o.allSolutions = true; }),
         "Exact value: x = (1 + sqr(5)) / 2\r\nOther solutions: x =  - 0.618034 = (1 - sqr(5)) / 2\r\n"},
        {"CompactWithComma", "x^2+x+1=0", exact([](SolveOptions& o) {
             o.allSolutions = true;
             o.addSpaces = false;
             o.decimalSeparator = ",";
         }),
         "Exact value: x = (-1+sqr(-3))/2\r\nOther solutions: x = -0,5-0,866025*sqr(-1) = "
         "(-1-sqr(-3))/2\r\n"},
        {"Families", "sin(x)=0.5", exact([](SolveOptions& o) { o.allSolutions = true; }),
         "Exact value: x = \xCF\x80 / 6\r\nOther solutions: x = 0.523599 + 6.28319 * k = \xCF\x80 / 6 + 2 * "
         "\xCF\x80 * "
         "k, x = 2.61799 + 6.28319 * k = 5 * \xCF\x80 / 6 + 2 * \xCF\x80 * k\r\n(k any whole number)\r\n"},
        {"Translated", "x^2=2", exact([](SolveOptions& o) { o.exactValueText = "Exakter Wert: x = %s"; }),
         "Exakter Wert: x = sqr(2)\r\n"},
        // Off: the block is as without the option.
        {"Off", "x^2=2", with([](SolveOptions&) {}), "<=> x = 1.41421\r\n", false},
    };
    engine::EquationSolver solver;
    for (const auto& row : rows) {
        const SolutionBlock block = solutionBlock(solver, row.equation, row.options);
        EXPECT_TRUE(block.text.ends_with(row.lastLines)) << row.name << ": " << block.text;
        // The line is a part of its own, for the view's colours.
        const bool hasExactPart =
            std::any_of(block.parts.begin(), block.parts.end(), [](const BlockPart& part) {
                return part.kind == BlockPartKind::ExactValue && part.text.find(" x = ") != std::string::npos;
            });
        EXPECT_EQ(hasExactPart, row.hasExactLine) << row.name;
    }
}

TEST(SolveCommand, SolutionsListSeparatesByASemicolonAfterADecimalComma)
{
    analysis::AllSolutions found;
    found.hasRun = true;
    found.solutions = {{{1.5, 0.0}, analysis::CheckVerdict::Verified},
                       {{2.5, -0.5}, analysis::CheckVerdict::Verified}};
    const SolveOptions options = defaultSolveOptions();
    EXPECT_EQ(solutionsLines(found, analysis::CheckResult(), options.solutionsTexts, false, ","),
              "Solutions: x = 1,5; x = 2,5-0,5*sqr(-1)\r\n");
    EXPECT_EQ(solutionsLines(found, analysis::CheckResult(), options.solutionsTexts, false, "."),
              "Solutions: x = 1.5, x = 2.5-0.5*sqr(-1)\r\n");
    found.families = {{{0.0, 0.0}, {1.5, 2.0}}};
    found.solutions.clear();
    EXPECT_EQ(solutionsLines(found, analysis::CheckResult(), options.solutionsTexts, false, ","),
              "Solutions: x = (1,5+2*sqr(-1))*k\r\n(k any whole number)\r\n");
    found.hasRun = false;
    EXPECT_EQ(solutionsLines(found, analysis::CheckResult(), options.solutionsTexts, false, "."), "");
}

TEST(SolveCommand, AllSolutionsLeaveEveryGoldenDerivationByteForByte)
{
    const std::vector<std::string> inputs = support::goldenInputs(GOLDEN_DIR);
    ASSERT_GT(inputs.size(), 50u);
    const SolveOptions off = defaultSolveOptions();
    const SolveOptions on = with([](SolveOptions& o) { o.allSolutions = true; });
    engine::EquationSolver solver;
    for (const std::string& input : inputs) {
        const SolutionBlock plain = solutionBlock(solver, input, off);
        EXPECT_FALSE(plain.solutions.hasRun) << input;
        const SolutionBlock withAll = solutionBlock(solver, input, on);
        ASSERT_FALSE(withAll.parts.empty()) << input;
        std::string before;
        for (const BlockPart& part : withAll.parts)
            if (part.kind != BlockPartKind::Solutions)
                before += part.text;
        EXPECT_EQ(before, plain.text) << input;
        EXPECT_LE(withAll.solutions.solutions.size(), static_cast<std::size_t>(analysis::kMaxRoots)) << input;
        for (const analysis::Solution& solution : withAll.solutions.solutions)
            EXPECT_EQ(solution.verdict, analysis::CheckVerdict::Verified) << input;
    }
}

struct SummaryRow {
    const char* name;
    std::string equation;
    SolveOptions options;
    std::string summary;
};

TEST(SolveCommand, ResultSummaryIsTheFinalLineAndTheVerdict)
{
    const SolveOptions defaults = defaultSolveOptions();
    const SummaryRow rows[] = {
        {"Verified", "2*x=6", defaults, "x = 3  Check: both sides equal 6."},
        {"NumberAndEquivalenceDropped", "2*x=6", with([](SolveOptions& o) { o.addLineNumbers = true; }),
         "x = 3  Check: both sides equal 6."},
        {"ReasonDropped", "2*x=6", with([](SolveOptions& o) { o.explainSteps = true; }),
         "x = 3  Check: both sides equal 6."},
        {"OwnEquivalenceText", "2*x=6", with([](SolveOptions& o) { o.equivalent = "=> "; }),
         "x = 3  Check: both sides equal 6."},
        {"NoSpacesAndAComma", "2*x=5", with([](SolveOptions& o) {
             o.addSpaces = false;
             o.decimalSeparator = ",";
         }),
         "x=2,5  Check: both sides equal 5."},
        {"FirstLineIsTheLast", "x=5", defaults, "x = 5  Check: both sides equal 5."},
        {"Failed", "sqr(x)=-1", defaults,
         "x = 1  Check: x = 1 does not satisfy the equation (left side 1, right side  - 1)."},
        {"ErrorMessageAlone", "x+1", defaults, "ERROR 22: Equation contains no ' = '!"},
    };
    engine::EquationSolver solver;
    for (const SummaryRow& row : rows) {
        const SolutionBlock block = solutionBlock(solver, row.equation, row.options);
        EXPECT_EQ(resultSummary(block, row.options), row.summary) << row.name;
    }
    EXPECT_EQ(resultSummary(SolutionBlock(), defaults), "");
}

} // namespace
} // namespace config
