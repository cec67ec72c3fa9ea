// SPDX-License-Identifier: MIT
// The desktop seam as Qt provides it: pickers, message boxes, the shell, the clipboard and the folders.
#include "app/qt_platform.h"

#include <QApplication>
#include <QClipboard>
#include <QColorDialog>
#include <QDesktopServices>
#include <QDialog>
#include <QFileDialog>
#include <QFontDialog>
#include <QMessageBox>
#include <QMimeData>
#include <QStandardPaths>

namespace app {

namespace {

/// The machine-wide data folder of a Linux system.
constexpr auto kMachineDataFolder = "/var/lib";

} // namespace

void setUpOpenDialog(QFileDialog& dialog, const QStringList& filters)
{
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    // Any name is taken: one that names no file gets the program's own read-error message, instead
    // of Qt's "File not found" box that keeps the dialog open.
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setNameFilters(filters);
}

QString QtPlatform::chooseOpenFile(QWidget* parent, const QStringList& filters)
{
    QFileDialog dialog(parent);
    setUpOpenDialog(dialog, filters);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return {};
    return dialog.selectedFiles().constFirst();
}

QString QtPlatform::chooseSaveFile(QWidget* parent, const QStringList& filters,
                                   const QStringList& defaultSuffixes)
{
    QFileDialog dialog(parent);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setNameFilters(filters);
    const auto suffixFor = [&](const QString& filter) {
        const qsizetype index = filters.indexOf(filter);
        return index >= 0 && index < defaultSuffixes.size() ? defaultSuffixes.at(index) : QString();
    };
    if (!filters.isEmpty())
        dialog.setDefaultSuffix(suffixFor(filters.constFirst()));
    QObject::connect(&dialog, &QFileDialog::filterSelected, &dialog,
                     [&](const QString& filter) { dialog.setDefaultSuffix(suffixFor(filter)); });
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return {};
    return dialog.selectedFiles().constFirst();
}

void QtPlatform::showError(QWidget* parent, const QString& caption, const QString& text)
{
    QMessageBox::critical(parent, caption, text, QMessageBox::Ok);
}

std::optional<QFont> QtPlatform::chooseFont(QWidget* parent, const QFont& initial)
{
    bool accepted = false;
    const QFont font = QFontDialog::getFont(&accepted, initial, parent);
    if (!accepted)
        return std::nullopt;
    return font;
}

std::optional<QColor> QtPlatform::chooseColor(QWidget* parent, const QColor& initial)
{
    const QColor colour = QColorDialog::getColor(initial, parent);
    if (!colour.isValid())
        return std::nullopt;
    return colour;
}

int QtPlatform::runDialog(QDialog& dialog)
{
    return dialog.exec();
}

bool QtPlatform::openUrl(const QUrl& url)
{
    return QDesktopServices::openUrl(url);
}

void QtPlatform::setClipboard(std::unique_ptr<QMimeData> data)
{
    QApplication::clipboard()->setMimeData(data.release());
}

QString QtPlatform::userConfigFolder()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation);
}

QString QtPlatform::machineDataFolder()
{
    return QString::fromLatin1(kMachineDataFolder);
}

QDateTime QtPlatform::currentDateTime()
{
    return QDateTime::currentDateTime();
}

} // namespace app
