// SPDX-License-Identifier: MIT
// Reads golden files (inputs, each followed by its indented expected lines) and writes actual
// results back in the same layout, for any test framework.
#pragma once

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace support {

/// Expected lines are indented by this much.
inline constexpr std::string_view kGoldenIndent = "    ";

struct GoldenCase {
    int lineNumber = 0; ///< line of the input in its file, from 1
    std::string input;
    std::vector<std::string> expected;
};

/// One golden file. A line starting with `#` is a comment and an empty line separates cases; a
/// line that is not indented is an input, exactly as given to the program under test; the lines
/// after it indented by four blanks are its expected output, one per line, without line ends.
struct GoldenFile {
    std::vector<GoldenCase> cases;
    /// Comment and blank lines verbatim, each input as "\x01" and its case index, so that actual
    /// results can be written back in the same layout.
    std::vector<std::string> layout;
    /// Format faults found while reading, such as a result line before any input.
    std::vector<std::string> problems;
};

inline GoldenFile readGoldenFile(const std::filesystem::path& path)
{
    GoldenFile file;
    std::ifstream in(path, std::ios::binary);
    if (!in)
        file.problems.push_back(path.string() + ": cannot be read");
    std::string line;
    int number = 0;
    while (std::getline(in, line)) {
        ++number;
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        if (line.starts_with(kGoldenIndent)) {
            if (file.cases.empty()) {
                file.problems.push_back(path.filename().string() + ":" + std::to_string(number) +
                                        ": result line before any input");
                continue;
            }
            file.cases.back().expected.push_back(line.substr(kGoldenIndent.size()));
        } else if (line.empty() || line.starts_with('#')) {
            file.layout.push_back(line);
        } else {
            file.cases.push_back({number, line, {}});
            file.layout.push_back("\x01" + std::to_string(file.cases.size() - 1));
        }
    }
    return file;
}

/// The golden file's layout with actual[i] as the result lines of case i (LF line ends).
inline std::string formatGoldenFile(const GoldenFile& golden,
                                    const std::vector<std::vector<std::string>>& actual)
{
    std::string out;
    for (const std::string& line : golden.layout) {
        if (!line.starts_with('\x01')) {
            out += line + '\n';
            continue;
        }
        const std::size_t index = std::stoul(line.substr(1));
        out += golden.cases[index].input + '\n';
        if (index < actual.size()) {
            for (const std::string& resultLine : actual[index])
                out += std::string(kGoldenIndent) + resultLine + '\n';
        }
    }
    return out;
}

/// The ".txt" files of folder, sorted by name.
inline std::vector<std::filesystem::path> goldenFiles(const std::filesystem::path& folder)
{
    std::vector<std::filesystem::path> files;
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator(folder, error)) {
        if (entry.is_regular_file() && entry.path().extension() == ".txt")
            files.push_back(entry.path());
    }
    std::sort(files.begin(), files.end());
    return files;
}

/// Every input of the golden files in folder, file by file in name order.
inline std::vector<std::string> goldenInputs(const std::filesystem::path& folder)
{
    std::vector<std::string> inputs;
    for (const std::filesystem::path& path : goldenFiles(folder)) {
        for (GoldenCase& golden : readGoldenFile(path).cases)
            inputs.push_back(std::move(golden.input));
    }
    return inputs;
}

} // namespace support
