// SPDX-License-Identifier: MIT
// Tests of the interface texts, the language list walk, choosing a language and the engine messages.
#include "config/language_files.h"

#include "config/settings.h"
#include "config/solve_command.h"
#include "engine/equation_solver.h"
#include "support/temp_folder.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace config {
namespace {

using support::TempFolder;

struct ExpectedText {
    std::string_view key;
    std::string_view text;
};

// The built-in English texts, in table order.
const std::vector<ExpectedText> kEnglish = {
    {"FrmMain.ID_MEN_FILE", "File"},
    {"FrmMain.ID_MEN_TEQNEW", "New equation\tCtrl+N"},
    {"FrmMain.ID_MEN_TEQOPEN", "Open equation\tCtrl+O"},
    {"FrmMain.ID_MEN_TEQSAVE", "Save equation\tCtrl+S"},
    {"FrmMain.ID_MEN_TEQSAVEAS", "Save equation as..."},
    {"FrmMain.ID_MEN_SAVEAS", "Save result\tCtrl+R"},
    {"FrmMain.ID_MEN_EXIT", "Exit\tCtrl+Q"},
    {"FrmMain.ID_MEN_RECENT", "Recent"},
    {"FrmMain.ID_MEN_CLEARLIST", "Clear"},
    {"FrmMain.ID_MEN_DEACTIVATE", "Deactivate"},
    {"FrmMain.ID_MEN_EDIT", "Edit"},
    {"FrmMain.ID_MEN_SELECTALL", "Select all\tCtrl+A"},
    {"FrmMain.ID_MEN_COPY", "Copy"},
    {"FrmMain.ID_MEN_COPYLATEX", "Copy as LaTeX"},
    {"FrmMain.ID_MEN_CLEAR", "Clear result(s)\tCtrl+D"},
    {"FrmMain.ID_MEN_EQUALCLEAR", "Clear equation\tCtrl+N"},
    {"FrmMain.ID_MEN_CLEARHISTORY", "Clear history"},
    {"FrmMain.ID_MEN_VIEW", "View"},
    {"FrmMain.ID_MEN_OPTIONS", "Options"},
    {"FrmMain.ID_MEN_LANGUAGE", "Language"},
    {"FrmMain.ID_MEN_HELP", "Help\tF1"},
    {"FrmMain.ID_MEN_INFO", "Info"},
    {"FrmMain.ID_MEN_LICENSE", "License"},
    {"FrmMain.ID_MEN_README", "Changes"},
    {"FrmMain.ID_MEN_CHECKUPDATE", "Check for update"},
    {"FrmMain.ID_MEN_GRAPH", "Graph\tF4"},
    {"FrmMain.m_LBLEquation", "Equation"},
    {"FrmMain.m_BTNSolve", "Solve"},
    {"FrmMain.m_acMFileType", "Tervalon file (*.teq)|*.teq||"},
    {"FrmMain.m_acMTextfile", "Textfile (*.txt)|*.txt|RTF (*.rtf)|*.rtf||"},
    {"FrmMain.m_acMLatexFile", "LaTeX (*.tex)|*.tex||"},
    {"FrmMain.m_acMSolution", "Solution of '%s'\r\n%s"},
    {"FrmMain.m_acMError", "FEHLER"},
    {"FrmMain.m_acMReadError", "File '%s' cannot be opened."},
    {"FrmMain.m_acMWriteError", "File '%s' cannot be written."},
    {"FrmMain.m_acMBtnOk", "OK"},
    {"FrmMain.m_acMCheckFailed",
     "Check: x = %s does not satisfy the equation (left side %s, right side %s)."},
    {"FrmMain.m_acMCheckFailedLetters",
     "Check: with %s, x = %s does not satisfy the equation (left side %s, right side %s)."},
    {"FrmMain.m_acMCheckVerified", "Check: both sides equal %s."},
    {"FrmMain.m_acMCheckVerifiedLetters",
     "Check: both sides agree for three sets of values of the other letters."},
    {"FrmMain.m_acMCheckNotPossible", "Check: not possible here."},
    {"FrmMain.m_acMCheckOtherBranch",
     "Check: x = %s satisfies the equation only with another branch of a power, root or logarithm; with "
     "principal values the left side is %s and the right side %s."},
    {"FrmMain.m_acMCheckOtherBranchLetters",
     "Check: with %s, x = %s satisfies the equation only with another branch of a power, root or logarithm; "
     "with principal values the left side is %s and the right side %s."},
    {"FrmMain.m_acMCheckUndefinedLeft",
     "Check: x = %s is not a solution: the left side is not defined there."},
    {"FrmMain.m_acMCheckUndefinedRight",
     "Check: x = %s is not a solution: the right side is not defined there."},
    {"FrmMain.m_acMCheckUndefinedLeftLetters",
     "Check: with %s, x = %s is not a solution: the left side is not defined there."},
    {"FrmMain.m_acMCheckUndefinedRightLetters",
     "Check: with %s, x = %s is not a solution: the right side is not defined there."},
    {"FrmMain.m_acMOtherSolutions", "Other solutions: %s"},
    {"FrmMain.m_acMNoOtherSolutions", "No other solutions found."},
    {"FrmMain.m_acMAllSolutions", "Solutions: %s"},
    {"FrmMain.m_acMNoSolutions", "No solutions found."},
    {"FrmMain.m_acMMoreSolutions", "More solutions may exist."},
    {"FrmMain.m_acMAnyWholeNumber", "(k any whole number)"},
    {"FrmMain.m_acMExactValue", "Exact value: x = %s"},
    {"FrmMain.m_acMGraphLeft", "left side"},
    {"FrmMain.m_acMGraphRight", "right side"},
    {"FrmMain.m_acMGraphLetters", "The graph needs values for the letters."},
    {"FrmMain.m_acMGraphNoReal", "No side is real in this range."},
    {"FrmMain.m_acMGraphError", "No graph: ERROR %d"},
    {"FrmMain.m_acMGraphFilter", "PNG picture (*.png)|*.png|SVG picture (*.svg)|*.svg||"},
    {"FrmMain.m_TABGraphReal", "Real"},
    {"FrmMain.m_TABGraphComplex", "Complex"},
    {"FrmMain.m_BTNSaveGraph", "Save graph..."},
    {"FrmMain.m_BTNCopyGraph", "Copy graph"},
    {"FrmMain.m_acMNoBrowser", "No web browser could open %s."},
    {"FrmMain.m_BTNX", "Variable X"},
    {"FrmMain.m_BTNClearSelection", "Clear selection"},
    {"FrmMain.m_BTNClearAll", "Clear all"},
    {"FrmMain.m_BTNSin", "Sinus function"},
    {"FrmMain.m_BTNCos", "Cosinus function"},
    {"FrmMain.m_BTNTan", "Tangent function"},
    {"FrmMain.m_BTNSqr", "Squareroot function"},
    {"FrmMain.m_BTNLog", "Logarithm function"},
    {"FrmMain.m_BTNExp", "Exponentiell function"},
    {"FrmMain.m_EDTEquation", "Enter equation here (e.g. x=10*sin(x-1))"},
    {"FrmMain.m_ACCSin", "sine"},
    {"FrmMain.m_ACCCos", "cosine"},
    {"FrmMain.m_ACCTan", "tangent"},
    {"FrmMain.m_ACCSqr", "square root"},
    {"FrmMain.m_ACCExp", "exponential function"},
    {"FrmMain.m_ACCLog", "natural logarithm"},
    {"FrmMain.m_ACCAsn", "arc sine"},
    {"FrmMain.m_ACCAcs", "arc cosine"},
    {"FrmMain.m_ACCAtn", "arc tangent"},
    {"FrmMain.m_ACCHsn", "hyperbolic sine"},
    {"FrmMain.m_ACCHcs", "hyperbolic cosine"},
    {"FrmMain.m_ACCHtn", "hyperbolic tangent"},
    {"FrmMain.m_ACCPoint", "decimal separator"},
    {"FrmMain.m_ACCX", "variable x"},
    {"FrmMain.m_ACCPlus", "plus"},
    {"FrmMain.m_ACCMinus", "minus"},
    {"FrmMain.m_ACCTimes", "times"},
    {"FrmMain.m_ACCDivide", "divided by"},
    {"FrmMain.m_ACCPower", "to the power of"},
    {"FrmMain.m_ACCEquals", "equals sign"},
    {"FrmMain.m_ACCOpen", "opening parenthesis"},
    {"FrmMain.m_ACCClose", "closing parenthesis"},
    {"FrmMain.m_ACCClearSelection", "clear last character"},
    {"FrmMain.m_ACCClearAll", "clear all"},
    {"FrmMain.m_ACCSolve", "Solves the equation and shows every step of the derivation"},
    {"FrmMain.m_ACCView", "Solutions"},
    {"FrmMain.m_ACCStatus", "Result"},
    {"FrmMain.TEQERROR02", "ERROR 2: Equation line is empty!"},
    {"FrmMain.TEQERROR03", "ERROR 3: Equation line contains more than 255 characters!"},
    {"FrmMain.TEQERROR04", "ERROR 4: First character '%c' is wrong!"},
    {"FrmMain.TEQERROR05", "ERROR 5: CHARACTER %d: Missing characters after '('!"},
    {"FrmMain.TEQERROR06", "ERROR 6: CHARACTER %d: Illegal character '%c' after '('!"},
    {"FrmMain.TEQERROR07", "ERROR 7: CHARACTER %d: More ')' than '('!"},
    {"FrmMain.TEQERROR08", "ERROR 8: CHARACTER %d: Illegal character '%c' after ')'!"},
    {"FrmMain.TEQERROR09", "ERROR 9: CHARACTER %d: Missing characters after operator '%c'!"},
    {"FrmMain.TEQERROR10", "ERROR 10: CHARACTER %d: The operator '%c' follows an illegal chracter '%c'!"},
    {"FrmMain.TEQERROR11", "ERROR 11: CHARACTER %d: Wrong numerical constant!"},
    {"FrmMain.TEQERROR12", "ERROR 12: CHARACTER %d: Number follows illegal character '%c'!"},
    {"FrmMain.TEQERROR13", "ERROR 13: CHARACTER %d: More '(' than ')' before '='!"},
    {"FrmMain.TEQERROR14", "ERROR 14: CHARACTER %d: Missing third character for functionname!"},
    {"FrmMain.TEQERROR15", "ERROR 15: CHARACTER %d: Character '%c', no third for functionname!"},
    {"FrmMain.TEQERROR16", "ERROR 16: CHARACTER %d: Unknown function '%.3s'!"},
    {"FrmMain.TEQERROR17", "ERROR 17: CHARACTER %d: Missing '(' after functionnname!"},
    {"FrmMain.TEQERROR18", "ERROR 18: CHARACTER %d: '(' is required after functionname - not allowed: '%c'!"},
    {"FrmMain.TEQERROR19", "ERROR 19: CHARACTER %d: Illegal character '%c' after variablename!"},
    {"FrmMain.TEQERROR20", "ERROR 20: More '(' than ')' after '='!"},
    {"FrmMain.TEQERROR21", "ERROR 21: Equation contains no 'x'!"},
    {"FrmMain.TEQERROR22", "ERROR 22: Equation contains no '='!"},
    {"FrmMain.TEQERROR23", "ERROR 23: Multiple '=' in equation found!"},
    {"FrmMain.TEQERROR25", "ERROR 25: Equaltion is too long (more than 255 pieces)!"},
    {"FrmMain.TEQERROR26", "ERROR 26: Too much brace levels (more than 30)!"},
    {"FrmMain.TEQERROR27", "ERROR 27: Numerical overflow (greater 10^18)!"},
    {"FrmMain.TEQERROR28", "ERROR 28: Division by '0' is not possible!"},
    {"FrmMain.TEQERROR29", "ERROR 29: Calculation of 'log(0)' is not possible!"},
    {"FrmMain.TEQERROR30", "ERROR 30: Calculation of 'lgt(0)' is not possible!"},
    {"FrmMain.TEQERROR31", "ERROR 31: Calculation of 'atn(sqr(-1))' is not possible!"},
    {"FrmMain.TEQERROR32", "ERROR 32: Calculation of 'aht(-1)' is not possible!"},
    {"FrmMain.TEQERROR33", "ERROR 33: Too much output lines (more than 255)!"},
    {"FrmMain.TEQERROR34", "ERROR 34: Too many different numbers (more than 117)!"},
    {"FrmOpt.Caption", "Options"},
    {"FrmOpt.m_CHKClearResult", "Clear result before solving equation"},
    {"FrmOpt.m_CHKAddLineNumbers", "Add line numbers"},
    {"FrmOpt.m_CHKAddSpaces", "Add spaces"},
    {"FrmOpt.m_CHKHighlight", "Enable highlighting"},
    {"FrmOpt.m_CHKExplainSteps", "Explain steps"},
    {"FrmOpt.m_CHKShowCheck", "Show check"},
    {"FrmOpt.m_CHKAllSolutions", "Show all solutions"},
    {"FrmOpt.m_CHKExactValues", "Show exact values"},
    {"FrmOpt.m_CHKKeepHistory", "Keep equation history"},
    {"FrmOpt.m_LBLEquivalent", "Equivalent text"},
    {"FrmOpt.m_LBLDecimalSeparator", "Decimal seperator"},
    {"FrmOpt.m_BTNEquivalentReset", "Reset"},
    {"FrmOpt.m_LBLFont", "Font"},
    {"FrmOpt.m_LBLFont2", "Font 2"},
    {"FrmOpt.m_LBLColors", "Colors"},
    {"FrmOpt.m_LBLPaper", "Paper"},
    {"FrmOpt.m_CBPaperLight", "Light"},
    {"FrmOpt.m_CBPaperDark", "Dark"},
    {"FrmOpt.m_CBPaperDesktop", "As the desktop"},
    {"FrmOpt.m_BTNOk", "OK"},
    {"FrmOpt.m_BTNCancel", "Cancel"},
    {"FrmOpt.m_ACCColorText", "Text color"},
    {"FrmOpt.m_ACCColorFunction", "Function color"},
    {"FrmOpt.m_ACCColorNumber", "Number color"},
    {"FrmLanguage.Caption", "Select language"},
    {"FrmLanguage.m_LBLCurrentLanguage", "Current language:"},
    {"FrmLanguage.m_BTNOk", "OK"},
    {"FrmLanguage.m_BTNCancel", "Cancel"},
    {"FrmLanguage.QtLocale", ""},
    {"Steps.Equation", "equation as entered"},
    {"Steps.FoldZeroSign", "-0 written as +0"},
    {"Steps.FoldZeroTerm", "term 0 dropped"},
    {"Steps.FoldZeroProduct", "product with the factor 0 is 0"},
    {"Steps.FoldZeroBase", "power of 0 is 0"},
    {"Steps.FoldZeroExponent", "power with the exponent 0 is 1"},
    {"Steps.FoldOneFactor", "factor 1 dropped"},
    {"Steps.FoldOneBase", "power of 1 is 1"},
    {"Steps.FoldOneExponent", "exponent 1 dropped"},
    {"Steps.FoldSignIn", "sign taken into the constant %s"},
    {"Steps.FoldSignOut", "sign of %s moved in front of its term"},
    {"Steps.Fold", "%s evaluated"},
    {"Steps.FoldExponents", "exponents multiplied: %s"},
    {"Steps.Rule", "rule %s: %s"},
    {"Steps.Collect", "rule %s for the letter %s: %s"},
    {"Steps.Expand", "expanded by rule %s: %s"},
    {"Steps.Swap", "sides swapped"},
    {"Steps.Move", "%s moved to the %s"},
    {"Steps.MoveSign", "sign moved to the %s"},
    {"Steps.MoveNumerator", "numerator %s moved to the %s"},
    {"Steps.UndoBase", "base %s undone with log"},
    {"Steps.UndoExponent", "exponent %s undone with a root"},
    {"Steps.UndoFunction", "%s undone with %s"},
    {"Steps.NothingToUndo", "nothing to undo"},
    {"Steps.LeftSide", "left side"},
    {"Steps.RightSide", "right side"},
    {"Steps.ClearFraction", "every term multiplied by %s"},
    {"Steps.Search", "numeric search settled on %s after %d trials"},
    {"Steps.Rejected", "equation rejected before solving"},
    {"Steps.FoldFailed", "a constant could not be evaluated"},
    {"Steps.TooLarge", "the equation outgrew the solver's limits"},
    {"Steps.LineLimit", "line limit reached"},
};

/// Message codes with a language key: 2-23, 25-33 and 34.
std::vector<int> messageCodes()
{
    std::vector<int> codes;
    for (int code = 2; code <= 34; ++code) {
        if (code != 24)
            codes.push_back(code);
    }
    return codes;
}

std::string messageKey(int code)
{
    return std::string("FrmMain.TEQERROR") + (code < 10 ? "0" : "") + std::to_string(code);
}

/// The texts that differ from English, key by key.
std::vector<std::string> translatedKeys(const InterfaceTexts& texts)
{
    std::vector<std::string> keys;
    for (const ExpectedText& english : kEnglish) {
        if (texts.text(english.key) != english.text)
            keys.emplace_back(english.key);
    }
    return keys;
}

// ---- built-in texts ---------------------------------------------------------------------------

TEST(InterfaceTexts, TableHoldsEveryKeyWithItsEnglishDefault)
{
    const auto keys = textKeys();
    ASSERT_EQ(keys.size(), kEnglish.size());
    const InterfaceTexts texts;
    for (std::size_t i = 0; i < kEnglish.size(); ++i) {
        EXPECT_EQ(keys[i].key, kEnglish[i].key) << "row " << i;
        EXPECT_EQ(defaultText(keys[i]), kEnglish[i].text) << kEnglish[i].key;
        EXPECT_EQ(texts.text(kEnglish[i].key), kEnglish[i].text) << kEnglish[i].key;
        EXPECT_EQ(findTextKey(kEnglish[i].key), &keys[i]);
    }
    EXPECT_EQ(findTextKey("FrmMain.TEQERROR24"), nullptr);
    EXPECT_EQ(texts.text("FrmMain.Unknown"), "");
}

TEST(InterfaceTexts, MessageKeysNameTheirEntry)
{
    for (const int code : messageCodes()) {
        const TextKey* row = findTextKey(messageKey(code));
        ASSERT_NE(row, nullptr) << code;
        EXPECT_EQ(row->target, TextTarget::EngineMessage);
        EXPECT_EQ(row->messageIndex, code);
    }
}

TEST(InterfaceTexts, LookupTextFallsBackForMissingAndEmptyValues)
{
    CInitFile store(Dialect::Plain);
    ASSERT_TRUE(store.loadFromBytes("A=\"translated\"\r\nB=\"\"\r\n"));
    EXPECT_EQ(LookupText(store, "A", "default"), "translated");
    EXPECT_EQ(LookupText(store, "B", "default"), "default");
    EXPECT_EQ(LookupText(store, "C", "default"), "default");
}

TEST(InterfaceTexts, LoadingOneFormLeavesTheOthers)
{
    TempFolder folder;
    const auto file =
        folder.write("de.lng", "FrmOpt.Caption=\"Optionen\"\r\nFrmMain.ID_MEN_FILE=\"Datei\"\r\n"
                               "FrmLanguage.Caption=\"Sprache\"\r\n");
    InterfaceTexts texts;
    texts.loadFromFile(file, Form::Options);
    EXPECT_EQ(translatedKeys(texts), std::vector<std::string>{"FrmOpt.Caption"});
    EXPECT_EQ(texts.text("FrmOpt.Caption"), "Optionen");
    texts.loadFromFile(folder.file("missing.lng"), Form::Options);
    EXPECT_TRUE(translatedKeys(texts).empty()) << "a missing file restores the built-in texts";
}

// ---- the language list ------------------------------------------------------------------------

TEST(LanguageList, PairWalk)
{
    struct Row {
        const char* name;
        std::string list;
        std::vector<LanguageEntry> expected;
    };
    const std::vector<Row> rows = {
        {"pairs in order",
         "LanguageDefault=\"Deutsch\"\r\nLanguageName=\"English\"\r\nLanguageFile=\"en.lng\"\r\n"
         "LanguageName=\"Deutsch\"\r\nLanguageFile=\"de.lng\"\r\n",
         {{"English", "en.lng"}, {"Deutsch", "de.lng"}}},
        {"second pair written file first pairs its name with the third file",
         "LanguageName=\"A\"\r\nLanguageFile=\"a.lng\"\r\nLanguageFile=\"b.lng\"\r\nLanguageName=\"B\"\r\n"
         "LanguageName=\"C\"\r\nLanguageFile=\"c.lng\"\r\n",
         {{"A", "a.lng"}, {"B", "c.lng"}}},
        {"stops at the first empty file",
         "LanguageName=\"A\"\r\nLanguageFile=\"a.lng\"\r\nLanguageName=\"B\"\r\nLanguageFile=\"\"\r\n"
         "LanguageName=\"C\"\r\nLanguageFile=\"c.lng\"\r\n",
         {{"A", "a.lng"}}},
        {"stops at the first empty name",
         "LanguageName=\"\"\r\nLanguageFile=\"a.lng\"\r\nLanguageName=\"B\"\r\nLanguageFile=\"b.lng\"\r\n",
         {}},
        {"a name without a file ends the list",
         "LanguageName=\"A\"\r\nLanguageFile=\"a.lng\"\r\nLanguageName=\"B\"\r\n",
         {{"A", "a.lng"}}},
        {"no pairs", "LanguageDefault=\"A\"\r\n", {}},
    };
    for (const Row& row : rows) {
        CInitFile list(Dialect::Plain);
        ASSERT_TRUE(list.loadFromBytes(row.list));
        EXPECT_EQ(readLanguageList(list), row.expected) << row.name;
    }
}

/// A program folder with a language list and three language files, one in a subfolder.
class LanguageFolder : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_folder.write("de.lng", "FrmMain.ID_MEN_FILE=\"Datei\"\r\nFrmMain.ID_MEN_EDIT=\"Bearbeiten\"\r\n"
                                 "FrmMain.m_acMSolution=\"L\xC3\xB6sung von '%s'\r\n%s\"\r\n"
                                 "FrmMain.ID_MEN_EXIT=\"Beenden\tStrg+Q\"\r\n"
                                 "FrmMain.TEQERROR02=\"FEHLER 2: Die Gleichung ist leer!\"\r\n"
                                 "FrmMain.TEQERROR34=\"FEHLER 34: Zu viele Zahlen!\"\r\n"
                                 "FrmOpt.Caption=\"Optionen\"\r\n");
        m_folder.write("lang/fr.lng", "FrmMain.ID_MEN_FILE=\"Fichier\"\r\nFrmMain.TEQERROR02=\"\"\r\n");
        m_folder.write("one.lng", "FrmMain.ID_MEN_FILE=\"Datei\"\r\n");
    }

    void writeList(std::string_view defaultName)
    {
        m_folder.write("Tervalon_Languages.ini",
                       "LanguageDefault=\"" + std::string(defaultName) +
                           "\"\r\n"
                           "LanguageName=\"Deutsch\"\r\nLanguageFile=\"de.lng\"\r\n"
                           "LanguageName=\"Fran\xC3\xA7"
                           "ais\"\r\nLanguageFile=\"lang/fr.lng\"\r\n"
                           "LanguageName=\"One\"\r\nLanguageFile=\"one.lng\"\r\n"
                           "LanguageName=\"Missing\"\r\nLanguageFile=\"missing.lng\"\r\n");
    }

    void expectEnglishMessages() const
    {
        for (const int code : messageCodes()) {
            EXPECT_EQ(m_solver.message(code),
                      std::string(engine::EquationSolver::defaultMessage(code)) + "\r\n")
                << code;
        }
    }

    TempFolder m_folder;
    engine::EquationSolver m_solver;
};

