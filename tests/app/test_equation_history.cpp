// SPDX-License-Identifier: MIT
// The equation history: newest first, each once, at most 200; History.txt across restarts (or
// removed when switched off); Up and Down in the equation field; the completer; Clear history.
#include "app/equation_field.h"
#include "app/equation_history.h"
#include "app/main_menu.h"
#include "config/dialogs/options_dialog.h"
#include "window_fixture.h"

#include <QAction>
#include <QCheckBox>
#include <QCompleter>
#include <QPushButton>
#include <QtTest>

namespace app::test {

class TestEquationHistory : public QObject {
    Q_OBJECT
private slots:
    void adding_data();
    void adding();
    void file_data();
    void file();
    void acrossRestarts_data();
    void acrossRestarts();
    void walking_data();
    void walking();
    void completer();
};

namespace {

QStringList numbered(int first, int last)
{
    QStringList equations;
    for (int n = first; n <= last; ++n)
        equations.append("x=" + QString::number(n));
    return equations;
}

QStringList reversed(QStringList list)
{
    std::reverse(list.begin(), list.end());
    return list;
}

QString historyPath(const WindowFixture& fixture)
{
    return fixture.path("user/Kestrune/Tervalon/History.txt");
}

void solve(CTervalonDlg& window, const char* equation)
{
    window.widgets().equation->setText(QString::fromUtf8(equation));
    window.widgets().solve->click();
}

} // namespace

void TestEquationHistory::adding_data()
{
    QTest::addColumn<QStringList>("added");
    QTest::addColumn<QStringList>("entries");

    QTest::newRow("newest first") << QStringList{"x=1", "x=2"} << QStringList{"x=2", "x=1"};
    QTest::newRow("a repeat moves to the top")
        << QStringList{"x=1", "x=2", "x=1"} << QStringList{"x=1", "x=2"};
    QTest::newRow("as typed, blanks included")
        << QStringList{" x = 1", "x=1"} << QStringList{"x=1", " x = 1"};
    QTest::newRow("blanks only are not kept") << QStringList{"", "  ", "x=1"} << QStringList{"x=1"};
    QTest::newRow("line breaks become blanks")
        << QStringList{"x=\r\n1", "x=\n2"} << QStringList{"x= 2", "x=  1"};
    QTest::newRow("at most 200, the oldest dropped") << numbered(1, 205) << reversed(numbered(6, 205));
}

void TestEquationHistory::adding()
{
    QFETCH(QStringList, added);
    QFETCH(QStringList, entries);

    EquationHistory history;
    QSignalSpy changed(&history, &EquationHistory::changed);
    for (const QString& equation : added)
        history.add(equation);
    QCOMPARE(history.entries(), entries);
    QVERIFY(changed.size() >= 1);
    history.clear();
    QCOMPARE(history.entries(), QStringList());
}

void TestEquationHistory::file_data()
{
    QTest::addColumn<QByteArray>("contents"); // "<folder>": a folder stands where the file would be
    QTest::addColumn<QStringList>("entries");
    QTest::addColumn<QByteArray>("saved");

    QTest::newRow("CR LF lines, UTF-8")
        << QByteArray("x=2\r\n\xE2\x88\x9A x=1\r\n") << QStringList{"x=2", u8"\u221A x=1"}
        << QByteArray("x=2\r\n\xE2\x88\x9A x=1\r\n");
    QTest::newRow("LF lines, no last line end, empty lines")
        << QByteArray("x=2\n\n  \nx=1") << QStringList{"x=2", "x=1"} << QByteArray("x=2\r\nx=1\r\n");
    QTest::newRow("repeats kept once")
        << QByteArray("x=2\r\nx=1\r\nx=2\r\n") << QStringList{"x=2", "x=1"} << QByteArray("x=2\r\nx=1\r\n");
    QByteArray many;
    for (const QString& line : numbered(1, 210))
        many += line.toUtf8() + "\r\n";
    QByteArray first200;
    for (const QString& line : numbered(1, 200))
        first200 += line.toUtf8() + "\r\n";
    QTest::newRow("the first 200 lines") << many << numbered(1, 200) << first200;
    QTest::newRow("an empty file") << QByteArray() << QStringList() << QByteArray();
    QTest::newRow("missing") << QByteArray("<missing>") << QStringList() << QByteArray();
    QTest::newRow("unreadable: a folder") << QByteArray("<folder>") << QStringList() << QByteArray();
}

void TestEquationHistory::file()
{
    QFETCH(QByteArray, contents);
    QFETCH(QStringList, entries);
    QFETCH(QByteArray, saved);

    WindowFixture fixture;
    const QString path = fixture.path("History.txt");
    if (contents == "<folder>")
        QDir().mkpath(path);
    else if (contents != "<missing>")
        fixture.write("History.txt", contents);
    EquationHistory history;
    history.add("x=old");
    history.load(path);
    QCOMPARE(history.entries(), entries);
    QVERIFY(history.save(fixture.path("Saved.txt")));
    QCOMPARE(fixture.read("Saved.txt"), saved);
    // A file that cannot be written is reported, and nothing is left behind.
    QVERIFY(!history.save(fixture.path("no folder/History.txt")));
}

void TestEquationHistory::acrossRestarts_data()
{
    QTest::addColumn<QByteArray>("settings");
    QTest::addColumn<QString>("then"); // "", "clear" or "options off"
    QTest::addColumn<QStringList>("atStart");
    QTest::addColumn<QByteArray>("file"); // "<none>": no file after the close

    QTest::newRow("kept") << QByteArray() << "" << QStringList{"x=old"}
                          << QByteArray("x=1\r\nx=2\r\nx=old\r\n");
    QTest::newRow("cleared") << QByteArray() << "clear" << QStringList{"x=old"} << QByteArray();
    QTest::newRow("off: neither read nor written, the file removed")
        << QByteArray("  <KeepHistory>0</KeepHistory>\r\n") << "" << QStringList() << QByteArray("<none>");
    QTest::newRow("switched off in the Options")
        << QByteArray() << "options off" << QStringList{"x=old"} << QByteArray("<none>");
}

void TestEquationHistory::acrossRestarts()
{
    QFETCH(QByteArray, settings);
    QFETCH(QString, then);
    QFETCH(QStringList, atStart);
    QFETCH(QByteArray, file);

    WindowFixture fixture;
    fixture.write(fixture.userSettings(), settingsFile(settings));
    fixture.write("user/Kestrune/Tervalon/History.txt", "x=old\r\n");
    auto window = fixture.makeWindow();
    QCOMPARE(window->history().entries(), atStart);
    for (const char* equation : {"x=2", "x=1", "x=2", "x=1"})
        solve(*window, equation);
    QCOMPARE(window->history().entries().mid(0, 2), (QStringList{"x=1", "x=2"}));
    if (then == "clear")
        window->mainMenu().actions().clearHistory->trigger();
    if (then == "options off") {
        bool wasOn = false;
        fixture.platform.dialogScript = [&wasOn](QDialog& dialog) {
            auto* options = qobject_cast<config::COptionsDlg*>(&dialog);
            if (options == nullptr)
                return int(QDialog::Rejected);
            wasOn = options->widgets().keepHistory->isChecked();
            options->widgets().keepHistory->click();
            options->accept();
            return options->result();
        };
        window->mainMenu().actions().options->trigger();
        QVERIFY(wasOn);
        QVERIFY(!window->settings().keepHistory);
    }
    window->close();
    QCOMPARE(fixture.read(fixture.userSettings()).contains("<KeepHistory>1</KeepHistory>"), file != "<none>");
    QCOMPARE(QFileInfo::exists(historyPath(fixture)), file != "<none>");
    if (file != "<none>")
        QCOMPARE(fixture.read("user/Kestrune/Tervalon/History.txt"), file);

    // The next start reads what was written, and nothing when the history is off.
    window = fixture.makeWindow();
    const QStringList read =
        file == "<none>" ? QStringList() : QString::fromUtf8(file).split("\r\n", Qt::SkipEmptyParts);
    QCOMPARE(window->history().entries(), read);
}

void TestEquationHistory::walking_data()
{
    QTest::addColumn<QString>("typed"); // the field's text before the keys
    QTest::addColumn<int>("caret");
    QTest::addColumn<QString>("keys");      // U Up, D Down, any other character typed
    QTest::addColumn<QStringList>("shown"); // the field's text after each key

    // The history holds x=3, x=2, x=1, newest first.
    QTest::newRow("the edited text comes back")
        << "x+" << 2 << "UUUUDDDD" << QStringList{"x=3", "x=2", "x=1", "x=1", "x=2", "x=3", "x+", "x+"};
    QTest::newRow("from the start of the text") << "x+" << 0 << "UD" << QStringList{"x=3", "x+"};
    QTest::newRow("elsewhere the caret moves as always") << "x+1" << 1 << "UD" << QStringList{"x+1", "x+1"};
    QTest::newRow("the newest entry is not shown twice")
        << "x=3" << 3 << "UDD" << QStringList{"x=2", "x=3", "x=3"};
    QTest::newRow("typing starts a new walk")
        << "" << 0 << "U0UD" << QStringList{"x=3", "x=30", "x=3", "x=30"};
}

void TestEquationHistory::walking()
{
    QFETCH(QString, typed);
    QFETCH(int, caret);
    QFETCH(QString, keys);
    QFETCH(QStringList, shown);

    WindowFixture fixture;
    const auto window = fixture.makeWindow();
    window->show();
    QVERIFY(QTest::qWaitForWindowExposed(window.get()));
    for (const char* equation : {"x=1", "x=2", "x=3"})
        solve(*window, equation);
    EquationField& field = *window->widgets().equation;
    field.setText(typed);
    field.setCursorPosition(caret);
    field.setFocus();
    QStringList after;
    for (const QChar key : keys) {
        if (key == 'U')
            QTest::keyClick(&field, Qt::Key_Up);
        else if (key == 'D')
            QTest::keyClick(&field, Qt::Key_Down);
        else
            QTest::keyClick(&field, key.toLatin1());
        after.append(field.text());
        // A text from the history is shown with the caret at its end.
        if (key == 'U' || key == 'D') {
            if (field.text() != typed)
                QCOMPARE(field.cursorPosition(), field.text().size());
        }
    }
    QCOMPARE(after, shown);
    QVERIFY(field.hasFocus());
}

void TestEquationHistory::completer()
{
    WindowFixture fixture;
    const auto window = fixture.makeWindow();
    for (const char* equation : {"x=12", "y=x", "x=2"})
        solve(*window, equation);
    QCompleter* completer = window->widgets().equation->completer();
    QVERIFY(completer != nullptr);
    // The equations solved that begin with what is typed, newest first.
    completer->setCompletionPrefix("x=");
    QStringList offered;
    for (int row = 0; completer->setCurrentRow(row); ++row)
        offered.append(completer->currentCompletion());
    QCOMPARE(offered, (QStringList{"x=2", "x=12"}));
    completer->setCompletionPrefix("X=");
    QCOMPARE(completer->completionCount(), 0);
}

} // namespace app::test

QTEST_MAIN(app::test::TestEquationHistory)
#include "test_equation_history.moc"
