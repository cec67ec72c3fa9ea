// SPDX-License-Identifier: MIT
// Every interface text by key, with its built-in English default, and the table of loaded texts.
#include "config/interface_texts.h"

#include "engine/equation_solver.h"

#include <algorithm>
#include <array>
#include <system_error>

namespace config {

namespace {

using enum Form;
using enum TextTarget;

constexpr TextKey message(std::string_view key, int index)
{
    return {key, {}, Main, EngineMessage, index};
}

// In the texts, \t separates a menu caption from its shortcut.
constexpr auto kTextKeys = std::to_array<TextKey>({
    // Main window, menus.
    {"FrmMain.ID_MEN_FILE", "File", Main, Menu},
    {"FrmMain.ID_MEN_TEQNEW", "New equation\tCtrl+N", Main, Menu},
    {"FrmMain.ID_MEN_TEQOPEN", "Open equation\tCtrl+O", Main, Menu},
    {"FrmMain.ID_MEN_TEQSAVE", "Save equation\tCtrl+S", Main, Menu},
    {"FrmMain.ID_MEN_TEQSAVEAS", "Save equation as...", Main, Menu},
    {"FrmMain.ID_MEN_SAVEAS", "Save result\tCtrl+R", Main, Menu},
    {"FrmMain.ID_MEN_EXIT", "Exit\tCtrl+Q", Main, Menu},
    {"FrmMain.ID_MEN_RECENT", "Recent", Main, Menu},
    {"FrmMain.ID_MEN_CLEARLIST", "Clear", Main, Menu},
    {"FrmMain.ID_MEN_DEACTIVATE", "Deactivate", Main, Menu},
    {"FrmMain.ID_MEN_EDIT", "Edit", Main, Menu},
    {"FrmMain.ID_MEN_SELECTALL", "Select all\tCtrl+A", Main, Menu},
    {"FrmMain.ID_MEN_COPY", "Copy", Main, Menu},
    {kKeyCopyLatex, "Copy as LaTeX", Main, Menu},
    {"FrmMain.ID_MEN_CLEAR", "Clear result(s)\tCtrl+D", Main, Menu},
    {"FrmMain.ID_MEN_EQUALCLEAR", "Clear equation\tCtrl+N", Main, Menu},
    {"FrmMain.ID_MEN_CLEARHISTORY", "Clear history", Main, Menu},
    {"FrmMain.ID_MEN_VIEW", "View", Main, Menu},
    {"FrmMain.ID_MEN_OPTIONS", "Options", Main, Menu},
    {"FrmMain.ID_MEN_LANGUAGE", "Language", Main, Menu},
    {"FrmMain.ID_MEN_HELP", "Help\tF1", Main, Menu},
    {"FrmMain.ID_MEN_INFO", "Info", Main, Menu},
    {"FrmMain.ID_MEN_LICENSE", "License", Main, Menu},
    {"FrmMain.ID_MEN_README", "Changes", Main, Menu},
    {"FrmMain.ID_MEN_CHECKUPDATE", "Check for update", Main, Menu},
    {kKeyGraphMenu, "Graph\tF4", Main, Menu},
    // Main window, window texts, stored texts and tooltips.
    {"FrmMain.m_LBLEquation", "Equation", Main, WindowText},
    {"FrmMain.m_BTNSolve", "Solve", Main, WindowText},
    {kKeyFileType, "Tervalon file (*.teq)|*.teq||", Main, Stored},
    {kKeyTextFile, "Textfile (*.txt)|*.txt|RTF (*.rtf)|*.rtf||", Main, Stored},
    {kKeyLatexFile, "LaTeX (*.tex)|*.tex||", Main, Stored},
    {kKeySolution, "Solution of '%s'\r\n%s", Main, Stored},
    {kKeyError, "FEHLER", Main, Stored}, // German on purpose: the caption has always been "FEHLER"
    {kKeyReadError, "File '%s' cannot be opened.", Main, Stored},
    {kKeyWriteError, "File '%s' cannot be written.", Main, Stored},
    {kKeyButtonOk, "OK", Main, Stored},
    // The line a result check adds after the derivation; its numbers follow the decimal separator.
    {kKeyCheckFailed, "Check: x = %s does not satisfy the equation (left side %s, right side %s).", Main,
     Stored},
    {kKeyCheckFailedLetters,
     "Check: with %s, x = %s does not satisfy the equation (left side %s, right side %s).", Main, Stored},
    {kKeyCheckVerified, "Check: both sides equal %s.", Main, Stored},
    {kKeyCheckVerifiedLetters, "Check: both sides agree for three sets of values of the other letters.", Main,
     Stored},
    {kKeyCheckNotPossible, "Check: not possible here.", Main, Stored},
    // A value that holds only with the engine's own branches, and one at which a side is undefined.
    {kKeyCheckOtherBranch,
     "Check: x = %s satisfies the equation only with another branch of a power, root or logarithm; with "
     "principal values the left side is %s and the right side %s.",
     Main, Stored},
    {kKeyCheckOtherBranchLetters,
     "Check: with %s, x = %s satisfies the equation only with another branch of a power, root or logarithm; "
     "with principal values the left side is %s and the right side %s.",
     Main, Stored},
    {kKeyCheckUndefinedLeft, "Check: x = %s is not a solution: the left side is not defined there.", Main,
     Stored},
    {kKeyCheckUndefinedRight, "Check: x = %s is not a solution: the right side is not defined there.", Main,
     Stored},
    {kKeyCheckUndefinedLeftLetters,
     "Check: with %s, x = %s is not a solution: the left side is not defined there.", Main, Stored},
    {kKeyCheckUndefinedRightLetters,
     "Check: with %s, x = %s is not a solution: the right side is not defined there.", Main, Stored},
    // The block of all solutions after the derivation: "%s" is the list "x = 2, x = -1.5".
    {kKeyOtherSolutions, "Other solutions: %s", Main, Stored},
    {kKeyNoOtherSolutions, "No other solutions found.", Main, Stored},
    {kKeyAllSolutions, "Solutions: %s", Main, Stored},
    {kKeyNoSolutions, "No solutions found.", Main, Stored},
    {kKeyMoreSolutions, "More solutions may exist.", Main, Stored},
    // After a list with a periodic family "x = 2.61799 + 6.28319*k".
    {kKeyAnyWholeNumber, "(k any whole number)", Main, Stored},
    // After the derivation, with Show exact values: "%s" is the closed form of its final value.
    {kKeyExactValue, "Exact value: x = %s", Main, Stored},
    // The graph panel: the legend, what it shows instead of curves, its tabs, buttons and file filter.
    {kKeyGraphLeft, "left side", Main, Stored},
    {kKeyGraphRight, "right side", Main, Stored},
    {kKeyGraphLetters, "The graph needs values for the letters.", Main, Stored},
    {kKeyGraphNoReal, "No side is real in this range.", Main, Stored},
    {kKeyGraphError, "No graph: ERROR %d", Main, Stored},
    {kKeyGraphFilter, "PNG picture (*.png)|*.png|SVG picture (*.svg)|*.svg||", Main, Stored},
    {kKeyGraphReal, "Real", Main, WindowText},
    {kKeyGraphComplex, "Complex", Main, WindowText},
    {kKeySaveGraph, "Save graph...", Main, WindowText},
    {kKeyCopyGraph, "Copy graph", Main, WindowText},
    {kKeyNoBrowser, "No web browser could open %s.", Main, Stored},
    {"FrmMain.m_BTNX", "Variable X", Main, Tooltip},
    {"FrmMain.m_BTNClearSelection", "Clear selection", Main, Tooltip},
    {"FrmMain.m_BTNClearAll", "Clear all", Main, Tooltip},
    {"FrmMain.m_BTNSin", "Sinus function", Main, Tooltip},
    {"FrmMain.m_BTNCos", "Cosinus function", Main, Tooltip},
    {"FrmMain.m_BTNTan", "Tangent function", Main, Tooltip},
    {"FrmMain.m_BTNSqr", "Squareroot function", Main, Tooltip},
    {"FrmMain.m_BTNLog", "Logarithm function", Main, Tooltip},
    {"FrmMain.m_BTNExp", "Exponentiell function", Main, Tooltip},
    {"FrmMain.m_EDTEquation", "Enter equation here (e.g. x=10*sin(x-1))", Main, Tooltip},
    // What screen readers say for the calculator keys: what each one inserts or does.
    {"FrmMain.m_ACCSin", "sine", Main, Accessible},
    {"FrmMain.m_ACCCos", "cosine", Main, Accessible},
    {"FrmMain.m_ACCTan", "tangent", Main, Accessible},
    {"FrmMain.m_ACCSqr", "square root", Main, Accessible},
    {"FrmMain.m_ACCExp", "exponential function", Main, Accessible},
    {"FrmMain.m_ACCLog", "natural logarithm", Main, Accessible},
    {"FrmMain.m_ACCAsn", "arc sine", Main, Accessible},
    {"FrmMain.m_ACCAcs", "arc cosine", Main, Accessible},
    {"FrmMain.m_ACCAtn", "arc tangent", Main, Accessible},
    {"FrmMain.m_ACCHsn", "hyperbolic sine", Main, Accessible},
    {"FrmMain.m_ACCHcs", "hyperbolic cosine", Main, Accessible},
    {"FrmMain.m_ACCHtn", "hyperbolic tangent", Main, Accessible},
    {"FrmMain.m_ACCPoint", "decimal separator", Main, Accessible},
    {"FrmMain.m_ACCX", "variable x", Main, Accessible},
    {"FrmMain.m_ACCPlus", "plus", Main, Accessible},
    {"FrmMain.m_ACCMinus", "minus", Main, Accessible},
    {"FrmMain.m_ACCTimes", "times", Main, Accessible},
    {"FrmMain.m_ACCDivide", "divided by", Main, Accessible},
    {"FrmMain.m_ACCPower", "to the power of", Main, Accessible},
    {"FrmMain.m_ACCEquals", "equals sign", Main, Accessible},
    {"FrmMain.m_ACCOpen", "opening parenthesis", Main, Accessible},
    {"FrmMain.m_ACCClose", "closing parenthesis", Main, Accessible},
    {"FrmMain.m_ACCClearSelection", "clear last character", Main, Accessible},
    {"FrmMain.m_ACCClearAll", "clear all", Main, Accessible},
    // The description of Solve, and the names of the view and of the status line under it.
    {kKeyAccessibleSolve, "Solves the equation and shows every step of the derivation", Main, Accessible},
    {kKeyAccessibleView, "Solutions", Main, Accessible},
    {kKeyAccessibleStatus, "Result", Main, Accessible},
    // Main window, engine messages: entry k of the message table; there is no entry 24.
    message("FrmMain.TEQERROR02", 2),
    message("FrmMain.TEQERROR03", 3),
    message("FrmMain.TEQERROR04", 4),
    message("FrmMain.TEQERROR05", 5),
    message("FrmMain.TEQERROR06", 6),
    message("FrmMain.TEQERROR07", 7),
    message("FrmMain.TEQERROR08", 8),
    message("FrmMain.TEQERROR09", 9),
    message("FrmMain.TEQERROR10", 10),
    message("FrmMain.TEQERROR11", 11),
    message("FrmMain.TEQERROR12", 12),
    message("FrmMain.TEQERROR13", 13),
    message("FrmMain.TEQERROR14", 14),
    message("FrmMain.TEQERROR15", 15),
    message("FrmMain.TEQERROR16", 16),
    message("FrmMain.TEQERROR17", 17),
    message("FrmMain.TEQERROR18", 18),
    message("FrmMain.TEQERROR19", 19),
    message("FrmMain.TEQERROR20", 20),
    message("FrmMain.TEQERROR21", 21),
    message("FrmMain.TEQERROR22", 22),
    message("FrmMain.TEQERROR23", 23),
    message("FrmMain.TEQERROR25", 25),
    message("FrmMain.TEQERROR26", 26),
    message("FrmMain.TEQERROR27", 27),
    message("FrmMain.TEQERROR28", 28),
    message("FrmMain.TEQERROR29", 29),
    message("FrmMain.TEQERROR30", 30),
    message("FrmMain.TEQERROR31", 31),
    message("FrmMain.TEQERROR32", 32),
    message("FrmMain.TEQERROR33", 33),
    message("FrmMain.TEQERROR34", 34),
    // Options dialog.
    {"FrmOpt.Caption", "Options", Options, WindowText},
    {"FrmOpt.m_CHKClearResult", "Clear result before solving equation", Options, WindowText},
    {"FrmOpt.m_CHKAddLineNumbers", "Add line numbers", Options, WindowText},
    {"FrmOpt.m_CHKAddSpaces", "Add spaces", Options, WindowText},
    {"FrmOpt.m_CHKHighlight", "Enable highlighting", Options, WindowText},
    {"FrmOpt.m_CHKExplainSteps", "Explain steps", Options, WindowText},
    {"FrmOpt.m_CHKShowCheck", "Show check", Options, WindowText},
    {"FrmOpt.m_CHKAllSolutions", "Show all solutions", Options, WindowText},
    {"FrmOpt.m_CHKExactValues", "Show exact values", Options, WindowText},
    {"FrmOpt.m_CHKKeepHistory", "Keep equation history", Options, WindowText},
    {"FrmOpt.m_LBLEquivalent", "Equivalent text", Options, WindowText},
    {"FrmOpt.m_LBLDecimalSeparator", "Decimal seperator", Options, WindowText},
    {"FrmOpt.m_BTNEquivalentReset", "Reset", Options, WindowText},
    {"FrmOpt.m_LBLFont", "Font", Options, WindowText},
    {"FrmOpt.m_LBLFont2", "Font 2", Options, WindowText},
    {"FrmOpt.m_LBLColors", "Colors", Options, WindowText},
    {"FrmOpt.m_LBLPaper", "Paper", Options, WindowText},
    {"FrmOpt.m_CBPaperLight", "Light", Options, WindowText},
    {"FrmOpt.m_CBPaperDark", "Dark", Options, WindowText},
    {"FrmOpt.m_CBPaperDesktop", "As the desktop", Options, WindowText},
    {"FrmOpt.m_BTNOk", "OK", Options, WindowText},
    {"FrmOpt.m_BTNCancel", "Cancel", Options, WindowText},
    {kKeyAccessibleTextColor, "Text color", Options, Accessible},
    {kKeyAccessibleFunctionColor, "Function color", Options, Accessible},
    {kKeyAccessibleNumberColor, "Number color", Options, Accessible},
    // Language dialog.
    {"FrmLanguage.Caption", "Select language", Language, WindowText},
    {"FrmLanguage.m_LBLCurrentLanguage", "Current language:", Language, WindowText},
    {"FrmLanguage.m_BTNOk", "OK", Language, WindowText},
    {"FrmLanguage.m_BTNCancel", "Cancel", Language, WindowText},
    // Not shown: which of Qt's translations the dialogs Qt draws itself follow (file and colour
    // pickers, its message boxes, context menus). English needs none.
    {kKeyQtLocale, "", Language, Stored},
    // Reasons of the solution lines: short phrases without a point (the Solve command turns every
    // "." of a block into the decimal separator); %s stands for maths, %d for a count.
    {"Steps.Equation", "equation as entered", Steps, Stored},
    {"Steps.FoldZeroSign", "-0 written as +0", Steps, Stored},
    {"Steps.FoldZeroTerm", "term 0 dropped", Steps, Stored},
    {"Steps.FoldZeroProduct", "product with the factor 0 is 0", Steps, Stored},
    {"Steps.FoldZeroBase", "power of 0 is 0", Steps, Stored},
    {"Steps.FoldZeroExponent", "power with the exponent 0 is 1", Steps, Stored},
    {"Steps.FoldOneFactor", "factor 1 dropped", Steps, Stored},
    {"Steps.FoldOneBase", "power of 1 is 1", Steps, Stored},
    {"Steps.FoldOneExponent", "exponent 1 dropped", Steps, Stored},
    {"Steps.FoldSignIn", "sign taken into the constant %s", Steps, Stored},
    {"Steps.FoldSignOut", "sign of %s moved in front of its term", Steps, Stored},
    {"Steps.Fold", "%s evaluated", Steps, Stored},
    {"Steps.FoldExponents", "exponents multiplied: %s", Steps, Stored},
    {"Steps.Rule", "rule %s: %s", Steps, Stored},
    {"Steps.Collect", "rule %s for the letter %s: %s", Steps, Stored},
    {"Steps.Expand", "expanded by rule %s: %s", Steps, Stored},
    {"Steps.Swap", "sides swapped", Steps, Stored},
    {"Steps.Move", "%s moved to the %s", Steps, Stored},
    {"Steps.MoveSign", "sign moved to the %s", Steps, Stored},
    {"Steps.MoveNumerator", "numerator %s moved to the %s", Steps, Stored},
    {"Steps.UndoBase", "base %s undone with log", Steps, Stored},
    {"Steps.UndoExponent", "exponent %s undone with a root", Steps, Stored},
    {"Steps.UndoFunction", "%s undone with %s", Steps, Stored},
    {"Steps.NothingToUndo", "nothing to undo", Steps, Stored},
    {"Steps.LeftSide", "left side", Steps, Stored},
    {"Steps.RightSide", "right side", Steps, Stored},
    {"Steps.ClearFraction", "every term multiplied by %s", Steps, Stored},
    {"Steps.Search", "numeric search settled on %s after %d trials", Steps, Stored},
    {"Steps.Rejected", "equation rejected before solving", Steps, Stored},
    {"Steps.FoldFailed", "a constant could not be evaluated", Steps, Stored},
    {"Steps.TooLarge", "the equation outgrew the solver's limits", Steps, Stored},
    {"Steps.LineLimit", "line limit reached", Steps, Stored},
});

std::size_t rowIndex(std::string_view key)
{
    const auto found = std::find_if(kTextKeys.begin(), kTextKeys.end(),
                                    [key](const TextKey& row) { return row.key == key; });
    return static_cast<std::size_t>(found - kTextKeys.begin());
}

} // namespace

std::span<const TextKey> textKeys()
{
    return kTextKeys;
}

const TextKey* findTextKey(std::string_view key)
{
    const std::size_t index = rowIndex(key);
    return index < kTextKeys.size() ? &kTextKeys[index] : nullptr;
}

std::string defaultText(const TextKey& row)
{
    if (row.target == EngineMessage)
        return std::string(engine::EquationSolver::defaultMessage(row.messageIndex));
    return std::string(row.defaultText);
}

std::string LookupText(CInitFile& store, std::string_view key, std::string_view defaultText)
{
    return store.ReadString(key, defaultText);
}

InterfaceTexts::InterfaceTexts()
{
    m_texts.reserve(kTextKeys.size());
    for (const TextKey& row : kTextKeys)
        m_texts.push_back(defaultText(row));
}

void InterfaceTexts::load(CInitFile& store, Form form)
{
    for (std::size_t i = 0; i < kTextKeys.size(); ++i) {
        if (kTextKeys[i].form == form)
            m_texts[i] = LookupText(store, kTextKeys[i].key, defaultText(kTextKeys[i]));
    }
}

void InterfaceTexts::loadFromFile(const std::filesystem::path& languageFile, Form form)
{
    CInitFile store(Dialect::Plain);
    std::error_code error;
    if (!languageFile.empty() && std::filesystem::is_regular_file(languageFile, error))
        store.Load(languageFile);
    load(store, form);
}

void InterfaceTexts::installEngineMessages(engine::EquationSolver& solver) const
{
    for (std::size_t i = 0; i < kTextKeys.size(); ++i) {
        if (kTextKeys[i].target == EngineMessage)
            solver.SetMessage(kTextKeys[i].messageIndex, m_texts[i]);
    }
}

const std::string& InterfaceTexts::text(std::string_view key) const
{
    static const std::string kUnknown;
    const std::size_t index = rowIndex(key);
    return index < m_texts.size() ? m_texts[index] : kUnknown;
}

} // namespace config