TEST_F(LanguageFolder, LanguageDefaultIsSelectedForAnEmptyName)
{
    writeList("Deutsch");
    LanguageFiles languages(m_folder.path());
    EXPECT_TRUE(languages.SelectLanguageByName("", m_solver));
    EXPECT_EQ(languages.currentLanguageName(), "Deutsch");
    EXPECT_EQ(languages.currentLanguageFile(), m_folder.path() / "de.lng");
    const InterfaceTexts& texts = languages.texts();
    EXPECT_EQ(translatedKeys(texts), (std::vector<std::string>{"FrmMain.ID_MEN_FILE", "FrmMain.ID_MEN_EXIT",
                                                               "FrmMain.ID_MEN_EDIT", "FrmMain.m_acMSolution",
                                                               "FrmMain.TEQERROR02", "FrmMain.TEQERROR34"}));
    EXPECT_EQ(texts.text("FrmMain.ID_MEN_EXIT"), "Beenden\tStrg+Q");
    EXPECT_EQ(texts.text(kKeySolution), "L\xC3\xB6sung von '%s'\r\n%s")
        << "a real line break inside the text";
    EXPECT_EQ(texts.text("FrmOpt.Caption"), "Options") << "only FrmMain texts are installed";
    EXPECT_EQ(m_solver.message(2), "FEHLER 2: Die Gleichung ist leer!\r\n");
    EXPECT_EQ(m_solver.message(34), "FEHLER 34: Zu viele Zahlen!\r\n");
    EXPECT_EQ(m_solver.message(3), "ERROR 3: Equation line contains more than 255 characters!\r\n");
}

