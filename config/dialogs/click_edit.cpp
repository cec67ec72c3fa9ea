// SPDX-License-Identifier: MIT
// A read-only one-line text that acts as a link: the hand cursor over it, a double-click activates it.
#include "config/dialogs/click_edit.h"

#include <QMouseEvent>

namespace config {

CClickEdit::CClickEdit(QWidget* parent) : QLineEdit(parent)
{
    setReadOnly(true);
    setFrame(false);
    // Hover events reach mouseMoveEvent also without a pressed button.
    setMouseTracking(true);
}

void CClickEdit::SetLink(const QString& target)
{
    m_link = target;
    setToolTip(target);
    updateCursor();
}

void CClickEdit::updateCursor()
{
    // A read-only edit shows the arrow; a link shows the hand.
    setCursor(m_link.isEmpty() ? Qt::ArrowCursor : Qt::PointingHandCursor);
}

void CClickEdit::mouseMoveEvent(QMouseEvent* event)
{
    updateCursor();
    QLineEdit::mouseMoveEvent(event);
}

void CClickEdit::mouseDoubleClickEvent(QMouseEvent* event)
{
    if (!m_link.isEmpty() && event->button() == Qt::LeftButton)
        emit linkActivated(QUrl(m_link));
    QLineEdit::mouseDoubleClickEvent(event);
}

} // namespace config
