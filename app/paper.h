// SPDX-License-Identifier: MIT
// The solution view's paper: light, dark, or as the desktop is, and the colours drawn on it.
#pragma once

#include "config/settings.h"

#include <QColor>

class QPalette;

namespace app {

/// The Paper setting.
enum class Paper {
    Light = 0,   ///< white paper, as the view always was
    Dark = 1,    ///< dark paper with light colours
    Desktop = 2, ///< dark on a dark desktop, light otherwise
};

/// The colours of a paper. Each text colour has a contrast ratio of at least 4.5:1 against the
/// paper (WCAG AA), so that every part of a derivation can be read on it.
struct PaperColors {
    QColor paper;
    QColor text;
    QColor function;
    QColor number;
    QColor reason;
    QColor warning;

    bool operator==(const PaperColors&) const = default;
};

[[nodiscard]] const PaperColors& lightPaper();
[[nodiscard]] const PaperColors& darkPaper();

/// The stored setting as a paper; a value out of range follows the desktop (the default).
[[nodiscard]] Paper paperOf(std::int32_t stored);
/// A desktop palette is dark when its window colour has a lightness below 50%.
[[nodiscard]] bool isDarkDesktop(const QPalette& desktop);

/// The colours the view draws with: the paper's preset, except for the text, function and number
/// colours the user chose in the Options (those that differ from the defaults), which win.
[[nodiscard]] PaperColors viewColors(const config::Settings& settings, const QPalette& desktop);

} // namespace app
