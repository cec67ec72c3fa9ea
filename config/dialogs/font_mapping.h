// SPDX-License-Identifier: MIT
// Between the stored font descriptions of the settings and Qt's fonts, and applying a font to a window.
#pragma once

#include "config/font_settings.h"

#include <QFont>

#include <cstdint>

class QWidget;

namespace config {

/// The character set a description of a Qt font starts with: the platform's "default" set.
inline constexpr std::uint8_t kDefaultCharset = 1;

/// A QFont for a stored description, starting from base: family = the face name as stored (the
/// requested family, never what the font system resolves it to), pixel size = |height| (0 keeps
/// base's size), style hint and fixed pitch from the pitch-and-family byte.
[[nodiscard]] QFont fontFromDescription(const FontDescription& description, const QFont& base);

/// The description of a Qt font: its requested family, height = -round(points * dpiY / 72) (or
/// -pixels for a font sized in pixels), the given character set, pitch 1 fixed / 2 variable with
/// the family nibble from the style hint.
[[nodiscard]] FontDescription describeFont(const QFont& font, int dpiY,
                                           std::uint8_t charset = kDefaultCharset);

/// `Apply`: the window's font with face name and pitch-and-family (and the height when withHeight)
/// of source; its children follow unless they were given a font of their own.
void applyFont(QWidget& window, const FontDescription& source, bool withHeight);

} // namespace config
