// SPDX-License-Identifier: MIT
// The equation field: one line of input that the calculator keys edit at the caret.
#include "app/equation_field.h"

#include "app/window_keys.h"

#include <QKeyEvent>

#include <algorithm>

namespace app {

EquationField::EquationField(QWidget* parent) : QLineEdit(parent)
{
    setAcceptDrops(false);
}

void EquationField::InsertAtCaret(const QString& text)
{
    if (text.isEmpty())
        return;
    const QString current = this->text();
    const qsizetype start = hasSelectedText() ? selectionStart() : cursorPosition();
    if (current.size() + text.size() > kMaxButtonLength)
        return;
    QString left = current;
    QString right;
    if (start <= kMaxButtonLength - 1 && start <= current.size()) {
        left = current.left(start);
        right = current.mid(start);
    }
    qsizetype caret = left.size() + text.size();
    // A function key leaves the caret between its parentheses; ")" itself leaves it after.
    if (text.endsWith(QStringLiteral("()")))
        --caret;
    setTextWithCaret(left + text + right, caret);
}

void EquationField::ClearSelection()
{
    if (hasSelectedText()) {
        del();
        setFocus();
        return;
    }
    const QString current = text();
    const qsizetype caret = cursorPosition();
    if (current.isEmpty()) {
        setFocus();
        return;
    }
    if (caret >= 1 && caret <= kMaxButtonLength && caret <= current.size()) {
        // The character before the caret goes, and the caret stays in front of what followed it.
        setTextWithCaret(current.left(caret - 1) + current.mid(caret), caret - 1);
    } else {
        // At the very start (or beyond the buttons' reach) the last character goes.
        setTextWithCaret(current.left(current.size() - 1), caret);
    }
}

void EquationField::setTextWithCaret(const QString& text, qsizetype caret)
{
    setText(text);
    setFocus();
    setCursorPosition(static_cast<int>(std::min(caret, text.size())));
}

bool EquationField::event(QEvent* event)
{
    // Declining the override lets the window's shortcut take the key.
    if (declineWindowKey(*event, m_windowKeys))
        return true;
    return QLineEdit::event(event);
}

void EquationField::focusOutEvent(QFocusEvent* event)
{
    const bool hadSelection = hasSelectedText();
    const int start = selectionStart();
    const int length = static_cast<int>(selectedText().size());
    const bool caretAtStart = cursorPosition() == start;
    QLineEdit::focusOutEvent(event);
    // Qt drops the selection when the focus moves to a button; a key must still see it.
    if (hadSelection && !hasSelectedText()) {
        if (caretAtStart)
            setSelection(start + length, -length);
        else
            setSelection(start, length);
    }
}

} // namespace app
