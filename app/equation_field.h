// SPDX-License-Identifier: MIT
// The equation field: one line of input that the calculator keys edit at the caret.
#pragma once

#include <QKeySequence>
#include <QLineEdit>
#include <QList>
#include <QStringList>

#include <utility>

namespace app {

class EquationHistory;

/// A line edit that keeps its selection while a calculator key has the focus (so a key inserts in
/// front of the selection), refuses drops (a dropped file goes to the window) and leaves the
/// window's own shortcut keys to the window. Given a history, it offers the equations solved that
/// begin with what is typed, and Up and Down walk through them while the caret stands at the start
/// or the end of the text (elsewhere they do what they always did); the text being edited stays at
/// the front of the walk, so Down brings it back.
class EquationField : public QLineEdit {
    Q_OBJECT
public:
    /// The button operations refuse to let the text grow beyond this many characters.
    static constexpr int kMaxButtonLength = 255;

    explicit EquationField(QWidget* parent = nullptr);

    /// Keys that belong to the window's commands even while the field has the focus.
    void setWindowKeys(QList<QKeySequence> keys) { m_windowKeys = std::move(keys); }
    /// The history the field walks and completes from; it must outlive the field.
    void setHistory(EquationHistory& history);

    /// Inserts text at the selection start (a selected text stays, after it), unless the text
    /// would grow beyond 255 characters. The caret ends after the inserted text, or between the
    /// parentheses when the text ends in "()".
    void InsertAtCaret(const QString& text);
    /// Deletes the selected text (an undoable edit); without a selection, the character before the
    /// caret (the caret steps back onto it) or, with the caret at the very start, the last character.
    void ClearSelection();

protected:
    bool event(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

private:
    void setTextWithCaret(const QString& text, qsizetype caret);
    /// One step through the history (+1 older, -1 newer); false when there is none that way.
    bool walkHistory(int step);

    QList<QKeySequence> m_windowKeys;
    EquationHistory* m_history = nullptr;
    /// The walk under way: the text being edited (unless it is the newest entry anyway), then the
    /// history; empty while no walk is under way.
    QStringList m_walk;
    qsizetype m_walkPosition = 0;
};

} // namespace app
