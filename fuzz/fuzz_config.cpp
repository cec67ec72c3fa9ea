// SPDX-License-Identifier: MIT
// libFuzzer harness: arbitrary bytes as a settings file, a language list, a language file, a value and
// the solution view's text written as LaTeX.
#include "config/init_file.h"
#include "config/interface_texts.h"
#include "config/language_files.h"
#include "config/latex_text.h"
#include "config/settings.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

namespace {

const config::FontDescription kSystemFont{"Segoe UI", 1, -12, 34};
const config::FontDescription kBuiltInFont{"MS Shell Dlg", 0, -11, 0};

void check(bool condition)
{
    if (!condition)
        std::abort();
}

std::string writtenSettings(const config::Settings& settings)
{
    config::CInitFile store(config::Dialect::Xml);
    config::writeSettings(store, settings);
    return store.contents();
}

config::Settings readSettingsText(std::string_view text, bool mustParse)
{
    config::CInitFile store(config::Dialect::Xml);
    const bool parsed = store.loadFromBytes(text);
    check(parsed || !mustParse);
    config::Settings settings(kSystemFont, kBuiltInFont);
    config::readSettings(store, settings);
    return settings;
}

/// Reads every settings key. Writing what was read must give a file that parses and, once values
/// that were cut to nothing have taken their defaults, reads back exactly as it was written.
void fuzzSettings(std::string_view bytes)
{
    const config::Settings first = readSettingsText(bytes, false);
    (void)config::parseWinPos(first.winPos);
    const std::string firstFile = writtenSettings(first);
    const config::Settings second = readSettingsText(firstFile, true);
    const std::string secondFile = writtenSettings(second);
    const config::Settings third = readSettingsText(secondFile, true);
    check(third == second);
    check(writtenSettings(third) == secondFile);
}

/// The bytes as a language list, a language file and a settings store of either dialect.
void fuzzLanguageFiles(std::string_view bytes)
{
    for (const config::Dialect dialect : {config::Dialect::Plain, config::Dialect::Xml}) {
        config::CInitFile store(dialect);
        store.loadFromBytes(bytes);
        (void)store.ReadString("LanguageDefault", {});
        config::Settings settings(kSystemFont, kBuiltInFont);
        config::readSettings(store, settings);
        for (const config::LanguageEntry& entry : config::readLanguageList(store))
            check(!entry.name.empty() && !entry.file.empty());
        config::InterfaceTexts texts;
        for (const config::Form form : {config::Form::Main, config::Form::Options, config::Form::Language})
            texts.load(store, form);
        // A text is never blanked out; only one without an English text (the Qt locale) may be empty.
        for (const config::TextKey& row : config::textKeys())
            check(!texts.text(row.key).empty() || config::defaultText(row).empty());
    }
}

/// The bytes as one value: it reads back as the store says it was stored, and in the plain
/// dialect (where a value cannot hold an opening text) the entry after it is untouched.
void fuzzValue(std::string_view bytes)
{
    for (const config::Dialect dialect : {config::Dialect::Plain, config::Dialect::Xml}) {
        config::CInitFile store(dialect);
        store.WriteString("Value", bytes);
        store.WriteInt("Next", 7);
        const std::string stored(store.writableValue("Value", bytes));
        config::CInitFile reread(dialect);
        const std::string contents = store.contents();
        if (!contents.empty())
            check(reread.loadFromBytes(contents));
        check(reread.ReadString("Value", {}) == stored);
        if (dialect == config::Dialect::Plain)
            check(reread.ReadInt("Next", 0) == 7);
    }
    (void)config::convertDecimal(bytes);
    (void)config::parseWinPos(bytes);
}

/// Braces of LaTeX balance (escaped ones aside), and inline maths is closed again.
bool isBalancedLatex(std::string_view latex)
{
    int depth = 0;
    bool isInlineMaths = false;
    for (std::size_t i = 0; i < latex.size(); ++i) {
        if (latex[i] == '\\')
            ++i; // \{ \} \$ \\ and the first letter of a control word
        else if (latex[i] == '{')
            ++depth;
        else if (latex[i] == '}' && --depth < 0)
            return false;
        else if (latex[i] == '$')
            isInlineMaths = !isInlineMaths;
    }
    return depth == 0 && !isInlineMaths;
}

/// The bytes as the view's text: its LaTeX always balances, whatever the text holds.
void fuzzLatex(std::string_view bytes)
{
    for (const config::LatexStyle& style : {config::LatexStyle{"<=> ", "."}, config::LatexStyle{"{$", ","}}) {
        const std::string latex = config::latexOfText(bytes, style);
        check(isBalancedLatex(latex));
        check(latex.empty() || latex.ends_with("\\end{align*}\n"));
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    fuzzSettings(bytes);
    // The same bytes as the body of a well-formed settings file reach far more of the settings.
    fuzzSettings("<?xml version=\"1.0\" encoding=\"utf-8\"?>\r\n<InitFile>\r\n" + std::string(bytes) +
                 "</InitFile>\r\n");
    fuzzLanguageFiles(bytes);
    fuzzValue(bytes);
    fuzzLatex(bytes);
    return 0;
}
