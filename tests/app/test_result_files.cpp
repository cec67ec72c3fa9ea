// SPDX-License-Identifier: MIT
// Saved results: text or RTF by the chosen name, the RTF read back by an independent reader (unrtf),
// the clipboard's RTF, and write failures of results and equation files that leave no broken file.
#include "app/equation_field.h"
#include "app/main_menu.h"
#include "app/recent_files_menu.h"
#include "app/solution_clipboard.h"
#include "app/solution_view.h"
#include "window_fixture.h"

#include <QAction>
#include <QMimeData>
#include <QProcess>
#include <QPushButton>
#include <QTextDocumentFragment>
#include <QtTest>

#include <csignal>
#include <optional>
#include <sys/resource.h>

namespace app::test {

class TestResultFiles : public QObject {
    Q_OBJECT
private slots:
    void format_data();
    void format();
    void readBack_data();
    void readBack();
    void writeErrors_data();
    void writeErrors();
};

namespace {

/// Text with one letter per character for its look: '.' plain text, 'F' function name, 'N' number,
/// '?' anything else; line breaks stay "\n".
struct LookedText {
    QString text;
    QString classes;
};

struct Look {
    QString color; ///< "#rrggbb"
    bool isBold = false;
};

QChar classOf(const Look& look, const CScriptEdit& view)
{
    const auto is = [&](const QTextCharFormat& format) {
        return look.color == format.foreground().color().name() &&
               look.isBold == (format.fontWeight() >= QFont::Bold);
    };
    return is(view.textFormat()) ? '.' : is(view.keywordFormat()) ? 'F' : is(view.numberFormat()) ? 'N' : '?';
}

/// What the view shows, read from its document's character formats.
LookedText lookOfView(const CScriptEdit& view, int start, int end)
{
    LookedText result;
    const QString text = view.toPlainText();
    QTextCursor cursor(view.document());
    for (int i = start; i < end; ++i) {
        result.text += text.at(i);
        if (text.at(i) == '\n') {
            result.classes += '\n';
            continue;
        }
        cursor.setPosition(i + 1);
        const QTextCharFormat format = cursor.charFormat();
        result.classes +=
            classOf({format.foreground().color().name(), format.fontWeight() >= QFont::Bold}, view);
    }
    return result;
}

/// Decodes one HTML entity as written by unrtf ("&eacute;", "&#233;"); numeric entities are UTF-16
/// units, so a pair of them is one character beyond U+FFFF.
QString decodeEntity(const QString& entity)
{
    if (entity.startsWith("&#"))
        return QString(QChar(static_cast<char16_t>(entity.mid(2, entity.size() - 3).toUInt())));
    return QTextDocumentFragment::fromHtml(entity).toPlainText();
}

/// The text and look of unrtf's HTML. unrtf writes a tab as no-break spaces up to the next stop of
/// eight followed by a line break of the source, and every paragraph end as "<br>".
LookedText lookOfUnrtfHtml(const QString& html, const CScriptEdit& view)
{
    const qsizetype bodyStart = html.indexOf("<body>") + 6;
    const QString body = html.mid(bodyStart, html.indexOf("</body>") - bodyStart);
    LookedText result;
    QStringList colors{"#000000"};
    int boldDepth = 0;
    qsizetype pendingSpaces = 0; // no-break spaces not yet known as a tab or as spaces
    const auto add = [&](const QString& text) {
        for (const QChar c : text) {
            result.text += c;
            result.classes += c == '\n' ? QChar('\n') : classOf({colors.constLast(), boldDepth > 0}, view);
        }
    };
    const auto flushSpaces = [&](bool isTab) {
        if (pendingSpaces > 0)
            add(isTab ? QStringLiteral("\t") : QString(pendingSpaces, QChar(0xA0)));
        pendingSpaces = 0;
    };
    for (qsizetype i = 0; i < body.size(); ++i) {
        const QChar c = body.at(i);
        if (c == '<') {
            const qsizetype end = body.indexOf('>', i);
            const QString tag = body.mid(i + 1, end - i - 1).toLower();
            i = end;
            flushSpaces(false);
            if (tag == "br") {
                add("\n");
                if (i + 1 < body.size() && body.at(i + 1) == '\n')
                    ++i;
            } else if (tag.startsWith("font")) {
                const qsizetype color = tag.indexOf("color=\"");
                colors.append(color < 0 ? colors.constLast() : tag.mid(color + 7, 7));
            } else if (tag == "/font") {
                colors.removeLast();
            } else if (tag == "b") {
                ++boldDepth;
            } else if (tag == "/b") {
                --boldDepth;
            }
        } else if (c == '&') {
            const qsizetype end = body.indexOf(';', i);
            const QString entity = body.mid(i, end - i + 1);
            i = end;
            if (entity == "&nbsp;") {
                ++pendingSpaces;
                continue;
            }
            flushSpaces(false);
            add(decodeEntity(entity));
        } else if (c == '\n') {
            flushSpaces(true);
        } else {
            flushSpaces(false);
            add(QString(c));
        }
    }
    flushSpaces(false);
    return result;
}

QString unrtfHtml(const QByteArray& rtf)
{
    QTemporaryDir folder;
    QFile file(folder.filePath("read.rtf"));
    if (!file.open(QIODevice::WriteOnly) || file.write(rtf) != rtf.size())
        return {};
    file.close();
    QProcess unrtf;
    unrtf.start(QStringLiteral(UNRTF), {"--html", file.fileName()});
    if (!unrtf.waitForFinished(30000) || unrtf.exitCode() != 0)
        return {};
    return QString::fromUtf8(unrtf.readAllStandardOutput());
}

/// A view with a solution and a line that has everything RTF must escape or encode.
void fillView(CTervalonDlg& window)
{
    window.widgets().equation->setText("x=sqr(2)+1.5");
    window.widgets().solve->click();
    window.widgets().view->appendText("caf\u00e9 {x}\\y\tsin(2)\u20ac \U0001F600 end\r\n");
}

QByteArray viewTextWithCrLf(const CScriptEdit& view)
{
    return view.toPlainText().replace('\n', "\r\n").toUtf8();
}

/// A limit on the size of files this process writes, lifted again at the end of the scope.
class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t bytes)
    {
        // Past the limit a write fails with EFBIG instead of ending the process.
        std::signal(SIGXFSZ, SIG_IGN);
        getrlimit(RLIMIT_FSIZE, &m_old);
        rlimit limit = m_old;
        limit.rlim_cur = bytes;
        m_isSet = setrlimit(RLIMIT_FSIZE, &limit) == 0;
    }
    ~FileSizeLimit() { setrlimit(RLIMIT_FSIZE, &m_old); }
    FileSizeLimit(const FileSizeLimit&) = delete;
    FileSizeLimit& operator=(const FileSizeLimit&) = delete;

