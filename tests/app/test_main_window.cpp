// SPDX-License-Identifier: MIT
// The main window's texts, menus, shortcut keys, stored position, recent entries and fonts.
#include "app/calculator_keys.h"
#include "app/equation_field.h"
#include "app/font_mapping.h"
#include "app/main_menu.h"
#include "app/recent_files_menu.h"
#include "app/solution_view.h"
#include "app/window_placement.h"
#include "window_fixture.h"

#include <QAction>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QWindow>
#include <QtTest>

namespace app::test {

class TestMainWindow : public QObject {
    Q_OBJECT
private slots:
    void texts_data();
    void texts();
    void removedItemsStayRemoved_data();
    void removedItemsStayRemoved();
    void shortcuts_data();
    void shortcuts();
    void winPosSaved_data();
    void winPosSaved();
    void winPosRestored_data();
    void winPosRestored();
    void fittedIntoArea_data();
    void fittedIntoArea();
    void minimumSize();
    void recentEntriesRestoredAndSaved();
    void fontMapping_data();
    void fontMapping();
    void storedFontsApplied();
};

namespace {

QStringList actionTexts(const QMenu& menu)
{
    QStringList texts;
    for (const QAction* action : menu.actions())
        texts.append(action->isSeparator() ? QStringLiteral("-") : action->text());
    return texts;
}

QByteArray winPosOf(const QByteArray& settings)
{
    const qsizetype start = settings.indexOf("<WinPos>") + 8;
    return settings.mid(start, settings.indexOf("</WinPos>") - start);
}

} // namespace

void TestMainWindow::texts_data()
{
    QTest::addColumn<QByteArray>("languageList"); // empty: no Tervalon_Languages.ini
    QTest::addColumn<QByteArray>("storedLanguage");
    QTest::addColumn<QString>("fileMenu");
    QTest::addColumn<QString>("exitItem");
    QTest::addColumn<QString>("keyXTip");
    QTest::addColumn<QString>("languageName");

    const QByteArray list = "LanguageDefault=\"Deutsch\"\r\n"
                            "LanguageName=\"Deutsch\"\r\nLanguageFile=\"Tervalon_German.ini\"\r\n"
                            "LanguageName=\"Italiano\"\r\nLanguageFile=\"lang/Tervalon_Italian.ini\"\r\n";
    QTest::newRow("built-in texts") << QByteArray() << QByteArray() << "File"
                                    << "Exit\tCtrl+Q"
                                    << "Variable X" << QString();
    QTest::newRow("default language translating one key") << list << QByteArray() << "Datei"
                                                          << "Exit\tCtrl+Q"
                                                          << "Variable X"
                                                          << "Deutsch";
    QTest::newRow("stored language restored") << list << QByteArray("Italiano") << "Archivio"
                                              << "Esci\tCtrl+Q"
                                              << "Variabile X"
                                              << "Italiano";
    QTest::newRow("stored language no longer listed") << list << QByteArray("Klingon") << "File"
                                                      << "Exit\tCtrl+Q"
                                                      << "Variable X"
                                                      << "Klingon";
}

void TestMainWindow::texts()
{
    QFETCH(QByteArray, languageList);
    QFETCH(QByteArray, storedLanguage);
    QFETCH(QString, fileMenu);
    QFETCH(QString, exitItem);
    QFETCH(QString, keyXTip);
    QFETCH(QString, languageName);

    WindowFixture fixture;
    if (!languageList.isEmpty()) {
        fixture.write("program/Tervalon_Languages.ini", languageList);
        fixture.write("program/Tervalon_German.ini", "FrmMain.ID_MEN_FILE=\"Datei\"\r\n");
        fixture.write("program/lang/Tervalon_Italian.ini", "FrmMain.ID_MEN_FILE=\"Archivio\"\r\n"
                                                           "FrmMain.ID_MEN_EXIT=\"Esci\tCtrl+Q\"\r\n"
                                                           "FrmMain.m_BTNX=\"Variabile X\"\r\n");
    }
    if (!storedLanguage.isEmpty())
        fixture.write(fixture.userSettings(),
                      settingsFile("  <LanguageName>" + storedLanguage + "</LanguageName>\r\n"));

    const auto window = fixture.makeWindow();

    QCOMPARE(window->mainMenu().menus().file->title(), fileMenu);
    QCOMPARE(window->mainMenu().actions().exit->text(), exitItem);
    QCOMPARE(window->widgets().keys->button("x")->toolTip(), keyXTip);
    QCOMPARE(window->mainMenu().recent().clearAction()->text(), QString("Clear"));
    QCOMPARE(window->mainMenu().menus().help->title(), QString("?"));
    QCOMPARE(window->widgets().solve->text(), QString("Solve"));
    QCOMPARE(window->widgets().equation->toolTip(), QString("Enter equation here (e.g. x=10*sin(x-1))"));
    QCOMPARE(QString::fromStdString(window->languages().currentLanguageName()), languageName);
}

void TestMainWindow::removedItemsStayRemoved_data()
{
    QTest::addColumn<bool>("hasLicense");
    QTest::addColumn<bool>("hasReadMe");
    QTest::addColumn<QStringList>("helpMenu");

    QTest::newRow("both documents") << true << true << QStringList{"Help\tF1",         "License", "Changes",
                                                                   "Check for update", "-",       "Info"};
    QTest::newRow("no licence") << false << true
                                << QStringList{"Help\tF1", "Changes", "Check for update", "-", "Info"};
    QTest::newRow("no change notes") << true << false << QStringList{"Help\tF1", "License", "-", "Info"};
    QTest::newRow("neither") << false << false << QStringList{"Help\tF1", "-", "Info"};
}

void TestMainWindow::removedItemsStayRemoved()
{
    QFETCH(bool, hasLicense);
    QFETCH(bool, hasReadMe);
    QFETCH(QStringList, helpMenu);

    WindowFixture fixture;
    if (hasLicense)
        fixture.write("program/Tervalon_License.txt", "licence");
    if (hasReadMe)
        fixture.write("program/Tervalon_ReadMe.txt", "changes");
    const auto window = fixture.makeWindow();
    QCOMPARE(actionTexts(*window->mainMenu().menus().help), helpMenu);
    window->retranslate();
    QCOMPARE(actionTexts(*window->mainMenu().menus().help), helpMenu);
}

void TestMainWindow::shortcuts_data()
{
    QTest::addColumn<int>("key");
    QTest::addColumn<QString>("command");

    const struct {
        QKeyCombination key;
        const char* command;
    } table[] = {
        {Qt::CTRL | Qt::Key_O, "Open equation"},
        {Qt::CTRL | Qt::Key_S, "Save equation"},
        {Qt::CTRL | Qt::Key_D, "Clear result(s)"},
        {Qt::CTRL | Qt::Key_N, "Clear equation"},
        {Qt::CTRL | Qt::Key_Q, "Exit"},
        {QKeyCombination(Qt::Key_F1), "Help"},
        {Qt::CTRL | Qt::Key_R, "Save result"},
        {Qt::CTRL | Qt::Key_A, "Select all"},
        {QKeyCombination(Qt::Key_F4), "Graph"},
    };
    for (const auto& row : table) {
        for (const char* focus : {"field", "view"}) {
            QTest::addRow("%s from the %s", qPrintable(QKeySequence(row.key).toString()), focus)
                << row.key.toCombined() << QString::fromLatin1(row.command);
        }
    }
}

void TestMainWindow::shortcuts()
{
    QFETCH(int, key);
    QFETCH(QString, command);
    const bool fromField = QString::fromLatin1(QTest::currentDataTag()).endsWith("field");

    WindowFixture fixture;
    const auto window = fixture.makeWindow();
    const MainWindowWidgets& widgets = window->widgets();
    // Some commands come with later parts of the program; here only their keys are checked.
    QAction* target = nullptr;
    for (QAction* action : window->findChildren<QAction*>()) {
        action->setEnabled(true);
        if (action->text().section('\t', 0, 0) == command)
            target = action;
    }
    QVERIFY(target);
    QSignalSpy triggered(target, &QAction::triggered);
    window->show();
    QVERIFY(QTest::qWaitForWindowActive(window.get()));
    widgets.equation->setText("x=1");
    widgets.view->setPlainText("x = 1");

    QWidget* focus = fromField ? static_cast<QWidget*>(widgets.equation) : widgets.view;
    focus->setFocus();
    const QKeyCombination combination = QKeyCombination::fromCombined(key);
    QTest::keyClick(focus, combination.key(), combination.keyboardModifiers());

    QCOMPARE(triggered.count(), 1);
    if (command == "Select all") {
        QCOMPARE(widgets.view->textCursor().selectedText(), QString("x = 1"));
        QVERIFY(!widgets.equation->hasSelectedText());
    }
    if (command == "Clear equation")
        QCOMPARE(widgets.equation->text(), QString());
    if (command == "Clear result(s)")
        QVERIFY(widgets.view->document()->isEmpty());
    // Exactly the nine commands own a key; "New equation" only shows Ctrl+N in its caption.
    qsizetype owners = 0;
    for (const QAction* action : window->findChildren<QAction*>())
        owners += action->shortcut().isEmpty() ? 0 : 1;
    QCOMPARE(owners, 9);
    QVERIFY(window->mainMenu().actions().newEquation->shortcut().isEmpty());
}

void TestMainWindow::winPosSaved_data()
{
    QTest::addColumn<QString>("state");
    QTest::addColumn<QRect>("geometry");
    QTest::addColumn<QByteArray>("winPos");

    QTest::newRow("normal") << "normal" << QRect(30, 40, 700, 500) << QByteArray("30;40;730;540");
    QTest::newRow("maximised") << "maximised" << QRect(30, 40, 700, 500) << QByteArray("MAX");
    QTest::newRow("minimised keeps its restored rectangle")
        << "minimised" << QRect(30, 40, 700, 500) << QByteArray("30;40;730;540");
    // Placed on a screen left of the primary one; the value is whatever the window reports.
    QTest::newRow("negative left") << "normal" << QRect(-100, 40, 700, 500) << QByteArray();
}

void TestMainWindow::winPosSaved()
{
    QFETCH(QString, state);
    QFETCH(QRect, geometry);
    QFETCH(QByteArray, winPos);

    WindowFixture fixture;
    const auto window = fixture.makeWindow();
    window->setGeometry(geometry);
    window->show();
    QVERIFY(QTest::qWaitForWindowExposed(window.get()));
    if (state == "maximised")
        window->showMaximized();
    if (state == "minimised")
        window->showMinimized();
    QTRY_COMPARE(window->isMaximized(), state == "maximised");
    QTRY_COMPARE(window->isMinimized(), state == "minimised");
    const QRect shown = window->isMinimized() ? window->normalGeometry() : window->geometry();
    window->close();
    if (winPos.isEmpty()) {
        QVERIFY(shown.left() < 0);
        winPos = QByteArray::number(shown.left()) + ';' + QByteArray::number(shown.top()) + ';' +
                 QByteArray::number(shown.left() + shown.width()) + ';' +
                 QByteArray::number(shown.top() + shown.height());
    }
    QCOMPARE(winPosOf(fixture.read(fixture.userSettings())), winPos);
}

void TestMainWindow::winPosRestored_data()
{
    QTest::addColumn<QByteArray>("winPos");
    QTest::addColumn<QRect>("geometry"); // empty: where a window without WinPos is created

    // Restored windows lie on the screen whole, with the frame the offscreen platform draws.
    const QRect area = QGuiApplication::primaryScreen()->availableGeometry();
    QWidget probe;
    static_cast<void>(probe.winId());
    const QMargins frame = probe.windowHandle()->frameMargins();
    QTest::newRow("rectangle") << QByteArray("30;40;730;540") << QRect(30, 40, 700, 500);
    QTest::newRow("negative left stays put") << QByteArray("-100;40;600;540") << QRect();
    QTest::newRow("off every screen") << QByteArray("5000;5000;5700;5500") << QRect();
    QTest::newRow("partly on a screen: moved onto it")
        << QByteArray("700;700;1400;1200")
        << QRect(area.right() + 1 - frame.right() - 700, area.bottom() + 1 - frame.bottom() - 500, 700, 500);
    QTest::newRow("absurd size is cut to the screen")
        << QByteArray("0;0;2000000000;2000000000") << area.marginsRemoved(frame);
    QTest::newRow("smaller than the minimum: grown, then moved onto the screen")
        << QByteArray("700;700;800;750")
        << QRect(area.right() + 1 - frame.right() - 640, area.bottom() + 1 - frame.bottom() - 450, 640, 450);
    QTest::newRow("unreadable") << QByteArray("left;top") << QRect();
}

void TestMainWindow::fittedIntoArea_data()
{
    QTest::addColumn<QRect>("rect");
    QTest::addColumn<QRect>("fitted");

    // On a 1280x900 area at (100, 50), with a title bar of 30 and borders of 4.
    QTest::newRow("inside stays") << QRect(200, 200, 700, 500) << QRect(200, 200, 700, 500);
    QTest::newRow("title bar above the top") << QRect(200, 60, 700, 500) << QRect(200, 80, 700, 500);
    QTest::newRow("beyond the right edge") << QRect(1000, 200, 700, 500) << QRect(676, 200, 700, 500);
    QTest::newRow("left of the left edge") << QRect(0, 200, 700, 500) << QRect(104, 200, 700, 500);
    QTest::newRow("too large: the frame fills the area")
        << QRect(0, 0, 1600, 1200) << QRect(104, 80, 1272, 866);
    QTest::newRow("too wide only") << QRect(300, 300, 2000, 400) << QRect(104, 300, 1272, 400);
}

void TestMainWindow::fittedIntoArea()
{
    QFETCH(QRect, rect);
    QFETCH(QRect, fitted);
    const QMargins frame(4, 30, 4, 4);
    const QRect area(100, 50, 1280, 900);
    QCOMPARE(fittedInto(rect, frame, area), fitted);
    QVERIFY(area.contains(fitted.marginsAdded(frame)));
}

void TestMainWindow::winPosRestored()
{
    QFETCH(QByteArray, winPos);
    QFETCH(QRect, geometry);

    WindowFixture fixture;
    const QRect created = fixture.makeWindow()->geometry();
    fixture.write(fixture.userSettings(), settingsFile("  <WinPos>" + winPos + "</WinPos>\r\n"));
    const auto window = fixture.makeWindow();
    QCOMPARE(window->geometry(), geometry.isNull() ? created : geometry);
    QVERIFY(!window->isMaximized());
}

void TestMainWindow::minimumSize()
{
    WindowFixture fixture;
    fixture.write(fixture.userSettings(), settingsFile("  <WinPos>MAX</WinPos>\r\n"));
    const auto window = fixture.makeWindow();
    window->show();
    QTRY_VERIFY(window->isMaximized());
    window->showNormal();
    window->resize(300, 200);
    QCOMPARE(window->size(), QSize(640, 450));
    QCOMPARE(window->minimumSize(), QSize(640, 450));
}

void TestMainWindow::recentEntriesRestoredAndSaved()
{
    WindowFixture fixture;
    const QString first = fixture.write("a.teq", "x=1");
    const QString second = fixture.write("c&d.teq", "x=2");
    fixture.write(fixture.userSettings(),
                  settingsFile("  <Deactivate>1</Deactivate>\r\n"
                               "  <Recent>" +
                               first.toUtf8() + "</Recent>\r\n  <Recent>" +
                               fixture.path("missing.teq").toUtf8() + "</Recent>\r\n  <Recent>" +
                               second.toUtf8() + "</Recent>\r\n"));
    const auto window = fixture.makeWindow();
    const RecentFilesMenu& recent = window->mainMenu().recent();
    // Restored in stored order although recording is off; a vanished file is dropped.
    QCOMPARE(recent.paths(), (QStringList{first, second}));
    QVERIFY(recent.isDeactivated());
    QCOMPARE(actionTexts(recent.menu()).at(1), QString(second).replace("&", "&&"));

    window->close();
    const QByteArray saved = fixture.read(fixture.userSettings());
    QVERIFY(saved.contains("<Deactivate>1</Deactivate>"));
    QVERIFY(saved.endsWith("<Recent>" + first.toUtf8() + "</Recent>\r\n  <Recent>" + second.toUtf8() +
                           "</Recent>\r\n</InitFile>\r\n"));
}

void TestMainWindow::fontMapping_data()
{
    QTest::addColumn<QString>("face");
    QTest::addColumn<int>("height");
    QTest::addColumn<int>("pitchAndFamily");
    QTest::addColumn<int>("pixelSize");
    QTest::addColumn<int>("styleHint");
    QTest::addColumn<bool>("isFixed");

    // Courier New resolves to another face through the font system; the stored name must stay.
    QTest::newRow("fixed, modern") << "Courier New" << -13 << 0x31 << 13 << int(QFont::TypeWriter) << true;
    QTest::newRow("variable, roman") << "Liberation Serif" << -16 << 0x12 << 16 << int(QFont::Serif) << false;
    QTest::newRow("variable, swiss") << "Liberation Sans" << -11 << 0x22 << 11 << int(QFont::SansSerif)
                                     << false;
    QTest::newRow("cell height") << "Liberation Sans" << 15 << 0x22 << 15 << int(QFont::SansSerif) << false;
}

void TestMainWindow::fontMapping()
{
    QFETCH(QString, face);
    QFETCH(int, height);
    QFETCH(int, pitchAndFamily);
    QFETCH(int, pixelSize);
    QFETCH(int, styleHint);
    QFETCH(bool, isFixed);

    const config::FontDescription stored{face.toStdString(), 0, height,
                                         static_cast<std::uint8_t>(pitchAndFamily)};
    const QFont font = fontFromDescription(stored, QFont("DejaVu Sans", 9));
    QCOMPARE(font.family(), face);
    QCOMPARE(font.pixelSize(), pixelSize);
    QCOMPARE(int(font.styleHint()), styleHint);
    QCOMPARE(font.fixedPitch(), isFixed);

    // Back again: the requested face, the character set handed in, the height as -pixels.
    const config::FontDescription described = describeFont(font, 96, 238);
    QCOMPARE(QString::fromStdString(described.faceName), face);
    QCOMPARE(described.charset, std::uint8_t{238});
    QCOMPARE(described.height, -pixelSize);
    QCOMPARE(int(described.pitchAndFamily), pitchAndFamily);

    // A point-sized font: height = -round(points * dpi / 72).
    QCOMPARE(describeFont(QFont(face, 9), 96).height, -12);
    QCOMPARE(describeFont(QFont(face, 9), 120).height, -15);
}

void TestMainWindow::storedFontsApplied()
{
    WindowFixture fixture;
    fixture.write(fixture.userSettings(), settingsFile("  <UseFontHeight>1</UseFontHeight>\r\n"
                                                       "  <FontDefName>Liberation Serif</FontDefName>\r\n"
                                                       "  <FontDefHeight>-20</FontDefHeight>\r\n"
                                                       "  <FontDefPitch>18</FontDefPitch>\r\n"));
    const auto window = fixture.makeWindow();
    QCOMPARE(window->font().family(), QString("Liberation Serif"));
    QCOMPARE(window->font().pixelSize(), 20);
    QCOMPARE(window->widgets().equationLabel->font().family(), QString("Liberation Serif"));
    // The solution view: Courier New, one pixel larger than the dialog font.
    QCOMPARE(window->widgets().view->font().family(), QString("Courier New"));
    QCOMPARE(window->widgets().view->font().pixelSize(), 21);

    window->close();
    const QByteArray saved = fixture.read(fixture.userSettings());
    QVERIFY(saved.contains("<FontDefName>Liberation Serif</FontDefName>"));
    QVERIFY(saved.contains("<FontDefHeight>-20</FontDefHeight>"));
    QVERIFY(saved.contains("<FontRichEditDefName>Courier New</FontRichEditDefName>"));
}

} // namespace app::test

QTEST_MAIN(app::test::TestMainWindow)
#include "test_main_window.moc"
