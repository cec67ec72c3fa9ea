// SPDX-License-Identifier: MIT
// The language list, choosing a language by name and installing its texts, engine messages included.
#include "config/language_files.h"

#include "config/settings.h"
#include "config/solve_command.h"
#include "engine/equation_solver.h"

#include <algorithm>
#include <fstream>
#include <system_error>
#include <type_traits>
#include <utility>

namespace config {

namespace {

constexpr std::string_view kLanguageDefaultKey = "LanguageDefault";
constexpr std::string_view kLanguageNameKey = "LanguageName";
constexpr std::string_view kLanguageFileKey = "LanguageFile";

/// A path from UTF-8 bytes.
std::filesystem::path pathFromUtf8(std::string_view text)
{
    if constexpr (std::is_same_v<std::filesystem::path::value_type, char>) {
        // Narrow native paths are byte strings: take the bytes as they are, valid UTF-8 or not.
        return std::filesystem::path(text);
    } else {
        std::u8string bytes(text.size(), u8'\0');
        for (std::size_t i = 0; i < text.size(); ++i)
            bytes[i] = static_cast<char8_t>(text[i]);
        return std::filesystem::path(bytes);
    }
}

bool isRegularFile(const std::filesystem::path& path)
{
    std::error_code error;
    return !path.empty() && std::filesystem::is_regular_file(path, error);
}

/// Whether bytes are UTF-8 text: well-formed sequences (no overlong forms, no surrogates, nothing
/// above U+10FFFF) and no NUL, which a UTF-16 or binary file is bound to hold.
bool isUtf8Text(std::string_view bytes)
{
    for (std::size_t i = 0; i < bytes.size();) {
        const auto lead = static_cast<unsigned char>(bytes[i]);
        int count = 0;
        unsigned char low = 0x80;
        unsigned char high = 0xBF;
        if (lead == 0)
            return false;
        if (lead < 0x80) {
            ++i;
            continue;
        }
        if (lead >= 0xC2 && lead <= 0xDF) {
            count = 1;
        } else if (lead >= 0xE0 && lead <= 0xEF) {
            count = 2;
            low = lead == 0xE0 ? 0xA0 : 0x80;
            high = lead == 0xED ? 0x9F : 0xBF;
        } else if (lead >= 0xF0 && lead <= 0xF4) {
            count = 3;
            low = lead == 0xF0 ? 0x90 : 0x80;
            high = lead == 0xF4 ? 0x8F : 0xBF;
        } else {
            return false;
        }
        if (bytes.size() - i <= static_cast<std::size_t>(count))
            return false; // the sequence is cut off by the end of the file
        for (int k = 1; k <= count; ++k) {
            const auto next = static_cast<unsigned char>(bytes[i + static_cast<std::size_t>(k)]);
            if (next < (k == 1 ? low : 0x80) || next > (k == 1 ? high : 0xBF))
                return false;
        }
        i += static_cast<std::size_t>(count) + 1;
    }
    return true;
}

} // namespace

std::vector<LanguageEntry> readLanguageList(CInitFile& list)
{
    std::vector<LanguageEntry> entries;
    LanguageEntry entry{list.ReadString(kLanguageNameKey, {}), list.ReadString(kLanguageFileKey, {})};
    while (!entry.name.empty() && !entry.file.empty()) {
        entries.push_back(std::move(entry));
        entry.name = list.ReadNext(kLanguageNameKey);
        entry.file = list.ReadNext(kLanguageFileKey);
    }
    return entries;
}

LanguageFiles::LanguageFiles(std::filesystem::path programFolder) : m_programFolder(std::move(programFolder))
{
}

std::filesystem::path LanguageFiles::languageFilePath(std::string_view file) const
{
    std::filesystem::path full = m_programFolder;
    if (!full.empty())
        full /= ""; // make sure the folder ends with a separator
    full += pathFromUtf8(file);
    return full;
}

std::filesystem::path LanguageFiles::languageListPath() const
{
    return languageFilePath(kLanguageListFileName);
}

void LanguageFiles::LoadInterfaceTexts(const std::filesystem::path& languageFile,
                                       engine::EquationSolver& solver)
{
    CInitFile store(Dialect::Plain);
    if (isRegularFile(languageFile)) {
        store.Load(languageFile);
        m_currentLanguageFile = languageFile;
    }
    m_texts.load(store, Form::Main);
    m_texts.load(store, Form::Steps);
    m_texts.installEngineMessages(solver);
    m_qtLocale = LookupText(store, kKeyQtLocale, {});
}

bool LanguageFiles::SelectLanguageByName(std::string_view name, engine::EquationSolver& solver)
{
    m_currentLanguageFile.clear();
    LoadInterfaceTexts({}, solver);

    CInitFile list(Dialect::Plain);
    if (!list.Load(languageListPath()))
        return false;
    std::string wanted(name);
    if (wanted.empty())
        wanted = list.ReadString(kLanguageDefaultKey, {});
    for (const LanguageEntry& entry : readLanguageList(list)) {
        if (entry.name == wanted) {
            LoadInterfaceTexts(languageFilePath(entry.file), solver);
            m_currentLanguageName = wanted;
            return true;
        }
    }
    return false;
}

void restoreLanguage(Settings& settings, LanguageFiles& languages, engine::EquationSolver& solver)
{
    settings.languageNameNotStored = settings.languageName.empty();
    if (settings.languageName.empty()) {
        settings.languageName = languages.currentLanguageName();
        return;
    }
    // A name the list does not hold (the built-in English, or a language removed since) keeps the
    // built-in texts and stays the user's choice; it must not turn into the default language.
    if (!languages.SelectLanguageByName(settings.languageName, solver))
        languages.setCurrentLanguageName(settings.languageName);
}

void chooseLanguage(Settings& settings, LanguageFiles& languages, const std::filesystem::path& file,
                    std::string_view name, engine::EquationSolver& solver)
{
    languages.setCurrentLanguageFile(file);
    languages.LoadInterfaceTexts(file, solver);
    languages.setCurrentLanguageName(std::string(name));
    settings.languageName = name;
    settings.languageNameNotStored = false;
}

namespace {

/// Reads the FrmMain and step texts of the language file at path into texts; Applied when they can be used.
LanguageFileUse readMainTexts(const std::filesystem::path& path, InterfaceTexts& texts)
{
    if (!isRegularFile(path))
        return LanguageFileUse::Missing;
    std::error_code error;
    const std::uintmax_t size = std::filesystem::file_size(path, error);
    if (error)
        return LanguageFileUse::Unreadable;
    if (size > CInitFile::kMaxFileSize)
        return LanguageFileUse::TooLarge;
    std::ifstream file(path, std::ios::binary);
    std::string bytes(static_cast<std::size_t>(size), '\0');
    if (!file.read(bytes.data(), static_cast<std::streamsize>(bytes.size())) && !file.eof())
        return LanguageFileUse::Unreadable;
    bytes.resize(static_cast<std::size_t>(file.gcount()));
    if (bytes.empty())
        return LanguageFileUse::Empty;
    if (!isUtf8Text(bytes))
        return LanguageFileUse::NotUtf8;

    CInitFile store(Dialect::Plain);
    store.loadFromBytes(bytes);
    const auto hasValue = [&store](const TextKey& row) { return !store.ReadString(row.key, {}).empty(); };
    if (std::ranges::none_of(textKeys(), hasValue))
        return LanguageFileUse::NoKnownKeys;
    texts.load(store, Form::Main);
    texts.load(store, Form::Steps);
    return LanguageFileUse::Applied;
}

} // namespace

LanguageFileUse applyLanguageFile(const std::filesystem::path& path, engine::EquationSolver& solver,
                                  SolveOptions& options)
{
    InterfaceTexts texts;
    const LanguageFileUse use = readMainTexts(path, texts);
    if (use == LanguageFileUse::Applied) {
        texts.installEngineMessages(solver);
        applySolveTexts(texts, options);
    }
    return use;
}

} // namespace config
