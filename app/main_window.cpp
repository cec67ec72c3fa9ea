// SPDX-License-Identifier: MIT
// The main window: equation field, calculator keys, solution view and menus; owns settings and texts.
#include "app/main_window.h"

#include "app/calculator_keys.h"
#include "app/color_value.h"
#include "app/equation_field.h"
#include "app/file_commands.h"
#include "app/font_mapping.h"
#include "app/main_menu.h"
#include "app/platform.h"
#include "app/recent_files_menu.h"
#include "app/solution_clipboard.h"
#include "app/solution_view.h"
#include "app/solve_into_view.h"
#include "app/startup_folders.h"
#include "app/text_conversion.h"
#include "app/window_placement.h"
#include "config/product.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QIcon>
#include <QLabel>
#include <QMenuBar>
#include <QMimeData>
#include <QPushButton>

#include <system_error>
#include <utility>

// The resources live in a static library: their registration must be pulled in by name, once.
static void registerResources()
{
    static const bool isRegistered = [] {
        Q_INIT_RESOURCE(tervalon);
        return true;
    }();
    (void)isRegistered;
}

namespace app {

namespace {

constexpr int kMinimumWidth = 640;
constexpr int kMinimumHeight = 450;
constexpr int kInitialWidth = 800;
constexpr int kInitialHeight = 600;
constexpr int kPictureSize = 72;
constexpr auto kIconResource = ":/tervalon.svg";
// Documents beside the program; a menu item whose document is missing is removed.
constexpr auto kLicenseFileName = "Tervalon_License.txt";
constexpr auto kChangeNotesFileName = "Tervalon_ReadMe.txt";
// The words the solution view shows as function names.
constexpr auto kFunctionKeywords = " cos sin tan exp sqr log lgt asn acs atn hsn hcs htn ahs ahc aht ";

bool isRegularFile(const std::filesystem::path& path)
{
    std::error_code error;
    return std::filesystem::is_regular_file(path, error);
}

LocalTime localTimeOf(const QDateTime& time)
{
    const QDate date = time.date();
    const QTime clock = time.time();
    return {date.year(), date.month(), date.day(), clock.hour(), clock.minute(), clock.second()};
}

} // namespace

CTervalonDlg::CTervalonDlg(StartupContext context, Platform& platform, QWidget* parent)
    : QDialog(parent), m_context(std::move(context)), m_platform(platform),
      m_languages(m_context.programFolder)
{
    // A main window, not a transient dialog: it can be minimised and maximised.
    setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowMinMaxButtonsHint |
                   Qt::WindowCloseButtonHint);
    setWindowTitle(toQString(config::kApplicationName));
    registerResources();
    setWindowIcon(QIcon(QString::fromLatin1(kIconResource)));
    createWidgets();
    connectCommands();
    disableUnfinishedCommands();

    // Both fonts start from the application's font, the solution view's in Courier New.
    const config::FontDescription applicationFont = describeFont(QApplication::font(), logicalDpiY());
    m_settings = config::Settings(applicationFont, applicationFont);

    m_menu->removeMissingDocuments(isRegularFile(m_context.programFolder / kLicenseFileName),
                                   isRegularFile(m_context.programFolder / kChangeNotesFileName));
    chooseSettingsFolder();
    m_languages.SelectLanguageByName({}, m_solver);
    retranslate();
    LoadSettings();
    configureView();
    if (!m_context.equationFile.empty())
        m_files->OpenEquationFile(fromPath(m_context.equationFile));
    m_widgets.equation->setFocus();
}

