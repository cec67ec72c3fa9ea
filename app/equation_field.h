// SPDX-License-Identifier: MIT
// The equation field: one line of input that the calculator keys edit at the caret.
#pragma once

#include <QKeySequence>
#include <QLineEdit>
#include <QList>

#include <utility>

namespace app {

/// A line edit that keeps its selection while a calculator key has the focus (so a key inserts in
/// front of the selection), refuses drops (a dropped file goes to the window) and leaves the
/// window's own shortcut keys to the window.
class EquationField : public QLineEdit {
    Q_OBJECT
public:
    /// The button operations refuse to let the text grow beyond this many characters.
    static constexpr int kMaxButtonLength = 255;

    explicit EquationField(QWidget* parent = nullptr);

    /// Keys that belong to the window's commands even while the field has the focus.
    void setWindowKeys(QList<QKeySequence> keys) { m_windowKeys = std::move(keys); }

    /// Inserts text at the selection start (a selected text stays, after it), unless the text
    /// would grow beyond 255 characters. The caret ends after the inserted text, or between the
    /// parentheses when the text ends in "()".
    void InsertAtCaret(const QString& text);
    /// Deletes the selected text (an undoable edit); without a selection, the character before the
    /// caret (the caret steps back onto it) or, with the caret at the very start, the last character.
    void ClearSelection();

protected:
    bool event(QEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

private:
    void setTextWithCaret(const QString& text, qsizetype caret);

    QList<QKeySequence> m_windowKeys;
};

} // namespace app
