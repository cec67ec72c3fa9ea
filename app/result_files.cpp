// SPDX-License-Identifier: MIT
// The solution view as a result file: plain text, or RTF with the view's font, colours and bold.
#include "app/result_files.h"

#include "app/solution_view.h"
#include "app/text_conversion.h"

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

QByteArray resultBytes(const CScriptEdit& view, bool asRtf)
{
    QTextCursor whole(view.document());
    whole.select(QTextCursor::Document);
    const std::vector<TextRun> runs = exportedRuns(view, whole);
    if (asRtf) {
        const std::string rtf = rtfOf(runs, rtfStyleOf(view));
        return QByteArray(rtf.data(), static_cast<qsizetype>(rtf.size()));
    }
    QString text;
    for (const TextRun& run : runs)
        text += QString::fromStdU16String(run.text);
    return QByteArray::fromStdString(toUtf8(text.replace(QLatin1Char('\n'), QStringLiteral("\r\n"))));
}

} // namespace app
