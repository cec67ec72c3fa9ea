// SPDX-License-Identifier: MIT
// Start-up of the main window: settings folder, installation record, command-line file, every ending.
#include "app/calculator_keys.h"
#include "app/equation_field.h"
#include "app/main_menu.h"
#include "app/recent_files_menu.h"
#include "app/solution_view.h"
#include "app/text_conversion.h"
#include "window_fixture.h"

#include <QAction>
#include <QPushButton>
#include <QtTest>

namespace app::test {

class TestStartup : public QObject {
    Q_OBJECT
private slots:
    void settingsFolder_data();
    void settingsFolder();
    void installationRecord_data();
    void installationRecord();
    void commandLineFile_data();
    void commandLineFile();
    void endings_data();
    void endings();
};

namespace {

QString canonical(const QString& path)
{
    return QFileInfo(path).canonicalFilePath();
}

QByteArray recordBytes(const QString& programFolder, const QByteArray& version, const QByteArray& date)
{
    return "InstallationDirectory=\"" + programFolder.toUtf8() + "/\"\r\n" +
           "LanguageFile=\"Tervalon_Languages.ini\"\r\n" + "IniFile=\"Tervalon.ini\"\r\n" + "Version=\"" +
           version + "\"\r\n" + "InstallDate=\"" + date + "\"\r\n";
}

const QByteArray kVersion = "Version 1.510 (15.09.2018)";
const QString kRecordFile = QStringLiteral("machine/Kestrune/Tervalon/Installation.ini");

} // namespace

void TestStartup::settingsFolder_data()
{
    QTest::addColumn<QByteArray>(
        "savePath"); // SavePath.ini; empty: no such file; %ROOT% is the temporary root
    QTest::addColumn<QString>("folderToCreate");
    QTest::addColumn<QString>("expectedFolder");
    QTest::addColumn<bool>("isPortable");

    const QString user = QStringLiteral("user/Kestrune/Tervalon");
    QTest::newRow("no SavePath.ini") << QByteArray() << QString() << user << false;
    QTest::newRow("absolute") << QByteArray("ApplicationStorage=\"%ROOT%/portable\"") << "portable"
                              << "portable" << true;
    QTest::newRow("relative to the program folder")
        << QByteArray("ApplicationStorage=\"data/settings\"") << "program/data/settings"
        << "program/data/settings" << true;
    QTest::newRow("relative, leaving the program folder")
        << QByteArray("ApplicationStorage=\"../portable\"") << "portable"
        << "portable" << true;
    QTest::newRow("missing folder") << QByteArray("ApplicationStorage=\"nowhere\"") << QString() << user
                                    << false;
    QTest::newRow("empty value") << QByteArray("ApplicationStorage=\"\"") << QString() << user << false;
    QTest::newRow("names a file") << QByteArray("ApplicationStorage=\"SavePath.ini\"") << QString() << user
                                  << false;
    QTest::newRow("no tilde expansion")
        << QByteArray("ApplicationStorage=\"~\"") << QString() << user << false;
}

void TestStartup::settingsFolder()
{
    QFETCH(QByteArray, savePath);
    QFETCH(QString, folderToCreate);
    QFETCH(QString, expectedFolder);
    QFETCH(bool, isPortable);

    WindowFixture fixture;
    if (!savePath.isEmpty())
        fixture.write("program/SavePath.ini", savePath.replace("%ROOT%", fixture.path("").toUtf8()));
    if (!folderToCreate.isEmpty())
        QDir().mkpath(fixture.path(folderToCreate));
    const QString startedIn = QDir::currentPath();

    const auto window = fixture.makeWindow();

    QCOMPARE(canonical(fromPath(window->settingsFile().parent_path())),
             canonical(fixture.path(expectedFolder)));
    QCOMPARE(window->settingsFile().filename().string(), std::string("Tervalon.ini"));
    QCOMPARE(window->isPortable(), isPortable);
    // Portable mode writes nothing outside its folder: no per-user folder, no installation record.
    QCOMPARE(fixture.exists("user/Kestrune/Tervalon"), !isPortable);
    QCOMPARE(fixture.exists(kRecordFile), !isPortable);
    QCOMPARE(QDir::currentPath(), startedIn);
    // Nothing is written before the window ends.
    QVERIFY(!QFileInfo::exists(fromPath(window->settingsFile())));
}

void TestStartup::installationRecord_data()
{
    QTest::addColumn<QByteArray>("existing"); // empty: no record yet
    QTest::addColumn<bool>("isRewritten");

    QTest::newRow("first start") << QByteArray() << true;
    QTest::newRow("same version keeps its first date")
        << recordBytes("/elsewhere", kVersion, "2019-01-02 03:04:05") << false;
    QTest::newRow("another version") << recordBytes("/elsewhere", "Version 1.509 (01.01.2018)",
                                                    "2019-01-02 03:04:05")
                                     << true;
    QTest::newRow("unreadable record") << QByteArray("Version") << true;
}

void TestStartup::installationRecord()
{
    QFETCH(QByteArray, existing);
    QFETCH(bool, isRewritten);

    WindowFixture fixture;
    if (!existing.isEmpty())
        fixture.write(kRecordFile, existing);
    const auto window = fixture.makeWindow();

    const QByteArray expected =
        isRewritten ? recordBytes(fixture.path("program"), kVersion, "2024-03-07 09:05:02") : existing;
    QCOMPARE(fixture.read(kRecordFile), expected);
}

void TestStartup::commandLineFile_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<bool>("isPortable");
    QTest::addColumn<QString>("expected"); // relative to the temporary root; empty: no file

