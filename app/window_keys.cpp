// SPDX-License-Identifier: MIT
// Lets the window's shortcut keys pass a text control that would otherwise take them as its own.
#include "app/window_keys.h"

#include <QKeyEvent>

namespace app {

bool declineWindowKey(QEvent& event, const QList<QKeySequence>& keys)
{
    if (event.type() != QEvent::ShortcutOverride)
        return false;
    const auto& key = static_cast<const QKeyEvent&>(event);
    if (!keys.contains(QKeySequence(key.keyCombination())))
        return false;
    event.ignore();
    return true;
}

} // namespace app
