// SPDX-License-Identifier: MIT
// Builds the block the main window shows for one Solve: header and dressed derivation.
#pragma once

#include "cli/cli_options.h"
#include "engine/equation_solver.h"

#include <string>
#include <string_view>

namespace cli {

inline constexpr std::string_view kDefaultHeaderFormat = "Solution of '%s'\r\n%s";
inline constexpr std::string_view kBlockSeparator =
    "\r\n--------------------------------------------------------\r\n";

/// Replaces every occurrence of search (not empty) by replacement, never searching inside a
/// replacement already made.
[[nodiscard]] std::string ReplaceAll(std::string_view text, std::string_view search,
                                     std::string_view replacement);

/// Prepares the equation (strip, decimal separator to "."), solves it and returns what the main
/// window would append to an empty view, or with --raw the engine's result and an empty line.
/// hadError is set when the solve ended with an error message.
[[nodiscard]] std::string solutionBlock(engine::EquationSolver& solver, std::string_view equation,
                                        const CliOptions& options, std::string_view headerFormat,
                                        bool& hadError);

} // namespace cli
