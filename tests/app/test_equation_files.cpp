// SPDX-License-Identifier: MIT
// Equation files: open, save, the current file and the title, the recent list, drops, file-dialog
// filters, read errors and their messages, and files that are no text files at all.
#include "app/calculator_keys.h"
#include "app/equation_field.h"
#include "app/file_commands.h"
#include "app/file_filters.h"
#include "app/main_menu.h"
#include "app/qt_platform.h"
#include "app/recent_files_menu.h"
#include "app/solution_view.h"
#include "window_fixture.h"

#include <QAction>
#include <QFileDialog>
#include <QMenu>
#include <QMimeData>
#include <QPushButton>
#include <QtTest>

#include <sys/stat.h>

namespace app::test {

class TestEquationFiles : public QObject {
    Q_OBJECT
private slots:
    void nameFilters_data();
    void nameFilters();
    void openDialogTakesAnyName();
    void currentFile_data();
    void currentFile();
    void content_data();
    void content();
    void notTextFiles_data();
    void notTextFiles();
    void messages_data();
    void messages();
    void recentList_data();
    void recentList();
    void drops_data();
    void drops();
};

namespace {

const QString kOldText = QStringLiteral("x=old");

QString readError(const QString& path)
{
    return QStringLiteral("File '%1' cannot be opened.").arg(path);
}

/// A window that shows kOldText from old.teq, so a failed open has something to leave alone.
std::unique_ptr<CTervalonDlg> windowWithOldFile(WindowFixture& fixture)
{
    auto window = fixture.makeWindow();
    const QString old = fixture.write("old.teq", kOldText.toUtf8());
    if (!window->fileCommands().OpenEquationFile(old))
        return nullptr;
    return window;
}

void openByMenu(WindowFixture& fixture, CTervalonDlg& window, const QString& path)
{
    fixture.platform.openFileAnswers.push_back(path);
    window.mainMenu().actions().openEquation->trigger();
}

} // namespace

void TestEquationFiles::nameFilters_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QStringList>("filters");
    QTest::addColumn<QStringList>("suffixes");

    const QString builtIn = "Textfile (*.txt)|*.txt|RTF (*.rtf)|*.rtf||";
    const QStringList builtInFilters{"Textfile (*.txt)", "RTF (*.rtf)"};
    const QStringList builtInSuffixes{"txt", "rtf"};
    QTest::newRow("built-in") << builtIn << builtInFilters << builtInSuffixes;
    QTest::newRow("description without patterns")
        << "Text|*.txt|Rich text|*.rtf||" << QStringList{"Text (*.txt)", "Rich text (*.rtf)"}
        << builtInSuffixes;
    QTest::newRow("pattern list") << "Texte (*.txt; *.text)|*.txt;*.text||"
                                  << QStringList{"Texte (*.txt *.text)"} << QStringList{"txt"};
    QTest::newRow("no single extension") << "Alle|*.*||" << QStringList{"Alle (*.*)"} << QStringList{"txt"};
    QTest::newRow("other parentheses stay")
        << "Text (UTF-8)|*.txt||" << QStringList{"Text (UTF-8) (*.txt)"} << QStringList{"txt"};
    QTest::newRow("no final bars") << "Text|*.txt" << builtInFilters << builtInSuffixes;
    QTest::newRow("pattern missing") << "Text|*.txt|RTF||" << builtInFilters << builtInSuffixes;
    QTest::newRow("empty pattern in a list") << "Text|*.txt;;*.text||" << builtInFilters << builtInSuffixes;
    QTest::newRow("parenthesis in a pattern") << "Text|*.t)xt||" << builtInFilters << builtInSuffixes;
}

