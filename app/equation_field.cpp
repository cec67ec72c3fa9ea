// SPDX-License-Identifier: MIT
// The equation field: one line of input that the calculator keys edit at the caret.
#include "app/equation_field.h"

#include "app/equation_history.h"
#include "app/window_keys.h"

#include <QCompleter>
#include <QKeyEvent>
#include <QStringListModel>

#include <algorithm>

namespace app {

EquationField::EquationField(QWidget* parent) : QLineEdit(parent)
{
    setAcceptDrops(false);
    // Typing ends a walk through the history: the next Up starts from the text as it now is.
    connect(this, &QLineEdit::textEdited, this, [this] { m_walk.clear(); });
}

void EquationField::setHistory(EquationHistory& history)
{
    m_history = &history;
    connect(&history, &EquationHistory::changed, this, [this] { m_walk.clear(); });
    auto* completer = new QCompleter(&history.model(), this);
    completer->setCaseSensitivity(Qt::CaseSensitive);
    completer->setCompletionMode(QCompleter::PopupCompletion);
    setCompleter(completer);
}

void EquationField::keyPressEvent(QKeyEvent* event)
{
    const bool isUp = event->key() == Qt::Key_Up;
    const bool isDown = event->key() == Qt::Key_Down;
    const bool isPlain = (event->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier;
    const bool isCaretAtAnEnd = cursorPosition() == 0 || cursorPosition() == text().size();
    if ((isUp || isDown) && isPlain && isCaretAtAnEnd && m_history != nullptr) {
        // Taken also at either end of the walk, so the key does not wander off to the window.
        walkHistory(isUp ? 1 : -1);
        event->accept();
        return;
    }
    QLineEdit::keyPressEvent(event);
}

bool EquationField::walkHistory(int step)
{
    if (m_walk.isEmpty()) {
        m_walk = m_history->entries();
        if (m_walk.isEmpty() || m_walk.constFirst() != text())
            m_walk.prepend(text());
        m_walkPosition = 0;
    }
    const qsizetype next = m_walkPosition + step;
    if (next < 0 || next >= m_walk.size())
        return false;
    m_walkPosition = next;
    // Not an edit (no textEdited): the walk goes on, and the completer stays closed.
    setText(m_walk.at(next));
    end(false);
    return true;
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