void CTervalonDlg::createWidgets()
{
    m_menu = new MainMenu(*this);
    m_widgets.picture = new QLabel(this);
    m_widgets.picture->setPixmap(windowIcon().pixmap(kPictureSize, kPictureSize));
    m_widgets.picture->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    m_widgets.equationLabel = new QLabel(this);
    m_widgets.equation = new EquationField(this);
    m_widgets.equation->setWindowKeys(m_menu->windowKeys());
    m_widgets.equationLabel->setBuddy(m_widgets.equation);
    m_widgets.solve = new QPushButton(this);
    m_widgets.solve->setDefault(true);
    m_widgets.keys = new CalculatorKeys(
        *m_widgets.equation, [this] { return decimalSeparator(); }, this);
    m_widgets.view = new CScriptEdit(this);
    m_widgets.view->setWindowKeys(m_menu->windowKeys());
    m_widgets.view->SetKeywords(QString::fromLatin1(kFunctionKeywords));
    m_files = new FileCommands(
        {*this, m_platform, *m_widgets.equation, *m_widgets.view, m_menu->recent(), m_languages.texts()},
        this);
    setAcceptDrops(true);

    auto* equationRow = new QHBoxLayout;
    equationRow->setSpacing(8);
    equationRow->addWidget(m_widgets.equationLabel);
    equationRow->addWidget(m_widgets.equation, 1);
    equationRow->addWidget(m_widgets.solve);

    auto* layout = new QGridLayout(this);
    layout->setMenuBar(m_menu->menus().bar);
    layout->addWidget(m_widgets.picture, 0, 0, 2, 1);
    layout->addLayout(equationRow, 0, 1);
    layout->addWidget(m_widgets.keys, 1, 1);
    layout->addWidget(m_widgets.view, 2, 0, 1, 2);
    layout->setRowStretch(2, 1);
    layout->setColumnStretch(1, 1);
    layout->setHorizontalSpacing(12);

    setMinimumSize(kMinimumWidth, kMinimumHeight);
    resize(kInitialWidth, kInitialHeight);
}

void CTervalonDlg::connectCommands()
{
    const MenuActions& actions = m_menu->actions();
    connect(actions.newEquation, &QAction::triggered, m_files, &FileCommands::newEquation);
    connect(actions.openEquation, &QAction::triggered, m_files, &FileCommands::openEquation);
    connect(actions.saveEquation, &QAction::triggered, m_files, &FileCommands::saveEquation);
    connect(actions.saveEquationAs, &QAction::triggered, m_files, &FileCommands::saveEquationAs);
    connect(actions.saveResult, &QAction::triggered, m_files, &FileCommands::saveResult);
    connect(actions.exit, &QAction::triggered, this, &CTervalonDlg::reject);
    connect(actions.clearEquation, &QAction::triggered, this, &CTervalonDlg::ClearEquation);
    connect(m_widgets.solve, &QPushButton::clicked, this, &CTervalonDlg::handleSolve);
    connect(actions.selectAll, &QAction::triggered, m_widgets.view, &CScriptEdit::selectAll);
    connect(actions.copy, &QAction::triggered, this, &CTervalonDlg::handleCopy);
    connect(m_widgets.view, &CScriptEdit::copyRequested, this, &CTervalonDlg::handleCopy);
    connect(actions.clearResults, &QAction::triggered, m_widgets.view, &CScriptEdit::clearText);
    connect(m_widgets.keys, &CalculatorKeys::clearEquationRequested, this, &CTervalonDlg::ClearEquation);
}

void CTervalonDlg::disableUnfinishedCommands()
{
    const MenuActions& actions = m_menu->actions();
    // TODO(#13): the dialogs and the documents.
    for (QAction* action : {actions.options, actions.language, actions.help, actions.license, actions.changes,
                            actions.checkForUpdate, actions.info})
        action->setEnabled(false);
}

void CTervalonDlg::chooseSettingsFolder()
{
    const SettingsFolder folder =
        app::chooseSettingsFolder(m_context.programFolder, toPath(m_platform.userConfigFolder()));
    m_settingsFile = folder.folder / config::kSettingsFileName;
    m_isPortable = folder.isPortable;
    if (!m_isPortable) {
        writeInstallationRecord(toPath(m_platform.machineDataFolder()), m_context.programFolder,
                                localTimeOf(m_platform.currentDateTime()));
    }
}

