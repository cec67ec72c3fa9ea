// SPDX-License-Identifier: MIT
// The main window: equation field, calculator keys, solution view and menus; owns settings and texts.
#include "app/main_window.h"

#include "app/calculator_keys.h"
#include "app/equation_field.h"
#include "app/file_commands.h"
#include "app/font_mapping.h"
#include "app/graph_panel.h"
#include "app/main_menu.h"
#include "app/paper.h"
#include "app/platform.h"
#include "app/recent_files_menu.h"
#include "app/solution_clipboard.h"
#include "app/solution_view.h"
#include "app/solve_into_view.h"
#include "app/startup_folders.h"
#include "app/text_conversion.h"
#include "app/window_placement.h"
#include "config/dialogs/about_dialog.h"
#include "config/dialogs/dialog_resources.h"
#include "config/dialogs/language_dialog.h"
#include "config/dialogs/options_dialog.h"
#include "config/documents.h"
#include "config/interface_texts.h"
#include "config/latex_text.h"
#include "config/product.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFile>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QIcon>
#include <QLabel>
#include <QMenuBar>
#include <QMimeData>
#include <QPushButton>
#include <QShowEvent>
#include <QSplitter>
#include <QTextDocument>
#include <QUrl>

#include <algorithm>
#include <system_error>
#include <utility>

namespace app {

namespace {

constexpr int kMinimumWidth = 640;
constexpr int kMinimumHeight = 450;
constexpr int kInitialWidth = 800;
constexpr int kInitialHeight = 600;
constexpr int kPictureSize = 72;
/// The graph panel's share of the width, in thousandths, at least and at most.
constexpr int kSmallestGraphShare = 150;
constexpr int kLargestGraphShare = 850;
/// A view holding more characters is emptied, not recoloured, when the options change.
constexpr int kMaxRecolouredLength = 20000;
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
      m_languages(m_context.programFolder), m_isCommandLineFileDue(!m_context.equationFile.empty())
{
    // A main window, not a transient dialog: it can be minimised and maximised.
    setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowMinMaxButtonsHint |
                   Qt::WindowCloseButtonHint);
    setWindowTitle(toQString(config::kApplicationName));
    config::registerResources();
    setWindowIcon(QIcon(QString::fromLatin1(config::kIconResource)));
    createWidgets();
    connectCommands();

    // Both fonts start from the application's font, the solution view's in Courier New.
    const config::FontDescription applicationFont = describeFont(QApplication::font(), logicalDpiY());
    m_settings = config::Settings(applicationFont, applicationFont);

    m_menu->removeMissingDocuments(isRegularFile(m_context.programFolder / config::kLicenseFileName),
                                   isRegularFile(m_context.programFolder / config::kChangeNotesFileName));
    chooseSettingsFolder();
    m_languages.SelectLanguageByName({}, m_solver);
    retranslate();
    LoadSettings();
    configureView();
    m_widgets.equation->setFocus();
}

void CTervalonDlg::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    if (m_isCommandLineFileDue) {
        m_isCommandLineFileDue = false;
        // Opened once the window is on the screen, so that a message about the file stands over it.
        QMetaObject::invokeMethod(this, &CTervalonDlg::openCommandLineFile, Qt::QueuedConnection);
    }
}

