// SPDX-License-Identifier: MIT
// The user's preferences as held by the main window, and their file Tervalon.ini.
#pragma once

#include "config/font_settings.h"
#include "config/init_file.h"

#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace config {

/// Name of the settings file inside the settings folder.
inline constexpr std::string_view kSettingsFileName = "Tervalon.ini";
/// Face name the solution-view font starts with.
inline constexpr std::string_view kViewFontFace = "Courier New";
/// WinPos text of a maximised window.
inline constexpr std::string_view kWinPosMaximised = "MAX";

/// Every persisted preference of the main window. Texts are UTF-8; colours are 0x00BBGGRR.
///
/// The keys, their defaults and both the reading and the writing order are declared once, in the
/// settings table of settings.cpp; a default-constructed object holds those defaults.
struct Settings {
    /// All defaults; both fonts built from empty source fonts.
    Settings();
    /// All defaults, with both fonts built from the platform's two source fonts; the solution-view
    /// font then takes the face "Courier New".
    Settings(const FontDescription& systemFont, const FontDescription& builtInFont);

    bool alwaysClearSolution{};
    bool addLineNumbers{};
    bool addSpaces{};
    bool highlightOn{};
    /// Show the reason of every solution line beside it.
    bool explainSteps{};
    std::string equivalent;
    std::string decimalSeparator;
    /// The window placement in its stored form: empty, "MAX" or "left;top;right;bottom"
    /// (see `parseWinPos` and `formatWinPos`).
    std::string winPos;
    /// Recent equation files in menu order, exactly as stored. The window adds each one whose file
    /// still exists to its list (at the end, so the order survives) before it applies `deactivate`,
    /// since the recent-list operation ignores files while recording is switched off.
    std::vector<std::string> recent;
    bool deactivate{};
    std::int32_t colorText{};
    std::int32_t colorFunction{};
    std::int32_t colorNumber{};
    CFontSettings dialogFont;
    CFontSettings viewFont;
    /// The current language name. After loading it is the stored LanguageName, which the main
    /// window hands to `SelectLanguageByName` (see `restoreLanguage` in language_files.h).
    std::string languageName;
    /// Set while the user has not chosen a language: LanguageName is then written empty, so the
    /// list's default language keeps applying at every start.
    bool languageNameNotStored = true;
    /// Every solution ends with the result check's line, not only one whose check failed.
    bool showCheck{};
    /// Every solution ends with the block of all solutions found numerically.
    bool allSolutions{};
    /// The equation field's text when the window ended, put back at the next start; only a text
    /// that is not empty is stored.
    std::string lastEquation;
    /// Every value shown also in closed form where one is proved (x = (1+sqr(5))/2).
    bool exactValues{};
    /// The graph panel is shown beside the solution view.
    bool showGraph{};
    /// The graph panel's share of the width beside the solution view, in thousandths.
    std::int32_t graphSplitter{450};
    /// The equations solved are kept in History.txt beside this file; off, none is written and the
    /// file is removed.
    bool keepHistory{};
    /// The solution view's paper: 0 light, 1 dark, 2 as the desktop (dark on a dark desktop).
    std::int32_t paper{};

    bool operator==(const Settings&) const = default;
};

/// Reads every setting from a loaded XML store in the documented order. A key that is missing or
/// empty takes its default; the font values are applied to the fonts as they stand (source fonts
/// and flags decide what takes effect), so settings should carry the platform's source fonts.
void readSettings(CInitFile& store, Settings& settings);
/// Writes the 23 single keys in their fixed order, then FontRichEditUseFontHeight (the solution-view
/// font's own flag; a file without it gives that font the dialog font's flag), then ExplainSteps,
/// then ShowCheck, then AllSolutions, then LastEquation unless it is empty, then ExactValues, then
/// ShowGraph and GraphSplitter, then KeepHistory, then Paper, then one Recent entry per recent file.
void writeSettings(CInitFile& store, const Settings& settings);

/// Loads the settings file at path (a missing or malformed file simply yields every default).
void LoadSettings(const std::filesystem::path& file, Settings& settings);
/// Writes all settings to path as a fresh XML store. False when the file could not be written;
/// the previous file then stays as it was.
bool SaveSettings(const std::filesystem::path& file, const Settings& settings);

/// What a stored WinPos asks of the main window.
struct WindowPlacement {
    enum class Kind {
        Unchanged, ///< empty, unreadable or invalid: the window stays where it was created
        Maximised, ///< "MAX"
        Moved,     ///< move to left, top with the given size
    };
    Kind kind = Kind::Unchanged;
    std::int32_t left = 0;
    std::int32_t top = 0;
    std::int32_t width = 0;
    std::int32_t height = 0;

    bool operator==(const WindowPlacement&) const = default;
};

/// Interprets a stored WinPos: "MAX" maximises; otherwise four integers read as
/// `sscanf("%d;%d;%d;%d")` does (left, top, right, bottom; trailing text ignored; an integer
/// beyond 32 bits counts as unreadable) move the window when left >= 0, top >= 0 and both width
/// and height are positive. Anything else leaves the window unchanged.
[[nodiscard]] WindowPlacement parseWinPos(std::string_view text);
/// The stored form of a window rectangle in screen pixels: "left;top;right;bottom".
[[nodiscard]] std::string formatWinPos(std::int32_t left, std::int32_t top, std::int32_t right,
                                       std::int32_t bottom);

} // namespace config
