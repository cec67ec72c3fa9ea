// SPDX-License-Identifier: MIT
// A desktop seam for tests: scripted answers, recorded calls, temporary folders and a pinned clock.
#pragma once

#include "app/platform.h"

#include <QMimeData>

#include <deque>
#include <functional>
#include <memory>
#include <optional>

namespace app::test {

/// Answers from scripts instead of opening anything. Every picker answers the next scripted value
/// (cancelled when the script is empty), `runDialog` calls dialogScript (rejected when none is set)
/// and records the dialog's title; messages, addresses handed to the desktop (also those it could not
/// open) and the clipboard are recorded.
class FakePlatform final : public Platform {
public:
    struct Message {
        QString caption;
        QString text;
        QWidget* parent = nullptr;
        /// Whether the parent was on the screen when the message was shown.
        bool isOverShownParent = false;
    };

    QString chooseOpenFile(QWidget* parent, const QStringList& filters) override;
    QString chooseSaveFile(QWidget* parent, const QStringList& filters,
                           const QStringList& defaultSuffixes) override;
    void showError(QWidget* parent, const QString& caption, const QString& text) override;
    std::optional<QFont> chooseFont(QWidget* parent, const QFont& initial) override;
    std::optional<QColor> chooseColor(QWidget* parent, const QColor& initial) override;
    int runDialog(QDialog& dialog) override;
    bool openUrl(const QUrl& url) override;
    void setClipboard(std::unique_ptr<QMimeData> data) override;
    QString userConfigFolder() override { return userFolder; }
    QString machineDataFolder() override { return machineFolder; }
    QDateTime currentDateTime() override { return now; }

    // Scripts.
    std::deque<QString> openFileAnswers;
    std::deque<QString> saveFileAnswers;
    std::deque<std::optional<QFont>> fontAnswers;
    std::deque<std::optional<QColor>> colorAnswers;
    std::function<int(QDialog&)> dialogScript;
    QString userFolder;
    QString machineFolder;
    QDateTime now;
    /// What openUrl answers: whether the desktop has a program for documents and addresses.
    bool canOpenUrls = true;

    // Records.
    QList<QStringList> openFilters;
    QList<QStringList> saveFilters;
    QList<QStringList> saveSuffixes;
    QList<Message> messages;
    QList<QFont> fontInitials; ///< the font each font picker opened on
    QStringList dialogTitles;
    QList<QUrl> openedUrls;
    std::unique_ptr<QMimeData> clipboard;
};

} // namespace app::test
