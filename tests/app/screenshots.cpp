// SPDX-License-Identifier: MIT
// Makes the pictures of the program for the README and the help pages: real windows on temporary
// folders, solved as a user would, grabbed into PNG files. Run by scripts/screenshots.sh.
#include "app/equation_field.h"
#include "app/graph_panel.h"
#include "app/solution_view.h"
#include "config/dialogs/about_dialog.h"
#include "config/dialogs/language_dialog.h"
#include "config/dialogs/options_dialog.h"
#include "window_fixture.h"

#include <QApplication>
#include <QDir>
#include <QPalette>
#include <QPushButton>
#include <QScreen>
#include <QTabBar>
#include <QTest>

#include <cstdio>
#include <cstring>
#include <functional>
#include <vector>

namespace {

using app::CTervalonDlg;
using app::test::WindowFixture;

/// Shows the window at the given size (large enough for a whole derivation by default).
bool show(CTervalonDlg& window, QSize size = QSize(900, 740))
{
    window.resize(size);
    window.show();
    // Without a window manager the window is never activated; being exposed is enough.
    window.activateWindow();
    return QTest::qWaitForWindowExposed(&window);
}

/// Types equation into the field and presses Enter, as a user does.
void solve(CTervalonDlg& window, const QString& equation)
{
    app::EquationField& field = *window.widgets().equation;
    field.setFocus();
    field.clear();
    QTest::keyClicks(&field, equation);
    QTest::keyClick(&field, Qt::Key_Return);
}

/// Grabs the window once it is painted.
bool save(QWidget& window, const QString& file)
{
    QTest::qWait(200);
    return window.grab().save(file, "PNG");
}

/// The language list and files that ship with the program, in the fixture's program folder.
void installLanguages(WindowFixture& fixture)
{
    const QDir shipped(QStringLiteral(SHIPPED_LANGUAGES_DIR));
    for (const QString& name : shipped.entryList({QStringLiteral("*.ini")}, QDir::Files)) {
        QFile file(shipped.filePath(name));
        if (file.open(QIODevice::ReadOnly))
            fixture.write(QStringLiteral("program/") + name, file.readAll());
    }
}

/// A window in the given language of the shipped ones, with the given further settings.
std::unique_ptr<CTervalonDlg> windowIn(WindowFixture& fixture, const QByteArray& language,
                                       const QByteArray& entries = {})
{
    installLanguages(fixture);
    fixture.write(fixture.userSettings(),
                  app::test::settingsFile("  <LanguageName>" + language + "</LanguageName>\r\n" + entries));
    return fixture.makeWindow();
}

/// Shows a dialog as it opens over its window and grabs it.
bool saveDialog(QDialog& dialog, const QString& file)
{
    dialog.show();
    dialog.activateWindow();
    return QTest::qWaitForWindowExposed(&dialog) && save(dialog, file);
}

/// A desktop in a dark theme: the solution view follows it with its dark paper.
QPalette darkPalette()
{
    QPalette palette;
    const QColor window(45, 45, 48);
    const QColor base(30, 30, 30);
    const QColor text(220, 220, 220);
    palette.setColor(QPalette::Window, window);
    palette.setColor(QPalette::WindowText, text);
    palette.setColor(QPalette::Base, base);
    palette.setColor(QPalette::AlternateBase, window);
    palette.setColor(QPalette::Text, text);
    palette.setColor(QPalette::Button, window);
    palette.setColor(QPalette::ButtonText, text);
    palette.setColor(QPalette::ToolTipBase, base);
    palette.setColor(QPalette::ToolTipText, text);
    palette.setColor(QPalette::Highlight, QColor(38, 79, 120));
    palette.setColor(QPalette::HighlightedText, Qt::white);
    palette.setColor(QPalette::Light, QColor(70, 70, 74));
    palette.setColor(QPalette::Midlight, QColor(60, 60, 64));
    palette.setColor(QPalette::Mid, QColor(35, 35, 38));
    palette.setColor(QPalette::Dark, QColor(25, 25, 27));
    palette.setColor(QPalette::Shadow, Qt::black);
    return palette;
}

/// The main window after solving the equation of the equation field's tool tip.
bool mainWindow(const QString& file)
{
    WindowFixture fixture;
    const auto window = fixture.makeWindow();
    if (!show(*window))
        return false;
    solve(*window, QStringLiteral("x=10*sin(x-1)"));
    return save(*window, file);
}

/// The main window on a scaled screen (QT_SCALE_FACTOR=2), placed and sized by the program itself
/// at its first start, after the same Solve.
bool scaledWindow(const QString& file)
{
    WindowFixture fixture;
    const auto window = fixture.makeWindow();
    window->show();
    window->activateWindow();
    if (!QTest::qWaitForWindowExposed(window.get()))
        return false;
    solve(*window, QStringLiteral("x=10*sin(x-1)"));
    return save(*window, file);
}

/// Two blocks kept one under the other, numbered lines, a decimal comma.
bool accumulatedBlocks(const QString& file)
{
    WindowFixture fixture;
    fixture.write(fixture.userSettings(),
                  app::test::settingsFile("  <AlwaysClearSolution>0</AlwaysClearSolution>\r\n"
                                          "  <AddLineNumbers>1</AddLineNumbers>\r\n"
                                          "  <DecimalSeparator>,</DecimalSeparator>\r\n"));
    const auto window = fixture.makeWindow();
    if (!show(*window, QSize(800, 600)))
        return false;
    solve(*window, QStringLiteral("x/4=2,5"));
    solve(*window, QStringLiteral("x^2-5*x+6=0"));
    return save(*window, file);
}

/// The main window in German: numbered lines and a decimal comma.
bool germanWindow(const QString& file)
{
    WindowFixture fixture;
    const auto window = windowIn(fixture, "Deutsch",
                                 "  <AddLineNumbers>1</AddLineNumbers>\r\n"
                                 "  <DecimalSeparator>,</DecimalSeparator>\r\n");
    if (!show(*window, QSize(800, 480)))
        return false;
    solve(*window, QStringLiteral("2*x+3=4*x-1,5"));
    return save(*window, file);
}

/// A derivation with the reason of every step beside its line (Explain steps on).
bool explainedSteps(const QString& file)
{
    WindowFixture fixture;
    fixture.write(fixture.userSettings(), app::test::settingsFile("  <ExplainSteps>1</ExplainSteps>\r\n"));
    const auto window = fixture.makeWindow();
    if (!show(*window, QSize(800, 360)))
        return false;
    solve(*window, QStringLiteral("3/(2-x)=7"));
    return save(*window, file);
}

/// A result that holds only with another branch, then every solution of an equation with periodic
/// solutions (Show all solutions on).
bool checkedSolutions(const QString& file)
{
    WindowFixture fixture;
    fixture.write(fixture.userSettings(),
                  app::test::settingsFile("  <AlwaysClearSolution>0</AlwaysClearSolution>\r\n"
                                          "  <AllSolutions>1</AllSolutions>\r\n"));
    const auto window = fixture.makeWindow();
    if (!show(*window, QSize(800, 460)))
        return false;
    solve(*window, QStringLiteral("x^x=10"));
    solve(*window, QStringLiteral("sin(x)=0.5"));
    return save(*window, file);
}

/// Exact values beside the decimals (Show all solutions and Show exact values on).
bool exactValues(const QString& file)
{
    WindowFixture fixture;
    fixture.write(fixture.userSettings(),
                  app::test::settingsFile("  <AlwaysClearSolution>0</AlwaysClearSolution>\r\n"
                                          "  <AllSolutions>1</AllSolutions>\r\n"
                                          "  <ExactValues>1</ExactValues>\r\n"));
    const auto window = fixture.makeWindow();
    if (!show(*window, QSize(800, 460)))
        return false;
    solve(*window, QStringLiteral("x^2-x-1=0"));
    solve(*window, QStringLiteral("2^x=3"));
    solve(*window, QStringLiteral("sin(x)=0.5"));
    return save(*window, file);
}

/// The graph panel beside the solution (ShowGraph on): the real line of x=10*sin(x-1), or with
/// complex the complex plane of the seven roots of x^7=1.
bool graphPanel(const QString& file, bool complex, const QByteArray& language = {},
                QSize size = QSize(1180, 620))
{
    WindowFixture fixture;
    const QByteArray entries = "  <ShowGraph>1</ShowGraph>\r\n  <GraphSplitter>560</GraphSplitter>\r\n";
    if (language.isEmpty())
        fixture.write(fixture.userSettings(), app::test::settingsFile(entries));
    const auto window = language.isEmpty() ? fixture.makeWindow() : windowIn(fixture, language, entries);
    if (!show(*window, size))
        return false;
    solve(*window, complex ? QStringLiteral("x^7=1") : QStringLiteral("x=10*sin(x-1)"));
    if (complex)
        window->widgets().graph->tabs().setCurrentIndex(1);
    return save(*window, file);
}

bool optionsDialog(const QString& file, const QByteArray& language)
{
    WindowFixture fixture;
    const auto window = windowIn(fixture, language);
    config::COptionsDlg dialog(window->settings(), window->languages().currentLanguageFile(), {},
                               window.get());
    return saveDialog(dialog, file);
}

bool languageDialog(const QString& file)
{
    WindowFixture fixture;
    const auto window = windowIn(fixture, "English");
    config::CLanguageDlg dialog(window->languages(), window->settings().dialogFont, window.get());
    return saveDialog(dialog, file);
}

bool aboutDialog(const QString& file)
{
    WindowFixture fixture;
    const auto window = windowIn(fixture, "English");
    config::CAboutDlg dialog(window->settings().dialogFont, QStringLiteral("OK"), window.get());
    return saveDialog(dialog, file);
}

/// Makes a picture on a desktop in a dark theme.
std::function<bool(const QString&)> onDarkDesktop(std::function<bool(const QString&)> make)
{
    return [make = std::move(make)](const QString& file) {
        const QPalette desktop = QApplication::palette();
        QApplication::setPalette(darkPalette());
        const bool isSaved = make(file);
        QApplication::setPalette(desktop);
        return isSaved;
    };
}

struct Picture {
    const char* name;
    std::function<bool(const QString&)> make;
};

} // namespace

