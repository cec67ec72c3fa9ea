// SPDX-License-Identifier: MIT
// The pictures of --plot: each equation's graph painted offscreen and written as PNG or SVG.
#pragma once

#include "analysis/graph_samples.h"
#include "config/solve_command.h"

#include <memory>
#include <string>

namespace cli {

/// Writes graphs without a window: holds the offscreen GUI application that fonts need, from the
/// first picture to the end of the program.
class PlotWriter {
public:
    PlotWriter(int width, int height, const config::GraphTexts& texts, std::string decimalSeparator);
    PlotWriter(const PlotWriter&) = delete;
    PlotWriter& operator=(const PlotWriter&) = delete;
    ~PlotWriter();

    /// The real line's picture of input to file (PNG or SVG by its extension), titled with the
    /// equation; QSaveFile, so a failed write leaves no broken file. False when it cannot be written.
    [[nodiscard]] bool write(const std::string& file, const analysis::GraphInput& input);

private:
    struct State;
    std::unique_ptr<State> m_state;
};

} // namespace cli
