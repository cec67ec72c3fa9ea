// SPDX-License-Identifier: MIT
// The solution view: the read-only rich-text view below the equation field that collects the solutions.
#pragma once

#include "app/token_scanner.h"

#include <QHash>
#include <QKeySequence>
#include <QList>
#include <QTextCharFormat>
#include <QTextEdit>

#include <cstdint>
#include <utility>

namespace app {

/// The read-only view of the solutions. It colours its own text by writing character formats into
/// its document (plain text, function names, numbers, and the reasons beside the lines in a muted
/// grey also while highlighting is off), so exports read the colours from there.
/// Every change that was not its own recolouring recolours the whole lines it touched; appended
/// text is recoloured over its own range. The view draws on a paper of its own (white until the
/// window sets another), whatever the desktop theme. It keeps Escape and Enter to itself (the window must not
/// close, nor solve again, while the user reads), inserts a tab for Tab without Ctrl (after a selection,
/// which stays: the view has no undo), and leaves the window's shortcut keys to the window.
class CScriptEdit : public QTextEdit {
    Q_OBJECT
public:
    explicit CScriptEdit(QWidget* parent = nullptr);

    /// Keys that belong to the window's commands even while the view has the focus.
    void setWindowKeys(QList<QKeySequence> keys) { m_windowKeys = std::move(keys); }

    /// Appends blank-separated words to the keyword list (function names).
    void SetKeywords(const QString& words);
    void SetHighlightOn(bool isOn) { m_isHighlightOn = isOn; }
    void SetTextColor(const QColor& color, bool isBold);
    void SetKeywordColor(const QColor& color, bool isBold);
    void SetNumberColor(const QColor& color, bool isBold);
    /// The paper and its plain text colour, and the colours of the reasons and of warning lines
    /// (taken at the next recolouring).
    void SetPaper(const QColor& paper, const QColor& text, const QColor& reason, const QColor& warning);
    /// Colours (0xRRGGBB) that copies and saved results take instead of those drawn on the paper:
    /// a document is read on white, so the colours of a dark paper go out as their light ones.
    void SetExportColors(QHash<std::uint32_t, std::uint32_t> colors) { m_exportColors = std::move(colors); }
    /// The colour a copy or a saved result writes for one drawn in rgb.
    [[nodiscard]] std::uint32_t exportColor(std::uint32_t rgb) const
    {
        return m_exportColors.value(rgb, rgb);
    }
    /// The font of the whole text, with a tab stop every fifth of an inch.
    void ApplyViewFont(const QFont& font);
    /// Colours and bold flags take effect at the next recolouring.
    [[nodiscard]] const QTextCharFormat& textFormat() const { return m_textFormat; }
    [[nodiscard]] const QTextCharFormat& keywordFormat() const { return m_keywordFormat; }
    [[nodiscard]] const QTextCharFormat& numberFormat() const { return m_numberFormat; }
    [[nodiscard]] const QTextCharFormat& reasonFormat() const { return m_reasonFormat; }
    /// A line that warns: the paper's warning colour, whatever the highlighting colours.
    [[nodiscard]] const QTextCharFormat& warningFormat() const { return m_warningFormat; }

    /// The length of the text in characters, a line break counting one; never reads the text.
    [[nodiscard]] int textLength() const;
    /// Appends text at the end ("\r\n" is one line break), colours the appended range, and puts the
    /// caret at the end, scrolled into view. With isLastLineWarning, the last line of text (a failed
    /// result check) is shown in the warning colour, and keeps it through every recolouring.
    void appendText(const QString& text, bool isLastLineWarning = false);
    /// Replaces the whole text by the empty text.
    void clearText();

    /// Recolours the characters first..last-1; the selection and the scroll position stay.
    void HighlightRange(int first, int last);
    /// Recolours from the start of the line holding a to the end of the line holding b.
    void HighlightLines(int a, int b);
    void HighlightAll();

signals:
    /// Ctrl+C in the view: the window's Copy command takes it.
    void copyRequested();
    /// The application's palette changed (the desktop's theme, say); the view's own stays as set.
    void desktopPaletteChanged();

protected:
    bool event(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    [[nodiscard]] QMimeData* createMimeDataFromSelection() const override;

private:
    void handleContentsChange(int position, int removed, int added);
    void insertTab();
    [[nodiscard]] const QTextCharFormat& formatOf(TokenClass tokenClass) const;

    TokenScanner m_scanner;
    bool m_isHighlightOn = true;
    QTextCharFormat m_textFormat;
    QTextCharFormat m_keywordFormat;
    QTextCharFormat m_numberFormat;
    QTextCharFormat m_reasonFormat;
    QTextCharFormat m_warningFormat;
    /// Set while the view changes its own text or formats, which must not start another recolouring.
    bool m_isBusy = false;
    QList<QKeySequence> m_windowKeys;
    QHash<std::uint32_t, std::uint32_t> m_exportColors;
    /// Set while the view sets its own palette, which is no change of the desktop's.
    bool m_isSettingPaper = false;
};

} // namespace app
