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
    bool json = false; ///< one JSON object per equation instead of the blocks
    config::SolveOptions solve = config::defaultSolveOptions();
    std::string languageFile;
    bool help = false;
    std::vector<std::string> equations; // empty: read them from standard input
};

/// Parses argv[1..]. Returns false with a message for an unknown option, a missing value, or --json
/// with --raw.
/// Known options may stand anywhere; "--" ends them. An argument starting with a single "-"
/// (other than "-h") is an equation such as "-x=5".
[[nodiscard]] bool parseArguments(int argc, const char* const* argv, CliOptions& options, std::string& error);

/// The text printed by --help.
[[nodiscard]] std::string usageText();

} // namespace cli
