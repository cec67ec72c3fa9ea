// SPDX-License-Identifier: MIT
// The solution view: the read-only rich-text view below the equation field that collects the solutions.
#include "app/solution_view.h"

#include "app/window_keys.h"

#include <QKeyEvent>

namespace app {

CScriptEdit::CScriptEdit(QWidget* parent) : QTextEdit(parent)
{
    setReadOnly(true);
    setUndoRedoEnabled(false);
    setAcceptRichText(false);
    setLineWrapMode(QTextEdit::NoWrap);
    // Keyboard selection and focus, so Ctrl+C and Escape reach the view.
    setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    setFocusPolicy(Qt::StrongFocus);
}

bool CScriptEdit::event(QEvent* event)
{
    // Declining the override lets the window's shortcut take the key.
    if (declineWindowKey(*event, m_windowKeys))
        return true;
    return QTextEdit::event(event);
}

void CScriptEdit::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
        // Taken and ignored, so it does not reach the window and close it.
        event->accept();
        return;
    }
    QTextEdit::keyPressEvent(event);
}

} // namespace app
