// SPDX-License-Identifier: MIT
// The commands on equation files and results: New, Open, Save, Save as, Save result, Recent, drops.
#pragma once

#include <QList>
#include <QObject>
#include <QString>
#include <QUrl>

#include <string_view>

class QWidget;

namespace config {
class InterfaceTexts;
struct Settings;
} // namespace config

namespace app {

class CScriptEdit;
class EquationField;
class Platform;
class RecentFilesMenu;

/// The widgets and services the file commands work on; all outlive the commands.
struct FileCommandTargets {
    QWidget& window; ///< parent of the pickers and messages; its title names the current file
    Platform& platform;
    EquationField& equation;
    CScriptEdit& view;
    RecentFilesMenu& recent;
    const config::InterfaceTexts& texts;
    const config::Settings& settings; ///< how the view's text was written, for LaTeX
};

/// Holds the current equation file and runs every command that reads or writes a file. Pickers
/// and messages go through the desktop seam; a file that cannot be read or written gets exactly
/// one message, worded by the interface texts.
class FileCommands : public QObject {
    Q_OBJECT
public:
    explicit FileCommands(FileCommandTargets targets, QObject* parent = nullptr);

    /// `OpenEquationFile`: puts the file's text into the equation field, lists the file at the top
    /// of the recent list and names it in the title. A file that is not a regular file, cannot be
    /// read or holds more text than the field takes gets the read-error message, and field and
    /// title stay as they were. Either way the current file is the path only after success. The
    /// path is taken by value: it may be the current file itself, which is cleared first.
    bool OpenEquationFile(QString path);
    /// `SaveEquationFile`: writes the field's text as typed (UTF-8, no byte-order mark, no line
    /// end); afterwards as after an open. A failed write gets the write-error message, leaves an
    /// existing file as it was and leaves no current file.
    void SaveEquationFile(QString path);

    /// "New equation": no current file, empty field and view, the bare title.
    void newEquation();
    void openEquation();
    /// "Save equation": to the current file, or as "Save equation as..." when there is none.
    void saveEquation();
    void saveEquationAs();
    /// "Save result": the whole view as RTF when the chosen name ends in ".rtf" (any case), as a
    /// LaTeX document when it ends in ".tex", otherwise as text, whatever filter was chosen. The
    /// choices are the text and RTF filters of the interface texts, then the LaTeX one.
    void saveResult();
    /// A recent entry: opens its file, unless nothing (or a folder) is there any more.
    void openRecentFile(const QString& path);
    /// A drop: only the first URL counts, and only a local file whose name ends in ".teq" (any case).
    void openDroppedFile(const QList<QUrl>& urls);

    [[nodiscard]] const QString& currentFile() const { return m_currentFile; }

    /// The error message of key, its "%s" filled with subject (a path, an address), under the
    /// caption of error messages.
    void showMessage(std::string_view key, const QString& subject);

private:
    void setTitleFor(const QString& path);

    FileCommandTargets m_targets;
    QString m_currentFile;
};

} // namespace app