TEST_F(LanguageFolder, NamedLanguageInASubfolder)
{
    writeList("Deutsch");
    LanguageFiles languages(m_folder.path());
    EXPECT_TRUE(languages.SelectLanguageByName("Fran\xC3\xA7"
                                               "ais",
                                               m_solver));
    EXPECT_EQ(languages.currentLanguageFile(), m_folder.path() / "lang" / "fr.lng");
    EXPECT_EQ(translatedKeys(languages.texts()), std::vector<std::string>{"FrmMain.ID_MEN_FILE"});
    expectEnglishMessages(); // an empty translation cannot blank out a text
}

TEST_F(LanguageFolder, FileTranslatingOneKeyChangesOnlyThatText)
{
    writeList("One");
    LanguageFiles languages(m_folder.path());
    EXPECT_TRUE(languages.SelectLanguageByName("", m_solver));
    EXPECT_EQ(translatedKeys(languages.texts()), std::vector<std::string>{"FrmMain.ID_MEN_FILE"});
    EXPECT_EQ(languages.texts().text("FrmMain.ID_MEN_FILE"), "Datei");
    expectEnglishMessages();
}

TEST_F(LanguageFolder, SwitchingLanguagesReplacesEveryText)
{
    writeList("Deutsch");
    LanguageFiles languages(m_folder.path());
    ASSERT_TRUE(languages.SelectLanguageByName("", m_solver));
    ASSERT_TRUE(languages.SelectLanguageByName("One", m_solver));
    EXPECT_EQ(translatedKeys(languages.texts()), std::vector<std::string>{"FrmMain.ID_MEN_FILE"});
    expectEnglishMessages();
}