    [[nodiscard]] bool isSet() const { return m_isSet; }

private:
    rlimit m_old{};
    bool m_isSet = false;
};

} // namespace

void TestResultFiles::format_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("format");

    QTest::newRow(".rtf") << "result.rtf"
                          << "rtf";
    QTest::newRow(".RTF") << "result.RTF"
                          << "rtf";
    QTest::newRow(".Rtf") << "result.Rtf"
                          << "rtf";
    QTest::newRow(".tex") << "result.tex"
                          << "latex";
    QTest::newRow(".TeX") << "result.TeX"
                          << "latex";
    QTest::newRow(".txt") << "result.txt"
                          << "text";
    QTest::newRow(".rtf.txt") << "result.rtf.txt"
                              << "text";
    QTest::newRow(".tex.txt") << "result.tex.txt"
                              << "text";
    QTest::newRow(".doc") << "result.doc"
                          << "text";
    QTest::newRow("no extension") << "result"
                                  << "text";
    QTest::newRow("full stop in a folder only") << "a.rtf/result"
                                                << "text";
}

void TestResultFiles::format()
{
    QFETCH(QString, name);
    QFETCH(QString, format);

    WindowFixture fixture;
    QDir().mkpath(fixture.path("start/a.rtf"));
    const auto window = fixture.makeWindow();
    fillView(*window);
    const QString path = fixture.path("start/" + name);
    // An existing file is replaced whole and keeps its permissions.
    fixture.write("start/" + name, QByteArray(100000, 'o'));
    QVERIFY(QFile::setPermissions(path, QFileDevice::ReadOwner | QFileDevice::WriteOwner));
    fixture.platform.saveFileAnswers.push_back(path);
    window->mainMenu().actions().saveResult->trigger();

    QCOMPARE(fixture.platform.saveFilters,
             QList<QStringList>{(QStringList{"Textfile (*.txt)", "RTF (*.rtf)", "LaTeX (*.tex)"})});
    QCOMPARE(fixture.platform.saveSuffixes, QList<QStringList>{(QStringList{"txt", "rtf", "tex"})});
    QVERIFY(fixture.platform.messages.isEmpty());
    const QByteArray bytes = fixture.read("start/" + name);
    if (format == "rtf") {
        QVERIFY2(bytes.startsWith("{\\rtf1\\ansi\\ansicpg1252\\deff0"), bytes.left(100).constData());
    } else if (format == "latex") {
        // A document of its own: the derivation as maths, the typed line as escaped text.
        QVERIFY2(bytes.startsWith("\\documentclass{article}\n"), bytes.left(100).constData());
        QVERIFY2(bytes.endsWith("\\end{align*}\n\\end{document}\n"), bytes.right(100).constData());
        QVERIFY2(bytes.contains("\n & x=\\sqrt{2}+1.5 \\\\\n"), bytes.constData());
        QVERIFY2(
            bytes.contains(" & \\text{caf\u00e9 \\{x\\}\\textbackslash{}y sin(2)\u20ac \U0001F600 end}\n"),
            bytes.constData());
    } else {
        QCOMPARE(bytes, viewTextWithCrLf(*window->widgets().view)); // UTF-8, no byte-order mark, tab kept
    }
    QCOMPARE(QFile::permissions(path), QFileDevice::ReadOwner | QFileDevice::WriteOwner |
                                           QFileDevice::ReadUser | QFileDevice::WriteUser);
    // The saved result changes neither the current file nor the title.
    QCOMPARE(window->windowTitle(), QString("Tervalon"));
    QVERIFY(window->mainMenu().recent().paths().isEmpty());
}

