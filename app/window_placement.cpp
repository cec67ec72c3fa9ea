// SPDX-License-Identifier: MIT
// The main window's stored position (WinPos): written at close, restored at start where a screen can show it.
#include "app/window_placement.h"

#include "config/settings.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>
#include <QWindow>

#include <algorithm>
#include <optional>

namespace app {

namespace {

/// The area that shares the most with rect, or nothing when rect lies off every area.
std::optional<QRect> areaShowing(const QRect& rect, const QList<QRect>& areas)
{
    std::optional<QRect> best;
    qint64 bestShared = 0;
    for (const QRect& area : areas) {
        const QRect shared = area.intersected(rect);
        const qint64 size = qint64{shared.width()} * shared.height();
        if (!shared.isEmpty() && size > bestShared) {
            best = area;
            bestShared = size;
        }
    }
    return best;
}

/// The frame the window system draws around the window, where it tells before the window is shown
/// (elsewhere none: then the window system keeps the frame on the screen itself).
QMargins frameMarginsOf(QWidget& window)
{
    static_cast<void>(window.winId()); // creates the native window, which knows the frame
    const QWindow* handle = window.windowHandle();
    return handle != nullptr ? handle->frameMargins() : QMargins();
}

} // namespace

std::string winPosText(const QWidget& window)
{
    if (window.isMaximized())
        return std::string(config::kWinPosMaximised);
    const QRect rect = window.isMinimized() ? window.normalGeometry() : window.geometry();
    return config::formatWinPos(rect.left(), rect.top(), rect.left() + rect.width(),
                                rect.top() + rect.height());
}

QRect fittedInto(const QRect& rect, const QMargins& frame, const QRect& area)
{
    const QRect framed = rect.marginsAdded(frame);
    QRect fitted(framed.topLeft(), framed.size().boundedTo(area.size()));
    fitted.moveLeft(std::clamp(fitted.left(), area.left(), area.left() + area.width() - fitted.width()));
    fitted.moveTop(std::clamp(fitted.top(), area.top(), area.top() + area.height() - fitted.height()));
    return fitted.marginsRemoved(frame);
}

void restoreWinPos(QWidget& window, std::string_view winPos, const QList<QRect>& availableScreenAreas,
                   const QSize& minimumSize)
{
    if (availableScreenAreas.isEmpty())
        return;
    const config::WindowPlacement placement = config::parseWinPos(winPos);
    const QRect stored(placement.left, placement.top, placement.width, placement.height);
    const std::optional<QRect> showing = placement.kind == config::WindowPlacement::Kind::Moved
                                             ? areaShowing(stored, availableScreenAreas)
                                             : std::nullopt;
    // A new window opens on the primary screen, which comes first.
    const QRect area = showing.value_or(availableScreenAreas.constFirst());
    const QMargins frame = frameMarginsOf(window);
    // Even the smallest window must fit, frame included: on a small or scaled screen
    // (QT_SCALE_FACTOR=2 makes a 1280x900 screen 640x450) the designed minimum would fill it or
    // reach beyond it.
    const QSize room = area.marginsRemoved(frame).size();
    window.setMinimumSize(minimumSize.boundedTo(room));
    if (showing) {
        // Fitted at the size the window will really have, never below its minimum.
        const QRect grown(stored.topLeft(), stored.size().expandedTo(window.minimumSize()));
        window.setGeometry(fittedInto(grown, frame, area));
    } else {
        // The window system chooses the place; the size must fit the screen.
        window.resize(window.size().boundedTo(room));
    }
    if (placement.kind == config::WindowPlacement::Kind::Maximised)
        window.setWindowState(window.windowState() | Qt::WindowMaximized);
}

QList<QRect> availableScreenAreas()
{
    QList<QRect> areas;
    for (const QScreen* screen : QGuiApplication::screens())
        areas.append(screen->availableGeometry());
    return areas;
}

} // namespace app