TEST_F(LanguageFolder, NamesThatMatchNothingKeepEnglish)
{
    struct Row {
        const char* name;
        std::string wanted;
    };
    const std::vector<Row> rows = {
        {"differs only in case", "deutsch"},
        {"trailing blank", "Deutsch "},
        {"not listed", "Klingon"},
        {"listed after the pair walk ended", "Hidden"},
    };
    for (const Row& row : rows) {
        m_folder.write("Tervalon_Languages.ini", "LanguageDefault=\"Deutsch\"\r\n"
                                                 "LanguageName=\"Deutsch\"\r\nLanguageFile=\"de.lng\"\r\n"
                                                 "LanguageName=\"Broken\"\r\nLanguageFile=\"\"\r\n"
                                                 "LanguageName=\"Hidden\"\r\nLanguageFile=\"one.lng\"\r\n");
        LanguageFiles languages(m_folder.path());
        ASSERT_TRUE(languages.SelectLanguageByName("", m_solver)) << row.name;
        EXPECT_FALSE(languages.SelectLanguageByName(row.wanted, m_solver)) << row.name;
        EXPECT_TRUE(translatedKeys(languages.texts()).empty()) << row.name;
        EXPECT_TRUE(languages.currentLanguageFile().empty()) << row.name;
        EXPECT_EQ(languages.currentLanguageName(), "Deutsch") << row.name << ": the name stays";
        expectEnglishMessages();
    }
}

