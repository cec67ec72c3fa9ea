// SPDX-License-Identifier: MIT
// The language list and files that ship beside the program: complete, well-formed, placeholders intact.
#include "config/interface_texts.h"
#include "config/language_files.h"
#include "config/solve_command.h"

#include "engine/equation_solver.h"
#include "support/temp_folder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <regex>
#include <set>
#include <string>
#include <vector>

namespace config {
namespace {

const std::filesystem::path kFolder = SHIPPED_LANGUAGES_DIR;

const std::regex kConversion(R"(%[-+ #0]*[0-9]*(\.[0-9]+)?[a-z%])");

/// The printf conversions of a text, in order ("%%" included, as it must stay too).
std::vector<std::string> conversions(const std::string& text)
{
    std::vector<std::string> found;
    for (auto it = std::sregex_iterator(text.begin(), text.end(), kConversion); it != std::sregex_iterator();
         ++it)
        found.push_back(it->str());
    return found;
}

/// The keys of the entries of a plain-dialect file, in file order.
std::vector<std::string> entryKeys(const std::string& bytes)
{
    static const std::regex kEntry(R"((^|\n)([^=\r\n"]+)=")");
    std::vector<std::string> keys;
    for (auto it = std::sregex_iterator(bytes.begin(), bytes.end(), kEntry); it != std::sregex_iterator();
         ++it)
        keys.push_back((*it)[2].str());
    return keys;
}

std::size_t countOf(const std::string& text, std::string_view part)
{
    std::size_t count = 0;
    for (std::size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + part.size()))
        ++count;
    return count;
}

void expectPlainTextFile(const std::string& bytes, const std::string& name)
{
    EXPECT_FALSE(bytes.starts_with("\xEF\xBB\xBF")) << name << ": no byte-order mark";
    EXPECT_EQ(countOf(bytes, "\n"), countOf(bytes, "\r\n")) << name << ": CR LF line ends only";
    EXPECT_EQ(countOf(bytes, "\r"), countOf(bytes, "\r\n")) << name << ": CR LF line ends only";
    EXPECT_TRUE(bytes.ends_with("\r\n")) << name;
}

TEST(ShippedLanguages, ListNamesEveryLanguageInItsOwnName)
{
    CInitFile list(Dialect::Plain);
    ASSERT_TRUE(list.Load(kFolder / kLanguageListFileName));
    expectPlainTextFile(support::readBytes(kFolder / kLanguageListFileName), "list");
    EXPECT_EQ(list.ReadString("LanguageDefault", {}), "English");
    const std::vector<LanguageEntry> expected = {
        {"English", "Tervalon_English.ini"},
        {"Deutsch", "Tervalon_German.ini"},
        {"Fran\xC3\xA7"
         "ais",
         "Tervalon_French.ini"},
        {"Espa\xC3\xB1ol", "Tervalon_Spanish.ini"},
        {"Italiano", "Tervalon_Italian.ini"},
    };
    EXPECT_EQ(readLanguageList(list), expected);
}

TEST(ShippedLanguages, EveryFileHasEveryKeyWithTheDefaultsPlaceholders)
{
    CInitFile list(Dialect::Plain);
    ASSERT_TRUE(list.Load(kFolder / kLanguageListFileName));
    const std::vector<LanguageEntry> languages = readLanguageList(list);
    ASSERT_EQ(languages.size(), 5U);
    for (const LanguageEntry& language : languages) {
        const std::filesystem::path path = kFolder / language.file;
        const std::string bytes = support::readBytes(path);
        expectPlainTextFile(bytes, language.file);

        // Valid UTF-8 without NUL bytes: the command line takes it as it is.
        engine::EquationSolver solver;
        SolveOptions options;
        ASSERT_EQ(applyLanguageFile(path, solver, options), LanguageFileUse::Applied) << language.file;

        // Only known keys, each once.
        const std::vector<std::string> keys = entryKeys(bytes);
        for (const std::string& key : keys)
            EXPECT_NE(findTextKey(key), nullptr) << language.file << ": unknown key " << key;
        EXPECT_EQ(std::set<std::string>(keys.begin(), keys.end()).size(), keys.size()) << language.file;

        CInitFile store(Dialect::Plain);
        ASSERT_TRUE(store.Load(path));
        for (const TextKey& row : textKeys()) {
            const std::string text = store.ReadString(row.key, {});
            const std::string english = defaultText(row);
            const std::string where = language.file + ": " + std::string(row.key);
            if (row.key == kKeyQtLocale) {
                // The code of Qt's own translation (qtbase_de.qm); the English texts need none.
                static const std::regex kLocaleCode("[a-z]{2}(_[A-Z]{2})?");
                if (language.name == "English")
                    EXPECT_EQ(text, "") << where;
                else
                    EXPECT_TRUE(std::regex_match(text, kLocaleCode)) << where << ": \"" << text << '"';
                continue;
            }
            if (text.empty()) {
                ADD_FAILURE() << where << " is missing";
                continue;
            }
            EXPECT_EQ(conversions(text), conversions(english)) << where;
            // Menu shortcuts, filter fields and the line break of the header keep their places.
            EXPECT_EQ(countOf(text, "\t"), countOf(english, "\t")) << where;
            EXPECT_EQ(countOf(text, "|"), countOf(english, "|")) << where;
            EXPECT_EQ(countOf(text, "\r\n"), countOf(english, "\r\n")) << where;
            EXPECT_EQ(countOf(text, "*.teq") + countOf(text, "*.txt") + countOf(text, "*.rtf"),
                      countOf(english, "*.teq") + countOf(english, "*.txt") + countOf(english, "*.rtf"))
                << where;
            // The Solve command turns every "." of a block into the user's decimal separator.
            if (row.target == TextTarget::EngineMessage || row.key == kKeySolution ||
                row.form == Form::Steps) {
                EXPECT_EQ(std::regex_replace(text, kConversion, "").find('.'), std::string::npos)
                    << where << ": a point would become the decimal separator";
            }
        }
    }
}

} // namespace
} // namespace config