void TestEquationFiles::nameFilters()
{
    QFETCH(QString, text);
    QFETCH(QStringList, filters);
    QFETCH(QStringList, suffixes);

    QStringList gotFilters;
    QStringList gotSuffixes;
    for (const NameFilter& filter :
         app::nameFilters(text.toStdString(), "Textfile (*.txt)|*.txt|RTF (*.rtf)|*.rtf||", "txt")) {
        gotFilters.append(QString::fromStdString(filter.filter));
        gotSuffixes.append(QString::fromStdString(filter.defaultSuffix));
    }
    QCOMPARE(gotFilters, filters);
    QCOMPARE(gotSuffixes, suffixes);
}

void TestEquationFiles::openDialogTakesAnyName()
{
    // Set up only, never shown. A dialog that insisted on an existing file would answer a typed name
    // with Qt's own box and stay open; the read-error message is the program's (see currentFile).
    QFileDialog dialog;
    setUpOpenDialog(dialog, {"Tervalon file (*.teq)"});
    QCOMPARE(dialog.acceptMode(), QFileDialog::AcceptOpen);
    QCOMPARE(dialog.fileMode(), QFileDialog::AnyFile);
    QCOMPARE(dialog.nameFilters(), QStringList{"Tervalon file (*.teq)"});
}

void TestEquationFiles::currentFile_data()
{
    QTest::addColumn<QString>("before"); // what happens after old.teq was opened
    QTest::addColumn<bool>("asksForName");
    QTest::addColumn<QString>("title"); // before the Save

    QTest::newRow("Save right after start behaves as Save as") << "fresh start" << true << "Tervalon";
    QTest::newRow("Save writes the opened file") << "nothing" << false << "Tervalon - old.teq";
    QTest::newRow("after a failed open Save asks for a name")
        << "failed open" << true << "Tervalon - old.teq";
    QTest::newRow("Clear equation keeps the current file") << "Clear equation" << false << "Tervalon";
    QTest::newRow("New equation forgets it") << "New equation" << true << "Tervalon";
    QTest::newRow("after a failed save Save asks for a name")
        << "failed save" << true << "Tervalon - old.teq";
}

void TestEquationFiles::currentFile()
{
    QFETCH(QString, before);
    QFETCH(bool, asksForName);
    QFETCH(QString, title);

    WindowFixture fixture;
    auto window = before == "fresh start" ? fixture.makeWindow() : windowWithOldFile(fixture);
    QVERIFY(window);
    window->widgets().view->appendText("x = 1");
    const MenuActions& actions = window->mainMenu().actions();
    if (before == "failed open")
        openByMenu(fixture, *window, fixture.path("missing.teq"));
    if (before == "Clear equation")
        actions.clearEquation->trigger();
    if (before == "New equation") {
        actions.newEquation->trigger();
        QCOMPARE(window->widgets().equation->text(), QString());
        QVERIFY(window->widgets().view->document()->isEmpty());
    }
    if (before == "failed save") {
        fixture.platform.saveFileAnswers.push_back(fixture.path("no/such/folder/a.teq"));
        actions.saveEquationAs->trigger();
    }
    QCOMPARE(window->windowTitle(), title);

    // Written as typed: blanks and a tab kept, UTF-8 without byte-order mark, no line end.
    const QString typed = QStringLiteral(" x = 1,5 * \u00e9\t");
    window->widgets().equation->setText(typed);
    fixture.platform.saveFileAnswers.push_back(fixture.path("named.teq"));
    actions.saveEquation->trigger();

    const qsizetype asked = (before == "failed save" ? 1 : 0) + (asksForName ? 1 : 0);
    QCOMPARE(fixture.platform.saveFilters, QList<QStringList>(asked, QStringList{"Tervalon file (*.teq)"}));
    QCOMPARE(fixture.platform.saveSuffixes, QList<QStringList>(asked, QStringList{"teq"}));
    QCOMPARE(fixture.read(asksForName ? "named.teq" : "old.teq"), typed.toUtf8());
    if (asksForName && before != "fresh start")
        QCOMPARE(fixture.read("old.teq"), kOldText.toUtf8());
    const QString saved = fixture.path(asksForName ? "named.teq" : "old.teq");
    QCOMPARE(window->windowTitle(), "Tervalon - " + QFileInfo(saved).fileName());
    QCOMPARE(window->fileCommands().currentFile(), saved);
    QCOMPARE(window->mainMenu().recent().paths().constFirst(), saved);

    // Opened again, it shows the text as typed, and nothing is solved.
    const auto second = fixture.makeWindow();
    openByMenu(fixture, *second, saved);
    QCOMPARE(fixture.platform.openFilters.constLast(), QStringList{"Tervalon file (*.teq)"});
    QCOMPARE(second->widgets().equation->text(), typed);
    QVERIFY(second->widgets().view->document()->isEmpty());
}