void TestResultFiles::readBack_data()
{
    QTest::addColumn<QString>("how");
    QTest::addColumn<QByteArray>("colors"); // settings entries
    QTest::addColumn<QString>("functionColor");

    QTest::newRow("saved result") << "save" << QByteArray() << "#000080";
    QTest::newRow("saved result in stored colours")
        << "save"
        << QByteArray("  <ColorText>5263440</ColorText>\r\n  <ColorFunction>200</ColorFunction>\r\n"
                      "  <ColorNumber>32768</ColorNumber>\r\n")
        << "#c80000";
    QTest::newRow("clipboard, a selection") << "copy" << QByteArray() << "#000080";
}

void TestResultFiles::readBack()
{
    QFETCH(QString, how);
    QFETCH(QByteArray, colors);
    QFETCH(QString, functionColor);

    WindowFixture fixture;
    if (!colors.isEmpty())
        fixture.write(fixture.userSettings(), settingsFile(colors));
    const auto window = fixture.makeWindow();
    fillView(*window);
    CScriptEdit& view = *window->widgets().view;
    QCOMPARE(view.keywordFormat().foreground().color().name(), functionColor);

    QByteArray rtf;
    LookedText expected;
    if (how == "save") {
        fixture.platform.saveFileAnswers.push_back(fixture.path("start/result.rtf"));
        window->mainMenu().actions().saveResult->trigger();
        rtf = fixture.read("start/result.rtf");
        expected = lookOfView(view, 0, view.document()->characterCount() - 1);
    } else {
        // From the middle of the solution's first line into the line of special characters.
        const int start = static_cast<int>(view.toPlainText().indexOf("sqr"));
        const int end = static_cast<int>(view.toPlainText().indexOf(" end"));
        QTextCursor selection(view.document());
        selection.setPosition(start);
        selection.setPosition(end, QTextCursor::KeepAnchor);
        view.setTextCursor(selection);
        window->mainMenu().actions().copy->trigger();
        QVERIFY(fixture.platform.clipboard);
        rtf = fixture.platform.clipboard->data("text/rtf");
        QCOMPARE(fixture.platform.clipboard->data("application/rtf"), rtf);
        expected = lookOfView(view, start, end);
    }
    QVERIFY(expected.classes.contains("FFF"));
    QVERIFY(expected.classes.contains('N'));

    QVERIFY2(QFileInfo(QStringLiteral(UNRTF)).isExecutable(),
             "unrtf is missing: run scripts/install_deps.sh");
    const QString html = unrtfHtml(rtf);
    QVERIFY2(html.contains("<font face=\"Courier New\">"), qPrintable(html));
    const LookedText read = lookOfUnrtfHtml(html, view);
    QCOMPARE(read.text, expected.text);
    QCOMPARE(read.classes, expected.classes);
}

