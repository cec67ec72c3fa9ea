// SPDX-License-Identifier: MIT
// Lets the window's shortcut keys pass a text control that would otherwise take them as its own.
#pragma once

#include <QKeySequence>
#include <QList>

class QEvent;

namespace app {

/// For a shortcut-override event whose key is one of keys: ignores it, so the window's shortcut
/// runs instead of the control's own key binding, and returns true. Otherwise returns false.
bool declineWindowKey(QEvent& event, const QList<QKeySequence>& keys);

} // namespace app
