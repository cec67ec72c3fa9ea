// SPDX-License-Identifier: MIT
// The main window's stored position (WinPos): written at close, restored at start where a screen can show it.
#pragma once

#include <QList>
#include <QRect>

#include <string>
#include <string_view>

class QWidget;

namespace app {

/// WinPos of a window: "MAX" when maximised; otherwise its rectangle (the restored one while it
/// is minimised) as "left;top;right;bottom", right and bottom exclusive.
[[nodiscard]] std::string winPosText(const QWidget& window);

/// Places a window that is not shown yet as WinPos asks: "MAX" maximises it; a valid rectangle
/// (see `config::parseWinPos`) becomes its geometry only when it intersects one of the screens'
/// available areas, so a window is never restored out of sight. Anything else leaves it alone.
void restoreWinPos(QWidget& window, std::string_view winPos, const QList<QRect>& availableScreenAreas);

/// The available areas of all screens.
[[nodiscard]] QList<QRect> availableScreenAreas();

} // namespace app
