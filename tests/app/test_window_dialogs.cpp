// SPDX-License-Identifier: MIT
// The View and "?" commands of the main window: Options and Language applied, the help page and the
// documents handed to the desktop, the About box.
#include "app/document_window.h"
#include "app/equation_field.h"
#include "app/main_menu.h"
#include "app/solution_view.h"
#include "config/dialogs/about_dialog.h"
#include "config/dialogs/click_edit.h"
#include "config/dialogs/language_dialog.h"
#include "config/dialogs/options_dialog.h"
#include "window_fixture.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QTextBlock>
#include <QTextBrowser>
#include <QToolButton>
#include <QtTest>

#include <functional>

namespace app::test {

class TestWindowDialogs : public QObject {
    Q_OBJECT
private slots:
    void optionsApplied_data();
    void optionsApplied();
    void optionsCancelledKeepsEveryValue();
    void fontsChosenSurviveARestart();
    void viewFontPickerOpensOnTheDrawnFont();
    void solveSwitches_data();
    void solveSwitches();
    void languageCommand_data();
    void languageCommand();
    void qtTranslations_data();
    void qtTranslations();
    void helpPage_data();
    void helpPage();
    void documentsAndUpdatePage();
    void documentsWithoutADesktopProgram_data();
    void documentsWithoutADesktopProgram();
    void updatePageWithoutABrowser_data();
    void updatePageWithoutABrowser();
    void aboutBox();
    void shippedDocuments();
};

namespace {

using config::COptionsDlg;

/// Runs the next dialog with act, then closes it with OK (accept) or Cancel.
template <class Dialog> std::function<int(QDialog&)> scripted(std::function<void(Dialog&)> act, bool accept)
{
    return [act = std::move(act), accept](QDialog& dialog) {
        auto* typed = qobject_cast<Dialog*>(&dialog);
        if (typed == nullptr)
            return int(QDialog::Rejected);
        act(*typed);
        if (accept)
            typed->accept();
        else
            typed->reject();
        return typed->result();
    };
}

/// A view holding more than 20,000 characters, numbers and function names among them.
QString longText()
{
    QString text;
    while (text.size() <= 20000)
        text += QStringLiteral("x = 2 * sin(x)\n");
    return text;
}

QColor colourAt(const CScriptEdit& view, int position)
{
    QTextCursor cursor(view.document());
    cursor.setPosition(position + 1);
    return cursor.charFormat().foreground().color();
}

QStringList entriesOf(const QComboBox& list)
{
    QStringList entries;
    for (int i = 0; i < list.count(); ++i)
        entries.append(list.itemText(i));
    return entries;
}

QStringList urlsOf(const FakePlatform& platform)
{
    QStringList urls;
    for (const QUrl& url : platform.openedUrls)
        urls.append(url.isLocalFile() ? QFileInfo(url.toLocalFile()).fileName() : url.toString());
    return urls;
}

} // namespace

void TestWindowDialogs::optionsApplied_data()
{
    QTest::addColumn<QString>("action");
    QTest::addColumn<bool>("isLong");
    QTest::addColumn<bool>("isReapplied");
    QTest::addColumn<bool>("isEmptied");

    QTest::newRow("only AddLineNumbers: stored, nothing re-applied") << "lines" << true << false << false;
    QTest::newRow("a colour, long view: emptied") << "colour" << true << true << true;
    QTest::newRow("a cancelled colour picker, long view: emptied") << "cancelled" << true << true << true;
    QTest::newRow("a colour, short view: recoloured") << "colour" << false << true << false;
    QTest::newRow("highlighting off, short view: plain") << "highlight" << false << true << false;
}

void TestWindowDialogs::optionsApplied()
{
    QFETCH(QString, action);
    QFETCH(bool, isLong);
    QFETCH(bool, isReapplied);
    QFETCH(bool, isEmptied);

    WindowFixture fixture;
    const auto window = fixture.makeWindow();
    CScriptEdit& view = *window->widgets().view;
    view.appendText(isLong ? longText() : QStringLiteral("x = 2 * sin(x)"));
    const int length = view.textLength();
    // A font of the view's own: only a re-application of the options replaces it.
    view.ApplyViewFont(QFont("Liberation Serif", 20));
    if (action == "colour")
        fixture.platform.colorAnswers.push_back(QColor(200, 0, 0));

    fixture.platform.dialogScript = scripted<COptionsDlg>(
        [&](COptionsDlg& dialog) {
            const config::OptionsWidgets& w = dialog.widgets();
            if (action == "lines")
                w.addLineNumbers->click();
            if (action == "colour" || action == "cancelled")
                w.swatches[2]->click();
            if (action == "highlight")
                w.highlight->click();
        },
        true);
    window->mainMenu().actions().options->trigger();
    QCOMPARE(fixture.platform.dialogTitles, QStringList{"Options"});

    const config::Settings& settings = window->settings();
    QCOMPARE(settings.addLineNumbers, action == "lines");
    QCOMPARE(settings.highlightOn, action != "highlight");
    QCOMPARE(settings.colorNumber, action == "colour" ? 200 : 6579200);
    QCOMPARE(view.font().family(), isReapplied ? QString("Courier New") : QString("Liberation Serif"));
    QCOMPARE(view.textLength(), isEmptied ? 0 : length);
    if (isReapplied && !isEmptied) {
        // "x = 2 * sin(x)": the 2 is a number, "sin" a function name.
        const QColor number = action == "colour" ? QColor(200, 0, 0) : QColor(0, 0, 0);
        QCOMPARE(colourAt(view, 4), number);
        QCOMPARE(colourAt(view, 8), action == "highlight" ? QColor(0, 0, 0) : QColor(0, 0, 128));
    }
}

void TestWindowDialogs::optionsCancelledKeepsEveryValue()
{
    WindowFixture fixture;
    const auto window = fixture.makeWindow();
    const config::Settings before = window->settings();
    const QFont windowFont = window->font();
    const QFont viewFont = window->widgets().view->font();
    fixture.platform.fontAnswers = {QFont("Liberation Serif", 20), QFont("Liberation Mono", 22)};
    fixture.platform.colorAnswers = {QColor(200, 0, 0)};

    fixture.platform.dialogScript = scripted<COptionsDlg>(
        [](COptionsDlg& dialog) {
            const config::OptionsWidgets& w = dialog.widgets();
            w.dialogFont->click();
            w.viewFont->click();
            w.swatches[0]->click();
            w.addSpaces->click();
            w.equivalent->setText("=>");
            QVERIFY(dialog.isChanged());
        },
        false);
    window->mainMenu().actions().options->trigger();

    QVERIFY(fixture.platform.fontAnswers.empty()); // both pickers were asked
    QVERIFY(window->settings() == before);
    QCOMPARE(window->font(), windowFont);
    QCOMPARE(window->widgets().view->font(), viewFont);
}

void TestWindowDialogs::fontsChosenSurviveARestart()
{
    struct Row {
        const char* name;
        bool changesDialogFont;
    };
    for (const Row& row : {Row{"view font alone", false}, Row{"both fonts", true}}) {
        WindowFixture fixture;
        QFont dialogFont("Liberation Serif");
        dialogFont.setPixelSize(20);
        QFont viewFont("Liberation Mono");
        viewFont.setPixelSize(24);
        if (row.changesDialogFont)
            fixture.platform.fontAnswers.push_back(dialogFont);
        fixture.platform.fontAnswers.push_back(viewFont);
        const int windowPixels = QFontInfo(fixture.makeWindow()->font()).pixelSize();
        {
            const auto window = fixture.makeWindow();
            fixture.platform.dialogScript = scripted<COptionsDlg>(
                [&](COptionsDlg& dialog) {
                    if (row.changesDialogFont)
                        dialog.widgets().dialogFont->click();
                    dialog.widgets().viewFont->click();
                },
                true);
            window->mainMenu().actions().options->trigger();
            QCOMPARE(window->widgets().view->font().family(), QString("Liberation Mono"));
            QCOMPARE(window->widgets().view->font().pixelSize(), 24);
            window->close();
        }
        const auto restarted = fixture.makeWindow();
        QCOMPARE(QFontInfo(restarted->font()).pixelSize(), row.changesDialogFont ? 20 : windowPixels);
        QCOMPARE(restarted->widgets().view->font().family(), QString("Liberation Mono"));
        QCOMPARE(restarted->widgets().view->font().pixelSize(), 24);
    }
}

void TestWindowDialogs::viewFontPickerOpensOnTheDrawnFont()
{
    WindowFixture fixture;
    const auto window = fixture.makeWindow();
    CScriptEdit& view = *window->widgets().view;
    const QFontInfo drawn(view.font());
    QVERIFY(drawn.fixedPitch());
    const auto pickViewFont = [&](std::optional<QFont> answer) {
        QString shownName;
        fixture.platform.fontAnswers = {std::move(answer)};
        fixture.platform.dialogScript = scripted<COptionsDlg>(
            [&](COptionsDlg& dialog) {
                shownName = dialog.widgets().viewFont->text();
                dialog.widgets().viewFont->click();
            },
            true);
        window->mainMenu().actions().options->trigger();
        return shownName;
    };

    // The button and the picker name the face the view draws, not the stored one it stands for.
    QCOMPARE(pickViewFont(std::nullopt), drawn.family());
    QCOMPARE(fixture.platform.fontInitials.size(), 1);
    const QFont initial = fixture.platform.fontInitials.at(0);
    QCOMPARE(initial.family(), drawn.family());
    QCOMPARE(initial.pointSizeF(), drawn.pointSizeF());
    QCOMPARE(window->settings().viewFont.FaceName(), std::string("Courier New"));

    // OK on the font the picker opened with keeps the view as it was: monospace, the same size.
    QCOMPARE(pickViewFont(initial), drawn.family());
    const QFontInfo after(view.font());
    QCOMPARE(after.family(), drawn.family());
    QCOMPARE(after.pixelSize(), drawn.pixelSize());
    QVERIFY(after.fixedPitch());
}

void TestWindowDialogs::solveSwitches_data()
{
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QString>("equation");
    QTest::addColumn<QString>("added"); // the lines the switch adds after the derivation
    QTest::addColumn<int>("field");     // the Settings switch, see switchOf

    QTest::newRow("show check") << "Show check"
                                << "x=5"
                                << "Check: both sides equal 5.\n"
                                << 0;
    QTest::newRow("show all solutions") << "Show all solutions"
                                        << "x=5"
                                        << "No other solutions found.\n"
                                        << 1;
    QTest::newRow("show exact values") << "Show exact values"
                                       << "x^2=2"
                                       << "Exact value: x = sqr(2)\n"
                                       << 2;
}

// Each switch of the Options dialog that adds lines after a derivation: off by default, on after a
// click, stored across a restart, and switched off again the same way.
void TestWindowDialogs::solveSwitches()
{
    QFETCH(QString, caption);
    QFETCH(QString, equation);
    QFETCH(QString, added);
    QFETCH(int, field);
    const auto box = [field](COptionsDlg& dialog) {
        const auto& w = dialog.widgets();
        return field == 0 ? w.showCheck : field == 1 ? w.allSolutions : w.exactValues;
    };
    const auto isOn = [field](const config::Settings& settings) {
        return field == 0 ? settings.showCheck : field == 1 ? settings.allSolutions : settings.exactValues;
    };
    WindowFixture fixture;
    const auto solvedText = [&equation](CTervalonDlg& window) {
        window.widgets().equation->setText(equation);
        window.widgets().solve->click();
        return window.widgets().view->toPlainText();
    };
    const auto toggle = [&](CTervalonDlg& window, bool wasChecked) {
        fixture.platform.dialogScript = scripted<COptionsDlg>(
            [&, wasChecked](COptionsDlg& dialog) {
                QCOMPARE(box(dialog)->text(), caption);
                QCOMPARE(box(dialog)->isChecked(), wasChecked);
                box(dialog)->click();
            },
            true);
        window.mainMenu().actions().options->trigger();
    };
    QString plain;
    {
        const auto window = fixture.makeWindow();
        plain = solvedText(*window);
        QVERIFY(!plain.contains(added));
        toggle(*window, false);
        QVERIFY(isOn(window->settings()));
        QCOMPARE(solvedText(*window), plain + added);
        window->close();
    }
    const auto restarted = fixture.makeWindow();
    QVERIFY(isOn(restarted->settings()));
    toggle(*restarted, true);
    QCOMPARE(solvedText(*restarted), plain);
}

void TestWindowDialogs::languageCommand_data()
{
    QTest::addColumn<QByteArray>("storedName"); // empty: never chosen, the list's default applies
    QTest::addColumn<QString>("select");        // the entry chosen in the dialog; empty: none
    QTest::addColumn<bool>("accept");
    QTest::addColumn<QString>("previewTitle");
    QTest::addColumn<QString>("fileMenu");
    QTest::addColumn<QString>("languageName");
    QTest::addColumn<bool>("isNameStored");

    const QString german = QString::fromUtf8("Sprache wählen");
    QTest::newRow("preview, then Cancel") << QByteArray("English") << "Deutsch" << false << german << "File"
                                          << "English" << true;
    QTest::newRow("OK without a change stores the name")
        << QByteArray() << QString() << true << german << "Datei"
        << "Deutsch" << true;
    QTest::newRow("Cancel without a change keeps it unstored")
        << QByteArray() << QString() << false << german << "Datei"
        << "Deutsch" << false;
    QTest::newRow("to the built-in English")
        << QByteArray("Deutsch") << "English" << true << "Select language"
        << "File"
        << "English" << true;
    QTest::newRow("to a listed language without its file")
        << QByteArray("Deutsch") << "Missing" << true << "Select language"
        << "File"
        << "Missing" << true;
    QTest::newRow("from English to German") << QByteArray("English") << "Deutsch" << true << german << "Datei"
                                            << "Deutsch" << true;
}

void TestWindowDialogs::languageCommand()
{
    QFETCH(QByteArray, storedName);
    QFETCH(QString, select);
    QFETCH(bool, accept);
    QFETCH(QString, previewTitle);
    QFETCH(QString, fileMenu);
    QFETCH(QString, languageName);
    QFETCH(bool, isNameStored);

    WindowFixture fixture;
    fixture.write("program/Tervalon_Languages.ini",
                  "LanguageDefault=\"Deutsch\"\r\n"
                  "LanguageName=\"Deutsch\"\r\nLanguageFile=\"Tervalon_German.ini\"\r\n"
                  "LanguageName=\"Missing\"\r\nLanguageFile=\"Tervalon_Missing.ini\"\r\n");
    fixture.write("program/Tervalon_German.ini",
                  "FrmMain.ID_MEN_FILE=\"Datei\"\r\n"
                  "FrmMain.TEQERROR02=\"FEHLER 2: Die Gleichung ist leer!\"\r\n"
                  "FrmLanguage.Caption=\"Sprache w\xC3\xA4hlen\"\r\n");
    if (!storedName.isEmpty())
        fixture.write(fixture.userSettings(),
                      settingsFile("  <LanguageName>" + storedName + "</LanguageName>\r\n"));
    const auto window = fixture.makeWindow();

    QString shownTitle;
    fixture.platform.dialogScript = scripted<config::CLanguageDlg>(
        [&](config::CLanguageDlg& dialog) {
            QComboBox& list = *dialog.widgets().languages;
            if (!select.isEmpty())
                list.setCurrentIndex(list.findText(select));
            shownTitle = dialog.windowTitle();
        },
        accept);
    window->mainMenu().actions().language->trigger();

    QCOMPARE(shownTitle, previewTitle);
    QCOMPARE(window->mainMenu().menus().file->title(), fileMenu);
    QCOMPARE(QString::fromStdString(window->languages().currentLanguageName()), languageName);
    QCOMPARE(!window->settings().languageNameNotStored, isNameStored);
    // The engine's messages follow the interface texts.
    window->widgets().solve->click();
    const QString solved = window->widgets().view->toPlainText();
    QVERIFY2(solved.contains(fileMenu == "Datei" ? "FEHLER 2" : "ERROR 2"), qPrintable(solved));

    window->close();
    const QByteArray stored = isNameStored ? languageName.toUtf8() : QByteArray();
    QVERIFY(fixture.read(fixture.userSettings()).contains("<LanguageName>" + stored + "</LanguageName>"));
}

void TestWindowDialogs::qtTranslations_data()
{
    QTest::addColumn<QString>("language");
    QTest::addColumn<QString>("cancel"); // Qt's own text of a Cancel button, as its dialogs show it

    QTest::newRow("English") << "English"
                             << "Cancel";
    QTest::newRow("Deutsch") << "Deutsch"
                             << "Abbrechen";
    QTest::newRow("Francais") << QString::fromUtf8("Français") << "Annuler";
    QTest::newRow("Espanol") << QString::fromUtf8("Español") << "Cancelar";
    QTest::newRow("Italiano") << "Italiano"
                              << "Annulla";
}

void TestWindowDialogs::qtTranslations()
{
    QFETCH(QString, language);
    QFETCH(QString, cancel);
    const auto qtCancel = [] { return QCoreApplication::translate("QPlatformTheme", "Cancel"); };
    const auto choose = [](const QString& name) {
        return scripted<config::CLanguageDlg>(
            [name](config::CLanguageDlg& dialog) {
                QComboBox& list = *dialog.widgets().languages;
                list.setCurrentIndex(list.findText(name));
            },
            true);
    };

    // The shipped language files beside the program, the stored language restored at start-up.
    WindowFixture fixture;
    fixture.write(fixture.userSettings(),
                  settingsFile("  <LanguageName>" + language.toUtf8() + "</LanguageName>\r\n"));
    const QString programFolder = QStringLiteral(PROGRAM_FOLDER);
    {
        CTervalonDlg window(
            makeStartupContext(programFolder, {programFolder + "/tervalon"}, fixture.path("start")),
            fixture.platform);
        QCOMPARE(qtCancel(), cancel);
        // Switched in the language dialog: away to English and back.
        fixture.platform.dialogScript = choose("English");
        window.mainMenu().actions().language->trigger();
        QCOMPARE(qtCancel(), QString("Cancel"));
        fixture.platform.dialogScript = choose(language);
        window.mainMenu().actions().language->trigger();
        QCOMPARE(qtCancel(), cancel);
    }
    // The window took its translation with it.
    QCOMPARE(qtCancel(), QString("Cancel"));
}

void TestWindowDialogs::helpPage_data()
{
    QTest::addColumn<QByteArray>("storedName"); // empty: no language list at all
    QTest::addColumn<QStringList>("helpPages");
    QTest::addColumn<QString>("opened");

    const QStringList both{"Tervalon_English.html", "Tervalon_German.html"};
    QTest::newRow("built-in texts") << QByteArray() << both << "Tervalon_English.html";
    QTest::newRow("German file and page") << QByteArray("Deutsch") << both << "Tervalon_German.html";
    QTest::newRow("German file without a German page")
        << QByteArray("Deutsch") << QStringList{"Tervalon_English.html"} << "Tervalon_English.html";
    QTest::newRow("file name without _") << QByteArray("Plain") << both << "Tervalon_English.html";
    QTest::newRow("no page at all: the English one")
        << QByteArray("Deutsch") << QStringList() << "Tervalon_English.html";
}

void TestWindowDialogs::helpPage()
{
    QFETCH(QByteArray, storedName);
    QFETCH(QStringList, helpPages);
    QFETCH(QString, opened);

    WindowFixture fixture;
    if (!storedName.isEmpty()) {
        fixture.write("program/Tervalon_Languages.ini",
                      "LanguageName=\"Deutsch\"\r\nLanguageFile=\"Tervalon_German.ini\"\r\n"
                      "LanguageName=\"Plain\"\r\nLanguageFile=\"German.ini\"\r\n");
        fixture.write("program/Tervalon_German.ini", "FrmMain.ID_MEN_FILE=\"Datei\"\r\n");
        fixture.write("program/German.ini", "FrmMain.ID_MEN_FILE=\"Datei\"\r\n");
        fixture.write(fixture.userSettings(),
                      settingsFile("  <LanguageName>" + storedName + "</LanguageName>\r\n"));
    }
    for (const QString& page : helpPages)
        fixture.write("program/" + page, "<html></html>");
    const auto window = fixture.makeWindow();

    window->mainMenu().actions().help->trigger();
    QCOMPARE(urlsOf(fixture.platform), QStringList{opened});
    QCOMPARE(QFileInfo(fixture.platform.openedUrls.at(0).toLocalFile()).absolutePath(),
             QFileInfo(fixture.path("program/x")).absolutePath());
}

void TestWindowDialogs::documentsAndUpdatePage()
{
    WindowFixture fixture;
    fixture.write("program/Tervalon_License.txt", "licence");
    fixture.write("program/Tervalon_ReadMe.txt", "changes");
    const auto window = fixture.makeWindow();
    const MenuActions& actions = window->mainMenu().actions();
    for (QAction* action : {actions.license, actions.changes, actions.checkForUpdate}) {
        QVERIFY(action->isEnabled());
        action->trigger();
    }
    QCOMPARE(urlsOf(fixture.platform),
             (QStringList{"Tervalon_License.txt", "Tervalon_ReadMe.txt",
                          "https://kestrune.example/pages/c_tervalon.php?lang=ENG&progvers=1.510"}));
    QVERIFY(fixture.platform.dialogTitles.isEmpty());
}

void TestWindowDialogs::documentsWithoutADesktopProgram_data()
{
    QTest::addColumn<QString>("command");
    QTest::addColumn<QString>("file");
    QTest::addColumn<QByteArray>("contents"); // empty: the file is missing
    QTest::addColumn<QString>("shown");       // the text the window shows

    const QByteArray page = "<html><body><h1>Help me</h1><p>before</p><figure><img src=\"screenshots/p.png\">"
                            "<figcaption>caption</figcaption></figure>"
                            "<a href=\"#end\">down</a><a name=\"end\">end</a></body></html>";
    QTest::newRow("help page, with its picture") << "help"
                                                 << "Tervalon_English.html" << page << "Help me";
    QTest::newRow("licence") << "license"
                             << "Tervalon_License.txt" << QByteArray("MIT\r\nline 2\r\n") << "MIT\nline 2\n";
    QTest::newRow("change notes, UTF-8")
        << "changes"
        << "Tervalon_ReadMe.txt" << QByteArray("\xC3\x84nderungen\r\n") << QString::fromUtf8("Änderungen\n");
    QTest::newRow("a help page that is not there") << "help"
                                                   << "Tervalon_English.html" << QByteArray() << "";
}

void TestWindowDialogs::documentsWithoutADesktopProgram()
{
    QFETCH(QString, command);
    QFETCH(QString, file);
    QFETCH(QByteArray, contents);
    QFETCH(QString, shown);

    WindowFixture fixture;
    // Both text files exist (or their menu items would be removed); the row's file gets its contents.
    for (const char* name : {"Tervalon_License.txt", "Tervalon_ReadMe.txt"})
        fixture.write(QStringLiteral("program/") + name, "");
    if (!contents.isEmpty())
        fixture.write("program/" + file, contents);
    fixture.write("program/screenshots/p.png", "picture bytes");
    fixture.platform.canOpenUrls = false;
    const auto window = fixture.makeWindow();
    window->show();
    QVERIFY(QTest::qWaitForWindowExposed(window.get()));
    const MenuActions& actions = window->mainMenu().actions();
    QAction* action = command == "help"      ? actions.help
                      : command == "license" ? actions.license
                                             : actions.changes;

    action->trigger();
    QCOMPARE(urlsOf(fixture.platform), QStringList{file}); // the desktop is asked first
    if (contents.isEmpty()) {
        QCOMPARE(fixture.platform.messages.size(), 1);
        QCOMPARE(fixture.platform.messages.at(0).text,
                 "File '" + QFileInfo(fixture.path("program/" + file)).absoluteFilePath() +
                     "' cannot be opened.");
        QVERIFY(window->documentWindows().isEmpty() || window->documentWindows().at(0) == nullptr);
        return;
    }
    QVERIFY(fixture.platform.messages.isEmpty());
    QCOMPARE(window->documentWindows().size(), 1);
    DocumentWindow& document = *window->documentWindows().at(0);
    QVERIFY(QTest::qWaitForWindowExposed(&document));
    QVERIFY(!document.isModal());
    QCOMPARE(document.windowTitle(), action->text().section('\t', 0, 0));
    QVERIFY(document.windowTitle().size() >= 4);
    QWidget* view = nullptr;
    if (command == "help") {
        QTextBrowser& browser = *document.browser();
        view = &browser;
        QVERIFY(browser.toPlainText().startsWith(shown));
        QCOMPARE(browser.loadResource(QTextDocument::ImageResource, QUrl("screenshots/p.png")).toByteArray(),
                 QByteArray("picture bytes"));
        // A figure stands on its own, not run into the paragraph before it.
        const QTextBlock picture =
            browser.document()->find(QString(QChar::ObjectReplacementCharacter)).block();
        QVERIFY(picture.isValid());
        QVERIFY(!picture.text().contains("before"));
        // A link inside the page stays in the window; an address outside goes to the desktop.
        emit browser.anchorClicked(QUrl("#end"));
        QCOMPARE(fixture.platform.openedUrls.size(), 1);
        emit browser.anchorClicked(QUrl("https://kestrune.example/pages/x"));
        QCOMPARE(fixture.platform.openedUrls.size(), 2);
        QCOMPARE(fixture.platform.openedUrls.at(1), QUrl("https://kestrune.example/pages/x"));
    } else {
        QPlainTextEdit& text = *document.textView();
        view = &text;
        QCOMPARE(text.toPlainText(), shown);
        QVERIFY(text.isReadOnly());
    }
    QCOMPARE(view->accessibleName(), document.windowTitle());
    // Sized to the screen: most of its available area, all of it on the screen.
    const QRect area = document.screen()->availableGeometry();
    QVERIFY2(area.contains(document.frameGeometry()), qPrintable(QString("%1,%2 %3x%4")
                                                                     .arg(document.frameGeometry().x())
                                                                     .arg(document.frameGeometry().y())
                                                                     .arg(document.width())
                                                                     .arg(document.height())));
    QVERIFY(document.width() >= area.width() / 2 && document.height() >= area.height() / 2);

    // Escape closes it and leaves the program running; asked for again, the same window comes back.
    view->setFocus();
    QTest::keyClick(view, Qt::Key_Escape);
    QVERIFY(!document.isVisible());
    QVERIFY(window->isVisible());
    action->trigger();
    QCOMPARE(window->documentWindows(), QList<DocumentWindow*>{&document});
    QVERIFY(document.isVisible());
}

void TestWindowDialogs::updatePageWithoutABrowser_data()
{
    QTest::addColumn<bool>("canOpen");
    QTest::addColumn<QByteArray>("translation"); // the German file's text, empty for the built-in one
    QTest::addColumn<QString>("message");        // empty: none

    const QString page = "https://kestrune.example/pages/c_tervalon.php?lang=ENG&progvers=1.510";
    QTest::newRow("a browser opens it") << true << QByteArray() << "";
    QTest::newRow("no browser") << false << QByteArray() << "No web browser could open " + page + ".";
    QTest::newRow("no browser, translated")
        << false
        << QByteArray("Kein Webbrowser konnte %s \xC3\xB6"
                      "ffnen.")
        << QString::fromUtf8("Kein Webbrowser konnte ") + page + QString::fromUtf8(" öffnen.");
}

void TestWindowDialogs::updatePageWithoutABrowser()
{
    QFETCH(bool, canOpen);
    QFETCH(QByteArray, translation);
    QFETCH(QString, message);

    WindowFixture fixture;
    fixture.write("program/Tervalon_ReadMe.txt", "changes");
    if (!translation.isEmpty()) {
        fixture.write("program/Tervalon_Languages.ini",
                      "LanguageDefault=\"Deutsch\"\r\nLanguageName=\"Deutsch\"\r\nLanguageFile=\"Tervalon_"
                      "German.ini\"\r\n");
        fixture.write("program/Tervalon_German.ini", "FrmMain.m_acMNoBrowser=\"" + translation + "\"\r\n");
    }
    fixture.platform.canOpenUrls = canOpen;
    const auto window = fixture.makeWindow();
    window->mainMenu().actions().checkForUpdate->trigger();
    QCOMPARE(fixture.platform.openedUrls.size(), 1);
    QVERIFY(window->documentWindows().isEmpty());
    if (message.isEmpty()) {
        QVERIFY(fixture.platform.messages.isEmpty());
        return;
    }
    QCOMPARE(fixture.platform.messages.size(), 1);
    QCOMPARE(fixture.platform.messages.at(0).caption, QString("FEHLER"));
    QCOMPARE(fixture.platform.messages.at(0).text, message);
}

void TestWindowDialogs::aboutBox()
{
    WindowFixture fixture;
    fixture.write("program/Tervalon_Languages.ini",
                  "LanguageDefault=\"Espa\xC3\xB1ol\"\r\n"
                  "LanguageName=\"Espa\xC3\xB1ol\"\r\nLanguageFile=\"Tervalon_Spanish.ini\"\r\n");
    fixture.write("program/Tervalon_Spanish.ini", "FrmMain.m_acMBtnOk=\"Aceptar\"\r\n");
    const auto window = fixture.makeWindow();

    QString okText;
    fixture.platform.dialogScript = scripted<config::CAboutDlg>(
        [&](config::CAboutDlg& dialog) {
            okText = dialog.widgets().ok->text();
            dialog.show();
            QVERIFY(QTest::qWaitForWindowExposed(&dialog));
            QTest::mouseDClick(dialog.widgets().web, Qt::LeftButton);
            QTest::mouseDClick(dialog.widgets().translationLinks[3], Qt::LeftButton);
        },
        true);
    window->mainMenu().actions().info->trigger();

    QCOMPARE(fixture.platform.dialogTitles, QStringList{"Info"});
    QCOMPARE(okText, QString("Aceptar"));
    QCOMPARE(urlsOf(fixture.platform),
             (QStringList{"https://kestrune.example", "https://kestrune.example/pages/translations"}));
}

void TestWindowDialogs::shippedDocuments()
{
    // The program as the build leaves it: the documents copied beside it.
    WindowFixture fixture;
    const QString programFolder = QStringLiteral(PROGRAM_FOLDER);
    CTervalonDlg window(
        makeStartupContext(programFolder, {programFolder + "/tervalon"}, fixture.path("start")),
        fixture.platform);
    const MenuActions& actions = window.mainMenu().actions();
    QCOMPARE(window.mainMenu().menus().help->actions().size(), 6); // nothing removed
    QCOMPARE(actions.info->text(), QString("About Tervalon"));     // the English file, not the built-in text

    fixture.platform.dialogScript = scripted<config::CLanguageDlg>(
        [](config::CLanguageDlg& dialog) {
            QComboBox& list = *dialog.widgets().languages;
            QCOMPARE(entriesOf(list), (QStringList{"English", "Deutsch", QString::fromUtf8("Français"),
                                                   QString::fromUtf8("Español"), "Italiano"}));
            QCOMPARE(list.currentIndex(), 0);
            list.setCurrentIndex(1);
        },
        true);
    actions.help->trigger();
    actions.language->trigger();
    actions.help->trigger();
    QCOMPARE(urlsOf(fixture.platform), (QStringList{"Tervalon_English.html", "Tervalon_German.html"}));
    for (const QUrl& page : fixture.platform.openedUrls)
        QVERIFY(QFileInfo(page.toLocalFile()).isFile());
    QCOMPARE(actions.options->text(), QString::fromUtf8("Optionen..."));
}

} // namespace app::test

QTEST_MAIN(app::test::TestWindowDialogs)
#include "test_window_dialogs.moc"
