// SPDX-License-Identifier: MIT
// The solution view as a result file: plain text, RTF with the view's font, colours and bold, or LaTeX.
#pragma once

#include "app/rtf_writer.h"
#include "app/view_runs.h"

#include <QByteArray>

class QString;
class QTextCursor;

namespace config {
struct LatexStyle;
}

namespace app {

class CScriptEdit;

/// The font and colours the view's runs are written with: the view's face and size, fixed pitch
/// when its font is, and the colours of plain text, function names and numbers (as exported).
[[nodiscard]] RtfStyle rtfStyleOf(const CScriptEdit& view);
/// The runs of selection in the view, in the colours a copy or a saved result takes.
[[nodiscard]] std::vector<TextRun> exportedRuns(const CScriptEdit& view, const QTextCursor& selection);

enum class ResultFormat {
    Text,  ///< the text in UTF-8 (no byte-order mark) with CR LF line ends and its tabs
    Rtf,   ///< `rtfOf` the runs
    Latex, ///< a LaTeX document of the text (`latexDocument` of `latexOfText`), UTF-8 with LF line ends
};

/// The format a result file's name asks for: RTF for ".rtf", LaTeX for ".tex" (any case), else text.
[[nodiscard]] ResultFormat resultFormatOf(const QString& path);

/// The whole view as a result file in format; style tells LaTeX how the text was written.
[[nodiscard]] QByteArray resultBytes(const CScriptEdit& view, ResultFormat format,
                                     const config::LatexStyle& style);

} // namespace app