void TestEquationFiles::content_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("text");   // null: refused with the read-error message
    QTest::addColumn<QString>("solved"); // first line of the view after Solve; empty: not solved

    QTest::newRow("blanks and commas") << QByteArray(" x = 1 , 5 ") << " x = 1 , 5 " << QString();
    QTest::newRow("CR LF is one line feed") << QByteArray("x=1\r\n+2\r") << "x=1\n+2\r" << QString();
    QTest::newRow("text up to the first NUL byte") << QByteArray("x=1\0garbage\xff", 12) << "x=1"
                                                   << "Solution of 'x=1'";
    QTest::newRow("invalid UTF-8 becomes U+FFFD, which Solve drops")
        << QByteArray("x=\xff"
                      "1")
        << QString("x=\uFFFD1") << "Solution of 'x=1'";
    QTest::newRow("32,767 characters") << QByteArray(32767, 'x') << QString(32767, 'x') << QString();
    QTest::newRow("32,767 characters of three bytes")
        << QString(32767, QChar(0x20AC)).toUtf8() << QString(32767, QChar(0x20AC)) << QString();
    QTest::newRow("32,768 characters") << QByteArray(32768, 'x') << QString() << QString();
    QTest::newRow("10 MB of text") << QByteArray(10 * 1024 * 1024, 'x') << QString() << QString();
    QTest::newRow("long before a NUL byte")
        << QByteArray(40000, 'x') + QByteArray(1, '\0') << QString() << QString();
}

void TestEquationFiles::content()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QString, text);
    QFETCH(QString, solved);

    WindowFixture fixture;
    const auto window = windowWithOldFile(fixture);
    QVERIFY(window);
    const QString file = fixture.write("start/eq.teq", bytes);
    openByMenu(fixture, *window, file);

    if (text.isNull()) {
        // Refused whole: the field would cut it, and the next Save would write the cut text back.
        QCOMPARE(window->widgets().equation->text(), kOldText);
        QCOMPARE(window->windowTitle(), QString("Tervalon - old.teq"));
        QCOMPARE(window->fileCommands().currentFile(), QString());
        QCOMPARE(fixture.platform.messages.size(), 1);
        QCOMPARE(fixture.platform.messages.at(0).caption, QString("FEHLER"));
        QCOMPARE(fixture.platform.messages.at(0).text, readError(file));
        QCOMPARE(window->mainMenu().recent().paths(), QStringList{fixture.path("old.teq")});
        return;
    }
    QVERIFY(fixture.platform.messages.isEmpty());
    QCOMPARE(window->widgets().equation->text(), text);
    QCOMPARE(window->windowTitle(), QString("Tervalon - eq.teq"));
    if (!solved.isEmpty()) {
        window->widgets().solve->click();
        QCOMPARE(window->widgets().view->toPlainText().section('\n', 0, 0), solved);
    }
}

void TestEquationFiles::notTextFiles_data()
{
    QTest::addColumn<QString>("how");
    QTest::addColumn<QString>("target"); // "fifo", "folder" or a path

    // Each must end at once: reading a FIFO without a writer, or a device, would never end.
    QTest::newRow("FIFO on the command line") << "command line"
                                              << "fifo";
    QTest::newRow("FIFO dropped") << "drop"
                                  << "fifo";
    QTest::newRow("FIFO in the recent list") << "recent"
                                             << "fifo";
    QTest::newRow("FIFO from the open dialog") << "menu"
                                               << "fifo";
    QTest::newRow("device on the command line") << "command line"
                                                << "/dev/zero";
    QTest::newRow("folder from the open dialog") << "menu"
                                                 << "folder";
}

