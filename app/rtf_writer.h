// SPDX-License-Identifier: MIT
// Rich Text Format of the solution view's runs (text, colour, bold), for result files and the clipboard.
#pragma once

#include "app/view_runs.h"

#include <cstdint>
#include <string>
#include <vector>

namespace app {

/// What the document says once for all its runs.
struct RtfStyle {
    std::u16string faceName;
    bool isFixedPitch = false;
    int halfPoints = 20;
    /// 0xRRGGBB in colour-table order: text, function names, numbers. A run of another colour
    /// gets an entry of its own after these.
    std::vector<std::uint32_t> colors;
};

/// An RTF document of runs: code page 1252 with every character beyond ASCII (and every control
/// character but the tab) written as "\uN?" of its UTF-16 units, so any reader recovers the text;
/// one font, a colour table, "\par" for every line break, "\tab" for every tab.
[[nodiscard]] std::string rtfOf(const std::vector<TextRun>& runs, const RtfStyle& style);

} // namespace app
