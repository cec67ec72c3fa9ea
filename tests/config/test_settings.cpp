// SPDX-License-Identifier: MIT
// Tests of the settings file: defaults, the written order of keys, round trips, fonts and WinPos.
#include "config/settings.h"

#include "support/temp_folder.h"

#include <gtest/gtest.h>

#include <clocale>
#include <locale>
#include <stdexcept>
#include <string>
#include <vector>

namespace config {
namespace {

using support::readBytes;
using support::TempFolder;

// Source fonts of the platform, with distinct values so that each field shows where it came from.
const FontDescription kSystemFont{"Segoe UI", 1, -12, 34};
const FontDescription kBuiltInFont{"MS Shell Dlg", 0, -11, 0};

std::string settingsFile(std::string_view entries)
{
    return std::string("<?xml version=\"1.0\" encoding=\"utf-8\"?>\r\n<InitFile>\r\n") +
           std::string(entries) + "</InitFile>\r\n";
}

Settings loadedFrom(const std::filesystem::path& file)
{
    Settings settings(kSystemFont, kBuiltInFont);
    LoadSettings(file, settings);
    return settings;
}

Settings loadedFromText(std::string_view text)
{
    CInitFile store(Dialect::Xml);
    store.loadFromBytes(text);
    Settings settings(kSystemFont, kBuiltInFont);
    readSettings(store, settings);
    return settings;
}

TEST(SettingsDefaults, FirstStartWithoutFile)
{
    TempFolder folder;
    const Settings settings = loadedFrom(folder.file("Tervalon.ini"));
    EXPECT_TRUE(settings.alwaysClearSolution);
    EXPECT_FALSE(settings.addLineNumbers);
    EXPECT_TRUE(settings.addSpaces);
    EXPECT_TRUE(settings.highlightOn);
    EXPECT_FALSE(settings.explainSteps);
    EXPECT_TRUE(settings.keepHistory);
    EXPECT_EQ(settings.paper, 2);
    EXPECT_EQ(settings.equivalent, "<=> ");
    EXPECT_EQ(settings.decimalSeparator, ".");
    EXPECT_EQ(settings.winPos, "");
    EXPECT_TRUE(settings.recent.empty());
    EXPECT_FALSE(settings.deactivate);
    EXPECT_EQ(settings.colorText, 0);
    EXPECT_EQ(settings.colorFunction, 128 << 16);
    EXPECT_EQ(settings.colorNumber, (100 << 16) | (100 << 8));
    EXPECT_FALSE(settings.dialogFont.UseBuildInFont());
    EXPECT_TRUE(settings.dialogFont.UseFontSettings());
    EXPECT_FALSE(settings.dialogFont.UseFontHeight());
    // The dialog font is the built-in font in the system's face, character set and pitch.
    EXPECT_EQ(settings.dialogFont.effectiveFont(), (FontDescription{"Segoe UI", 1, -11, 34}));
    // The solution view uses Courier New at the dialog font's LOGFONT height minus 1.
    EXPECT_EQ(settings.viewFont.effectiveFont(), (FontDescription{"Courier New", 1, -12, 34}));
    EXPECT_EQ(settings.languageName, "");
    EXPECT_TRUE(settings.languageNameNotStored);
}

TEST(SettingsDefaults,
     AreWrittenAsTheTwentyThreeKeysTheViewFontFlagAndTheAddedSwitchesWithoutAnEmptyLastEquation)
{
    TempFolder folder;
    const Settings settings = loadedFrom(folder.file("missing.ini"));
    ASSERT_TRUE(SaveSettings(folder.file("Tervalon.ini"), settings));
    EXPECT_EQ(readBytes(folder.file("Tervalon.ini")),
              settingsFile("  <AlwaysClearSolution>1</AlwaysClearSolution>\r\n"
                           "  <Deactivate>0</Deactivate>\r\n"
                           "  <AddLineNumbers>0</AddLineNumbers>\r\n"
                           "  <AddSpaces>1</AddSpaces>\r\n"
                           "  <HighlightOn>1</HighlightOn>\r\n"
                           "  <Equivalent><=> </Equivalent>\r\n"
                           "  <DecimalSeparator>.</DecimalSeparator>\r\n"
                           "  <ColorText>0</ColorText>\r\n"
                           "  <ColorFunction>8388608</ColorFunction>\r\n"
                           "  <ColorNumber>6579200</ColorNumber>\r\n"
                           "  <WinPos></WinPos>\r\n"
                           "  <UseBuildInFont>0</UseBuildInFont>\r\n"
                           "  <UseFontSettings>1</UseFontSettings>\r\n"
                           "  <UseFontHeight>0</UseFontHeight>\r\n"
                           "  <FontDefName>Segoe UI</FontDefName>\r\n"
                           "  <FontDefCharset>1</FontDefCharset>\r\n"
                           "  <FontDefHeight>-11</FontDefHeight>\r\n"
                           "  <FontDefPitch>34</FontDefPitch>\r\n"
                           "  <FontRichEditDefName>Courier New</FontRichEditDefName>\r\n"
                           "  <FontRichEditDefCharset>1</FontRichEditDefCharset>\r\n"
                           "  <FontRichEditDefHeight>-12</FontRichEditDefHeight>\r\n"
                           "  <FontRichEditDefPitch>34</FontRichEditDefPitch>\r\n"
                           "  <LanguageName></LanguageName>\r\n"
                           "  <FontRichEditUseFontHeight>0</FontRichEditUseFontHeight>\r\n"
                           "  <ExplainSteps>0</ExplainSteps>\r\n"
                           "  <ShowCheck>0</ShowCheck>\r\n"
                           "  <AllSolutions>0</AllSolutions>\r\n"
                           "  <ExactValues>0</ExactValues>\r\n"
                           "  <ShowGraph>0</ShowGraph>\r\n"
                           "  <GraphSplitter>450</GraphSplitter>\r\n"
                           "  <KeepHistory>1</KeepHistory>\r\n"
                           "  <Paper>2</Paper>\r\n"));
}

TEST(SettingsDefaults, ConstructedSettingsHoldTheTableDefaults)
{
    const Settings settings;
    EXPECT_TRUE(settings.alwaysClearSolution);
    EXPECT_TRUE(settings.addSpaces);
    EXPECT_EQ(settings.equivalent, "<=> ");
    EXPECT_EQ(settings.decimalSeparator, ".");
    EXPECT_EQ(settings.colorFunction, 8388608);
    EXPECT_EQ(settings.colorNumber, 6579200);
    EXPECT_EQ(settings.viewFont.FaceName(), "Courier New");
    EXPECT_TRUE(settings.languageNameNotStored);
}

Settings fullSet()
{
    Settings settings(kSystemFont, kBuiltInFont);
    settings.alwaysClearSolution = false;
    settings.addLineNumbers = true;
    settings.addSpaces = false;
    settings.highlightOn = false;
    settings.explainSteps = true;
    settings.equivalent = "\xE2\x87\x94 "; // a double arrow in UTF-8
    settings.decimalSeparator = ",";
    settings.winPos = "10;20;810;620";
    settings.recent = {"/home/u/x.teq", "/home/u/with blank.teq", "C:\\eq\\\xC3\xA4.teq"};
    settings.deactivate = true;
    settings.colorText = 255;
    settings.colorFunction = 65280;
    settings.colorNumber = 16711680;
    for (CFontSettings* font : {&settings.dialogFont, &settings.viewFont}) {
        font->SetUseFontSettings(true);
        font->SetUseFontHeight(true);
    }
    settings.dialogFont.SetFaceName("DejaVu Sans");
    settings.dialogFont.SetCharset(238);
    settings.dialogFont.SetHeight(-15);
    settings.dialogFont.SetPitch(2);
    settings.viewFont.SetFaceName("Liberation Mono");
    settings.viewFont.SetCharset(204);
    settings.viewFont.SetHeight(-14);
    settings.viewFont.SetPitch(49);
    settings.languageName = "Deutsch";
    settings.languageNameNotStored = false;
    settings.showCheck = true;
    settings.allSolutions = true;
    settings.lastEquation = " x^2 = 4 ";
    settings.exactValues = true;
    settings.showGraph = true;
    settings.graphSplitter = 610;
    settings.keepHistory = false;
    settings.paper = 1;
    return settings;
}

TEST(SettingsRoundTrip, FullSetReadsBackUnchanged)
{
    TempFolder folder;
    const Settings written = fullSet();
    ASSERT_TRUE(SaveSettings(folder.file("Tervalon.ini"), written));
    EXPECT_EQ(loadedFrom(folder.file("Tervalon.ini")), written);

    // The recent list follows the single keys, the view font's own flag, the added switches, the
    // last equation and the graph panel's two keys, in menu order.
    const std::string bytes = readBytes(folder.file("Tervalon.ini"));
    const std::string tail = "  <LanguageName>Deutsch</LanguageName>\r\n"
                             "  <FontRichEditUseFontHeight>1</FontRichEditUseFontHeight>\r\n"
                             "  <ExplainSteps>1</ExplainSteps>\r\n"
                             "  <ShowCheck>1</ShowCheck>\r\n"
                             "  <AllSolutions>1</AllSolutions>\r\n"
                             "  <LastEquation> x^2 = 4 </LastEquation>\r\n"
                             "  <ExactValues>1</ExactValues>\r\n"
                             "  <ShowGraph>1</ShowGraph>\r\n"
                             "  <GraphSplitter>610</GraphSplitter>\r\n"
                             "  <KeepHistory>0</KeepHistory>\r\n"
                             "  <Paper>1</Paper>\r\n"
                             "  <Recent>/home/u/x.teq</Recent>\r\n"
                             "  <Recent>/home/u/with blank.teq</Recent>\r\n"
                             "  <Recent>C:\\eq\\\xC3\xA4.teq</Recent>\r\n"
                             "</InitFile>\r\n";
    ASSERT_GE(bytes.size(), tail.size());
    EXPECT_EQ(bytes.substr(bytes.size() - tail.size()), tail);
}

TEST(SettingsRoundTrip, SecondSaveOfLoadedSettingsIsByteIdentical)
{
    TempFolder folder;
    ASSERT_TRUE(SaveSettings(folder.file("first.ini"), fullSet()));
    ASSERT_TRUE(SaveSettings(folder.file("second.ini"), loadedFrom(folder.file("first.ini"))));
    EXPECT_EQ(readBytes(folder.file("second.ini")), readBytes(folder.file("first.ini")));
}

/// Switches the process to a German locale (decimal comma, digit grouping) while it lives.
class GermanLocale {
public:
    GermanLocale() : m_previousGlobal(std::locale())
    {
        const char* previous = std::setlocale(LC_ALL, nullptr);
        m_previousC = previous != nullptr ? previous : "C";
        try {
            std::locale::global(std::locale("de_DE.UTF-8"));
            m_active = true;
        } catch (const std::runtime_error&) {
            m_active = false;
        }
    }
    ~GermanLocale()
    {
        std::locale::global(m_previousGlobal);
        std::setlocale(LC_ALL, m_previousC.c_str());
    }
    GermanLocale(const GermanLocale&) = delete;
    GermanLocale& operator=(const GermanLocale&) = delete;
    [[nodiscard]] bool isActive() const { return m_active; }

private:
    std::locale m_previousGlobal;
    std::string m_previousC;
    bool m_active = false;
};

TEST(SettingsLocale, FileDoesNotDependOnTheProcessLocale)
{
    Settings settings = fullSet();
    settings.colorFunction = 8388608;
    settings.colorNumber = -1234567;
    CInitFile inC(Dialect::Xml);
    writeSettings(inC, settings);
    ASSERT_NE(inC.contents().find("<ColorFunction>8388608</ColorFunction>"), std::string::npos);

    const GermanLocale german;
    if (!german.isActive())
        GTEST_SKIP() << "no German locale installed";
    CInitFile inGerman(Dialect::Xml);
    writeSettings(inGerman, settings);
    EXPECT_EQ(inGerman.contents(), inC.contents());
    EXPECT_EQ(loadedFromText(inC.contents()), settings);
    EXPECT_EQ(parseWinPos("1;2;1001;2002"),
              (WindowPlacement{WindowPlacement::Kind::Moved, 1, 2, 1000, 2000}));
}

TEST(SettingsLoad, MissingKeysTakeDefaultsAndBrokenFilesGiveAllDefaults)
{
    TempFolder folder;
    const Settings defaults = loadedFrom(folder.file("missing.ini"));
    struct Row {
        const char* name;
        std::string text;
        void (*adjust)(Settings&); // what differs from the defaults
    };
    const std::vector<Row> rows = {
        {"two keys only", settingsFile("  <AddSpaces>0</AddSpaces>\r\n  <ColorText>255</ColorText>\r\n"),
         [](Settings& s) {
             s.addSpaces = false;
             s.colorText = 255;
         }},
        {"empty values are defaults",
         settingsFile("  <AddSpaces></AddSpaces>\r\n  <Equivalent></Equivalent>\r\n"), [](Settings&) {}},
        {"no closing root tag", "<?xml?><InitFile><AddSpaces>0</AddSpaces>", [](Settings&) {}},
        {"entries outside the root element are ignored",
         "<?xml?><InitFile></InitFile><AddSpaces>0</AddSpaces>", [](Settings&) {}},
        {"no declaration", "<InitFile><AddSpaces>0</AddSpaces></InitFile>", [](Settings&) {}},
        {"another root element", "<?xml?><Config><AddSpaces>0</AddSpaces></Config>",
         [](Settings& s) { s.addSpaces = false; }},
        {"stored language name", settingsFile("  <LanguageName>Deutsch</LanguageName>\r\n"),
         [](Settings& s) {
             s.languageName = "Deutsch";
             s.languageNameNotStored = false;
         }},
        {"show check", settingsFile("  <ShowCheck>1</ShowCheck>\r\n"),
         [](Settings& s) { s.showCheck = true; }},
        {"all solutions", settingsFile("  <AllSolutions>1</AllSolutions>\r\n"),
         [](Settings& s) { s.allSolutions = true; }},
        {"exact values", settingsFile("  <ExactValues>1</ExactValues>\r\n"),
         [](Settings& s) { s.exactValues = true; }},
        {"no history kept", settingsFile("  <KeepHistory>0</KeepHistory>\r\n"),
         [](Settings& s) { s.keepHistory = false; }},
        {"dark paper", settingsFile("  <Paper>1</Paper>\r\n"), [](Settings& s) { s.paper = 1; }},
        {"recent list ends at the first empty entry",
         settingsFile("  <Recent>/a.teq</Recent>\r\n  <Recent>/b.teq</Recent>\r\n  <Recent></Recent>\r\n"
                      "  <Recent>/c.teq</Recent>\r\n"),
         [](Settings& s) {
             s.recent = {"/a.teq", "/b.teq"};
         }},
    };
    for (const Row& row : rows) {
        Settings expected = defaults;
        row.adjust(expected);
        const auto path = folder.write("Tervalon.ini", row.text);
        EXPECT_EQ(loadedFrom(path), expected) << row.name;
    }
}

TEST(SettingsLoad, Utf16FileYieldsDefaults)
{
    TempFolder folder;
    std::string utf16 = "\xFF\xFE";
    for (const char c : settingsFile("  <AddSpaces>0</AddSpaces>\r\n")) {
        utf16 += c;
        utf16 += '\0';
    }
    EXPECT_EQ(loadedFrom(folder.write("Tervalon.ini", utf16)), loadedFrom(folder.file("missing.ini")));
}

TEST(SettingsFonts, StoredFontValuesCountOnlyAsTheFlagsAllow)
{
    struct Row {
        const char* name;
        std::string entries;
        FontDescription dialog;
        FontDescription view;
    };
    const std::string stored =
        "  <FontDefName>Arial</FontDefName>\r\n  <FontDefCharset>7</FontDefCharset>\r\n"
        "  <FontDefHeight>-20</FontDefHeight>\r\n  <FontDefPitch>5</FontDefPitch>\r\n"
        "  <FontRichEditDefName>Mono</FontRichEditDefName>\r\n"
        "  <FontRichEditDefCharset>8</FontRichEditDefCharset>\r\n"
        "  <FontRichEditDefHeight>-30</FontRichEditDefHeight>\r\n"
        "  <FontRichEditDefPitch>6</FontRichEditDefPitch>\r\n";
    const std::vector<Row> rows = {
        {"UseFontSettings 0 ignores every stored value",
         "  <UseFontSettings>0</UseFontSettings>\r\n  <UseFontHeight>1</UseFontHeight>\r\n" + stored,
         {"Segoe UI", 1, -11, 34},
         {"Courier New", 1, -12, 34}},
        {"UseFontHeight 0 ignores the stored heights",
         "  <UseFontSettings>1</UseFontSettings>\r\n  <UseFontHeight>0</UseFontHeight>\r\n" + stored,
         {"Arial", 7, -11, 5},
         {"Mono", 8, -12, 6}},
        {"UseFontHeight 1 applies the stored heights",
         "  <UseFontSettings>1</UseFontSettings>\r\n  <UseFontHeight>1</UseFontHeight>\r\n" + stored,
         {"Arial", 7, -20, 5},
         {"Mono", 8, -30, 6}},
        {"UseBuildInFont 1 starts the dialog font from the built-in font",
         "  <UseBuildInFont>1</UseBuildInFont>\r\n  <UseFontSettings>0</UseFontSettings>\r\n",
         {"MS Shell Dlg", 0, -11, 0},
         {"Courier New", 1, -12, 34}},
        {"without stored values the current ones stay",
         "  <UseFontHeight>1</UseFontHeight>\r\n",
         {"Segoe UI", 1, -11, 34},
         {"Courier New", 1, -12, 34}},
        {"the view height follows the stored dialog height",
         "  <UseFontHeight>1</UseFontHeight>\r\n  <FontDefHeight>-20</FontDefHeight>\r\n",
         {"Segoe UI", 1, -20, 34},
         {"Courier New", 1, -21, 34}},
        {"character set and pitch keep their low byte",
         "  <FontDefCharset>300</FontDefCharset>\r\n  <FontDefPitch>-1</FontDefPitch>\r\n",
         {"Segoe UI", 44, -11, 255},
         {"Courier New", 1, -12, 34}},
        {"the lowest height does not wrap when the view subtracts one",
         "  <UseFontHeight>1</UseFontHeight>\r\n  <FontDefHeight>-2147483648</FontDefHeight>\r\n",
         {"Segoe UI", 1, -2147483647 - 1, 34},
         {"Courier New", 1, -2147483647 - 1, 34}},
    };
    for (const Row& row : rows) {
        const Settings settings = loadedFromText(settingsFile(row.entries));
        EXPECT_EQ(settings.dialogFont.effectiveFont(), row.dialog) << row.name;
        EXPECT_EQ(settings.viewFont.effectiveFont(), row.view) << row.name;
    }
}

TEST(SettingsFonts, ViewFontSizeSurvivesSaveAndLoad)
{
    // A view font size chosen in Options: the dialog font keeps following the window's height.
    Settings chosen(kSystemFont, kBuiltInFont);
    chosen.viewFont.SetUseFontHeight(true);
    chosen.viewFont.SetHeight(-20);
    TempFolder folder;
    ASSERT_TRUE(SaveSettings(folder.file("Tervalon.ini"), chosen));
    const Settings loaded = loadedFrom(folder.file("Tervalon.ini"));
    EXPECT_EQ(loaded.viewFont.effectiveFont(), (FontDescription{"Courier New", 1, -20, 34}));
    EXPECT_TRUE(loaded.viewFont.UseFontHeight());
    EXPECT_FALSE(loaded.dialogFont.UseFontHeight());

    struct Row {
        const char* name;
        std::string entries;
        std::int32_t viewHeight;
        bool viewUsesHeight;
    };
    const std::string heights = "  <FontDefHeight>-16</FontDefHeight>\r\n"
                                "  <FontRichEditDefHeight>-20</FontRichEditDefHeight>\r\n";
    const std::vector<Row> rows = {
        {"without the key the dialog font's flag 0 counts",
         "  <UseFontHeight>0</UseFontHeight>\r\n" + heights, -12, false},
        {"without the key the dialog font's flag 1 counts",
         "  <UseFontHeight>1</UseFontHeight>\r\n" + heights, -20, true},
        {"the view's own 0 wins over the dialog font's 1",
         "  <UseFontHeight>1</UseFontHeight>\r\n" + heights +
             "  <FontRichEditUseFontHeight>0</FontRichEditUseFontHeight>\r\n",
         -17, false},
        {"the view's own 1 wins over the dialog font's 0",
         "  <UseFontHeight>0</UseFontHeight>\r\n" + heights +
             "  <FontRichEditUseFontHeight>1</FontRichEditUseFontHeight>\r\n",
         -20, true},
    };
    for (const Row& row : rows) {
        const Settings settings = loadedFromText(settingsFile(row.entries));
        EXPECT_EQ(settings.viewFont.Height(), row.viewHeight) << row.name;
        EXPECT_EQ(settings.viewFont.UseFontHeight(), row.viewUsesHeight) << row.name;
    }
}

TEST(SettingsFonts, ViewFontReadsTheDialogFontFlagsAgain)
{
    const Settings settings = loadedFromText(
        settingsFile("  <UseBuildInFont>1</UseBuildInFont>\r\n  <UseFontSettings>0</UseFontSettings>\r\n"
                     "  <UseFontHeight>1</UseFontHeight>\r\n"));
    EXPECT_TRUE(settings.dialogFont.UseBuildInFont());
    EXPECT_FALSE(settings.viewFont.UseBuildInFont()) << "UseBuildInFont belongs to the dialog font alone";
    EXPECT_FALSE(settings.viewFont.UseFontSettings());
    EXPECT_TRUE(settings.viewFont.UseFontHeight());
}

TEST(SettingsLanguage, NameIsWrittenOnlyWhenStored)
{
    struct Row {
        const char* name;
        std::string languageName;
        bool notStored;
        std::string written;
    };
    const std::vector<Row> rows = {
        {"chosen language", "Deutsch", false, "Deutsch"},
        {"default language never chosen", "Deutsch", true, ""},
    };
    for (const Row& row : rows) {
        Settings settings(kSystemFont, kBuiltInFont);
        settings.languageName = row.languageName;
        settings.languageNameNotStored = row.notStored;
        CInitFile store(Dialect::Xml);
        writeSettings(store, settings);
        EXPECT_EQ(store.ReadString("LanguageName", "<none>"), row.written.empty() ? "<none>" : row.written)
            << row.name;
        EXPECT_NE(store.body().find("<LanguageName>" + row.written + "</LanguageName>"), std::string::npos)
            << row.name;
    }
}

TEST(SettingsWrite, ValuesThatWouldCorruptTheFileAreCut)
{
    TempFolder folder;
    Settings settings = fullSet();
    settings.equivalent = "a\r\nb";
    settings.decimalSeparator = "</InitFile>";
    settings.dialogFont.SetFaceName("Face<WinPos>MAX</WinPos>");
    settings.recent = {"/a.teq", "\r\n/hidden.teq", "/c</Recent>d.teq", "<AddSpaces>0</AddSpaces>", "/e.teq"};
    ASSERT_TRUE(SaveSettings(folder.file("Tervalon.ini"), settings));

    Settings expected = settings;
    expected.equivalent = "a";
    expected.decimalSeparator = "."; // nothing was left: the default applies
    expected.dialogFont.SetFaceName("Face");
    expected.recent = {"/a.teq", "/c", "/e.teq"};
    EXPECT_EQ(loadedFrom(folder.file("Tervalon.ini")), expected);
}

TEST(SettingsWinPos, StoredTextDecidesThePlacement)
{
    using Kind = WindowPlacement::Kind;
    struct Row {
        const char* text;
        WindowPlacement expected;
    };
    const std::vector<Row> rows = {
        {"MAX", {Kind::Maximised}},
        {"", {Kind::Unchanged}},
        {"10;20;810;620", {Kind::Moved, 10, 20, 800, 600}},
        {"0;0;1;1", {Kind::Moved, 0, 0, 1, 1}},
        {" 1; 2;\t3;\n4", {Kind::Moved, 1, 2, 2, 2}},
        {"+1;+2;+3;+4", {Kind::Moved, 1, 2, 2, 2}},
        {"1;2;3;4 trailing text", {Kind::Moved, 1, 2, 2, 2}},
        {"0;0;2147483647;2147483647", {Kind::Moved, 0, 0, 2147483647, 2147483647}},
        {"-1280;100;-200;900", {Kind::Unchanged}},
        {"100;-1;900;700", {Kind::Unchanged}},
        {"10;20;10;620", {Kind::Unchanged}},
        {"10;20;810;20", {Kind::Unchanged}},
        {"10;20;5;620", {Kind::Unchanged}},
        {"1;2;3", {Kind::Unchanged}},
        {"1;2;3;", {Kind::Unchanged}},
        {"1 ;2;3;4", {Kind::Unchanged}},
        {"1,2,3,4", {Kind::Unchanged}},
        {"a;b;c;d", {Kind::Unchanged}},
        {"- 1;2;3;4", {Kind::Unchanged}},
        {"max", {Kind::Unchanged}},
        {"MAX ", {Kind::Unchanged}},
        {"1;2;3;99999999999", {Kind::Unchanged}},
        {"0;0;0;2147483648", {Kind::Unchanged}},
    };
    for (const Row& row : rows)
        EXPECT_EQ(parseWinPos(row.text), row.expected) << '"' << row.text << '"';
}

TEST(SettingsWinPos, NegativeLeftEdgeIsWrittenAndNotMovedOnReading)
{
    TempFolder folder;
    Settings settings(kSystemFont, kBuiltInFont);
    settings.winPos = formatWinPos(-1280, 100, -200, 900);
    EXPECT_EQ(settings.winPos, "-1280;100;-200;900");
    ASSERT_TRUE(SaveSettings(folder.file("Tervalon.ini"), settings));
    const Settings loaded = loadedFrom(folder.file("Tervalon.ini"));
    EXPECT_EQ(loaded.winPos, "-1280;100;-200;900");
    EXPECT_EQ(parseWinPos(loaded.winPos).kind, WindowPlacement::Kind::Unchanged);
    EXPECT_EQ(parseWinPos(formatWinPos(5, 6, 105, 206)),
              (WindowPlacement{WindowPlacement::Kind::Moved, 5, 6, 100, 200}));
}

TEST(FontSettings, OperationsOnTheEffectiveFont)
{
    CFontSettings font(kSystemFont, kBuiltInFont);
    font.SetHeight(-30);
    EXPECT_EQ(font.Height(), -11) << "no effect while UseFontHeight is 0";
    font.SetFromFont({"Picked", 3, -40, 7});
    EXPECT_EQ(font.effectiveFont(), (FontDescription{"Picked", 3, -11, 7})) << "keeps the built-in height";
    font.SetUseFontHeight(true);
    font.SetFromFont({"Picked", 3, -40, 7});
    EXPECT_EQ(font.Height(), -40);
    font.Rebuild();
    EXPECT_EQ(font.effectiveFont(), (FontDescription{"Segoe UI", 1, -12, 34}))
        << "system height with UseFontHeight";
    font.SetUseBuildInFont(true);
    font.Rebuild();
    EXPECT_EQ(font.effectiveFont(), kBuiltInFont);

    CFontSettings clone;
    font.CloneInto(clone);
    EXPECT_EQ(clone, font);
}

TEST(FontSettings, PointSizeRoundsToNearest)
{
    struct Row {
        std::int32_t height;
        std::int32_t pixelsPerInch;
        std::int32_t points;
    };
    const std::vector<Row> rows = {
        {-16, 96, 12}, {-13, 96, 10}, {-12, 96, 9}, {-11, 96, 8}, {-15, 120, 9}, {16, 96, -12},
        {-4, 96, 3},   {-2, 96, 2},   {2, 96, -2},  {-12, 0, 0},  {-12, -96, 0},
    };
    for (const Row& row : rows) {
        CFontSettings font({}, {"Any", 0, row.height, 0});
        EXPECT_EQ(font.PointSize(row.pixelsPerInch), row.points) << row.height << " at " << row.pixelsPerInch;
        EXPECT_EQ(font.TwipsSize(row.pixelsPerInch), row.points * 20);
    }
}

} // namespace
} // namespace config