TEST_F(LanguageFolder, ListedLanguageWithoutItsFile)
{
    writeList("Missing");
    LanguageFiles languages(m_folder.path());
    EXPECT_TRUE(languages.SelectLanguageByName("", m_solver));
    EXPECT_TRUE(translatedKeys(languages.texts()).empty());
    EXPECT_TRUE(languages.currentLanguageFile().empty());
    EXPECT_EQ(languages.currentLanguageName(), "Missing");
}

TEST_F(LanguageFolder, MissingListKeepsEnglish)
{
    LanguageFiles languages(m_folder.path() / "elsewhere");
    EXPECT_FALSE(languages.SelectLanguageByName("Deutsch", m_solver));
    EXPECT_TRUE(translatedKeys(languages.texts()).empty());
    EXPECT_TRUE(languages.currentLanguageName().empty());
    expectEnglishMessages();
}

TEST_F(LanguageFolder, Utf16LanguageFileYieldsEnglish)
{
    std::string utf16 = "\xFF\xFE";
    for (const char c : std::string("FrmMain.ID_MEN_FILE=\"Datei\"\r\n")) {
        utf16 += c;
        utf16 += '\0';
    }
    LanguageFiles languages(m_folder.path());
    languages.LoadInterfaceTexts(m_folder.write("utf16.lng", utf16), m_solver);
    EXPECT_EQ(languages.currentLanguageFile(), m_folder.path() / "utf16.lng");
    EXPECT_TRUE(translatedKeys(languages.texts()).empty());
}