void TestResultFiles::writeErrors_data()
{
    QTest::addColumn<QString>("name"); // an equation file or a result
    QTest::addColumn<QString>("fault");

    // Unwritable also for root: a folder where the file should be, or a folder that is missing; and
    // a write that fails after the file was opened (a full disk, here a limit on the file size).
    const QStringList names{"eq.teq", "result.txt", "result.rtf"};
    for (const QString& name : names) {
        for (const char* fault : {"folder at the target", "missing folder", "full disk"}) {
            QTest::addRow("%s, %s", qPrintable(name), fault) << name << fault;
        }
    }
}

void TestResultFiles::writeErrors()
{
    QFETCH(QString, name);
    QFETCH(QString, fault);

    WindowFixture fixture;
    const auto window = fixture.makeWindow();
    fillView(*window);
    window->widgets().view->appendText(QString(20000, 'y'));
    window->widgets().equation->setText("x=" + QString(20000, '1'));
    const QByteArray old = "x=old";
    QString path = fixture.path("start/" + name);
    if (fault == "folder at the target")
        QDir().mkpath(path);
    else if (fault == "missing folder")
        path = fixture.path("start/missing/" + name);
    else
        fixture.write("start/" + name, old);
    fixture.platform.saveFileAnswers.push_back(path);
    std::optional<FileSizeLimit> limit;
    if (fault == "full disk") {
        limit.emplace(4096);
        QVERIFY(limit->isSet());
    }
    const MenuActions& actions = window->mainMenu().actions();
    (name.endsWith(".teq") ? actions.saveEquationAs : actions.saveResult)->trigger();
    limit.reset();

    QCOMPARE(fixture.platform.messages.size(), 1);
    QCOMPARE(fixture.platform.messages.at(0).caption, QString("FEHLER"));
    QCOMPARE(fixture.platform.messages.at(0).text, QStringLiteral("File '%1' cannot be written.").arg(path));
    // Nothing half written, no temporary file left behind.
    QCOMPARE(QDir(fixture.path("start")).entryList(QDir::NoDotAndDotDot | QDir::AllEntries),
             fault == "missing folder" ? QStringList() : QStringList{name});
    if (fault == "full disk")
        QCOMPARE(fixture.read("start/" + name), old);
    QCOMPARE(window->windowTitle(), QString("Tervalon"));
    QVERIFY(window->mainMenu().recent().paths().isEmpty());
}

} // namespace app::test

QTEST_MAIN(app::test::TestResultFiles)
#include "test_result_files.moc"
