// SPDX-License-Identifier: MIT
// The solution view's text as runs of one colour and weight, read from the document's character formats.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

class QString;
class QTextCursor;

namespace app {

/// Characters of one colour and weight. Line breaks are "\n" and belong to the run before them.
struct TextRun {
    std::u16string text;
    std::uint32_t rgb = 0; ///< 0xRRGGBB
    bool isBold = false;

    bool operator==(const TextRun&) const = default;
};

/// The characters of runs, one after the other.
[[nodiscard]] QString textOf(const std::vector<TextRun>& runs);

/// The runs of the selection of cursor (empty without a selection); neighbours of the same colour
/// and weight are joined.
[[nodiscard]] std::vector<TextRun> selectedRuns(const QTextCursor& cursor);

} // namespace app
