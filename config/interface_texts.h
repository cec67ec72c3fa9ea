// SPDX-License-Identifier: MIT
// Every interface text by key, with its built-in English default, and the table of loaded texts.
#pragma once

#include "config/init_file.h"

#include <filesystem>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace engine {
class EquationSolver;
}

namespace config {

/// The window or dialog a text key belongs to (its key prefix).
enum class Form {
    Main,     ///< FrmMain: the main window, its menus, stored texts and the engine's messages
    Options,  ///< FrmOpt: the Options dialog
    Language, ///< FrmLanguage: the language dialog
    Steps,    ///< Steps: the reasons shown beside the solution lines
};

/// What the window layer does with a text.
enum class TextTarget {
    Menu,          ///< caption of a menu or menu item
    WindowText,    ///< caption of a window, label or button
    Stored,        ///< kept for later use (file filters, message formats, the solution header)
    Tooltip,       ///< tooltip of a control
    Accessible,    ///< accessible name or description of a control, read out by screen readers
    EngineMessage, ///< entry `messageIndex` of the engine's message table
};

/// One interface text key.
struct TextKey {
    std::string_view key;
    /// Built-in English text; empty for engine messages, whose defaults are the engine's own.
    std::string_view defaultText;
    Form form;
    TextTarget target;
    int messageIndex = 0;
};

// Keys of the stored texts, which other parts of the program fetch by name.
inline constexpr std::string_view kKeyFileType = "FrmMain.m_acMFileType";
inline constexpr std::string_view kKeyTextFile = "FrmMain.m_acMTextfile";
/// The third choice of Save result, kept apart so that older translations of the other two still fit.
inline constexpr std::string_view kKeyLatexFile = "FrmMain.m_acMLatexFile";
inline constexpr std::string_view kKeyCopyLatex = "FrmMain.ID_MEN_COPYLATEX";
inline constexpr std::string_view kKeySolution = "FrmMain.m_acMSolution";
inline constexpr std::string_view kKeyError = "FrmMain.m_acMError";
inline constexpr std::string_view kKeyReadError = "FrmMain.m_acMReadError";
inline constexpr std::string_view kKeyWriteError = "FrmMain.m_acMWriteError";
inline constexpr std::string_view kKeyButtonOk = "FrmMain.m_acMBtnOk";
inline constexpr std::string_view kKeyCheckFailed = "FrmMain.m_acMCheckFailed";
inline constexpr std::string_view kKeyCheckFailedLetters = "FrmMain.m_acMCheckFailedLetters";
inline constexpr std::string_view kKeyCheckVerified = "FrmMain.m_acMCheckVerified";
inline constexpr std::string_view kKeyCheckVerifiedLetters = "FrmMain.m_acMCheckVerifiedLetters";
inline constexpr std::string_view kKeyCheckNotPossible = "FrmMain.m_acMCheckNotPossible";
inline constexpr std::string_view kKeyCheckOtherBranch = "FrmMain.m_acMCheckOtherBranch";
inline constexpr std::string_view kKeyCheckOtherBranchLetters = "FrmMain.m_acMCheckOtherBranchLetters";
inline constexpr std::string_view kKeyCheckUndefinedLeft = "FrmMain.m_acMCheckUndefinedLeft";
inline constexpr std::string_view kKeyCheckUndefinedRight = "FrmMain.m_acMCheckUndefinedRight";
inline constexpr std::string_view kKeyCheckUndefinedLeftLetters = "FrmMain.m_acMCheckUndefinedLeftLetters";
inline constexpr std::string_view kKeyCheckUndefinedRightLetters = "FrmMain.m_acMCheckUndefinedRightLetters";
inline constexpr std::string_view kKeyOtherSolutions = "FrmMain.m_acMOtherSolutions";
inline constexpr std::string_view kKeyNoOtherSolutions = "FrmMain.m_acMNoOtherSolutions";
inline constexpr std::string_view kKeyAllSolutions = "FrmMain.m_acMAllSolutions";
inline constexpr std::string_view kKeyNoSolutions = "FrmMain.m_acMNoSolutions";
inline constexpr std::string_view kKeyMoreSolutions = "FrmMain.m_acMMoreSolutions";
inline constexpr std::string_view kKeyAnyWholeNumber = "FrmMain.m_acMAnyWholeNumber";
inline constexpr std::string_view kKeyExactValue = "FrmMain.m_acMExactValue";
inline constexpr std::string_view kKeyGraphLeft = "FrmMain.m_acMGraphLeft";
inline constexpr std::string_view kKeyGraphRight = "FrmMain.m_acMGraphRight";
inline constexpr std::string_view kKeyGraphLetters = "FrmMain.m_acMGraphLetters";
inline constexpr std::string_view kKeyGraphNoReal = "FrmMain.m_acMGraphNoReal";
inline constexpr std::string_view kKeyGraphError = "FrmMain.m_acMGraphError";
inline constexpr std::string_view kKeyGraphFilter = "FrmMain.m_acMGraphFilter";
inline constexpr std::string_view kKeyGraphMenu = "FrmMain.ID_MEN_GRAPH";
inline constexpr std::string_view kKeyGraphReal = "FrmMain.m_TABGraphReal";
inline constexpr std::string_view kKeyGraphComplex = "FrmMain.m_TABGraphComplex";
inline constexpr std::string_view kKeySaveGraph = "FrmMain.m_BTNSaveGraph";
inline constexpr std::string_view kKeyCopyGraph = "FrmMain.m_BTNCopyGraph";
/// Accessible names and descriptions of the main window's controls that show no fitting text.
inline constexpr std::string_view kKeyAccessibleSolve = "FrmMain.m_ACCSolve";
inline constexpr std::string_view kKeyAccessibleView = "FrmMain.m_ACCView";
inline constexpr std::string_view kKeyAccessibleStatus = "FrmMain.m_ACCStatus";
/// Accessible names of the Options dialog's three colour swatches.
inline constexpr std::string_view kKeyAccessibleTextColor = "FrmOpt.m_ACCColorText";
inline constexpr std::string_view kKeyAccessibleFunctionColor = "FrmOpt.m_ACCColorFunction";
inline constexpr std::string_view kKeyAccessibleNumberColor = "FrmOpt.m_ACCColorNumber";
/// The message when no program could open the update page; "%s" is its address.
inline constexpr std::string_view kKeyNoBrowser = "FrmMain.m_acMNoBrowser";
/// The language's code for Qt's own texts ("de" loads qtbase_de.qm); empty for English.
inline constexpr std::string_view kKeyQtLocale = "FrmLanguage.QtLocale";

/// All text keys: FrmMain (menus; window texts, stored texts and tooltips; engine messages
/// FrmMain.TEQERROR02-33 without 24, and 34), then FrmOpt, then FrmLanguage, then the phrases of
/// the step reasons (Steps), each in table order.
[[nodiscard]] std::span<const TextKey> textKeys();
/// The row of key, or nullptr for an unknown key.
[[nodiscard]] const TextKey* findTextKey(std::string_view key);
/// The built-in English text of a row (for engine messages the engine's default message).
[[nodiscard]] std::string defaultText(const TextKey& row);

/// A text from a loaded language store: the value of key, or defaultText when the key is missing
/// or its value is empty (a translation cannot blank out a text). UTF-8, taken byte for byte.
[[nodiscard]] std::string LookupText(CInitFile& store, std::string_view key, std::string_view defaultText);

/// The current text of every key. Starts with all built-in English texts; loading a form replaces
/// that form's texts from a language store, falling back to English for what the store lacks.
class InterfaceTexts {
public:
    InterfaceTexts();

    /// Looks up every key of form in table order (`LookupText`) and keeps the results.
    void load(CInitFile& store, Form form);
    /// `load` from the language file at path, or the built-in texts when no file is there.
    void loadFromFile(const std::filesystem::path& languageFile, Form form);
    /// Hands the message texts to the engine (`SetMessage`, which appends CR LF).
    void installEngineMessages(engine::EquationSolver& solver) const;

    /// The current text of key; empty for a key that is not in the table.
    [[nodiscard]] const std::string& text(std::string_view key) const;

private:
    std::vector<std::string> m_texts; // one per row of textKeys()
};

} // namespace config
