// SPDX-License-Identifier: MIT
// Validation faults: each row names the input and the exact message with its position.
#include "engine/equation_solver.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

namespace {

struct Row {
    const char* name;
    std::string input;
    std::string expected; // the whole Solve result, without the final CR LF
};

class ValidationTest : public ::testing::TestWithParam<Row> {};

TEST_P(ValidationTest, ReportsFirstFault)
{
    const Row& row = GetParam();
    auto solver = std::make_unique<engine::EquationSolver>();
    EXPECT_EQ(solver->Solve(row.input), row.expected + "\r\n");
    // A second solve of the same text gives the same message.
    EXPECT_EQ(solver->Solve(row.input), row.expected + "\r\n");
    EXPECT_NE(solver->lastError(), engine::ErrorCode::None);
}

const Row kRows[] = {
    {"Empty", "", "ERROR 2: Equation line is empty!"},
    {"TooLong256", std::string(254, '1') + "=x", "ERROR 3: Equation line contains more than 255 characters!"},
    {"TooLongBeforeOtherFaults", ")" + std::string(255, '='),
     "ERROR 3: Equation line contains more than 255 characters!"},
    {"FirstCloseParen", ")x=1", "ERROR 4: First character ')' is wrong!"},
    {"FirstEquals", "=x", "ERROR 4: First character '=' is wrong!"},
    {"FirstUpperCase", "X=1", "ERROR 4: First character 'X' is wrong!"},
    {"OpenParenLast", "x=(", "ERROR 5: CHARACTER 3: Missing characters after '('!"},
    {"AfterOpenParen", "x=(*2)", "ERROR 6: CHARACTER 3: Illegal character '*' after '('!"},
    {"CloseWithoutOpen", "x=1)", "ERROR 7: CHARACTER 3: More ')' than '('!"},
    {"AfterCloseParen", "(x)2=1", "ERROR 8: CHARACTER 3: Illegal character '2' after ')'!"},
    {"OperatorLast", "x=5-", "ERROR 9: CHARACTER 4: Missing characters after operator '-'!"},
    {"OperatorThenOperator", "x=5*/2",
     "ERROR 10: CHARACTER 4: The operator '*' follows an illegal chracter '/'!"},
    {"EqualsThenCloseParen", "(x=)",
     "ERROR 10: CHARACTER 3: The operator '=' follows an illegal chracter ')'!"},
    {"TwoEquals", "x==1", "ERROR 10: CHARACTER 2: The operator '=' follows an illegal chracter '='!"},
    {"NumberTooLarge", "x=1e19", "ERROR 11: CHARACTER 2: Wrong numerical constant!"},
    {"NumberTooSmall", "x=1e-19", "ERROR 11: CHARACTER 2: Wrong numerical constant!"},
    {"LonePoint", "x=.", "ERROR 11: CHARACTER 2: Wrong numerical constant!"},
    {"NumberThenLetter", "2x=1", "ERROR 12: CHARACTER 1: Number follows illegal character 'x'!"},
    {"TwoPoints", "x=1.2.3", "ERROR 12: CHARACTER 5: Number follows illegal character '.'!"},
    {"EqualsInsideParens", "(x=1)+1", "ERROR 13: CHARACTER 2: More '(' than ')' before '='!"},
    {"TwoLettersEnd", "x=si", "ERROR 14: CHARACTER 4: Missing third character for functionname!"},
    {"TwoLettersThenEquals", "si=1", "ERROR 15: CHARACTER 2: Character '=', no third for functionname!"},
    {"UnknownFunction", "foo(x)=1", "ERROR 16: CHARACTER 0: Unknown function 'foo'!"},
    {"FunctionNameLast", "x=sin", "ERROR 17: CHARACTER 5: Missing '(' after functionnname!"},
    {"FunctionWithoutParen", "sinh(x)=1",
     "ERROR 18: CHARACTER 3: '(' is required after functionname - not allowed: 'h'!"},
    {"LetterThenDigit", "x2=1", "ERROR 19: CHARACTER 1: Illegal character '2' after variablename!"},
    {"UnclosedParen", "(x+1", "ERROR 20: More '(' than ')' after '='!"},
    {"NoUnknown", "y=1", "ERROR 21: Equation contains no 'x'!"},
    {"NoEquals", "x+1", "ERROR 22: Equation contains no '='!"},
    {"SecondEquals", "x=1=2", "ERROR 23: Multiple '=' in equation found!"},
    {"BlankReachingEngine", "x= 1",
     "ERROR 10: CHARACTER 2: The operator '=' follows an illegal chracter ' '!"},
};

INSTANTIATE_TEST_SUITE_P(Messages, ValidationTest, ::testing::ValuesIn(kRows),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(Validation, AcceptsBoundaryInputs)
{
    struct Accepted {
        const char* name;
        std::string input;
    };
    const Accepted accepted[] = {
        {"Exactly255",
         [] {
             std::string t = "x=1";
             while (t.size() < 255)
                 t += "+1";
             return t;
         }()},
        {"LeadingPoint", ".5*x=1"},
        {"Zero", "x=0.0"},
        {"RangeLimitHigh", "x=1e18"},
        {"RangeLimitLow", "x=1e-18"},
        {"SignsAfterOperators", "x=--5"},
        {"SignOfFactor", "2*-x=1"},
        {"Exponent", "2.5e3*x=1"},
        {"AllFunctions",
         "acs(x)+ahc(x)+ahs(x)+aht(x)+asn(x)+atn(x)+cos(x)+exp(x)=hcs(x)+hsn(x)+htn(x)+lgt(x)+"
         "log(x)+sin(x)+sqr(x)+tan(x)"},
    };
    engine::EquationSolver solver;
    for (const Accepted& row : accepted)
        EXPECT_EQ(solver.Validate(row.input).code, engine::ErrorCode::None) << row.name;
}

TEST(Validation, TranslatedTextsAreFormats)
{
    auto solver = std::make_unique<engine::EquationSolver>();
    solver->SetMessage(19, "FEHLER 19: ZEICHEN %d: '%c' nach Variablenname!");
    EXPECT_EQ(solver->Solve("x2=1"), "FEHLER 19: ZEICHEN 1: '2' nach Variablenname!\r\n");

    // Texts whose conversions do not fit the code's arguments fall back to the built-in text.
    const char* const mismatched[] = {"%s at %d", "%d %c %c",  "%c only", "%n",
                                      "%d%*c",    "%5000d %c", "%ld %c"};
    for (const char* text : mismatched) {
        solver->SetMessage(19, text);
        EXPECT_EQ(solver->Solve("x2=1"),
                  "ERROR 19: CHARACTER 1: Illegal character '2' after variablename!\r\n")
            << text;
    }
    // A translation may leave out trailing details, or all of them.
    solver->SetMessage(19, "FEHLER 19 an Stelle %d");
    EXPECT_EQ(solver->Solve("x2=1"), "FEHLER 19 an Stelle 1\r\n");
    solver->SetMessage(4, "FEHLER 4: Erstes Zeichen ist falsch!");
    EXPECT_EQ(solver->Solve(")x=1"), "FEHLER 4: Erstes Zeichen ist falsch!\r\n");

    // Codes without arguments show their text unchanged, conversions included.
    solver->SetMessage(22, "no '=' in %s%n");
    EXPECT_EQ(solver->Solve("x+1"), "no '=' in %s%n\r\n");
}

TEST(Validation, PlaceholdersForUnusedEntries)
{
    const engine::EquationSolver solver;
    EXPECT_EQ(solver.message(24), "ERROR 24 - General equation fault, params: a) 0 b) 0 c) 0\r\n");
    EXPECT_EQ(solver.message(2), "ERROR 2: Equation line is empty!\r\n");
    EXPECT_EQ(solver.message(34), "ERROR 34: Too many different numbers (more than 117)!\r\n");
    EXPECT_EQ(solver.message(40), "");
}

} // namespace
