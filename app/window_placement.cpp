// SPDX-License-Identifier: MIT
// The main window's stored position (WinPos): written at close, restored at start where a screen can show it.
#include "app/window_placement.h"

#include "config/settings.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

#include <algorithm>

namespace app {

std::string winPosText(const QWidget& window)
{
    if (window.isMaximized())
        return std::string(config::kWinPosMaximised);
    const QRect rect = window.isMinimized() ? window.normalGeometry() : window.geometry();
    return config::formatWinPos(rect.left(), rect.top(), rect.left() + rect.width(),
                                rect.top() + rect.height());
}

void restoreWinPos(QWidget& window, std::string_view winPos, const QList<QRect>& availableScreenAreas)
{
    const config::WindowPlacement placement = config::parseWinPos(winPos);
    switch (placement.kind) {
    case config::WindowPlacement::Kind::Unchanged:
        return;
    case config::WindowPlacement::Kind::Maximised:
        window.setWindowState(window.windowState() | Qt::WindowMaximized);
        return;
    case config::WindowPlacement::Kind::Moved: {
        const QRect rect(placement.left, placement.top, placement.width, placement.height);
        QRect allScreens;
        bool isVisibleSomewhere = false;
        for (const QRect& area : availableScreenAreas) {
            allScreens |= area;
            isVisibleSomewhere = isVisibleSomewhere || area.intersects(rect);
        }
        if (!isVisibleSomewhere)
            return;
        // A size beyond all screens together can only come from a damaged file; such a window
        // would not even fit in memory.
        window.setGeometry(rect.left(), rect.top(), std::min(rect.width(), allScreens.width()),
                           std::min(rect.height(), allScreens.height()));
        return;
    }
    }
}

QList<QRect> availableScreenAreas()
{
    QList<QRect> areas;
    for (const QScreen* screen : QGuiApplication::screens())
        areas.append(screen->availableGeometry());
    return areas;
}

} // namespace app
