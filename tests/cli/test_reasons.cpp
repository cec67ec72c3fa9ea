// SPDX-License-Identifier: MIT
// The reasons of the solution lines: tervalon-solve --explain and --json against golden files, and
// a reason for every line of random equations without a byte of the derivation changing.
#include "config/solve_command.h"
#include "config/step_reasons.h"
#include "engine/equation_solver.h"
#include "engine/formatting.h"
#include "support/golden_file.h"

#include <gtest/gtest.h>

#include <sys/wait.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;

/// Runs a shell command, reads its standard output into out and returns its exit status (-1 when
/// it did not exit).
int runCommand(const std::string& command, std::string& out)
{
    out.clear();
    FILE* pipe = popen(command.c_str(), "r");
    if (pipe == nullptr)
        return -1;
    char buffer[4096];
    std::size_t n = 0;
    while ((n = fread(buffer, 1, sizeof buffer, pipe)) > 0)
        out.append(buffer, n);
    const int status = pclose(pipe);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

/// Splits text at separator; a separator at the very end ends the last line.
std::vector<std::string> splitLines(const std::string& text, const std::string& separator)
{
    std::vector<std::string> lines;
    for (std::size_t start = 0; start < text.size();) {
        std::size_t end = text.find(separator, start);
        if (end == std::string::npos)
            end = text.size();
        lines.push_back(text.substr(start, end - start));
        start = end + separator.size();
    }
    return lines;
}

/// Runs every case of the golden file (its input: the arguments) through produce, compares the
/// lines, writes the actual file beside the test and shows the difference on a mismatch.
template <typename Produce> void checkGolden(const std::string& name, Produce produce)
{
    const fs::path path = fs::path(CLI_GOLDEN_DIR) / name;
    const support::GoldenFile golden = support::readGoldenFile(path);
    for (const std::string& problem : golden.problems)
        ADD_FAILURE() << problem;
    ASSERT_FALSE(golden.cases.empty()) << path;
    std::vector<std::vector<std::string>> actual;
    bool mismatch = false;
    for (const support::GoldenCase& c : golden.cases) {
        actual.push_back(produce(c.input));
        if (actual.back() != c.expected) {
            mismatch = true;
            ADD_FAILURE() << name << ":" << c.lineNumber << ": " << c.input << " differs";
        }
    }
    const fs::path outPath = fs::path(TEST_TMP_DIR) / name;
    std::ofstream(outPath, std::ios::binary | std::ios::trunc) << support::formatGoldenFile(golden, actual);
    if (mismatch) {
        std::cout << std::flush;
        if (std::system(("diff -u '" + path.string() + "' '" + outPath.string() + "'").c_str()) == -1)
            std::cout << "compare " << path << " with " << outPath << '\n';
    }
}

TEST(StepReasons, ExplainGolden)
{
    checkGolden("explain.txt", [](const std::string& arguments) {
        std::string out;
        const int status = runCommand(std::string(TERVALON_SOLVE) + " --explain " + arguments, out);
        std::vector<std::string> lines = splitLines(out, "\r\n");
        lines.push_back("exit " + std::to_string(status));
        return lines;
    });
}

TEST(StepReasons, JsonGoldenParsedByPython)
{
    // A real parser reads the output: json_lines.py fails on anything that is not valid JSON of the
    // documented shape.
    checkGolden("json.txt", [](const std::string& arguments) {
        const std::string json = std::string(TEST_TMP_DIR) + "/reasons.json";
        std::string out;
        const int status =
            runCommand(std::string(TERVALON_SOLVE) + " --json " + arguments + " >" + json, out);
        const int parsed = runCommand("python3 " CLI_GOLDEN_DIR "/../json_lines.py <" + json, out);
        std::vector<std::string> lines = splitLines(out, "\n");
        lines.push_back("exit " + std::to_string(status) + ", parser exit " + std::to_string(parsed));
        return lines;
    });
}

TEST(StepReasons, EveryLineOfRandomEquationsHasAReasonAndTheSameText)
{
    std::string equations;
    ASSERT_EQ(runCommand("python3 " SOURCE_DIR "/scripts/random_equations.py 2000 14", equations), 0);
    const std::vector<std::string> inputs = splitLines(equations, "\n");
    ASSERT_EQ(inputs.size(), 2000u);

    engine::EquationSolver plain;
    engine::EquationSolver explained;
    const config::StepPhrases phrases;
    for (const std::string& input : inputs) {
        const std::string prepared = config::prepareEquation(input, ".");
        engine::SolveDetails details;
        const std::string text = explained.Solve(prepared, details);
        ASSERT_EQ(text, plain.Solve(prepared)) << input;
        ASSERT_EQ(explained.lastError(), plain.lastError()) << input;
        const std::vector<std::string> lines = splitLines(text, "\r\n");
        ASSERT_EQ(details.reasons.size(), lines.size()) << input;
        for (const engine::StepReason& reason : details.reasons) {
            const std::string worded = config::reasonText(reason, phrases, true);
            ASSERT_FALSE(worded.empty() || worded.starts_with("Steps.")) << input;
        }
        // A final value only for a derivation whose last line ends in = that value.
        if (engine::Complex value; details.finalSide.isConstant(value)) {
            ASSERT_TRUE(lines.back().ends_with("=" + engine::formatValue(value))) << input;
        }
    }
}

} // namespace
