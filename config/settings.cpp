// SPDX-License-Identifier: MIT
// The user's preferences as held by the main window, and their file Tervalon.ini.
#include "config/settings.h"

#include <algorithm>
#include <array>
#include <limits>
#include <utility>
#include <variant>

namespace config {

namespace {

/// The font values a key stands for.
enum class FontField { UseBuildInFont, UseFontSettings, UseFontHeight, FaceName, Charset, Height, Pitch };

struct FontValue {
    CFontSettings Settings::*font;
    FontField field;
};
struct RecentFiles {};
struct LanguageNameValue {};

/// Where a key's value lives in `Settings`.
using Target = std::variant<bool Settings::*, std::int32_t Settings::*, std::string Settings::*, FontValue,
                            RecentFiles, LanguageNameValue>;

/// A font value read while its font's settings apply defaults to what the font holds at that moment.
struct CurrentFontValue {};
using Default = std::variant<bool, std::int32_t, std::string_view, CurrentFontValue>;

/// The steps of reading the settings, in order. Step 9 applies the dialog font to the window and
/// reads nothing.
enum ReadStep : int {
    kReadSwitches = 1,
    kReadTexts = 2,
    kReadWindow = 3,
    kReadRecent = 4,
    kReadDeactivate = 5,
    kReadColours = 6,
    kReadDialogFont = 7,
    kReadViewFont = 8,
    kReadLanguage = 10,
};
/// A row that is only written: its value is read by an earlier row of the table.
constexpr int kWrittenOnly = 0;

/// When a row's entry is written.
enum class Write {
    Always,
    UnlessEmpty, ///< a text that is left out when it is empty
    Never,       ///< the second reading of an entry that is written only once
};

struct SettingKey {
    std::string_view key;
    Target target;
    Default defaultValue;
    /// The step that reads the key; within a step, keys are read in table order.
    int readStep;
    Write write = Write::Always;
};

constexpr FontValue dialogFont(FontField field)
{
    return {&Settings::dialogFont, field};
}

constexpr FontValue viewFont(FontField field)
{
    return {&Settings::viewFont, field};
}

// The settings table, in writing order.
const std::array kSettingKeys = std::to_array<SettingKey>({
    {"AlwaysClearSolution", &Settings::alwaysClearSolution, true, kReadSwitches},
    {"Deactivate", &Settings::deactivate, false, kReadDeactivate},
    {"AddLineNumbers", &Settings::addLineNumbers, false, kReadSwitches},
    {"AddSpaces", &Settings::addSpaces, true, kReadSwitches},
    {"HighlightOn", &Settings::highlightOn, true, kReadSwitches},
    {"Equivalent", &Settings::equivalent, std::string_view("<=> "), kReadTexts},
    {"DecimalSeparator", &Settings::decimalSeparator, std::string_view("."), kReadTexts},
    {"ColorText", &Settings::colorText, std::int32_t{0}, kReadColours},
    {"ColorFunction", &Settings::colorFunction, std::int32_t{8388608}, kReadColours}, // blue 128
    {"ColorNumber", &Settings::colorNumber, std::int32_t{6579200}, kReadColours},     // green 100, blue 100
    {"WinPos", &Settings::winPos, std::string_view(), kReadWindow},
    {"UseBuildInFont", dialogFont(FontField::UseBuildInFont), false, kReadDialogFont},
    {"UseFontSettings", dialogFont(FontField::UseFontSettings), true, kReadDialogFont},
    {"UseFontHeight", dialogFont(FontField::UseFontHeight), false, kReadDialogFont},
    {"FontDefName", dialogFont(FontField::FaceName), CurrentFontValue{}, kReadDialogFont},
    {"FontDefCharset", dialogFont(FontField::Charset), CurrentFontValue{}, kReadDialogFont},
    {"FontDefHeight", dialogFont(FontField::Height), CurrentFontValue{}, kReadDialogFont},
    {"FontDefPitch", dialogFont(FontField::Pitch), CurrentFontValue{}, kReadDialogFont},
    // The solution-view font reads the dialog font's two flags again, from the same entries; its own
    // UseFontHeight, stored last, overrides the dialog font's where a file has it.
    {"UseFontSettings", viewFont(FontField::UseFontSettings), true, kReadViewFont, Write::Never},
    {"UseFontHeight", viewFont(FontField::UseFontHeight), false, kReadViewFont, Write::Never},
    {"FontRichEditUseFontHeight", viewFont(FontField::UseFontHeight), CurrentFontValue{}, kReadViewFont,
     Write::Never},
    {"FontRichEditDefName", viewFont(FontField::FaceName), kViewFontFace, kReadViewFont},
    {"FontRichEditDefCharset", viewFont(FontField::Charset), CurrentFontValue{}, kReadViewFont},
    {"FontRichEditDefHeight", viewFont(FontField::Height), CurrentFontValue{}, kReadViewFont},
    {"FontRichEditDefPitch", viewFont(FontField::Pitch), CurrentFontValue{}, kReadViewFont},
    {"LanguageName", LanguageNameValue{}, std::string_view(), kReadLanguage},
    // Without it a view font size chosen in Options would fall back to the dialog font's flag.
    {"FontRichEditUseFontHeight", viewFont(FontField::UseFontHeight), false, kWrittenOnly},
    {"ExplainSteps", &Settings::explainSteps, false, kReadSwitches},
    {"ShowCheck", &Settings::showCheck, false, kReadSwitches},
    {"AllSolutions", &Settings::allSolutions, false, kReadSwitches},
    {"LastEquation", &Settings::lastEquation, std::string_view(), kReadTexts, Write::UnlessEmpty},
    {"ExactValues", &Settings::exactValues, false, kReadSwitches},
    {"ShowGraph", &Settings::showGraph, false, kReadSwitches},
    {"GraphSplitter", &Settings::graphSplitter, std::int32_t{450}, kReadSwitches},
    {"KeepHistory", &Settings::keepHistory, true, kReadSwitches},
    {"Paper", &Settings::paper, std::int32_t{2}, kReadSwitches},
    {"Recent", RecentFiles{}, std::string_view(), kReadRecent},
});

template <class... Handlers> struct Overloaded : Handlers... {
    using Handlers::operator()...;
};
template <class... Handlers> Overloaded(Handlers...) -> Overloaded<Handlers...>;

std::int32_t saturatedDecrement(std::int32_t value)
{
    return value == std::numeric_limits<std::int32_t>::min() ? value : value - 1;
}

void applyDefault(const SettingKey& row, Settings& settings)
{
    std::visit(Overloaded{
                   [&](bool Settings::*member) { settings.*member = std::get<bool>(row.defaultValue); },
                   [&](std::int32_t Settings::*member) {
                       settings.*member = std::get<std::int32_t>(row.defaultValue);
                   },
                   [&](std::string Settings::*member) {
                       settings.*member = std::get<std::string_view>(row.defaultValue);
                   },
                   // Fonts start from their sources; the table's font defaults apply when reading.
                   [](FontValue) {},
                   [&](RecentFiles) { settings.recent.clear(); },
                   [&](LanguageNameValue) {
                       settings.languageName = std::get<std::string_view>(row.defaultValue);
                       settings.languageNameNotStored = true;
                   },
               },
               row.target);
}

void readFontValue(CInitFile& store, const SettingKey& row, CFontSettings& font, FontField field)
{
    switch (field) {
    case FontField::UseBuildInFont:
        font.SetUseBuildInFont(store.ReadBool(row.key, std::get<bool>(row.defaultValue)));
        font.Rebuild();
        return;
    case FontField::UseFontSettings:
        font.SetUseFontSettings(store.ReadBool(row.key, std::get<bool>(row.defaultValue)));
        return;
    case FontField::UseFontHeight: {
        const auto* fixed = std::get_if<bool>(&row.defaultValue);
        font.SetUseFontHeight(store.ReadBool(row.key, fixed != nullptr ? *fixed : font.UseFontHeight()));
        return;
    }
    default:
        break;
    }
    // The stored face, character set, height and pitch count only while the font's settings apply.
    if (!font.UseFontSettings())
        return;
    switch (field) {
    case FontField::FaceName: {
        const auto* fixed = std::get_if<std::string_view>(&row.defaultValue);
        font.SetFaceName(store.ReadString(row.key, fixed != nullptr ? *fixed : font.FaceName()));
        return;
    }
    case FontField::Charset:
        // A byte field: larger stored numbers keep their low byte, as a BYTE conversion would.
        font.SetCharset(static_cast<std::uint8_t>(store.ReadInt(row.key, font.Charset())));
        return;
    case FontField::Height:
        font.SetHeight(store.ReadInt(row.key, font.Height()));
        return;
    case FontField::Pitch:
        font.SetPitch(static_cast<std::uint8_t>(store.ReadInt(row.key, font.PitchAndFamily())));
        return;
    default:
        return;
    }
}

void readRow(CInitFile& store, const SettingKey& row, Settings& settings)
{
    std::visit(Overloaded{
                   [&](bool Settings::*member) {
                       settings.*member = store.ReadBool(row.key, std::get<bool>(row.defaultValue));
                   },
                   [&](std::int32_t Settings::*member) {
                       settings.*member = store.ReadInt(row.key, std::get<std::int32_t>(row.defaultValue));
                   },
                   [&](std::string Settings::*member) {
                       settings.*member =
                           store.ReadString(row.key, std::get<std::string_view>(row.defaultValue));
                   },
                   [&](FontValue value) { readFontValue(store, row, settings.*(value.font), value.field); },
                   [&](RecentFiles) {
                       settings.recent.clear();
                       for (std::string path = store.ReadString(row.key, {}); !path.empty();
                            path = store.ReadNext(row.key))
                           settings.recent.push_back(std::move(path));
                   },
                   [&](LanguageNameValue) {
                       settings.languageName =
                           store.ReadString(row.key, std::get<std::string_view>(row.defaultValue));
                       settings.languageNameNotStored = settings.languageName.empty();
                   },
               },
               row.target);
}

/// Before its stored values are read, the solution-view font becomes Courier New at the dialog
/// font's LOGFONT height minus 1.
void prepareViewFont(Settings& settings)
{
    CFontSettings& font = settings.viewFont;
    font.Rebuild();
    font.SetUseFontHeight(true);
    font.SetFaceName(kViewFontFace);
    font.SetHeight(saturatedDecrement(settings.dialogFont.Height()));
}

/// A text value cut before the first opening tag of any settings key: such a tag inside one value
/// would be found by the lookup of that key, whose real entry may stand further down the file.
std::string_view withoutEntryTags(std::string_view value)
{
    if (value.find('<') == std::string_view::npos)
        return value;
    std::size_t cut = std::string_view::npos;
    for (const SettingKey& row : kSettingKeys) {
        std::string tag;
        tag.append("<").append(row.key).append(">");
        cut = std::min(cut, value.find(tag));
    }
    return value.substr(0, cut);
}

void writeText(CInitFile& store, std::string_view key, std::string_view value)
{
    store.WriteString(key, withoutEntryTags(value));
}

void writeFontValue(CInitFile& store, std::string_view key, const CFontSettings& font, FontField field)
{
    switch (field) {
    case FontField::UseBuildInFont:
        store.WriteBool(key, font.UseBuildInFont());
        return;
    case FontField::UseFontSettings:
        store.WriteBool(key, font.UseFontSettings());
        return;
    case FontField::UseFontHeight:
        store.WriteBool(key, font.UseFontHeight());
        return;
    case FontField::FaceName:
        writeText(store, key, font.FaceName());
        return;
    case FontField::Charset:
        store.WriteInt(key, font.Charset());
        return;
    case FontField::Height:
        store.WriteInt(key, font.Height());
        return;
    case FontField::Pitch:
        store.WriteInt(key, font.PitchAndFamily());
        return;
    }
}

bool isEmptyText(const SettingKey& row, const Settings& settings)
{
    const auto* member = std::get_if<std::string Settings::*>(&row.target);
    return member != nullptr && (settings.*(*member)).empty();
}

void writeRow(CInitFile& store, const SettingKey& row, const Settings& settings)
{
    std::visit(
        Overloaded{
            [&](bool Settings::*member) { store.WriteBool(row.key, settings.*member); },
            [&](std::int32_t Settings::*member) { store.WriteInt(row.key, settings.*member); },
            [&](std::string Settings::*member) { writeText(store, row.key, settings.*member); },
            [&](FontValue value) { writeFontValue(store, row.key, settings.*(value.font), value.field); },
            [&](RecentFiles) {
                // An empty entry would end the list when it is read back, hiding the rest.
                for (const std::string& path : settings.recent) {
                    if (!store.writableValue(row.key, withoutEntryTags(path)).empty())
                        writeText(store, row.key, path);
                }
            },
            [&](LanguageNameValue) {
                writeText(store, row.key,
                          settings.languageNameNotStored ? std::string() : settings.languageName);
            },
        },
        row.target);
}

/// Reads one integer as `%d` does: white space, an optional sign, at least one digit. False when
/// there is no digit or the number does not fit in 32 bits.
bool scanInteger(std::string_view text, std::size_t& position, std::int32_t& value)
{
    std::size_t i = position;
    while (i < text.size() && (text[i] == ' ' || (text[i] >= '\t' && text[i] <= '\r')))
        ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        negative = text[i] == '-';
        ++i;
    }
    const std::size_t digitsStart = i;
    std::int64_t magnitude = 0;
    while (i < text.size() && text[i] >= '0' && text[i] <= '9') {
        magnitude = magnitude * 10 + (text[i] - '0');
        if (magnitude > std::int64_t{std::numeric_limits<std::int32_t>::max()} + 1)
            return false;
        ++i;
    }
    if (i == digitsStart)
        return false;
    const std::int64_t signedValue = negative ? -magnitude : magnitude;
    if (signedValue > std::numeric_limits<std::int32_t>::max())
        return false;
    value = static_cast<std::int32_t>(signedValue);
    position = i;
    return true;
}

} // namespace

