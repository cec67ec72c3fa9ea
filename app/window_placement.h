// SPDX-License-Identifier: MIT
// The main window's stored position (WinPos): written at close, restored at start where a screen can show it.
#pragma once

#include <QList>
#include <QMargins>
#include <QRect>
#include <QSize>

#include <string>
#include <string_view>

class QWidget;

namespace app {

/// WinPos of a window: "MAX" when maximised; otherwise its rectangle (the restored one while it
/// is minimised) as "left;top;right;bottom", right and bottom exclusive.
[[nodiscard]] std::string winPosText(const QWidget& window);

/// The window rectangle rect, framed by frame, made no larger than area and then moved the least
/// distance that puts it inside area, frame included.
[[nodiscard]] QRect fittedInto(const QRect& rect, const QMargins& frame, const QRect& area);

/// Places a window that is not shown yet, as WinPos asks, so that the screens' available areas
/// (the primary screen's first) can show all of it, with its frame where the window system tells
/// the frame before showing (the window's native window is created for that). A valid rectangle (see
/// `config::parseWinPos`) that shares something with an area is fitted into the area it shares the most with;
/// "MAX" maximises; anything else, a rectangle off every screen included, leaves the place to the window
/// system and fits only the size into the primary area. The window's minimum size becomes
/// minimumSize, made no larger than the area the window is placed in.
void restoreWinPos(QWidget& window, std::string_view winPos, const QList<QRect>& availableScreenAreas,
                   const QSize& minimumSize);

/// The available areas of all screens, the primary screen's first.
[[nodiscard]] QList<QRect> availableScreenAreas();

} // namespace app
