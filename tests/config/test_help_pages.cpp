// SPDX-License-Identifier: MIT
// The help pages beside the program: their worked examples are what the Solve command prints, their
// pictures are there, and every function is explained. The README's examples are what the
// command-line solver prints.
#include "config/language_files.h"
#include "config/latex_text.h"
#include "config/solve_command.h"

#include "engine/equation_solver.h"
#include "support/temp_folder.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

namespace config {
namespace {

const std::filesystem::path kResources = SHIPPED_RESOURCES_DIR;
const std::filesystem::path kProgramFolder = PROGRAM_FOLDER;
const std::filesystem::path kReadMe = README_FILE;

/// The value of attribute name in a tag's attribute text, or empty.
std::string attribute(const std::string& attributes, const std::string& name)
{
    const std::regex pattern(name + R"re(="([^"]*)")re");
    std::smatch match;
    return std::regex_search(attributes, match, pattern) ? match[1].str() : std::string();
}

std::string escapedHtml(std::string_view text)
{
    std::string out;
    for (const char c : text) {
        if (c == '&')
            out += "&amp;";
        else if (c == '<')
            out += "&lt;";
        else if (c == '>')
            out += "&gt;";
        else if (c != '\r')
            out += c;
    }
    return out;
}

/// The block the window shows for a worked example: `data-equation` solved with the shipped
/// language file `data-language`; `data-options` may ask for "lines", a decimal "comma", the
/// reasons ("explain"), "all" solutions, "exact" values and the block as "latex".
std::string solvedExample(const std::string& attributes)
{
    engine::EquationSolver solver;
    SolveOptions options = defaultSolveOptions();
    const std::string language = attribute(attributes, "data-language");
    if (!language.empty() &&
        applyLanguageFile(kResources / "languages" / language, solver, options) != LanguageFileUse::Applied)
        return "language file " + language + " cannot be used";
    const std::string switches = attribute(attributes, "data-options");
    options.addLineNumbers = switches.find("lines") != std::string::npos;
    options.explainSteps = switches.find("explain") != std::string::npos;
    options.allSolutions = switches.find("all") != std::string::npos;
    options.exactValues = switches.find("exact") != std::string::npos;
    if (switches.find("comma") != std::string::npos)
        options.decimalSeparator = ",";
    const std::string text = solutionBlock(solver, attribute(attributes, "data-equation"), options).text;
    if (switches.find("latex") != std::string::npos)
        return escapedHtml(latexOfText(text, latexStyle(options)));
    return escapedHtml(text);
}

class HelpPage : public testing::TestWithParam<const char*> {};

TEST_P(HelpPage, ExamplesArePrintedAsTheSolveCommandPrintsThem)
{
    const std::string page = support::readBytes(kResources / GetParam());
    ASSERT_FALSE(page.empty());
    const std::regex example(R"(<pre class="solution"([^>]*)>([^<]*)</pre>)");
    std::string actualPage;
    std::size_t copied = 0;
    int count = 0;
    bool isSame = true;
    for (auto it = std::sregex_iterator(page.begin(), page.end(), example); it != std::sregex_iterator();
         ++it) {
        const std::smatch& match = *it;
        const std::string actual = solvedExample(match[1].str());
        isSame = isSame && actual == match[2].str();
        EXPECT_EQ(actual, match[2].str()) << GetParam() << ": " << attribute(match[1].str(), "data-equation");
        actualPage += page.substr(copied, static_cast<std::size_t>(match.position(2)) - copied) + actual;
        copied = static_cast<std::size_t>(match.position(2) + match.length(2));
        ++count;
    }
    EXPECT_GE(count, 8) << "worked examples";
    if (!isSame) {
        // A page with every example as printed now, to compare and copy over after checking it.
        const std::filesystem::path written = std::filesystem::path(ACTUAL_DIR) / GetParam();
        std::ofstream(written, std::ios::binary) << actualPage + page.substr(copied);
        ADD_FAILURE() << "the page with the current examples: " << written;
    }
}

TEST_P(HelpPage, PicturesLieBesideThePageInTheSourceTreeAndBesideTheProgram)
{
    const std::string page = support::readBytes(kResources / GetParam());
    const std::regex picture(R"re(<img src="([^"]+)")re");
    int count = 0;
    for (auto it = std::sregex_iterator(page.begin(), page.end(), picture); it != std::sregex_iterator();
         ++it) {
        const std::string source = (*it)[1].str();
        EXPECT_TRUE(source.starts_with("screenshots/")) << source;
        EXPECT_TRUE(std::filesystem::is_regular_file(kResources / source)) << source;
        EXPECT_TRUE(std::filesystem::is_regular_file(kProgramFolder / source)) << source << " in the build";
        ++count;
    }
    EXPECT_GE(count, 2);
    EXPECT_TRUE(std::filesystem::is_regular_file(kProgramFolder / GetParam())) << "copied beside the program";
}

TEST_P(HelpPage, ExplainsEveryFunction)
{
    const std::string page = support::readBytes(kResources / GetParam());
    for (const char* name : {"sin", "cos", "tan", "sqr", "exp", "log", "lgt", "asn", "acs", "atn", "hsn",
                             "hcs", "htn", "ahs", "ahc", "aht"})
        EXPECT_NE(page.find("<td><code>" + std::string(name) + "</code></td>"), std::string::npos) << name;
}

/// What the command-line solver prints for a shell-quoted argument list, CR LF read as LF.
std::string solverOutput(const std::string& arguments)
{
    std::string out;
    FILE* pipe = popen((std::string(TERVALON_SOLVE) + " " + arguments + " 2>&1").c_str(), "r");
    if (pipe == nullptr)
        return "cannot run " TERVALON_SOLVE;
    char buffer[4096];
    for (std::size_t n = 0; (n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0;)
        out.append(buffer, n);
    pclose(pipe);
    return std::regex_replace(out, std::regex("\r\n"), "\n");
}

std::string withoutBlanks(std::string text)
{
    std::erase(text, ' ');
    return text;
}

TEST(ReadMe, ExamplesArePrintedAsTheCommandLineSolverPrintsThem)
{
    // An example is a line "$ build/bin/tervalon-solve ARGUMENTS" followed by its output, each line
    // indented as the command, up to an empty line or a code fence.
    std::istringstream lines(support::readBytes(kReadMe));
    const std::regex command(R"(^( *)\$ build/bin/tervalon-solve (.*)$)");
    std::vector<std::string> pending;
    int count = 0;
    for (std::string line; std::getline(lines, line);) {
        std::smatch match;
        if (!std::regex_match(line, match, command))
            continue;
        const std::string indent = match[1].str();
        const std::string arguments = match[2].str();
        std::string expected;
        while (std::getline(lines, line) && !line.empty() && line.starts_with(indent) &&
               !line.ends_with("```"))
            expected += line.substr(indent.size()) + "\n";
        EXPECT_EQ(solverOutput(arguments), expected) << "tervalon-solve " << arguments;
        ++count;
    }
    EXPECT_GE(count, 3) << "examples";
}

TEST(ReadMe, EveryEquationEndsInTheValueItIsSaidToEndIn)
{
    // "`x=10*sin(x-1)` ends in `x=1.11137`": the last line of its derivation, blanks aside.
    std::string text = support::readBytes(kReadMe);
    std::replace(text.begin(), text.end(), '\n', ' ');
    const std::regex claim(R"(`([^`]+)` end(?:s|ing) in `([^`]+)`)");
    int count = 0;
    for (auto it = std::sregex_iterator(text.begin(), text.end(), claim); it != std::sregex_iterator();
         ++it) {
        const std::string equation = (*it)[1].str();
        std::istringstream output(solverOutput("'" + equation + "'"));
        std::string last;
        for (std::string line; std::getline(output, line);) {
            if (line.starts_with("<=> "))
                last = line.substr(4);
        }
        EXPECT_EQ(withoutBlanks(last), withoutBlanks((*it)[2].str())) << equation;
        ++count;
    }
    EXPECT_GE(count, 3) << "claims";
}

INSTANTIATE_TEST_SUITE_P(Pages, HelpPage, testing::Values("Tervalon_English.html", "Tervalon_German.html"),
                         [](const testing::TestParamInfo<const char*>& info) {
                             return std::string(info.param).substr(9, std::string(info.param).find('.') - 9);
                         });

} // namespace
} // namespace config