int main(int argc, char** argv)
{
    QApplication application(argc, argv);
    QApplication::setStyle(QStringLiteral("Fusion"));
    // With --scaled, only the picture of a scaled screen, which the caller has set up.
    const bool isScaled = argc == 3 && std::strcmp(argv[1], "--scaled") == 0;
    if (argc != 2 && !isScaled) {
        std::fprintf(stderr, "usage: %s [--scaled] FOLDER\n", argv[0]);
        return 2;
    }
    const QString folder = QString::fromLocal8Bit(argv[argc - 1]);
    if (isScaled && QGuiApplication::primaryScreen()->devicePixelRatio() < 2) {
        std::fprintf(stderr, "%s --scaled: the screen is not scaled (QT_SCALE_FACTOR=2)\n", argv[0]);
        return 2;
    }
    const std::vector<Picture> scaledPictures = {{"main_window_hidpi.png", scaledWindow},
                                                 // The scaled screen has 640x450 pixels to the program.
                                                 {"graph_hidpi.png", [](const QString& file) {
                                                      return graphPanel(file, false, {}, QSize(630, 420));
                                                  }}};
    const std::vector<Picture> pictures =
        isScaled
            ? scaledPictures
            : std::vector<Picture>{
                  {"main_window.png", mainWindow},
                  {"main_window_blocks.png", accumulatedBlocks},
                  {"main_window_dark.png", onDarkDesktop(mainWindow)},
                  {"main_window_german.png", germanWindow},
                  {"main_window_explained.png", explainedSteps},
                  {"main_window_checked.png", checkedSolutions},
                  {"main_window_exact.png", exactValues},
                  {"graph_real.png", [](const QString& file) { return graphPanel(file, false); }},
                  {"graph_complex.png", [](const QString& file) { return graphPanel(file, true); }},
                  {"graph_german.png",
                   [](const QString& file) { return graphPanel(file, false, "Deutsch"); }},
                  {"graph_dark.png",
                   onDarkDesktop([](const QString& file) { return graphPanel(file, false); })},
                  {"options_dialog.png", [](const QString& file) { return optionsDialog(file, "English"); }},
                  {"options_dialog_german.png",
                   [](const QString& file) { return optionsDialog(file, "Deutsch"); }},
                  {"options_dialog_dark.png",
                   onDarkDesktop([](const QString& file) { return optionsDialog(file, "English"); })},
                  {"language_dialog.png", languageDialog},
                  {"about_dialog.png", aboutDialog},
                  {"about_dialog_dark.png", onDarkDesktop(aboutDialog)},
              };
    int status = 0;
    for (const Picture& picture : pictures) {
        const QString file = folder + QLatin1Char('/') + QLatin1String(picture.name);
        if (picture.make(file)) {
            std::printf("%s\n", qPrintable(file));
        } else {
            std::fprintf(stderr, "%s: cannot be made\n", qPrintable(file));
            status = 1;
        }
    }
    return status;
}