TEST_F(LanguageFolder, StoredLanguageNameIsRestored)
{
    writeList("Deutsch");
    struct Row {
        const char* name;
        std::string stored;
        bool translated;     // whether the texts end up German
        std::string current; // the settings' language name afterwards
        bool notStored;
    };
    const std::vector<Row> rows = {
        {"stored and listed", "Deutsch", true, "Deutsch", false},
        {"stored other listed language", "One", false, "One", false},
        // The user's choice is kept: English texts, and the name is written back unchanged.
        {"no longer listed: English, the name stays", "Klingon", false, "Klingon", false},
        {"the built-in English entry", "English", false, "English", false},
        {"never chosen: the default language", "", true, "Deutsch", true},
    };
    for (const Row& row : rows) {
        LanguageFiles languages(m_folder.path());
        languages.SelectLanguageByName("", m_solver); // as at start-up, before the settings are read
        Settings settings;
        settings.languageName = row.stored;
        restoreLanguage(settings, languages, m_solver);
        EXPECT_EQ(languages.texts().text("FrmMain.ID_MEN_EDIT") == "Bearbeiten", row.translated) << row.name;
        EXPECT_EQ(settings.languageName, row.current) << row.name;
        EXPECT_EQ(languages.currentLanguageName(), row.current) << row.name;
        EXPECT_EQ(settings.languageNameNotStored, row.notStored) << row.name;
    }
}

