// SPDX-License-Identifier: MIT
// The solution view's text as runs of one colour and weight, read from the document's character formats.
#include "app/view_runs.h"

#include <QFont>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>

#include <algorithm>

namespace app {

namespace {

void appendRun(std::vector<TextRun>& runs, const QString& text, std::uint32_t rgb, bool isBold)
{
    if (text.isEmpty())
        return;
    if (runs.empty() || runs.back().rgb != rgb || runs.back().isBold != isBold)
        runs.push_back({{}, rgb, isBold});
    runs.back().text += text.toStdU16String();
}

} // namespace

QString textOf(const std::vector<TextRun>& runs)
{
    std::u16string text;
    for (const TextRun& run : runs)
        text += run.text;
    return QString::fromStdU16String(text);
}

std::vector<TextRun> selectedRuns(const QTextCursor& cursor)
{
    std::vector<TextRun> runs;
    const QTextDocument* document = cursor.document();
    if (document == nullptr || !cursor.hasSelection())
        return runs;
    const int start = cursor.selectionStart();
    const int end = cursor.selectionEnd();
    for (QTextBlock block = document->findBlock(start); block.isValid() && block.position() <= end;
         block = block.next()) {
        // Every line after the first of the range starts behind a selected line break.
        if (block.position() > start) {
            if (runs.empty())
                runs.push_back({});
            runs.back().text += u'\n';
        }
        for (auto fragments = block.begin(); !fragments.atEnd(); ++fragments) {
            const QTextFragment fragment = fragments.fragment();
            const int from = std::max(start, fragment.position());
            const int to = std::min(end, fragment.position() + fragment.length());
            if (from >= to)
                continue;
            const QTextCharFormat format = fragment.charFormat();
            const QColor color = format.hasProperty(QTextFormat::ForegroundBrush)
                                     ? format.foreground().color()
                                     : QColor(Qt::black);
            appendRun(runs, fragment.text().mid(from - fragment.position(), to - from),
                      static_cast<std::uint32_t>(color.rgb() & 0xFFFFFF), format.fontWeight() >= QFont::Bold);
        }
    }
    return runs;
}

} // namespace app
