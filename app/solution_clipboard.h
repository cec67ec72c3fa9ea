// SPDX-License-Identifier: MIT
// The Copy commands: the view's selection on the clipboard as plain text, HTML and RTF with its colours,
// or as LaTeX.
#pragma once

#include "app/view_runs.h"

#include <QString>

#include <memory>
#include <vector>

class QFont;
class QMimeData;

namespace config {
struct LatexStyle;
}

namespace app {

class CScriptEdit;
class Platform;

/// An HTML page holding runs as preformatted text in font (face and size), with their colours and
/// bold, so a word processor pastes what the view shows.
[[nodiscard]] QString htmlOf(const std::vector<TextRun>& runs, const QFont& font);

/// The clipboard flavours of the view's selection: text/plain with LF line ends, text/html, and RTF
/// (as text/rtf and application/rtf).
[[nodiscard]] std::unique_ptr<QMimeData> mimeDataOf(const CScriptEdit& view);

/// Copy: an empty view copies nothing; otherwise, without a selection, the whole text is selected
/// first, and the selection goes to the clipboard through the desktop seam.
void copySolution(CScriptEdit& view, Platform& platform);

/// Copy as LaTeX: as Copy, with the selection as LaTeX (`latexOfText`, read with style) in
/// text/plain. A selection without any line copies nothing.
void copySolutionAsLatex(CScriptEdit& view, Platform& platform, const config::LatexStyle& style);

} // namespace app