Settings::Settings() : Settings(FontDescription{}, FontDescription{}) {}

Settings::Settings(const FontDescription& systemFont, const FontDescription& builtInFont)
    : dialogFont(systemFont, builtInFont), viewFont(systemFont, builtInFont)
{
    viewFont.SetFaceName(kViewFontFace);
    for (const SettingKey& row : kSettingKeys)
        applyDefault(row, *this);
}

void readSettings(CInitFile& store, Settings& settings)
{
    for (int step = kReadSwitches; step <= kReadLanguage; ++step) {
        if (step == kReadViewFont)
            prepareViewFont(settings);
        for (const SettingKey& row : kSettingKeys) {
            if (row.readStep == step)
                readRow(store, row, settings);
        }
    }
}

void writeSettings(CInitFile& store, const Settings& settings)
{
    for (const SettingKey& row : kSettingKeys) {
        if (row.write == Write::Always || (row.write == Write::UnlessEmpty && !isEmptyText(row, settings)))
            writeRow(store, row, settings);
    }
}

void LoadSettings(const std::filesystem::path& file, Settings& settings)
{
    CInitFile store(Dialect::Xml);
    // A missing or malformed file leaves the store empty: every key then takes its default.
    store.Load(file);
    readSettings(store, settings);
}

bool SaveSettings(const std::filesystem::path& file, const Settings& settings)
{
    CInitFile store(Dialect::Xml);
    writeSettings(store, settings);
    return store.Save(file);
}