void TestEquationFiles::notTextFiles()
{
    QFETCH(QString, how);
    QFETCH(QString, target);

    WindowFixture fixture;
    QString path = target;
    if (target == "folder") {
        path = fixture.path("start/folder.teq");
        QDir().mkpath(path);
    }
    if (target == "fifo") {
        path = fixture.path("start/pipe.teq");
        if (how == "recent") {
            // Listed while it was a file; a FIFO took its place later.
            fixture.write("start/pipe.teq", "x=1");
            fixture.write(fixture.userSettings(),
                          settingsFile("  <Recent>" + path.toUtf8() + "</Recent>\r\n"));
        }
    }
    const auto makeFifo = [&] {
        QFile::remove(path);
        return ::mkfifo(path.toUtf8().constData(), 0600) == 0;
    };
    if (target == "fifo" && how != "recent")
        QVERIFY(makeFifo());
    const auto window = how == "command line" ? fixture.makeWindow({path}) : fixture.makeWindow();
    if (target == "fifo" && how == "recent")
        QVERIFY(makeFifo());

    if (how == "command line") {
        // The command-line file is opened once the window is shown.
        window->show();
        QVERIFY(QTest::qWaitForWindowExposed(window.get()));
        QTRY_COMPARE(fixture.platform.messages.size(), 1);
    } else if (how == "drop") {
        window->fileCommands().openDroppedFile({QUrl::fromLocalFile(path)});
    } else if (how == "recent") {
        QCOMPARE(window->mainMenu().recent().paths(), QStringList{path});
        window->mainMenu().recent().menu().actions().at(0)->trigger();
    } else if (how == "menu") {
        openByMenu(fixture, *window, path);
    }

    QCOMPARE(fixture.platform.messages.size(), 1);
    QCOMPARE(fixture.platform.messages.at(0).text, readError(path));
    QCOMPARE(window->widgets().equation->text(), QString());
    QCOMPARE(window->windowTitle(), QString("Tervalon"));
    QCOMPARE(window->fileCommands().currentFile(), QString());
}

void TestEquationFiles::messages_data()
{
    QTest::addColumn<QByteArray>("translation"); // FrmMain.m_acMReadError; empty: none
    QTest::addColumn<QString>("message");        // %1 stands for the path

    QTest::newRow("built-in") << QByteArray() << "File '%1' cannot be opened.";
    QTest::newRow("translated") << QByteArray("Datei \xc2\xbb%s\xc2\xab fehlt.") << "Datei »%1« fehlt.";
    QTest::newRow("path left out") << QByteArray("Datei fehlt.") << "Datei fehlt.";
    QTest::newRow("literal percent") << QByteArray("100%% %s") << "100% %1";
    QTest::newRow("number conversion falls back")
        << QByteArray("Datei %d fehlt.") << "File '%1' cannot be opened.";
    QTest::newRow("second path falls back") << QByteArray("%s: %s") << "File '%1' cannot be opened.";
    QTest::newRow("unknown conversion falls back") << QByteArray("%n%s") << "File '%1' cannot be opened.";
}

void TestEquationFiles::messages()
{
    QFETCH(QByteArray, translation);
    QFETCH(QString, message);

    WindowFixture fixture;
    fixture.write("program/Tervalon_Languages.ini",
                  "LanguageDefault=\"Deutsch\"\r\n"
                  "LanguageName=\"Deutsch\"\r\nLanguageFile=\"de.ini\"\r\n");
    QByteArray texts = "FrmMain.m_acMError=\"Fehler\"\r\n";
    if (!translation.isEmpty())
        texts += "FrmMain.m_acMReadError=\"" + translation + "\"\r\n";
    fixture.write("program/de.ini", texts);
    const auto window = fixture.makeWindow();
    // A path far beyond the 1023 characters a message once had room for: nothing is cut.
    const QString path = fixture.path("start/" + QString(250, 'a') + '/' + QString(250, 'b') + '/' +
                                      QString(250, 'c') + '/' + QString(250, 'd') + "/%s.teq");
    openByMenu(fixture, *window, path);

    QCOMPARE(fixture.platform.messages.size(), 1);
    QCOMPARE(fixture.platform.messages.at(0).caption, QString("Fehler"));
    QCOMPARE(fixture.platform.messages.at(0).text, message.replace("%1", path));
}

