// SPDX-License-Identifier: MIT
// Where the settings live (portable folder or per-user folder) and the machine-wide installation record.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>

namespace app {

/// Name of the redirect file in the program folder, and its key.
inline constexpr std::string_view kSavePathFileName = "SavePath.ini";
inline constexpr std::string_view kApplicationStorageKey = "ApplicationStorage";
/// Name of the installation record in the machine-wide folder.
inline constexpr std::string_view kInstallationFileName = "Installation.ini";

/// A local date and time, as the installation record writes it.
struct LocalTime {
    int year = 0;
    int month = 0;
    int day = 0;
    int hour = 0;
    int minute = 0;
    int second = 0;
};

struct SettingsFolder {
    /// The folder that holds Tervalon.ini, ending with a separator.
    std::filesystem::path folder;
    /// True when SavePath.ini redirected the settings (then no installation record is written).
    bool isPortable = false;
};

/// The settings folder: the folder named by ApplicationStorage in the program folder's SavePath.ini
/// when it exists (a relative name is taken relative to the program folder); otherwise
/// userConfigFolder + "Kestrune/Tervalon/", whose two levels are created here (failures are ignored).
[[nodiscard]] SettingsFolder chooseSettingsFolder(const std::filesystem::path& programFolder,
                                                  const std::filesystem::path& userConfigFolder);

/// base + "Kestrune/Tervalon/", creating both levels; creation failures are ignored.
std::filesystem::path createProgramDataFolder(const std::filesystem::path& base);

/// Writes Installation.ini into machineDataFolder + "Kestrune/Tervalon/" unless a record of this
/// version is there already. Best effort: every failure is silent.
void writeInstallationRecord(const std::filesystem::path& machineDataFolder,
                             const std::filesystem::path& programFolder, const LocalTime& now);

/// "YYYY-MM-DD hh:mm:ss", independent of the process locale.
[[nodiscard]] std::string formatInstallDate(const LocalTime& time);

} // namespace app
