// SPDX-License-Identifier: MIT
// The language list, choosing a language by name and installing its texts, engine messages included.
#pragma once

#include "config/init_file.h"
#include "config/interface_texts.h"

#include <filesystem>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace engine {
class EquationSolver;
}

namespace config {

struct Settings;
struct SolveOptions;

/// Name of the language list in the program folder.
inline constexpr std::string_view kLanguageListFileName = "Tervalon_Languages.ini";

/// One pair of the language list.
struct LanguageEntry {
    std::string name; ///< display name, UTF-8
    std::string file; ///< file name relative to the program folder, UTF-8

    bool operator==(const LanguageEntry&) const = default;
};

/// Walks the pairs of a loaded language list: `ReadString` of LanguageName and LanguageFile, then
/// `ReadNext` of both, until a name or a file is empty. Because each key is walked on its own, a
/// pair written file-first pairs its name with a later file.
[[nodiscard]] std::vector<LanguageEntry> readLanguageList(CInitFile& list);

/// The main window's language state: the program folder that holds the language list and files,
/// the current language file (empty for the built-in English texts), the current language name and
/// the loaded interface texts.
class LanguageFiles {
public:
    explicit LanguageFiles(std::filesystem::path programFolder);

    /// Installs every FrmMain text and every engine message from the language file at path, with
    /// the built-in English text for whatever it lacks, and takes its Qt locale code. When a file is
    /// there it becomes the current language file; otherwise (also for an empty path) all texts are
    /// the built-in ones, there is no Qt locale, and the current language file is not changed.
    void LoadInterfaceTexts(const std::filesystem::path& languageFile, engine::EquationSolver& solver);

    /// Installs the built-in English texts, then looks name up in the language list (empty name:
    /// the list's LanguageDefault) and, on a byte-exact match, loads that language's file and makes
    /// name the current language name. Returns whether a pair matched. The current language name
    /// stays unchanged when nothing matched; the current language file stays empty when the list
    /// is missing, nothing matched, or the matching language's file is missing.
    bool SelectLanguageByName(std::string_view name, engine::EquationSolver& solver);

    /// Program folder + file, appended unchanged (file may name a subfolder).
    [[nodiscard]] std::filesystem::path languageFilePath(std::string_view file) const;
    /// Program folder + "Tervalon_Languages.ini".
    [[nodiscard]] std::filesystem::path languageListPath() const;

    [[nodiscard]] const std::filesystem::path& programFolder() const { return m_programFolder; }
    [[nodiscard]] const std::filesystem::path& currentLanguageFile() const { return m_currentLanguageFile; }
    [[nodiscard]] const std::string& currentLanguageName() const { return m_currentLanguageName; }
    void setCurrentLanguageFile(std::filesystem::path file) { m_currentLanguageFile = std::move(file); }
    void setCurrentLanguageName(std::string name) { m_currentLanguageName = std::move(name); }
    [[nodiscard]] const InterfaceTexts& texts() const { return m_texts; }
    /// The loaded language's code for Qt's own translations (FrmLanguage.QtLocale); empty for none.
    [[nodiscard]] const std::string& qtLocale() const { return m_qtLocale; }

private:
    std::filesystem::path m_programFolder;
    std::filesystem::path m_currentLanguageFile;
    std::string m_currentLanguageName;
    InterfaceTexts m_texts;
    std::string m_qtLocale;
};

/// The last step of loading the settings: a stored LanguageName selects that language. A stored
/// name that matches no pair of the list (the built-in English entry, or a language no longer
/// listed) leaves the built-in texts in force and stays the current name, so it is written back
/// unchanged. Without a stored name the settings take the current (default) language's name.
void restoreLanguage(Settings& settings, LanguageFiles& languages, engine::EquationSolver& solver);

/// The language dialog's OK: the chosen file (empty for the built-in English texts) and name become
/// current, the texts are installed, and the name will be stored in the settings.
void chooseLanguage(Settings& settings, LanguageFiles& languages, const std::filesystem::path& file,
                    std::string_view name, engine::EquationSolver& solver);

/// What `applyLanguageFile` made of a language file.
enum class LanguageFileUse {
    Applied,     ///< its engine messages and header are installed
    Missing,     ///< no regular file at the path: nothing changed
    Unreadable,  ///< the file cannot be read: nothing changed
    TooLarge,    ///< larger than CInitFile::kMaxFileSize: nothing changed
    Empty,       ///< the file is empty: the built-in texts stay
    NotUtf8,     ///< NUL bytes or invalid UTF-8 (a UTF-16 or binary file): the built-in texts stay
    NoKnownKeys, ///< none of the interface-text keys has a value: the built-in texts stay
};

/// For the command-line solver: installs the engine messages of the language file at path and sets
/// the header format (FrmMain.m_acMSolution), the step phrases and the check lines of options to its texts
/// (built-in English for whatever the file lacks). Every result other than Applied leaves solver and options
/// unchanged.
[[nodiscard]] LanguageFileUse applyLanguageFile(const std::filesystem::path& path,
                                                engine::EquationSolver& solver, SolveOptions& options);

} // namespace config
