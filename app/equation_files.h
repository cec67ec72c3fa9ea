// SPDX-License-Identifier: MIT
// Reading and writing whole files: the text of an equation file, and a save that replaces a file whole.
#pragma once

#include <QByteArray>
#include <QString>

#include <optional>

namespace app {

/// The text of the equation file at path: its bytes up to the first NUL byte, each CR LF taken as
/// one line feed, decoded as UTF-8 (an invalid sequence becomes U+FFFD). Nothing when path names
/// no regular file (a FIFO or a device is never opened for reading, so it cannot block), the file
/// cannot be read, or the text would have more than maxLength UTF-16 characters; then at most
/// about three bytes per allowed character are read, however large the file is.
[[nodiscard]] std::optional<QString> readEquationFile(const QString& path, qsizetype maxLength);

/// Writes bytes as the whole new content of path: into a temporary file in the same folder that
/// replaces the old file only when every byte was written, so an existing file keeps its
/// permissions and is never left half written. False when anything failed; the old file is then
/// as it was and no temporary file remains.
[[nodiscard]] bool saveWholeFile(const QString& path, const QByteArray& bytes);

} // namespace app
