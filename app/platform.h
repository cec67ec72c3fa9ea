// SPDX-License-Identifier: MIT
// What the program asks of the desktop, or what blocks: pickers, messages, shell, clipboard, folders, clock.
#pragma once

#include <QColor>
#include <QDateTime>
#include <QFont>
#include <QString>
#include <QStringList>
#include <QUrl>

#include <memory>
#include <optional>

class QDialog;
class QMimeData;
class QWidget;

namespace app {

/// The desktop seam. The program talks to the desktop only through this interface, so tests run
/// the windows with a fake that scripts the answers and records the calls; `QtPlatform` is the
/// real implementation.
class Platform {
public:
    virtual ~Platform() = default;

    /// Asks for a file to open; the name need not exist (the open then reports it). filters are Qt
    /// name filters ("desc (*.teq)"). Empty when the user cancelled.
    virtual QString chooseOpenFile(QWidget* parent, const QStringList& filters) = 0;
    /// Asks for a file to save to. defaultSuffixes[i] is appended to a name typed without
    /// extension while filters[i] is selected. Empty when the user cancelled.
    virtual QString chooseSaveFile(QWidget* parent, const QStringList& filters,
                                   const QStringList& defaultSuffixes) = 0;
    /// Shows an error message with an OK button and waits for it.
    virtual void showError(QWidget* parent, const QString& caption, const QString& text) = 0;
    /// The font picker, starting from initial; nothing when cancelled.
    virtual std::optional<QFont> chooseFont(QWidget* parent, const QFont& initial) = 0;
    /// The colour picker, starting from initial; nothing when cancelled.
    virtual std::optional<QColor> chooseColor(QWidget* parent, const QColor& initial) = 0;
    /// Runs a dialog modally and returns its result (QDialog::Accepted or QDialog::Rejected).
    virtual int runDialog(QDialog& dialog) = 0;
    /// Hands a document (file URL) or an address to the program the desktop opens it with; false
    /// when no program could be started for it.
    virtual bool openUrl(const QUrl& url) = 0;
    /// Replaces the clipboard's content.
    virtual void setClipboard(std::unique_ptr<QMimeData> data) = 0;

    /// The user's configuration folder (without the program's own levels).
    virtual QString userConfigFolder() = 0;
    /// The machine-wide data folder (without the program's own levels).
    virtual QString machineDataFolder() = 0;
    /// The local date and time.
    virtual QDateTime currentDateTime() = 0;
};

} // namespace app