    QTest::newRow("no argument") << QStringList() << true << QString();
    QTest::newRow("relative to the starting folder") << QStringList{"eq.teq"} << true << "start/eq.teq";
    QTest::newRow("relative, per-user settings") << QStringList{"eq.teq"} << false << "start/eq.teq";
    QTest::newRow("relative with a folder") << QStringList{"sub/eq.teq"} << true << "start/sub/eq.teq";
    QTest::newRow("dot segments resolved") << QStringList{"./sub/../eq.teq"} << true << "start/eq.teq";
    QTest::newRow("absolute") << QStringList{"%ROOT%/program/eq.teq"} << true << "program/eq.teq";
    QTest::newRow("further arguments ignored") << QStringList{"a.teq", "b.teq"} << true << "start/a.teq";
    QTest::newRow("missing file") << QStringList{"nothere.teq"} << false << "start/nothere.teq";
}

void TestStartup::commandLineFile()
{
    QFETCH(QStringList, arguments);
    QFETCH(bool, isPortable);
    QFETCH(QString, expected);

    WindowFixture fixture;
    // Portable mode must not change how a relative file name is read.
    if (isPortable) {
        QDir().mkpath(fixture.path("program/settings"));
        fixture.write("program/SavePath.ini", "ApplicationStorage=\"settings\"");
    }
    // The program folder holds a file of the same name, which must not be taken.
    for (const QString name :
         {"program/eq.teq", "start/eq.teq", "start/sub/eq.teq", "start/a.teq", "start/b.teq"})
        fixture.write(name, "x=" + name.toUtf8());
    arguments.replaceInStrings(QStringLiteral("%ROOT%"), fixture.path(""));

    const auto window = fixture.makeWindow(arguments);
    window->show();
    QVERIFY(QTest::qWaitForWindowExposed(window.get()));
    QCoreApplication::processEvents();

    QCOMPARE(window->isPortable(), isPortable);
    const QString file = fromPath(window->startupContext().equationFile);
    QCOMPARE(file, expected.isEmpty() ? QString() : fixture.path(expected));
    const bool isOpened = !expected.isEmpty() && QFileInfo::exists(file);
    QCOMPARE(window->widgets().equation->text(), isOpened ? "x=" + expected : QString());
    QCOMPARE(window->windowTitle(),
             isOpened ? "Tervalon - " + QFileInfo(file).fileName() : QString("Tervalon"));
    QCOMPARE(window->mainMenu().recent().paths(), isOpened ? QStringList{file} : QStringList());
    if (expected.isEmpty() || isOpened) {
        QVERIFY(fixture.platform.messages.isEmpty());
        return;
    }
    // The read error comes once the window is on the screen, over it, not as a lone box before it.
    QCOMPARE(fixture.platform.messages.size(), 1);
    QCOMPARE(fixture.platform.messages.at(0).text, "File '" + file + "' cannot be opened.");
    QCOMPARE(fixture.platform.messages.at(0).parent, window.get());
    QVERIFY(fixture.platform.messages.at(0).isOverShownParent);
}

