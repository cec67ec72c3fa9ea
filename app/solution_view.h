// SPDX-License-Identifier: MIT
// The solution view: the read-only rich-text view below the equation field that collects the solutions.
#pragma once

#include <QKeySequence>
#include <QList>
#include <QTextEdit>

#include <utility>

namespace app {

/// The read-only view of the solutions. It keeps the keyboard's Escape to itself (the window must
/// not close while the user reads) and leaves the window's shortcut keys to the window.
class CScriptEdit : public QTextEdit {
    Q_OBJECT
public:
    explicit CScriptEdit(QWidget* parent = nullptr);

    /// Keys that belong to the window's commands even while the view has the focus.
    void setWindowKeys(QList<QKeySequence> keys) { m_windowKeys = std::move(keys); }

protected:
    bool event(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    QList<QKeySequence> m_windowKeys;
};

} // namespace app
