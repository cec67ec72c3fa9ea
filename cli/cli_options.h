// SPDX-License-Identifier: MIT
// Command-line options of tervalon-solve.
#pragma once

#include "config/solve_command.h"

#include <string>
#include <vector>

namespace cli {

/// What the command line asked for; the Solve options start as those of a fresh settings file.
struct CliOptions {
    bool raw = false;
    bool json = false;  ///< one JSON object per equation instead of the blocks
    bool latex = false; ///< every block as a LaTeX align* environment
    config::SolveOptions solve = config::defaultSolveOptions();
    std::string languageFile;
    /// --plot: the graph of every equation written here (PNG or SVG by the extension), the second
    /// one's to FILE-2.ext and so on; empty for none.
    std::string plotFile;
    int plotWidth = 800; ///< --plot-size WxH
    int plotHeight = 500;
    bool help = false;
    std::vector<std::string> equations; // empty: read them from standard input
};

/// Parses argv[1..]. Returns false with a message for an unknown option, a missing value, --json or
/// --latex with --raw, --latex with --json, --plot with --raw, a --plot file that is neither .png nor
/// .svg, or a --plot-size that is not WxH with each between kMinPlotSide and kMaxPlotSide.
/// Known options may stand anywhere; "--" ends them. An argument starting with a single "-"
/// (other than "-h") is an equation such as "-x=5".
[[nodiscard]] bool parseArguments(int argc, const char* const* argv, CliOptions& options, std::string& error);

inline constexpr int kMinPlotSide = 100;
inline constexpr int kMaxPlotSide = 8000;

/// The file of the picture of equation index (from 0) for --plot file: file itself for the first,
/// then "-2", "-3" ... before its extension ("graph.svg", "graph-2.svg").
[[nodiscard]] std::string plotFileName(const std::string& file, std::size_t index);

/// The text printed by --help.
[[nodiscard]] std::string usageText();

} // namespace cli
