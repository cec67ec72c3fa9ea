// SPDX-License-Identifier: MIT
// The Copy commands: the view's selection on the clipboard as plain text, HTML and RTF with its colours,
// or as LaTeX.
#include "app/solution_clipboard.h"

#include "app/platform.h"
#include "app/result_files.h"
#include "app/rtf_writer.h"
#include "app/solution_view.h"
#include "app/text_conversion.h"
#include "config/latex_text.h"

#include <QFontInfo>
#include <QMimeData>
#include <QTextCursor>

#include <cmath>

namespace app {

namespace {

/// A point size in tenths, as "10" or "10.5", whatever the locale.
QString pointSizeText(double points)
{
    const long tenths = std::lround(points * 10.0);
    QString text = QString::number(tenths / 10);
    if (tenths % 10 != 0)
        text += QLatin1Char('.') + QString::number(tenths % 10);
    return text;
}

} // namespace

QString htmlOf(const std::vector<TextRun>& runs, const QFont& font)
{
    QString family = font.family();
    family.remove(QLatin1Char('\'')).remove(QLatin1Char('"'));
    QString html = QStringLiteral("<!DOCTYPE html>\n<html><head><meta charset=\"utf-8\"></head><body>\n"
                                  "<pre style=\"font-family:'%1',monospace;font-size:%2pt\">")
                       .arg(family.toHtmlEscaped(), pointSizeText(QFontInfo(font).pointSizeF()));
    for (const TextRun& run : runs) {
        html += QStringLiteral("<span style=\"color:#%1%2\">")
                    .arg(run.rgb, 6, 16, QLatin1Char('0'))
                    .arg(run.isBold ? QStringLiteral(";font-weight:bold") : QString());
        html += QString::fromStdU16String(run.text).toHtmlEscaped();
        html += QStringLiteral("</span>");
    }
    html += QStringLiteral("</pre>\n</body></html>\n");
    return html;
}

std::unique_ptr<QMimeData> mimeDataOf(const CScriptEdit& view)
{
    auto data = std::make_unique<QMimeData>();
    const std::vector<TextRun> runs = exportedRuns(view, view.textCursor());
    data->setText(textOf(runs));
    data->setHtml(htmlOf(runs, view.font()));
    const std::string rtf = rtfOf(runs, rtfStyleOf(view));
    const QByteArray rtfBytes(rtf.data(), static_cast<qsizetype>(rtf.size()));
    // Word processors look for either name.
    data->setData(QStringLiteral("text/rtf"), rtfBytes);
    data->setData(QStringLiteral("application/rtf"), rtfBytes);
    return data;
}

namespace {

/// What both copy commands take: the selection, or everything when nothing is selected; false for
/// an empty view.
bool selectForCopy(CScriptEdit& view)
{
    if (view.textLength() == 0)
        return false;
    if (!view.textCursor().hasSelection())
        view.selectAll();
    return true;
}

} // namespace

void copySolution(CScriptEdit& view, Platform& platform)
{
    if (selectForCopy(view))
        platform.setClipboard(mimeDataOf(view));
}

void copySolutionAsLatex(CScriptEdit& view, Platform& platform, const config::LatexStyle& style)
{
    if (!selectForCopy(view))
        return;
    const std::string latex = config::latexOfText(toUtf8(textOf(selectedRuns(view.textCursor()))), style);
    if (latex.empty())
        return;
    auto data = std::make_unique<QMimeData>();
    data->setText(toQString(latex));
    platform.setClipboard(std::move(data));
}

} // namespace app
