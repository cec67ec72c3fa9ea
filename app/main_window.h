// SPDX-License-Identifier: MIT
// The main window: equation field, calculator keys, solution view and menus; owns settings and texts.
#pragma once

#include "app/document_window.h"
#include "app/equation_history.h"
#include "app/qt_translations.h"
#include "app/startup_context.h"
#include "config/language_files.h"
#include "config/settings.h"
#include "engine/equation_solver.h"

#include <QDialog>
#include <QHash>
#include <QPointer>

#include <filesystem>

class QAction;
class QLabel;
class QPushButton;
class QSplitter;

namespace app {

class CalculatorKeys;
class CScriptEdit;
class EquationField;
class FileCommands;
class GraphPanel;
class MainMenu;
class Platform;

/// The widgets of the main window, created once.
struct MainWindowWidgets {
    QLabel* picture = nullptr;
    QLabel* equationLabel = nullptr;
    EquationField* equation = nullptr;
    QPushButton* solve = nullptr;
    CalculatorKeys* keys = nullptr;
    CScriptEdit* view = nullptr;
    QSplitter* splitter = nullptr; ///< the solution view and the graph panel beside it
    GraphPanel* graph = nullptr;
    /// The result of the last Solve in one line, under the view; also the view's accessible description.
    QLabel* status = nullptr;
};

/// The program's single window. Construction runs the start-up: program and settings folders, the
/// installation record, the default language's texts and the stored settings (window position,
/// recent files, fonts, the stored language, the last equation). The equation file named on the
/// command line is opened last, once the event loop runs after the window was first shown, so that
/// a message about it stands over the window. Every way of ending (close button, Exit, Escape) goes
/// through `done`, which saves the settings exactly once. A file dropped on the window goes to the
/// file commands.
class CTervalonDlg : public QDialog {
    Q_OBJECT
public:
    CTervalonDlg(StartupContext context, Platform& platform, QWidget* parent = nullptr);

    /// Sets every text of the window and its menus from the current interface texts, and installs
    /// Qt's own translation of the current language for the dialogs and menus Qt draws itself.
    void retranslate();

    /// `ClearEquation`: empties the equation field and resets the title; the current file stays.
    void ClearEquation();

    [[nodiscard]] const StartupContext& startupContext() const { return m_context; }
    [[nodiscard]] const std::filesystem::path& settingsFile() const { return m_settingsFile; }
    [[nodiscard]] bool isPortable() const { return m_isPortable; }
    [[nodiscard]] const config::Settings& settings() const { return m_settings; }
    [[nodiscard]] const config::LanguageFiles& languages() const { return m_languages; }
    [[nodiscard]] const MainWindowWidgets& widgets() const { return m_widgets; }
    [[nodiscard]] const MainMenu& mainMenu() const { return *m_menu; }
    [[nodiscard]] FileCommands& fileCommands() const { return *m_files; }
    [[nodiscard]] const EquationHistory& history() const { return m_history; }
    /// The program's own windows of the documents it showed, also those closed (hidden) since.
    [[nodiscard]] QList<DocumentWindow*> documentWindows() const;

public slots:
    /// Ends the window: saves the settings (only the first time), then closes.
    void done(int result) override;

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    void createWidgets();
    void connectCommands();
    void openCommandLineFile();
    void chooseSettingsFolder();
    void LoadSettings();
    void SaveSettings();
    /// History.txt beside the settings file.
    [[nodiscard]] QString historyFile() const;
    /// The solution view's colours, highlighting and font from the settings (recolouring is the caller's).
    void configureView();
    void handleOptions();
    /// Options closed with OK after a change of fonts, colours or highlighting.
    void applyOptions();
    void handleLanguage();
    void handleHelp();
    void handleInfo();
    /// Hands a document beside the program to the desktop, or, when the desktop has no program for
    /// it, shows it in a window of the program's own titled after the command.
    void openDocument(const std::filesystem::path& file, DocumentKind kind, const QAction& command);
    void showDocument(const std::filesystem::path& file, DocumentKind kind, const QString& title);
    void handleCheckForUpdate();
    void handleSolve();
    /// Shows the result line under the view and hands it to screen readers; empty clears it.
    void showResult(const QString& result);
    void handleCopy();
    void handleCopyLatex();
    /// View > Graph: shows or hides the panel (ShowGraph); a panel shown draws the last equation solved.
    void handleGraph(bool isShown);
    /// The panel's share of the splitter from the settings, in thousandths.
    void placeSplitter();
    /// The settings take the panel's share while it is shown.
    void rememberSplitter();
    [[nodiscard]] QString decimalSeparator() const;

    StartupContext m_context;
    Platform& m_platform;
    engine::EquationSolver m_solver;
    config::Settings m_settings;
    config::LanguageFiles m_languages;
    std::filesystem::path m_settingsFile;
    bool m_isPortable = false;
    bool m_areSettingsSaved = false;
    bool m_isCommandLineFileDue = false;
    MainMenu* m_menu = nullptr;
    FileCommands* m_files = nullptr;
    MainWindowWidgets m_widgets;
    /// The equation of the last Solve, as typed, and whether the panel holds its graph.
    QString m_lastSolved;
    bool m_hasLastGraph = false;
    EquationHistory m_history;
    QtTranslations m_qtTranslations;
    /// By document path: one window a document, raised again when it is asked for once more.
    QHash<QString, QPointer<DocumentWindow>> m_documents;
};

} // namespace app