void TestEquationFiles::recentList_data()
{
    QTest::addColumn<QString>("script");     // oN open fN, sN save as fN, cN choose the entry of fN,
                                             // rN remove fN, d toggle Deactivate
    QTest::addColumn<QList<int>>("entries"); // the list afterwards, top first, as file numbers
    QTest::addColumn<QString>("field");

    QList<int> fifteenDown;
    for (int i = 15; i >= 1; --i)
        fifteenDown.append(i);
    QString sixteen;
    for (int i = 0; i <= 15; ++i)
        sixteen += QStringLiteral("o%1 ").arg(i);

    QTest::newRow("the same file twice: one entry, at the top") << "o0 o1 o0" << QList<int>{0, 1} << "x=0";
    QTest::newRow("saving lists the file too") << "o0 s1" << QList<int>{1, 0} << "x=0";
    QTest::newRow("the sixteenth file drops the bottom entry") << sixteen.trimmed() << fifteenDown << "x=15";
    QTest::newRow("the fifteenth entry opens its own file")
        << sixteen.trimmed() + " c1" << QList<int>{1, 15, 14, 13, 12, 11, 10, 9, 8, 7, 6, 5, 4, 3, 2}
        << "x=1";
    QTest::newRow("Deactivate keeps the list and stops recording")
        << "o0 o1 d o2 s3 c0" << QList<int>{1, 0} << "x=0";
    QTest::newRow("Deactivate off again records") << "o0 d o1 d o2" << QList<int>{2, 0} << "x=2";
    QTest::newRow("an entry whose file vanished does nothing and stays")
        << "o0 o1 r0 c0" << QList<int>{1, 0} << "x=1";
    QTest::newRow("Clear empties the list") << "o0 o1 c" << QList<int>{} << "x=1";
}

void TestEquationFiles::recentList()
{
    QFETCH(QString, script);
    QFETCH(QList<int>, entries);
    QFETCH(QString, field);

    WindowFixture fixture;
    const auto window = fixture.makeWindow();
    RecentFilesMenu& recent = window->mainMenu().recent();
    const auto fileName = [&](int number) {
        return fixture.path(QStringLiteral("start/f%1.teq").arg(number));
    };
    for (int i = 0; i <= 15; ++i)
        fixture.write(QStringLiteral("start/f%1.teq").arg(i), QStringLiteral("x=%1").arg(i).toUtf8());

    for (const QString& step : script.split(' ')) {
        const int number = step.mid(1).toInt();
        switch (step.at(0).toLatin1()) {
        case 'o':
            openByMenu(fixture, *window, fileName(number));
            break;
        case 's':
            fixture.platform.saveFileAnswers.push_back(fileName(number));
            window->mainMenu().actions().saveEquationAs->trigger();
            break;
        case 'c':
            if (step.size() == 1) {
                recent.clearAction()->trigger();
                break;
            }
            // The menu item itself, as the user chooses it.
            for (QAction* action : recent.menu().actions()) {
                if (action->text() == fileName(number)) {
                    action->trigger();
                    break;
                }
            }
            break;
        case 'r':
            QVERIFY(QFile::remove(fileName(number)));
            break;
        case 'd':
            recent.deactivateAction()->trigger();
            break;
        }
    }

    QStringList expected;
    for (const int number : entries)
        expected.append(fileName(number));
    QCOMPARE(recent.paths(), expected);
    QCOMPARE(window->widgets().equation->text(), field);
    QVERIFY(fixture.platform.messages.isEmpty());
    // The fixed items stay below the entries.
    const QList<QAction*> items = recent.menu().actions();
    QCOMPARE(items.size(), entries.size() + 3);
    QVERIFY(items.at(entries.size())->isSeparator());
}

