// SPDX-License-Identifier: MIT
// Golden derivations: every equation of tests/golden/*.txt solved and compared line by line.
//
// File format (each file is one topic):
//   - a line starting with `#` is a comment; an empty line separates cases and is ignored;
//   - a line that is not indented is an input equation, exactly the text handed to Solve;
//   - the lines after it indented by four blanks are its expected result, one line per line of the
//     engine's output, written without the CR LF that ends every engine line.
// The runner writes the actual results in the same format (comments kept) to GOLDEN_OUT_DIR, shows
// `diff -u` of expected against actual on a mismatch and fails. For every input it also checks that
// each engine line ends in CR LF, that a second Solve of the same text gives the same result, and
// that lastError() agrees with the text (an ERROR message last exactly when it is non-zero).
#include "engine/equation_solver.h"
#include "support/golden_file.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <sstream>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;

/// Splits an engine result into its lines; false when a line does not end in CR LF or holds a lone
/// CR or LF.
bool splitLines(const std::string& result, std::vector<std::string>& lines)
{
    lines.clear();
    std::size_t start = 0;
    while (start < result.size()) {
        const std::size_t end = result.find("\r\n", start);
        if (end == std::string::npos)
            return false;
        const std::string line = result.substr(start, end - start);
        if (line.find_first_of("\r\n") != std::string::npos)
            return false;
        lines.push_back(line);
        start = end + 2;
    }
    return true;
}

std::vector<fs::path> goldenFiles()
{
    return support::goldenFiles(GOLDEN_DIR);
}

std::string topicName(const testing::TestParamInfo<fs::path>& info)
{
    std::string name = info.param.stem().string();
    std::replace_if(
        name.begin(), name.end(), [](char c) { return !std::isalnum(static_cast<unsigned char>(c)); }, '_');
    return name;
}

class GoldenTopic : public testing::TestWithParam<fs::path> {};

TEST_P(GoldenTopic, DerivationsMatch)
{
    const fs::path& path = GetParam();
    const support::GoldenFile golden = support::readGoldenFile(path);
    for (const std::string& problem : golden.problems)
        ADD_FAILURE() << problem;
    ASSERT_FALSE(golden.cases.empty()) << path << " holds no equation";

    engine::EquationSolver solver;
    std::vector<std::vector<std::string>> actual(golden.cases.size());
    bool mismatch = false;
    for (std::size_t i = 0; i < golden.cases.size(); ++i) {
        const support::GoldenCase& c = golden.cases[i];
        SCOPED_TRACE(path.filename().string() + ":" + std::to_string(c.lineNumber) + ": " + c.input);
        const std::string result = solver.Solve(c.input);
        const int error = engine::errorNumber(solver.lastError());
        EXPECT_TRUE(splitLines(result, actual[i])) << "every engine line must end in CR LF";
        EXPECT_EQ(solver.Solve(c.input), result) << "a second solve of the same text differs";
        EXPECT_EQ(engine::errorNumber(solver.lastError()), error);
        const bool endsInError = !actual[i].empty() && actual[i].back().starts_with("ERROR ");
        EXPECT_EQ(endsInError, error != 0) << "lastError() is " << error;
        if (actual[i] != c.expected) {
            mismatch = true;
            ADD_FAILURE() << "derivation differs";
        }
    }

    // The actual results in the layout of the expected file.
    const fs::path outDir = GOLDEN_OUT_DIR;
    fs::create_directories(outDir);
    const fs::path outPath = outDir / path.filename();
    std::ofstream(outPath, std::ios::binary | std::ios::trunc) << support::formatGoldenFile(golden, actual);
    if (mismatch) {
        const std::string command = "diff -u '" + path.string() + "' '" + outPath.string() + "'";
        std::cout << "---- " << command << '\n' << std::flush;
        if (std::system(command.c_str()) == -1)
            std::cout << "(diff could not be run; compare the two files above)\n";
        std::cout << std::flush;
    }
}

INSTANTIATE_TEST_SUITE_P(Golden, GoldenTopic, testing::ValuesIn(goldenFiles()), topicName);

TEST(GoldenCorpus, IsPresentAndLargeEnough)
{
    std::size_t inputs = 0;
    for (const fs::path& path : goldenFiles())
        inputs += support::readGoldenFile(path).cases.size();
    EXPECT_GE(goldenFiles().size(), 3u);
    EXPECT_GE(inputs, 50u);
}

} // namespace
