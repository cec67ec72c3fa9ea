// SPDX-License-Identifier: MIT
// The solution view as a result file: plain text, or RTF with the view's font, colours and bold.
#pragma once

#include "app/rtf_writer.h"
#include "app/view_runs.h"

#include <QByteArray>

class QTextCursor;

namespace app {

class CScriptEdit;

/// The font and colours the view's runs are written with: the view's face and size, fixed pitch
/// when its font is, and the colours of plain text, function names and numbers (as exported).
[[nodiscard]] RtfStyle rtfStyleOf(const CScriptEdit& view);
/// The runs of selection in the view, in the colours a copy or a saved result takes.
[[nodiscard]] std::vector<TextRun> exportedRuns(const CScriptEdit& view, const QTextCursor& selection);

/// The whole view as a result file: as RTF, or as its text in UTF-8 (no byte-order mark) with
/// CR LF line ends and its tabs.
[[nodiscard]] QByteArray resultBytes(const CScriptEdit& view, bool asRtf);

} // namespace app
