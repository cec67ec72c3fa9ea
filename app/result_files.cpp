// SPDX-License-Identifier: MIT
// The solution view as a result file: plain text, RTF with the view's font, colours and bold, or LaTeX.
#include "app/result_files.h"

#include "app/solution_view.h"
#include "app/text_conversion.h"
#include "config/latex_text.h"
#include "config/solve_command.h"

#include <QFontInfo>
#include <QTextCursor>

#include <cmath>

namespace app {

namespace {

std::uint32_t rgbOf(const QTextCharFormat& format)
{
    return static_cast<std::uint32_t>(format.foreground().color().rgb() & 0xFFFFFF);
}

} // namespace

RtfStyle rtfStyleOf(const CScriptEdit& view)
{
    const QFont font = view.font();
    const QFontInfo shown(font);
    RtfStyle style;
    style.faceName = font.family().toStdU16String();
    style.isFixedPitch = font.fixedPitch() || shown.fixedPitch();
    style.halfPoints = static_cast<int>(std::lround(shown.pointSizeF() * 2.0));
    style.colors = {view.exportColor(rgbOf(view.textFormat())), view.exportColor(rgbOf(view.keywordFormat())),
                    view.exportColor(rgbOf(view.numberFormat()))};
    return style;
}

std::vector<TextRun> exportedRuns(const CScriptEdit& view, const QTextCursor& selection)
{
    std::vector<TextRun> runs = selectedRuns(selection);
    for (TextRun& run : runs)
        run.rgb = view.exportColor(run.rgb);
    return runs;
}

ResultFormat resultFormatOf(const QString& path)
{
    if (path.endsWith(QStringLiteral(".rtf"), Qt::CaseInsensitive))
        return ResultFormat::Rtf;
    if (path.endsWith(QStringLiteral(".tex"), Qt::CaseInsensitive))
        return ResultFormat::Latex;
    return ResultFormat::Text;
}

QByteArray resultBytes(const CScriptEdit& view, ResultFormat format, const config::LatexStyle& style)
{
    QTextCursor whole(view.document());
    whole.select(QTextCursor::Document);
    const std::vector<TextRun> runs = exportedRuns(view, whole);
    switch (format) {
    case ResultFormat::Rtf:
        return QByteArray::fromStdString(rtfOf(runs, rtfStyleOf(view)));
    case ResultFormat::Latex:
        return QByteArray::fromStdString(
            config::latexDocument(config::latexOfText(toUtf8(textOf(runs)), style)));
    case ResultFormat::Text:
        break;
    }
    return QByteArray::fromStdString(config::ReplaceAll(toUtf8(textOf(runs)), "\n", "\r\n"));
}

} // namespace app
