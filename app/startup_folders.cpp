// SPDX-License-Identifier: MIT
// Where the settings live (portable folder or per-user folder) and the machine-wide installation record.
#include "app/startup_folders.h"

#include "config/init_file.h"
#include "config/language_files.h"
#include "config/product.h"
#include "config/settings.h"

#include <charconv>
#include <system_error>

namespace app {

namespace {

bool isFolder(const std::filesystem::path& path)
{
    std::error_code error;
    return std::filesystem::is_directory(path, error);
}

bool isRegularFile(const std::filesystem::path& path)
{
    std::error_code error;
    return std::filesystem::is_regular_file(path, error);
}

void appendNumber(std::string& text, int value, int width)
{
    char digits[16];
    const auto [end, error] = std::to_chars(digits, digits + sizeof digits, value);
    const std::string_view number(digits, error == std::errc() ? static_cast<std::size_t>(end - digits) : 0);
    if (number.size() < static_cast<std::size_t>(width))
        text.append(static_cast<std::size_t>(width) - number.size(), '0');
    text.append(number);
}

} // namespace

std::filesystem::path createProgramDataFolder(const std::filesystem::path& base)
{
    std::error_code ignored;
    // The base folder itself may be missing too (a fresh XDG_CONFIG_HOME); the desktop creates it
    // on request, and so do we.
    std::filesystem::create_directories(base, ignored);
    std::filesystem::path folder = base / config::kOrganisationName;
    std::filesystem::create_directory(folder, ignored);
    folder /= config::kApplicationName;
    std::filesystem::create_directory(folder, ignored);
    return folder / "";
}

SettingsFolder chooseSettingsFolder(const std::filesystem::path& programFolder,
                                    const std::filesystem::path& userConfigFolder)
{
    config::CInitFile savePath(config::Dialect::Plain);
    if (savePath.Load(programFolder / kSavePathFileName)) {
        const std::string storage = savePath.ReadString(kApplicationStorageKey, {});
        // An empty value names no folder (it must not stand for the program folder itself).
        if (!storage.empty()) {
            // Relative to the program folder, without touching the process's current folder; an
            // absolute value replaces the program folder. The value is taken as it is: no "~".
            const std::filesystem::path folder = programFolder / std::filesystem::path(storage);
            if (isFolder(folder))
                return {folder / "", true};
        }
    }
    return {createProgramDataFolder(userConfigFolder), false};
}

std::string formatInstallDate(const LocalTime& time)
{
    std::string text;
    appendNumber(text, time.year, 4);
    text += '-';
    appendNumber(text, time.month, 2);
    text += '-';
    appendNumber(text, time.day, 2);
    text += ' ';
    appendNumber(text, time.hour, 2);
    text += ':';
    appendNumber(text, time.minute, 2);
    text += ':';
    appendNumber(text, time.second, 2);
    return text;
}

void writeInstallationRecord(const std::filesystem::path& machineDataFolder,
                             const std::filesystem::path& programFolder, const LocalTime& now)
{
    const std::string installDate = formatInstallDate(now);
    const std::filesystem::path file = createProgramDataFolder(machineDataFolder) / kInstallationFileName;
    if (isRegularFile(file)) {
        config::CInitFile existing(config::Dialect::Plain);
        if (existing.Load(file) && existing.ReadString("Version", {}) == config::kVersionText)
            return;
    }
    config::CInitFile record(config::Dialect::Plain);
    record.WriteString("InstallationDirectory", programFolder.native());
    record.WriteString("LanguageFile", config::kLanguageListFileName);
    record.WriteString("IniFile", config::kSettingsFileName);
    record.WriteString("Version", config::kVersionText);
    record.WriteString("InstallDate", installDate);
    record.Save(file);
}

} // namespace app
