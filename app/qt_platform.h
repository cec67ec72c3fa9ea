// SPDX-License-Identifier: MIT
// The desktop seam as Qt provides it: pickers, message boxes, the shell, the clipboard and the folders.
#pragma once

#include "app/platform.h"

class QFileDialog;

namespace app {

/// Sets up the dialog that "Open equation" shows: open mode, the name filters, and any name
/// accepted, also one that names no file.
void setUpOpenDialog(QFileDialog& dialog, const QStringList& filters);

class QtPlatform final : public Platform {
public:
    QString chooseOpenFile(QWidget* parent, const QStringList& filters) override;
    QString chooseSaveFile(QWidget* parent, const QStringList& filters,
                           const QStringList& defaultSuffixes) override;
    void showError(QWidget* parent, const QString& caption, const QString& text) override;
    std::optional<QFont> chooseFont(QWidget* parent, const QFont& initial) override;
    std::optional<QColor> chooseColor(QWidget* parent, const QColor& initial) override;
    int runDialog(QDialog& dialog) override;
    bool openUrl(const QUrl& url) override;
    void setClipboard(std::unique_ptr<QMimeData> data) override;
    QString userConfigFolder() override;
    QString machineDataFolder() override;
    QDateTime currentDateTime() override;
};

} // namespace app