void TestEquationFiles::drops_data()
{
    QTest::addColumn<QStringList>("urls"); // %ROOT% stands for the temporary root
    QTest::addColumn<QString>("where");    // the widget under the pointer
    QTest::addColumn<QString>("opened");   // the file whose text the field shows; empty: none

    const QString eq = "file://%ROOT%/start/eq.teq";
    const QString upper = "file://%ROOT%/start/UP.TEQ";
    const QString text = "file://%ROOT%/start/notes.txt";
    QTest::newRow("on the view") << QStringList{eq} << "view"
                                 << "eq.teq";
    QTest::newRow("on the equation field, not into it") << QStringList{eq} << "field"
                                                        << "eq.teq";
    QTest::newRow("on a calculator key") << QStringList{upper} << "keys"
                                         << "UP.TEQ";
    QTest::newRow(".txt is ignored") << QStringList{text} << "view" << QString();
    QTest::newRow("only the first of two files") << QStringList{upper, eq} << "view"
                                                 << "UP.TEQ";
    QTest::newRow("a second .teq does not count") << QStringList{text, eq} << "view" << QString();
    QTest::newRow("a remote file is ignored")
        << QStringList{"https://example.org/eq.teq"} << "view" << QString();
    QTest::newRow("a name with a full stop in a folder")
        << QStringList{"file://%ROOT%/start/a.teq/notes"} << "view" << QString();
}

void TestEquationFiles::drops()
{
    QFETCH(QStringList, urls);
    QFETCH(QString, where);
    QFETCH(QString, opened);

    WindowFixture fixture;
    fixture.write("start/eq.teq", "x=eq");
    fixture.write("start/UP.TEQ", "x=up");
    fixture.write("start/notes.txt", "x=notes");
    fixture.write("start/a.teq/notes", "x=notes");
    const auto window = fixture.makeWindow();
    window->show();
    QVERIFY(QTest::qWaitForWindowExposed(window.get()));
    window->widgets().equation->setText("x=typed");

    QMimeData data;
    QList<QUrl> list;
    for (const QString& url : urls)
        list.append(QUrl(QString(url).replace("%ROOT%", fixture.path(""))));
    data.setUrls(list);
    data.setText(list.constFirst().toString());
    QWidget* target = where == "view"    ? window->widgets().view->viewport()
                      : where == "field" ? static_cast<QWidget*>(window->widgets().equation)
                                         : window->widgets().keys->button("7");
    QVERIFY(target);
    const QPoint point = target->mapTo(window.get(), target->rect().center());

    // Through the native window, which picks the widget under the pointer as a real drop does.
    QDragEnterEvent enter(point, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(window->windowHandle(), &enter);
    QVERIFY(enter.isAccepted());
    QDropEvent drop(point, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(window->windowHandle(), &drop);

    const QString expectedText = opened == "eq.teq" ? "x=eq" : opened == "UP.TEQ" ? "x=up" : "x=typed";
    QCOMPARE(window->widgets().equation->text(), expectedText);
    QCOMPARE(window->windowTitle(), opened.isEmpty() ? QString("Tervalon") : "Tervalon - " + opened);
    QCOMPARE(window->mainMenu().recent().paths().size(), opened.isEmpty() ? 0 : 1);
    QVERIFY(fixture.platform.messages.isEmpty());

    // Text alone is no file: the window does not take it.
    QMimeData textOnly;
    textOnly.setText("x=1");
    QDragEnterEvent textEnter(point, Qt::CopyAction, &textOnly, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(window->windowHandle(), &textEnter);
    QVERIFY(!textEnter.isAccepted());
}

} // namespace app::test

QTEST_MAIN(app::test::TestEquationFiles)
#include "test_equation_files.moc"