WindowPlacement parseWinPos(std::string_view text)
{
    WindowPlacement placement;
    if (text == kWinPosMaximised) {
        placement.kind = WindowPlacement::Kind::Maximised;
        return placement;
    }
    std::array<std::int32_t, 4> values{};
    std::size_t position = 0;
    for (std::size_t i = 0; i < values.size(); ++i) {
        if (i > 0) {
            if (position >= text.size() || text[position] != ';')
                return placement;
            ++position;
        }
        if (!scanInteger(text, position, values[i]))
            return placement;
    }
    const auto [left, top, right, bottom] = values;
    const std::int64_t width = std::int64_t{right} - left;
    const std::int64_t height = std::int64_t{bottom} - top;
    if (left < 0 || top < 0 || width <= 0 || height <= 0)
        return placement;
    // With left and top not negative, both sizes fit in 32 bits.
    placement = {WindowPlacement::Kind::Moved, left, top, static_cast<std::int32_t>(width),
                 static_cast<std::int32_t>(height)};
    return placement;
}

std::string formatWinPos(std::int32_t left, std::int32_t top, std::int32_t right, std::int32_t bottom)
{
    std::string text;
    for (const std::int32_t value : {left, top, right, bottom}) {
        if (!text.empty())
            text += ';';
        text += std::to_string(value);
    }
    return text;
}

} // namespace config
