// SPDX-License-Identifier: MIT
// The commands on equation files and results: New, Open, Save, Save as, Save result, Recent, drops.
#include "app/file_commands.h"

#include "app/equation_field.h"
#include "app/equation_files.h"
#include "app/file_filters.h"
#include "app/platform.h"
#include "app/recent_files_menu.h"
#include "app/result_files.h"
#include "app/solution_view.h"
#include "app/text_conversion.h"
#include "config/interface_texts.h"
#include "config/latex_text.h"
#include "config/product.h"
#include "engine/message_format.h"

#include <QFileInfo>
#include <QStringList>

#include <array>
#include <string>

namespace app {

namespace {

constexpr auto kEquationSuffix = "teq";
constexpr auto kResultSuffix = "txt";

/// The extension of a path by the program's rule: from its last full stop, in lower case.
QString extensionOf(const QString& path)
{
    const qsizetype stop = path.lastIndexOf(QLatin1Char('.'));
    return stop < 0 ? QString() : path.mid(stop).toLower();
}

struct DialogFilters {
    QStringList filters;
    QStringList suffixes;
};

DialogFilters dialogFilters(const config::InterfaceTexts& texts, std::string_view key, const char* suffix)
{
    const config::TextKey* row = config::findTextKey(key);
    DialogFilters result;
    for (const NameFilter& filter :
         nameFilters(texts.text(key), row != nullptr ? row->defaultText : std::string_view(), suffix)) {
        result.filters.append(toQString(filter.filter));
        result.suffixes.append(toQString(filter.defaultSuffix));
    }
    return result;
}

} // namespace

FileCommands::FileCommands(FileCommandTargets targets, QObject* parent) : QObject(parent), m_targets(targets)
{
    connect(&m_targets.recent, &RecentFilesMenu::fileChosen, this, &FileCommands::openRecentFile);
}

bool FileCommands::OpenEquationFile(QString path)
{
    m_currentFile.clear();
    const std::optional<QString> text = readEquationFile(path, m_targets.equation.maxLength());
    if (!text) {
        showMessage(config::kKeyReadError, path);
        return false;
    }
    m_targets.equation.setText(*text);
    m_targets.recent.AddRecentFile(path, true);
    m_currentFile = path;
    setTitleFor(path);
    return true;
}

void FileCommands::SaveEquationFile(QString path)
{
    m_currentFile.clear();
    if (!saveWholeFile(path, QByteArray::fromStdString(toUtf8(m_targets.equation.text())))) {
        showMessage(config::kKeyWriteError, path);
        return;
    }
    setTitleFor(path);
    m_targets.recent.AddRecentFile(path, true);
    m_currentFile = path;
}

void FileCommands::newEquation()
{
    m_currentFile.clear();
    m_targets.equation.clear();
    m_targets.view.clearText();
    m_targets.window.setWindowTitle(toQString(config::kApplicationName));
}

void FileCommands::openEquation()
{
    const DialogFilters filters = dialogFilters(m_targets.texts, config::kKeyFileType, kEquationSuffix);
    const QString path = m_targets.platform.chooseOpenFile(&m_targets.window, filters.filters);
    if (!path.isEmpty())
        OpenEquationFile(path);
}

void FileCommands::saveEquation()
{
    if (m_currentFile.isEmpty())
        saveEquationAs();
    else
        SaveEquationFile(m_currentFile);
}

void FileCommands::saveEquationAs()
{
    const DialogFilters filters = dialogFilters(m_targets.texts, config::kKeyFileType, kEquationSuffix);
    const QString path =
        m_targets.platform.chooseSaveFile(&m_targets.window, filters.filters, filters.suffixes);
    if (!path.isEmpty())
        SaveEquationFile(path);
}

void FileCommands::saveResult()
{
    DialogFilters filters = dialogFilters(m_targets.texts, config::kKeyTextFile, kResultSuffix);
    const DialogFilters latex = dialogFilters(m_targets.texts, config::kKeyLatexFile, "tex");
    filters.filters.append(latex.filters);
    filters.suffixes.append(latex.suffixes);
    const QString path =
        m_targets.platform.chooseSaveFile(&m_targets.window, filters.filters, filters.suffixes);
    if (path.isEmpty())
        return;
    if (!saveWholeFile(
            path, resultBytes(m_targets.view, resultFormatOf(path), config::latexStyle(m_targets.settings))))
        showMessage(config::kKeyWriteError, path);
}

void FileCommands::openRecentFile(const QString& path)
{
    // A vanished file leaves its entry as it is; anything else there (a FIFO, say) gets the
    // read-error message from the open.
    const QFileInfo file(path);
    if (file.exists() && !file.isDir())
        OpenEquationFile(path);
}

void FileCommands::openDroppedFile(const QList<QUrl>& urls)
{
    if (urls.isEmpty() || !urls.constFirst().isLocalFile())
        return;
    const QString path = urls.constFirst().toLocalFile();
    if (extensionOf(path) == QStringLiteral(".teq"))
        OpenEquationFile(path);
}

void FileCommands::showMessage(std::string_view key, const QString& subject)
{
    const std::string file = toUtf8(subject);
    const std::array<engine::FormatArg, 1> args = {
        engine::FormatArg{engine::FormatArgKind::String, 0, file.c_str()}};
    // A translation may leave the subject out; one whose conversions do not fit gets the built-in text.
    std::string text;
    if (!engine::formatMessage(m_targets.texts.text(key), args, text,
                               engine::ArgumentUse::LeadingArgumentsSuffice)) {
        const config::TextKey* row = config::findTextKey(key);
        static_cast<void>(engine::formatMessage(row != nullptr ? row->defaultText : std::string_view(), args,
                                                text, engine::ArgumentUse::LeadingArgumentsSuffice));
    }
    m_targets.platform.showError(&m_targets.window, toQString(m_targets.texts.text(config::kKeyError)),
                                 toQString(text));
}

void FileCommands::setTitleFor(const QString& path)
{
    m_targets.window.setWindowTitle(toQString(config::kApplicationName) + QStringLiteral(" - ") +
                                    QFileInfo(path).fileName());
}

} // namespace app