TEST_F(LanguageFolder, ChosenBuiltInEnglishSurvivesEveryRestart)
{
    writeList("Deutsch");
    const std::filesystem::path settingsFile = m_folder.file("Tervalon.ini");
    // First start: the default language; the user picks the built-in English entry.
    {
        LanguageFiles languages(m_folder.path());
        languages.SelectLanguageByName("", m_solver);
        Settings settings;
        LoadSettings(settingsFile, settings);
        restoreLanguage(settings, languages, m_solver);
        chooseLanguage(settings, languages, {}, "English", m_solver);
        ASSERT_TRUE(SaveSettings(settingsFile, settings));
    }
    // Every later start shows English and writes English back.
    for (int start = 2; start <= 3; ++start) {
        LanguageFiles languages(m_folder.path());
        languages.SelectLanguageByName("", m_solver);
        Settings settings;
        LoadSettings(settingsFile, settings);
        restoreLanguage(settings, languages, m_solver);
        EXPECT_TRUE(translatedKeys(languages.texts()).empty()) << "start " << start;
        EXPECT_TRUE(languages.currentLanguageFile().empty()) << "start " << start;
        EXPECT_EQ(languages.currentLanguageName(), "English") << "start " << start;
        ASSERT_TRUE(SaveSettings(settingsFile, settings));
        EXPECT_NE(support::readBytes(settingsFile).find("<LanguageName>English</LanguageName>"),
                  std::string::npos)
            << "start " << start;
    }
}

