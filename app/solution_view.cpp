// SPDX-License-Identifier: MIT
// The solution view: the read-only rich-text view below the equation field that collects the solutions.
#include "app/solution_view.h"

#include "app/solution_clipboard.h"
#include "app/window_keys.h"

#include <QKeyEvent>
#include <QMimeData>
#include <QScopedValueRollback>
#include <QScrollBar>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>

#include <algorithm>
#include <string_view>

namespace app {

namespace {

/// Every fifth of an inch.
constexpr double kTabStopsPerInch = 5.0;
/// The user state of a line shown in the warning colour (other lines keep the default, -1).
constexpr int kWarningLine = 1;

QTextCharFormat classFormat(const QColor& color, bool isBold)
{
    QTextCharFormat format;
    format.setForeground(color);
    format.setFontWeight(isBold ? QFont::Bold : QFont::Normal);
    return format;
}

std::u16string_view viewOf(const QString& text)
{
    return {reinterpret_cast<const char16_t*>(text.utf16()), static_cast<std::size_t>(text.size())};
}

/// What a recolouring must leave as it was: the widget's selection and both scroll positions.
struct ViewState {
    int anchor = 0;
    int position = 0;
    int horizontal = 0;
    int vertical = 0;
};

} // namespace

CScriptEdit::CScriptEdit(QWidget* parent) : QTextEdit(parent)
{
    setReadOnly(true);
    setUndoRedoEnabled(false);
    setAcceptRichText(false);
    setLineWrapMode(QTextEdit::NoWrap);
    // Keyboard selection and focus, so Ctrl+C and Escape reach the view.
    setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    setFocusPolicy(Qt::StrongFocus);

    // White paper in every desktop theme until the window chooses; the reasons beside the lines in
    // grey, so the derivation itself stands out, and warnings in dark red.
    SetPaper(Qt::white, Qt::black, QColor(110, 110, 110), QColor(192, 0, 0));
    // The component's own colours, until the window sets the stored ones.
    SetTextColor(Qt::black, false);
    SetKeywordColor(QColor(0, 0, 255), false);
    SetNumberColor(QColor(0, 128, 0), false);

    connect(document(), &QTextDocument::contentsChange, this, &CScriptEdit::handleContentsChange);
}

void CScriptEdit::SetPaper(const QColor& paper, const QColor& text, const QColor& reason,
                           const QColor& warning)
{
    QPalette colours = palette();
    colours.setColor(QPalette::Base, paper);
    colours.setColor(QPalette::Text, text);
    const QScopedValueRollback setting(m_isSettingPaper, true);
    setPalette(colours);
    m_reasonFormat = classFormat(reason, false);
    m_warningFormat = classFormat(warning, false);
}

void CScriptEdit::SetKeywords(const QString& words)
{
    m_scanner.SetKeywords(viewOf(words));
}

void CScriptEdit::SetTextColor(const QColor& color, bool isBold)
{
    m_textFormat = classFormat(color, isBold);
}

void CScriptEdit::SetKeywordColor(const QColor& color, bool isBold)
{
    m_keywordFormat = classFormat(color, isBold);
}

void CScriptEdit::SetNumberColor(const QColor& color, bool isBold)
{
    m_numberFormat = classFormat(color, isBold);
}

void CScriptEdit::ApplyViewFont(const QFont& font)
{
    setFont(font);
    setTabStopDistance(logicalDpiX() / kTabStopsPerInch);
}

int CScriptEdit::textLength() const
{
    // The document counts one more paragraph separator than its text has line breaks.
    return document()->characterCount() - 1;
}

void CScriptEdit::appendText(const QString& text, bool isLastLineWarning)
{
    const int start = textLength();
    QTextCursor cursor(document());
    cursor.movePosition(QTextCursor::End);
    {
        const QScopedValueRollback busy(m_isBusy, true);
        cursor.beginEditBlock();
        cursor.insertText(QString(text).replace(QStringLiteral("\r\n"), QStringLiteral("\n")), m_textFormat);
        cursor.endEditBlock();
        // The line of the last character: a line break there ends the warning line itself.
        if (isLastLineWarning && textLength() > start)
            document()->findBlock(textLength() - 1).setUserState(kWarningLine);
    }
    HighlightRange(start, textLength());
    cursor.movePosition(QTextCursor::End);
    setTextCursor(cursor);
    ensureCursorVisible();
}

void CScriptEdit::clearText()
{
    // Through a cursor, not QTextEdit::clear(), so the document keeps its font and tab stops.
    QTextCursor cursor(document());
    cursor.select(QTextCursor::Document);
    cursor.removeSelectedText();
    document()->firstBlock().setUserState(-1);
}

void CScriptEdit::HighlightRange(int first, int last)
{
    first = std::max(first, 0);
    last = std::min(last, textLength());
    if (first >= last)
        return;
    const QScopedValueRollback busy(m_isBusy, true);
    const QTextCursor widgetCursor = textCursor();
    const ViewState kept{widgetCursor.anchor(), widgetCursor.position(), horizontalScrollBar()->value(),
                         verticalScrollBar()->value()};

    // One edit block on a cursor of our own: the document is laid out and repainted once.
    QTextCursor cursor(document());
    cursor.beginEditBlock();
    cursor.setPosition(first);
    cursor.setPosition(last, QTextCursor::KeepAnchor);
    const QString text = cursor.selectedText();
    cursor.setCharFormat(m_textFormat);
    // Reasons keep their muted colour with highlighting off too; nothing inside them is scanned.
    const ScanResult tokens = m_scanner.scan(viewOf(text));
    if (m_isHighlightOn) {
        for (const Respelling& respelling : tokens.respellings) {
            cursor.setPosition(first + static_cast<int>(respelling.offset));
            cursor.setPosition(first + static_cast<int>(respelling.offset + respelling.text.size()),
                               QTextCursor::KeepAnchor);
            cursor.insertText(QString::fromStdU16String(respelling.text), m_textFormat);
        }
    }
    for (const TokenSpan& span : tokens.spans) {
        if (!m_isHighlightOn && span.tokenClass != TokenClass::Reason)
            continue;
        cursor.setPosition(first + static_cast<int>(span.offset));
        cursor.setPosition(first + static_cast<int>(span.offset + span.length), QTextCursor::KeepAnchor);
        cursor.setCharFormat(formatOf(span.tokenClass));
    }
    // Warning lines are in their own colour, highlighting or not.
    for (QTextBlock line = document()->findBlock(first); line.isValid() && line.position() < last;
         line = line.next()) {
        if (line.userState() != kWarningLine)
            continue;
        cursor.setPosition(std::max(first, line.position()));
        cursor.setPosition(std::min(last, line.position() + line.length() - 1), QTextCursor::KeepAnchor);
        cursor.setCharFormat(m_warningFormat);
    }
    cursor.endEditBlock();

    // A respelling replaces characters and may have moved the caret standing inside them.
    const QTextCursor after = textCursor();
    if (after.anchor() != kept.anchor || after.position() != kept.position) {
        QTextCursor restored(document());
        restored.setPosition(kept.anchor);
        restored.setPosition(kept.position, QTextCursor::KeepAnchor);
        setTextCursor(restored);
    }
    horizontalScrollBar()->setValue(kept.horizontal);
    verticalScrollBar()->setValue(kept.vertical);
}

const QTextCharFormat& CScriptEdit::formatOf(TokenClass tokenClass) const
{
    switch (tokenClass) {
    case TokenClass::Number:
        return m_numberFormat;
    case TokenClass::Keyword:
        return m_keywordFormat;
    case TokenClass::Reason:
        break;
    }
    return m_reasonFormat;
}

void CScriptEdit::HighlightLines(int a, int b)
{
    const QTextBlock firstLine = document()->findBlock(std::max(a, 0));
    const QTextBlock lastLine = document()->findBlock(std::clamp(b, 0, textLength()));
    if (!firstLine.isValid() || !lastLine.isValid())
        return;
    // The end of a line is the position of its paragraph separator.
    HighlightRange(firstLine.position(), lastLine.position() + lastLine.length() - 1);
}

void CScriptEdit::HighlightAll()
{
    HighlightRange(0, textLength());
}

void CScriptEdit::handleContentsChange(int position, int, int added)
{
    // Format changes are reported as content changes too; our own never start another recolouring.
    if (m_isBusy)
        return;
    HighlightLines(position, position + added);
}

bool CScriptEdit::event(QEvent* event)
{
    // Declining the override lets the window's shortcut take the key.
    if (declineWindowKey(*event, m_windowKeys))
        return true;
    // The application's palette reaches the view as a change of its own, which it was not.
    if (event->type() == QEvent::PaletteChange && !m_isSettingPaper)
        emit desktopPaletteChanged();
    // Tab must reach the view before the focus chain takes it.
    if (event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<const QKeyEvent*>(event);
        const bool isTab = key->key() == Qt::Key_Tab || key->key() == Qt::Key_Backtab;
        if (isTab && !key->modifiers().testFlag(Qt::ControlModifier)) {
            insertTab();
            return true;
        }
        if (isTab) {
            // Ctrl+Tab leaves the view, as in every control that takes the Tab key itself.
            focusNextPrevChild(key->key() == Qt::Key_Tab && !key->modifiers().testFlag(Qt::ShiftModifier));
            return true;
        }
    }
    return QTextEdit::event(event);
}

void CScriptEdit::keyPressEvent(QKeyEvent* event)
{
    const bool isEscape = event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier;
    if (isEscape || event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        // Taken and ignored: Escape must not close the window, nor Enter press its Solve button.
        event->accept();
        return;
    }
    if (event == QKeySequence::Copy) {
        event->accept();
        emit copyRequested();
        return;
    }
    QTextEdit::keyPressEvent(event);
}

QMimeData* CScriptEdit::createMimeDataFromSelection() const
{
    // Dragging text out of the view carries the same flavours as Copy.
    return mimeDataOf(*this).release();
}

void CScriptEdit::insertTab()
{
    // The only text a user can type into the view; the change recolours its line. It goes at the
    // selection's end and never replaces the selection: the view keeps no undo, and select all
    // followed by Tab would otherwise wipe every derivation in it.
    QTextCursor cursor = textCursor();
    cursor.setPosition(cursor.selectionEnd());
    cursor.insertText(QStringLiteral("\t"), m_textFormat);
    setTextCursor(cursor);
}

} // namespace app