void TestStartup::endings_data()
{
    QTest::addColumn<QString>("how");
    QTest::addColumn<bool>("ends");
    QTest::addColumn<QString>("typed"); // into the equation field before the ending

    const QString typed = QStringLiteral("x^2=4");
    QTest::newRow("close request") << "close" << true << typed;
    QTest::newRow("Exit from the menu") << "exit menu" << true << typed;
    QTest::newRow("Ctrl+Q in the equation field") << "exit key" << true << typed;
    QTest::newRow("Escape in the equation field") << "escape in field" << true << typed;
    QTest::newRow("Escape on a calculator key") << "escape on key" << true << typed;
    QTest::newRow("Escape in the solution view") << "escape in view" << false << typed;
    QTest::newRow("close request, empty field") << "close" << true << QString();
}

void TestStartup::endings()
{
    QFETCH(QString, how);
    QFETCH(bool, ends);
    QFETCH(QString, typed);

    WindowFixture fixture;
    auto window = fixture.makeWindow();
    window->show();
    QVERIFY(QTest::qWaitForWindowActive(window.get()));
    // A change made while the program runs: it must reach the file however the program ends.
    window->mainMenu().recent().deactivateAction()->trigger();

    const MainWindowWidgets& widgets = window->widgets();
    QTest::keyClicks(widgets.equation, typed);
    if (how == "close") {
        window->close();
    } else if (how == "exit menu") {
        window->mainMenu().actions().exit->trigger();
    } else if (how == "exit key") {
        QTest::keyClick(widgets.equation, Qt::Key_Q, Qt::ControlModifier);
    } else if (how == "escape in field") {
        QTest::keyClick(widgets.equation, Qt::Key_Escape);
    } else if (how == "escape on key") {
        widgets.keys->button("7")->setFocus();
        QTest::keyClick(widgets.keys->button("7"), Qt::Key_Escape);
    } else if (how == "escape in view") {
        widgets.view->setFocus();
        QTest::keyClick(widgets.view, Qt::Key_Escape);
    }

    QCOMPARE(window->isVisible(), !ends);
    QCOMPARE(fixture.exists(fixture.userSettings()), ends);
    if (!ends) {
        window->close();
        QVERIFY(fixture.exists(fixture.userSettings()));
    }
    const QByteArray saved = fixture.read(fixture.userSettings());
    QVERIFY(saved.contains("<Deactivate>1</Deactivate>"));
    // What was typed is back at the next start, the caret at its end; an empty field stores nothing.
    QCOMPARE(saved.contains("<LastEquation>"), !typed.isEmpty());
    if (!typed.isEmpty())
        QVERIFY(saved.contains("<LastEquation>" + typed.toUtf8() + "</LastEquation>"));
    {
        const auto restarted = fixture.makeWindow();
        QCOMPARE(restarted->widgets().equation->text(), typed);
        QCOMPARE(restarted->widgets().equation->cursorPosition(), typed.size());
    }
    // Saved exactly once: neither a second request nor the end of the window writes again.
    QFile::remove(fixture.path(fixture.userSettings()));
    window->close();
    window.reset();
    QVERIFY(!fixture.exists(fixture.userSettings()));
}

} // namespace app::test

QTEST_MAIN(app::test::TestStartup)
#include "test_startup.moc"