void CTervalonDlg::openCommandLineFile()
{
    // A window that ended before the event loop came round has nothing left to show the file in.
    if (isVisible())
        m_files->OpenEquationFile(fromPath(m_context.equationFile));
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
    m_widgets.equation->setHistory(m_history);
    m_widgets.equationLabel->setBuddy(m_widgets.equation);
    m_widgets.solve = new QPushButton(this);
    m_widgets.solve->setDefault(true);
    m_widgets.keys = new CalculatorKeys(
        *m_widgets.equation, [this] { return decimalSeparator(); }, this);
    m_widgets.view = new CScriptEdit(this);
    m_widgets.view->setWindowKeys(m_menu->windowKeys());
    m_widgets.view->SetKeywords(QString::fromLatin1(kFunctionKeywords));
    m_widgets.graph = new GraphPanel(m_platform, this);
    m_widgets.splitter = new QSplitter(Qt::Horizontal, this);
    m_widgets.splitter->setChildrenCollapsible(false);
    m_widgets.splitter->addWidget(m_widgets.view);
    m_widgets.splitter->addWidget(m_widgets.graph);
    m_widgets.graph->hide();
    m_widgets.status = new QLabel(this);
    m_widgets.status->setTextInteractionFlags(Qt::TextSelectableByMouse);
    // A long result must not widen the window; the whole of it is the view's accessible description.
    m_widgets.status->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    m_files = new FileCommands({*this, m_platform, *m_widgets.equation, *m_widgets.view, m_menu->recent(),
                                m_languages.texts(), m_settings},
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
    layout->addWidget(m_widgets.splitter, 2, 0, 1, 2);
    layout->addWidget(m_widgets.status, 3, 0, 1, 2);
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
    connect(actions.copyLatex, &QAction::triggered, this, &CTervalonDlg::handleCopyLatex);
    connect(m_widgets.view, &CScriptEdit::copyRequested, this, &CTervalonDlg::handleCopy);
    // The desktop switched its theme: a paper that follows it turns with it.
    connect(m_widgets.view, &CScriptEdit::desktopPaletteChanged, this, [this] {
        if (paperOf(m_settings.paper) == Paper::Desktop) {
            configureView();
            m_widgets.view->HighlightAll();
        }
    });
    connect(actions.clearResults, &QAction::triggered, m_widgets.view, &CScriptEdit::clearText);
    // An emptied view has no result any more, however it was emptied.
    connect(m_widgets.view->document(), &QTextDocument::contentsChanged, this, [this] {
        if (m_widgets.view->textLength() == 0)
            showResult({});
    });
    connect(actions.clearHistory, &QAction::triggered, &m_history, &EquationHistory::clear);
    connect(m_widgets.keys, &CalculatorKeys::clearEquationRequested, this, &CTervalonDlg::ClearEquation);
    connect(actions.options, &QAction::triggered, this, &CTervalonDlg::handleOptions);
    connect(actions.language, &QAction::triggered, this, &CTervalonDlg::handleLanguage);
    connect(actions.help, &QAction::triggered, this, &CTervalonDlg::handleHelp);
    connect(actions.license, &QAction::triggered, this, [this, &actions] {
        openDocument(m_context.programFolder / config::kLicenseFileName, DocumentKind::PlainText,
                     *actions.license);
    });
    connect(actions.changes, &QAction::triggered, this, [this, &actions] {
        openDocument(m_context.programFolder / config::kChangeNotesFileName, DocumentKind::PlainText,
                     *actions.changes);
    });
    connect(actions.checkForUpdate, &QAction::triggered, this, &CTervalonDlg::handleCheckForUpdate);
    connect(actions.info, &QAction::triggered, this, &CTervalonDlg::handleInfo);
    connect(actions.graph, &QAction::toggled, this, &CTervalonDlg::handleGraph);
    connect(m_widgets.graph, &GraphPanel::writeFailed, this,
            [this](const QString& path) { m_files->showMessage(config::kKeyWriteError, path); });
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
    m_qtTranslations.select(toQString(m_languages.qtLocale()));
    const config::InterfaceTexts& texts = m_languages.texts();
    m_menu->retranslate(texts);
    const QString equationLabel = toQString(texts.text("FrmMain.m_LBLEquation"));
    m_widgets.equationLabel->setText(equationLabel);
    m_widgets.solve->setText(toQString(texts.text("FrmMain.m_BTNSolve")));
    m_widgets.equation->setToolTip(toQString(texts.text("FrmMain.m_EDTEquation")));
    m_widgets.keys->retranslate(texts);
    m_widgets.graph->retranslate(texts, decimalSeparator());
    // Screen readers: the field by its label, with the tool tip's hint; Solve by its caption.
    m_widgets.equation->setAccessibleName(QString(equationLabel).remove(QLatin1Char('&')));
    m_widgets.equation->setAccessibleDescription(m_widgets.equation->toolTip());
    m_widgets.solve->setAccessibleDescription(toQString(texts.text(config::kKeyAccessibleSolve)));
    m_widgets.view->setAccessibleName(toQString(texts.text(config::kKeyAccessibleView)));
    m_widgets.status->setAccessibleName(toQString(texts.text(config::kKeyAccessibleStatus)));
}

void CTervalonDlg::LoadSettings()
{
    config::LoadSettings(m_settingsFile, m_settings);
    if (m_settings.keepHistory)
        m_history.load(historyFile());
    // What was typed when the window last ended, with the caret at its end.
    m_widgets.equation->setText(toQString(m_settings.lastEquation));
    m_widgets.equation->end(false);
    restoreWinPos(*this, m_settings.winPos, availableScreenAreas(), QSize(kMinimumWidth, kMinimumHeight));
    RecentFilesMenu& recent = m_menu->recent();
    // The stored order is kept; files that vanished are dropped. Deactivate comes after, so a list
    // recorded before it was switched on is still restored.
    for (const std::string& path : m_settings.recent)
        recent.AddRecentFile(toQString(path), false);
    recent.setDeactivated(m_settings.deactivate);
    applyFont(*this, m_settings.dialogFont.effectiveFont(), true);
    config::restoreLanguage(m_settings, m_languages, m_solver);
    retranslate();
    m_menu->actions().graph->setChecked(m_settings.showGraph);
    placeSplitter();
}

void CTervalonDlg::SaveSettings()
{
    // Escape ends the program at once, also for a user who only meant to leave a menu: the equation
    // survives. A settings value is one line; line breaks (from an equation file) become blanks,
    // which Solve drops alike.
    QString equation = m_widgets.equation->text();
    equation.replace(QLatin1Char('\r'), QLatin1Char(' ')).replace(QLatin1Char('\n'), QLatin1Char(' '));
    m_settings.lastEquation = toUtf8(equation);
    m_settings.winPos = winPosText(*this);
    m_settings.recent.clear();
    for (const QString& path : m_menu->recent().paths())
        m_settings.recent.push_back(toUtf8(path));
    m_settings.deactivate = m_menu->recent().isDeactivated();
    rememberSplitter();
    // A failed save keeps the previous file; there is nobody left to tell.
    config::SaveSettings(m_settingsFile, m_settings);
    if (m_settings.keepHistory)
        static_cast<void>(m_history.save(historyFile()));
    else
        QFile::remove(historyFile());
}

QString CTervalonDlg::historyFile() const
{
    return fromPath(m_settingsFile.parent_path() / kHistoryFileName);
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
    const PaperColors colors = viewColors(m_settings, QApplication::palette());
    view.SetHighlightOn(m_settings.highlightOn);
    view.SetPaper(colors.paper, colors.text, colors.reason, colors.warning);
    view.SetTextColor(colors.text, false);
    view.SetKeywordColor(colors.function, true);
    view.SetNumberColor(colors.number, false);
    // Copies and saved results are read on white: a dark paper's own colours go out as the light
    // paper's; colours of the user's own go out as they are.
    QHash<std::uint32_t, std::uint32_t> exported;
    if (colors.paper == darkPaper().paper) {
        const PaperColors& dark = darkPaper();
        const PaperColors& light = lightPaper();
        const std::pair<QColor, QColor> pairs[] = {{dark.text, light.text},
                                                   {dark.function, light.function},
                                                   {dark.number, light.number},
                                                   {dark.reason, light.reason},
                                                   {dark.warning, light.warning}};
        for (const auto& [drawn, written] : pairs)
            exported.insert(drawn.rgb() & 0xFFFFFFU, written.rgb() & 0xFFFFFFU);
    }
    view.SetExportColors(std::move(exported));
    view.ApplyViewFont(fontFromDescription(m_settings.viewFont.effectiveFont(), font()));
    // The graph is drawn on the view's paper, its labels in the window's font.
    m_widgets.graph->setPaper(view.palette().color(QPalette::Base), font());
}

void CTervalonDlg::handleOptions()
{
    config::OptionsPickers pickers{
        [this](QWidget* parent, const QFont& initial) { return m_platform.chooseFont(parent, initial); },
        [this](QWidget* parent, const QColor& initial) { return m_platform.chooseColor(parent, initial); }};
    config::COptionsDlg dialog(m_settings, m_languages.currentLanguageFile(), std::move(pickers), this);
    if (m_platform.runDialog(dialog) != QDialog::Accepted)
        return;
    m_settings = dialog.settings();
    // Switches and texts take effect at the next Solve; fonts, colours and highlighting at once.
    if (dialog.isChanged())
        applyOptions();
}

void CTervalonDlg::applyOptions()
{
    CScriptEdit& view = *m_widgets.view;
    // Recolouring a long view would take too long; it is emptied instead.
    if (view.textLength() > kMaxRecolouredLength)
        view.clearText();
    applyFont(*this, m_settings.dialogFont.effectiveFont(), true);
    update();
    configureView();
    view.HighlightAll();
}

void CTervalonDlg::handleLanguage()
{
    config::CLanguageDlg dialog(m_languages, m_settings.dialogFont, this);
    if (m_platform.runDialog(dialog) != QDialog::Accepted)
        return;
    config::chooseLanguage(m_settings, m_languages, dialog.selectedFile(), dialog.selectedName(), m_solver);
    retranslate();
    update();
}

void CTervalonDlg::handleHelp()
{
    openDocument(config::helpFilePath(m_context.programFolder, m_languages.currentLanguageFile()),
                 DocumentKind::Html, *m_menu->actions().help);
}

void CTervalonDlg::handleCheckForUpdate()
{
    // A web page needs a browser; the program shows none of its own.
    const QString address = toQString(config::updatePageAddress());
    if (!m_platform.openUrl(QUrl(address)))
        m_files->showMessage(config::kKeyNoBrowser, address);
}

void CTervalonDlg::handleInfo()
{
    config::CAboutDlg dialog(m_settings.dialogFont, toQString(m_languages.texts().text(config::kKeyButtonOk)),
                             this);
    connect(&dialog, &config::CAboutDlg::linkActivated, this,
            [this](const QUrl& url) { m_platform.openUrl(url); });
    m_platform.runDialog(dialog);
}

void CTervalonDlg::openDocument(const std::filesystem::path& file, DocumentKind kind, const QAction& command)
{
    if (m_platform.openUrl(QUrl::fromLocalFile(fromPath(file))))
        return;
    // The menu caption without its shortcut and its mnemonic.
    showDocument(file, kind, command.text().section(QLatin1Char('\t'), 0, 0).remove(QLatin1Char('&')));
}

void CTervalonDlg::showDocument(const std::filesystem::path& file, DocumentKind kind, const QString& title)
{
    const QString key = fromPath(file);
    QPointer<DocumentWindow>& shown = m_documents[key];
    if (shown == nullptr) {
        // Escape or the close button only hides it; it is shown again as it was left.
        auto* window = new DocumentWindow(
            kind, [this](const QUrl& url) { m_platform.openUrl(url); }, this);
        if (!window->load(file)) {
            delete window;
            m_files->showMessage(config::kKeyReadError, key);
            return;
        }
        window->fitToScreen();
        shown = window;
    }
    shown->setTitle(title);
    shown->show();
    shown->raise();
    shown->activateWindow();
}

QList<DocumentWindow*> CTervalonDlg::documentWindows() const
{
    QList<DocumentWindow*> windows;
    for (const QPointer<DocumentWindow>& window : m_documents)
        windows.append(window.data());
    return windows;
}

void CTervalonDlg::handleSolve()
{
    m_lastSolved = m_widgets.equation->text();
    m_history.add(m_lastSolved);
    const SolvedInView solved =
        solveIntoView(m_solver, *m_widgets.view, m_lastSolved, m_settings, m_languages.texts());
    showResult(solved.result);
    m_hasLastGraph = m_settings.showGraph;
    if (m_hasLastGraph)
        m_widgets.graph->setInput(solved.graph);
}

void CTervalonDlg::handleGraph(bool isShown)
{
    if (!isShown)
        rememberSplitter();
    m_settings.showGraph = isShown;
    if (isShown && !m_hasLastGraph && !m_lastSolved.isNull()) {
        m_widgets.graph->setInput(graphInputOf(m_solver, m_lastSolved, m_settings, m_languages.texts()));
        m_hasLastGraph = true;
    }
    m_widgets.graph->setVisible(isShown);
    if (isShown)
        placeSplitter();
}

void CTervalonDlg::rememberSplitter()
{
    const QList<int> sizes = m_widgets.splitter->sizes();
    if (m_widgets.graph->isVisible() && sizes.size() == 2 && sizes[0] + sizes[1] > 0)
        m_settings.graphSplitter = static_cast<std::int32_t>(1000LL * sizes[1] / (sizes[0] + sizes[1]));
}

void CTervalonDlg::placeSplitter()
{
    const int share =
        std::clamp(static_cast<int>(m_settings.graphSplitter), kSmallestGraphShare, kLargestGraphShare);
    m_widgets.splitter->setSizes({1000 - share, share});
}

void CTervalonDlg::showResult(const QString& result)
{
    m_widgets.status->setText(result);
    m_widgets.view->setAccessibleDescription(result);
}

void CTervalonDlg::handleCopy()
{
    copySolution(*m_widgets.view, m_platform);
}

void CTervalonDlg::handleCopyLatex()
{
    copySolutionAsLatex(*m_widgets.view, m_platform, config::latexStyle(m_settings));
}

QString CTervalonDlg::decimalSeparator() const
{
    // An empty separator stands for the engine's own ".".
    const QString separator = toQString(m_settings.decimalSeparator);
    return separator.isEmpty() ? QStringLiteral(".") : separator;
}

} // namespace app