void CTervalonDlg::retranslate()
{
    const config::InterfaceTexts& texts = m_languages.texts();
    m_menu->retranslate(texts);
    m_widgets.equationLabel->setText(toQString(texts.text("FrmMain.m_LBLEquation")));
    m_widgets.solve->setText(toQString(texts.text("FrmMain.m_BTNSolve")));
    m_widgets.equation->setToolTip(toQString(texts.text("FrmMain.m_EDTEquation")));
    m_widgets.keys->retranslate(texts);
}

void CTervalonDlg::LoadSettings()
{
    config::LoadSettings(m_settingsFile, m_settings);
    restoreWinPos(*this, m_settings.winPos, availableScreenAreas());
    RecentFilesMenu& recent = m_menu->recent();
    // The stored order is kept; files that vanished are dropped. Deactivate comes after, so a list
    // recorded before it was switched on is still restored.
    for (const std::string& path : m_settings.recent)
        recent.AddRecentFile(toQString(path), false);
    recent.setDeactivated(m_settings.deactivate);
    applyFont(*this, m_settings.dialogFont.effectiveFont(), true);
    config::restoreLanguage(m_settings, m_languages, m_solver);
    retranslate();
}

void CTervalonDlg::SaveSettings()
{
    m_settings.winPos = winPosText(*this);
    m_settings.recent.clear();
    for (const QString& path : m_menu->recent().paths())
        m_settings.recent.push_back(toUtf8(path));
    m_settings.deactivate = m_menu->recent().isDeactivated();
    // A failed save keeps the previous file; there is nobody left to tell.
    config::SaveSettings(m_settingsFile, m_settings);
}

void CTervalonDlg::done(int result)
{
    if (!m_areSettingsSaved) {
        m_areSettingsSaved = true;
        SaveSettings();
    }
    QDialog::done(result);
}

void CTervalonDlg::closeEvent(QCloseEvent* event)
{
    // Also a window that is not shown (the dialog's own handler ignores those) ends through done.
    if (!m_areSettingsSaved)
        reject();
    event->accept();
}

void CTervalonDlg::dragEnterEvent(QDragEnterEvent* event)
{
    if (event->mimeData()->hasUrls())
        event->acceptProposedAction();
}

void CTervalonDlg::dragMoveEvent(QDragMoveEvent* event)
{
    if (event->mimeData()->hasUrls())
        event->acceptProposedAction();
}

void CTervalonDlg::dropEvent(QDropEvent* event)
{
    if (!event->mimeData()->hasUrls())
        return;
    event->acceptProposedAction();
    m_files->openDroppedFile(event->mimeData()->urls());
}

void CTervalonDlg::ClearEquation()
{
    m_widgets.equation->clear();
    m_widgets.equation->setFocus();
    setWindowTitle(toQString(config::kApplicationName));
}

void CTervalonDlg::configureView()
{
    CScriptEdit& view = *m_widgets.view;
    view.SetHighlightOn(m_settings.highlightOn);
    view.SetTextColor(fromColorValue(m_settings.colorText), false);
    view.SetKeywordColor(fromColorValue(m_settings.colorFunction), true);
    view.SetNumberColor(fromColorValue(m_settings.colorNumber), false);
    view.ApplyViewFont(fontFromDescription(m_settings.viewFont.effectiveFont(), font()));
}

void CTervalonDlg::handleSolve()
{
    solveIntoView(m_solver, *m_widgets.view, m_widgets.equation->text(), m_settings, m_languages.texts());
}

void CTervalonDlg::handleCopy()
{
    copySolution(*m_widgets.view, m_platform);
}

QString CTervalonDlg::decimalSeparator() const
{
    // An empty separator stands for the engine's own ".".
    const QString separator = toQString(m_settings.decimalSeparator);
    return separator.isEmpty() ? QStringLiteral(".") : separator;
}

} // namespace app