TEST_F(LanguageFolder, ChosenLanguageBecomesCurrentAndStored)
{
    writeList("Deutsch");
    LanguageFiles languages(m_folder.path());
    languages.SelectLanguageByName("", m_solver);
    Settings settings;
    chooseLanguage(settings, languages, {}, "English", m_solver);
    EXPECT_TRUE(languages.currentLanguageFile().empty());
    EXPECT_EQ(languages.currentLanguageName(), "English");
    EXPECT_EQ(settings.languageName, "English");
    EXPECT_FALSE(settings.languageNameNotStored);
    EXPECT_TRUE(translatedKeys(languages.texts()).empty());
    expectEnglishMessages();
}

// ---- the command-line solver's language file --------------------------------------------------

TEST_F(LanguageFolder, ApplyLanguageFileForTheCommandLine)
{
    struct Row {
        const char* name;
        std::string file;
        LanguageFileUse use;
        std::string header;
        std::string message2; // without CR LF
    };
    m_folder.write("empty.lng", "");
    m_folder.write("utf16.lng", std::string("\xFF\xFE"
                                            "F\0r\0m\0",
                                            8));
    m_folder.write("latin1.lng", "FrmMain.TEQERROR02=\"Gleichung f\xFCr nichts\"\r\n");
    m_folder.write("unknown.lng", "Title=\"Deutsch\"\r\nFrmMain.m_BTNSolve=\"\"\r\n");
    std::filesystem::resize_file(m_folder.write("huge.lng", "FrmMain"), CInitFile::kMaxFileSize + 1);
    std::filesystem::create_directory(m_folder.file("folder.lng"));
    const std::string englishHeader = "Solution of '%s'\r\n%s";
    const std::string english2 = "ERROR 2: Equation line is empty!";
    using enum LanguageFileUse;
    const std::vector<Row> rows = {
        {"translated header and message", "de.lng", Applied, "L\xC3\xB6sung von '%s'\r\n%s",
         "FEHLER 2: Die Gleichung ist leer!"},
        {"file lacking both", "one.lng", Applied, englishHeader, english2},
        {"empty file", "empty.lng", Empty, "unchanged", "unchanged"},
        {"UTF-16 file", "utf16.lng", NotUtf8, "unchanged", "unchanged"},
        {"Latin-1 file", "latin1.lng", NotUtf8, "unchanged", "unchanged"},
        {"no known key with a value", "unknown.lng", NoKnownKeys, "unchanged", "unchanged"},
        {"over the size cap", "huge.lng", TooLarge, "unchanged", "unchanged"},
        {"missing file", "missing.lng", Missing, "unchanged", "unchanged"},
        {"a folder", "folder.lng", Missing, "unchanged", "unchanged"},
    };
    for (const Row& row : rows) {
        engine::EquationSolver solver;
        solver.SetMessage(2, "unchanged");
        SolveOptions options;
        options.headerFormat = "unchanged";
        EXPECT_EQ(applyLanguageFile(m_folder.file(row.file), solver, options), row.use) << row.name;
        EXPECT_EQ(options.headerFormat, row.header) << row.name;
        EXPECT_EQ(solver.message(2), row.message2 + "\r\n") << row.name;
    }
}

} // namespace
} // namespace config
