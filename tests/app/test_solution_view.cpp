// SPDX-License-Identifier: MIT
// The Solve command and the solution view: colouring read back from the document, the settings that
// dress a block, accumulation, Clear, Copy, Tab, and the paper: light, dark or as the desktop.
#include "app/equation_field.h"
#include "app/main_menu.h"
#include "app/paper.h"
#include "app/solution_view.h"
#include "app/solve_into_view.h"
#include "config/dialogs/options_dialog.h"
#include "config/interface_texts.h"
#include "config/settings.h"
#include "engine/equation_solver.h"
#include "window_fixture.h"

#include <QAction>
#include <QCheckBox>
#include <QMimeData>
#include <QPushButton>
#include <QScrollBar>
#include <QStyle>
#include <QTextBlock>
#include <QtTest>

#include <algorithm>
#include <cmath>

namespace app::test {

class TestSolutionView : public QObject {
    Q_OBJECT
private slots:
    void colouring_data();
    void colouring();
    void dressing_data();
    void dressing();
    void solveFromTheWindow();
    void longBlockNeverCut();
    void clearThenSolve();
    void copy_data();
    void copy();
    void copyAsLatex_data();
    void copyAsLatex();
    void tab();
    void tabKeepsTheSelection_data();
    void tabKeepsTheSelection();
    void recolouringKeepsSelectionAndScroll();
    void paper_data();
    void paper();
    void paperFollowsTheDesktop();
    void copiesFromADarkPaperAreForWhite_data();
    void copiesFromADarkPaperAreForWhite();
    void everyColourReadableOnItsPaper_data();
    void everyColourReadableOnItsPaper();
    void explainStepsThroughOptions();
    void failedCheckInTheWarningColour();
    void allSolutionsAfterTheDerivation();
    void rejectionsInTheWarningColour_data();
    void rejectionsInTheWarningColour();
};

namespace {

const QString kSeparatorLine = QString(56, '-');

/// One letter per character of the view, from its character format: '.' plain text (black,
/// regular), 'F' function name (0,0,128, bold), 'N' number (0,100,100, regular), 'R' reason
/// (110,110,110, regular), 'W' warning (192,0,0, regular), '?' anything else; line breaks stay "\n".
QString classesOf(const CScriptEdit& view)
{
    const QString text = view.toPlainText();
    QString classes;
    QTextCursor cursor(view.document());
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text.at(i) == '\n') {
            classes += '\n';
            continue;
        }
        cursor.setPosition(static_cast<int>(i + 1));
        const QTextCharFormat format = cursor.charFormat();
        const QColor color = format.foreground().color();
        const bool isBold = format.fontWeight() >= QFont::Bold;
        if (color == QColor(0, 0, 0) && !isBold)
            classes += '.';
        else if (color == QColor(0, 0, 128) && isBold)
            classes += 'F';
        else if (color == QColor(0, 100, 100) && !isBold)
            classes += 'N';
        else if (color == QColor(110, 110, 110) && !isBold)
            classes += 'R';
        else if (color == QColor(192, 0, 0) && !isBold)
            classes += 'W';
        else
            classes += '?';
    }
    return classes;
}

/// A shown window whose settings file holds entries.
std::unique_ptr<CTervalonDlg> shownWindow(WindowFixture& fixture, const QByteArray& entries = {})
{
    if (!entries.isEmpty())
        fixture.write(fixture.userSettings(), settingsFile(entries));
    auto window = fixture.makeWindow();
    window->show();
    if (!QTest::qWaitForWindowActive(window.get()))
        return nullptr;
    return window;
}

void solveByEnter(CTervalonDlg& window, const QString& equation)
{
    EquationField& field = *window.widgets().equation;
    field.setText(equation);
    field.setFocus();
    QTest::keyClick(&field, Qt::Key_Return);
}

} // namespace

void TestSolutionView::colouring_data()
{
    QTest::addColumn<bool>("highlightOn");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("shown");
    QTest::addColumn<QString>("classes");

    // clang-format off
    QTest::newRow("function and number") << true << "sqr(2)" << "sqr(2)" << "FFF.N.";
    QTest::newRow("whole words only") << true << "asin, sinx" << "asin, sinx" << "..........";
    QTest::newRow("digit inside a word") << true << "x2" << "x2" << "..";
    QTest::newRow("keyword respelled") << true << "SIN(x)" << "sin(x)" << "FFF...";
    QTest::newRow("exponent in one number") << true << "1.5e3" << "1.5e3" << "NNNNN";
    QTest::newRow("comma between two numbers") << true << "2,5" << "2,5" << "N.N";
    QTest::newRow("line number") << true << "x = 1\r\n1) <=> x = 2" << "x = 1\n1) <=> x = 2" << "....N\nN..........N";
    QTest::newRow("keywords on both sides of a line break") << true << "sin\r\ncos" << "sin\ncos" << "FFF\nFFF";
    QTest::newRow("no number without a digit first") << true << "-.5 3e+ 0x1A 2.e1" << "-.5 3e+ 0x1A 2.e1" << "..N.N...N....NNNN";
    QTest::newRow("letters of other scripts") << true << "sinüs _cos é2" << "sinüs _cos é2" << ".............";
    QTest::newRow("reason: nothing scanned inside") << true << u8"x = 1  \u2190 sin(2) evaluated\r\nx" << u8"x = 1  \u2190 sin(2) evaluated\nx" << "....N.." + QString(18, 'R') + "\n.";
    QTest::newRow("an arrow after one blank is text") << true << u8"1 \u2190 2" << u8"1 \u2190 2" << "N...N";
    QTest::newRow("highlighting off") << false << "SIN sqr(2) 1.5" << "SIN sqr(2) 1.5" << "..............";
    // clang-format on
}

void TestSolutionView::colouring()
{
    QFETCH(bool, highlightOn);
    QFETCH(QString, text);
    QFETCH(QString, shown);
    QFETCH(QString, classes);

    WindowFixture fixture;
    if (!highlightOn)
        fixture.write(fixture.userSettings(), settingsFile("  <HighlightOn>0</HighlightOn>\r\n"));
    const auto window = fixture.makeWindow();
    CScriptEdit& view = *window->widgets().view;
    view.appendText(text);
    QCOMPARE(view.toPlainText(), shown);
    QCOMPARE(classesOf(view), classes);
}

void TestSolutionView::dressing_data()
{
    QTest::addColumn<bool>("alwaysClear");
    QTest::addColumn<bool>("addSpaces");
    QTest::addColumn<bool>("addLineNumbers");
    QTest::addColumn<QString>("equivalent");
    QTest::addColumn<QString>("separator");
    QTest::addColumn<QStringList>("equations");
    QTest::addColumn<QString>("expected");

    const QString twoPlusThree = "Solution of 'x=2+3'\nx = 2 + 3\n<=> x = 5\n";
    // clang-format off
    QTest::newRow("always clear keeps one block") << true << true << false << "<=> " << "." << QStringList{"x=5", "x=2+3"}
        << twoPlusThree;
    QTest::newRow("blocks accumulate behind the separator") << false << true << false << "<=> " << "." << QStringList{"x=5", "x=2+3"}
        << "Solution of 'x=5'\nx = 5\n\n" + kSeparatorLine + "\n" + twoPlusThree;
    QTest::newRow("blanks in the equation") << true << true << false << "<=> " << "." << QStringList{" x = 2\t+ 3 "} << twoPlusThree;
    QTest::newRow("comma as decimal separator") << true << true << false << "<=> " << "," << QStringList{"x=2,5*2"}
        << "Solution of 'x=2,5*2'\nx = 2,5 * 2\n<=> x = 5\n";
    QTest::newRow("comma turns every full stop") << true << true << false << "<=> " << "," << QStringList{"x=sqr(2)"}
        << "Solution of 'x=sqr(2)'\nx = sqr(2)\n<=> x = 1,41421\n";
    QTest::newRow("empty separator is a point") << true << true << false << "<=> " << "" << QStringList{"x=2.5"}
        << "Solution of 'x=2.5'\nx = 2.5\n";
    QTest::newRow("empty equivalent, line numbers") << true << true << true << "" << "." << QStringList{"x=2+3"}
        << "Solution of 'x=2+3'\nx = 2 + 3\n1) x = 5\n";
    QTest::newRow("lines as the engine wrote them") << true << false << false << "" << "." << QStringList{"x=2+3"}
        << "Solution of 'x=2+3'\nx=2+3\nx=5\n";
    QTest::newRow("error message dressed like a line") << true << true << true << "<=> " << "." << QStringList{"x+1"}
        << "Solution of 'x+1'\nERROR 22: Equation contains no ' = '!\n";
    QTest::newRow("empty equation") << true << true << false << "<=> " << "." << QStringList{""}
        << "Solution of ''\nERROR 2: Equation line is empty!\n";
    // clang-format on
}

void TestSolutionView::dressing()
{
    QFETCH(bool, alwaysClear);
    QFETCH(bool, addSpaces);
    QFETCH(bool, addLineNumbers);
    QFETCH(QString, equivalent);
    QFETCH(QString, separator);
    QFETCH(QStringList, equations);
    QFETCH(QString, expected);

    config::Settings settings;
    settings.alwaysClearSolution = alwaysClear;
    settings.addSpaces = addSpaces;
    settings.addLineNumbers = addLineNumbers;
    settings.equivalent = equivalent.toStdString();
    settings.decimalSeparator = separator.toStdString();
    engine::EquationSolver solver;
    CScriptEdit view;
    for (const QString& equation : equations)
        solveIntoView(solver, view, equation, settings, config::InterfaceTexts());
    QCOMPARE(view.toPlainText(), expected);
    QCOMPARE(view.textLength(), expected.size());
}

void TestSolutionView::solveFromTheWindow()
{
    WindowFixture fixture;
    const auto window = shownWindow(fixture, "  <AlwaysClearSolution>0</AlwaysClearSolution>\r\n");
    QVERIFY(window);
    CScriptEdit& view = *window->widgets().view;
    solveByEnter(*window, "x=sqr(2)");
    solveByEnter(*window, "x*x^x=2"); // 254 lines and ERROR 33: the view scrolls to its end

    const QStringList lines = view.toPlainText().split('\n');
    const QStringList classes = classesOf(view).split('\n');
    QCOMPARE(lines.at(0), QString("Solution of 'x=sqr(2)'"));
    QCOMPARE(classes.at(0), QString(15, '.') + "FFF.N..");
    QCOMPARE(lines.at(4), kSeparatorLine);
    QCOMPARE(classes.at(4), QString(56, '.'));
    QCOMPARE(lines.at(5), QString("Solution of 'x*x^x=2'"));
    QCOMPARE(classes.at(5), QString(19, '.') + "N.");
    QCOMPARE(lines.size(), 5 + 1 + 254 + 1 + 1);
    QCOMPARE(window->widgets().equation->text(), QString("x*x^x=2"));
    QCOMPARE(view.textCursor().position(), view.textLength());
    QVERIFY(view.verticalScrollBar()->value() > 0);
    QVERIFY(view.viewport()->rect().contains(view.cursorRect()));
}

void TestSolutionView::longBlockNeverCut()
{
    // 254 lines of about 420 characters with blanks: far more than 79,998 bytes.
    const QString sum = "(a+b+c+d+e+f+g+h+i+j+k+l+m+n+o+p+q+r+s+t+u+v+w+y+z)";
    const QString equation =
        "x*x^x=a+b+c+d+e+f+g+h+i+j+k+l+m+n+o+p+q+r+s+t+u+v+w+y+z*" + sum + "*" + sum + "*" + sum;
    engine::EquationSolver solver;
    CScriptEdit view;
    solveIntoView(solver, view, equation, config::Settings(), config::InterfaceTexts());
    const QStringList lines = view.toPlainText().split('\n');
    QVERIFY(view.textLength() > 79998);
    QCOMPARE(lines.size(), 1 + 254 + 1 + 1);
    QCOMPARE(lines.at(0), "Solution of '" + equation + "'");
    QVERIFY(lines.at(254).endsWith(
        " = a + b + c + d + e + f + g + h + i + j + k + l + m + n + o + p + q + r + s + t + u + "
        "v + w + y + z * (a + b + c + d + e + f + g + h + i + j + k + l + m + n + o + p + q + "
        "r + s + t + u + v + w + y + z) * (a + b + c + d + e + f + g + h + i + j + k + l + m + "
        "n + o + p + q + r + s + t + u + v + w + y + z) * (a + b + c + d + e + f + g + h + i + "
        "j + k + l + m + n + o + p + q + r + s + t + u + v + w + y + z)"));
    QCOMPARE(lines.at(255), QString("<=> ERROR 33: Too much output lines (more than 255)!"));
}

void TestSolutionView::clearThenSolve()
{
    WindowFixture fixture;
    const auto window = shownWindow(fixture, "  <AlwaysClearSolution>0</AlwaysClearSolution>\r\n");
    QVERIFY(window);
    QAction* clear = window->mainMenu().actions().clearResults;
    clear->trigger();
    QVERIFY(window->widgets().view->document()->isEmpty());
    solveByEnter(*window, "x=5");
    clear->trigger();
    solveByEnter(*window, "x=5");
    QCOMPARE(window->widgets().view->toPlainText(), QString("Solution of 'x=5'\nx = 5\n"));
    QCOMPARE(classesOf(*window->widgets().view), QString("...............N.\n....N\n"));
}

namespace {

/// Selects length characters of view from start (none for 0).
void select(CScriptEdit& view, int start, int length)
{
    QTextCursor selection(view.document());
    selection.setPosition(start);
    selection.setPosition(start + length, QTextCursor::KeepAnchor);
    view.setTextCursor(selection);
}

} // namespace

void TestSolutionView::copy_data()
{
    QTest::addColumn<QString>("how");
    QTest::addColumn<int>("start");
    QTest::addColumn<int>("length"); // 0: no selection
    QTest::addColumn<QString>("text");

    const QString block = "Solution of 'x=sqr(2)'\nx = sqr(2)\n<=> x = 1.41421\n";
    QTest::newRow("menu, nothing selected: everything") << "menu" << 0 << 0 << block;
    QTest::newRow("menu, a selection over a line break") << "menu" << 27 << 8 << "sqr(2)\n<";
    QTest::newRow("Ctrl+C, nothing selected: everything") << "key" << 0 << 0 << block;
    QTest::newRow("Ctrl+C, a selection") << "key" << 31 << 1 << "2";
    QTest::newRow("empty view copies nothing") << "menu" << 0 << 0 << QString();
}

void TestSolutionView::copy()
{
    QFETCH(QString, how);
    QFETCH(int, start);
    QFETCH(int, length);
    QFETCH(QString, text);

    WindowFixture fixture;
    const auto window = shownWindow(fixture);
    QVERIFY(window);
    CScriptEdit& view = *window->widgets().view;
    if (!text.isEmpty())
        solveByEnter(*window, "x=sqr(2)");
    select(view, start, length);
    if (how == "menu") {
        window->mainMenu().actions().copy->trigger();
    } else {
        view.setFocus();
        QTest::keyClick(&view, Qt::Key_C, Qt::ControlModifier);
    }

    if (text.isEmpty()) {
        QVERIFY(!fixture.platform.clipboard);
        return;
    }
    QVERIFY(fixture.platform.clipboard);
    const QMimeData& data = *fixture.platform.clipboard;
    QCOMPARE(data.text(), text);
    QCOMPARE(view.textCursor().selectedText().replace(QChar::ParagraphSeparator, '\n'), text);
    const QString html = data.html();
    QVERIFY2(html.contains("font-family:'Courier New'"), qPrintable(html));
    if (text.contains("sqr"))
        QVERIFY2(html.contains("<span style=\"color:#000080;font-weight:bold\">sqr</span>"),
                 qPrintable(html));
    if (text.contains('2'))
        QVERIFY2(html.contains("<span style=\"color:#006464\">2</span>"), qPrintable(html));
    if (text.startsWith("Solution"))
        QVERIFY2(html.contains("Solution of 'x="), qPrintable(html));
}

void TestSolutionView::copyAsLatex_data()
{
    QTest::addColumn<bool>("solved");
    QTest::addColumn<int>("start");
    QTest::addColumn<int>("length"); // 0: no selection
    QTest::addColumn<QString>("latex");

    QTest::newRow("nothing selected: everything")
        << true << 0 << 0
        << "\\begin{align*}\n & \\text{Solution of 'x=sqr(2)'} \\\\\n & x=\\sqrt{2} \\\\\n\\iff & "
           "x=1.41421\n\\end{align*}\n";
    QTest::newRow("one line") << true << 23 << 10 << "\\begin{align*}\n & x=\\sqrt{2}\n\\end{align*}\n";
    QTest::newRow("parts of two lines")
        << true << 27 << 8 << "\\begin{align*}\n & \\sqrt{2} \\\\\n & \\text{\\textless{}}\n\\end{align*}\n";
    QTest::newRow("only a line break copies nothing") << true << 33 << 1 << QString();
    QTest::newRow("empty view copies nothing") << false << 0 << 0 << QString();
}

void TestSolutionView::copyAsLatex()
{
    QFETCH(bool, solved);
    QFETCH(int, start);
    QFETCH(int, length);
    QFETCH(QString, latex);

    WindowFixture fixture;
    const auto window = shownWindow(fixture);
    QVERIFY(window);
    CScriptEdit& view = *window->widgets().view;
    if (solved)
        solveByEnter(*window, "x=sqr(2)");
    select(view, start, length);
    window->mainMenu().actions().copyLatex->trigger();

    if (latex.isEmpty()) {
        QVERIFY(!fixture.platform.clipboard);
        return;
    }
    QVERIFY(fixture.platform.clipboard);
    QCOMPARE(fixture.platform.clipboard->text(), latex);
}

void TestSolutionView::tab()
{
    WindowFixture fixture;
    const auto window = shownWindow(fixture);
    QVERIFY(window);
    CScriptEdit& view = *window->widgets().view;
    QCOMPARE(view.tabStopDistance(), view.logicalDpiX() / 5.0);
    view.appendText("x=1\r\nxsin(2)");
    QCOMPARE(classesOf(view), QString("..N\n.....N."));
    QTextCursor caret(view.document());
    caret.setPosition(5);
    view.setTextCursor(caret);
    view.setFocus();

    QTest::keyClick(&view, Qt::Key_Tab);
    QCOMPARE(view.toPlainText(), QString("x=1\nx\tsin(2)"));
    QCOMPARE(classesOf(view), QString("..N\n..FFF.N."));
    QCOMPARE(view.textCursor().position(), 6);
    QVERIFY(view.hasFocus());
    // Enter in the view is not a Solve: the text stays.
    QTest::keyClick(&view, Qt::Key_Return);
    QCOMPARE(view.toPlainText(), QString("x=1\nx\tsin(2)"));
    QTest::keyClick(&view, Qt::Key_Tab, Qt::ControlModifier);
    QVERIFY(!view.hasFocus());
}

void TestSolutionView::tabKeepsTheSelection_data()
{
    QTest::addColumn<int>("anchor"); // -1: Ctrl+A, the window's Select all
    QTest::addColumn<int>("position");
    QTest::addColumn<QString>("shown");
    QTest::addColumn<int>("caret");
    QTest::addColumn<int>("functionLetters");

    // The view has no undo: a selection is never replaced, the tab goes at its end.
    QTest::newRow("select all") << -1 << -1 << "x=1\nxsin(2)\t" << 12 << 0;
    QTest::newRow("part, selected forwards") << 4 << 5 << "x=1\nx\tsin(2)" << 6 << 3;
    QTest::newRow("part, selected backwards") << 9 << 5 << "x=1\nxsin(\t2)" << 10 << 0;
    QTest::newRow("across a line break") << 2 << 6 << "x=1\nxs\tin(2)" << 7 << 0;
}

void TestSolutionView::tabKeepsTheSelection()
{
    QFETCH(int, anchor);
    QFETCH(int, position);
    QFETCH(QString, shown);
    QFETCH(int, caret);
    QFETCH(int, functionLetters);

    WindowFixture fixture;
    const auto window = shownWindow(fixture);
    QVERIFY(window);
    CScriptEdit& view = *window->widgets().view;
    view.appendText("x=1\r\nxsin(2)");
    view.setFocus();
    if (anchor < 0) {
        QTest::keyClick(&view, Qt::Key_A, Qt::ControlModifier);
        QCOMPARE(view.textCursor().selectedText().size(), view.textLength());
    } else {
        QTextCursor selection(view.document());
        selection.setPosition(anchor);
        selection.setPosition(position, QTextCursor::KeepAnchor);
        view.setTextCursor(selection);
    }

    QTest::keyClick(&view, Qt::Key_Tab);
    QCOMPARE(view.toPlainText(), shown);
    QCOMPARE(view.textCursor().position(), caret);
    QVERIFY(!view.textCursor().hasSelection());
    // The touched line is recoloured: "sin" is a function name once the tab parts it from the "x".
    QCOMPARE(classesOf(view).count('F'), functionLetters);
}

void TestSolutionView::recolouringKeepsSelectionAndScroll()
{
    WindowFixture fixture;
    const auto window = shownWindow(fixture);
    QVERIFY(window);
    CScriptEdit& view = *window->widgets().view;
    view.SetHighlightOn(false);
    QString text;
    for (int line = 0; line < 200; ++line)
        text += "SIN(" + QString::number(line) + ")\r\n";
    view.appendText(text);
    QCOMPARE(classesOf(view).count('F'), 0);
    QTextCursor selection(view.document());
    selection.setPosition(101 * 8 + 1); // inside "SIN(101)"
    selection.setPosition(101 * 8 + 2, QTextCursor::KeepAnchor);
    view.setTextCursor(selection);
    view.verticalScrollBar()->setValue(view.verticalScrollBar()->maximum() / 3);
    const int scroll = view.verticalScrollBar()->value();
    QVERIFY(scroll > 0);

    view.SetHighlightOn(true);
    view.HighlightAll();
    QVERIFY(view.toPlainText().startsWith("sin(0)\nsin(1)\n"));
    QCOMPARE(classesOf(view).count('F'), 600);
    QCOMPARE(view.textCursor().anchor(), 101 * 8 + 1);
    QCOMPARE(view.textCursor().position(), 101 * 8 + 2);
    QCOMPARE(view.verticalScrollBar()->value(), scroll);
}

namespace {

/// A desktop palette whose window colour is dark, or the light one of the offscreen platform.
QPalette desktopPalette(bool isDark)
{
    QPalette palette = QApplication::style()->standardPalette();
    if (isDark) {
        palette.setColor(QPalette::Window, QColor(45, 45, 48));
        palette.setColor(QPalette::Base, QColor(30, 30, 30));
        palette.setColor(QPalette::Text, QColor(230, 230, 230));
    }
    return palette;
}

/// The colour of the character at position.
QColor colourAt(const CScriptEdit& view, int position)
{
    QTextCursor cursor(view.document());
    cursor.setPosition(position + 1);
    return cursor.charFormat().foreground().color();
}

/// The relative luminance of WCAG 2, from the sRGB channels.
double luminance(const QColor& color)
{
    const auto linear = [](double channel) {
        channel /= 255.0;
        return channel <= 0.03928 ? channel / 12.92 : std::pow((channel + 0.055) / 1.055, 2.4);
    };
    return 0.2126 * linear(color.red()) + 0.7152 * linear(color.green()) + 0.0722 * linear(color.blue());
}

double contrast(const QColor& a, const QColor& b)
{
    const double lighter = std::max(luminance(a), luminance(b));
    const double darker = std::min(luminance(a), luminance(b));
    return (lighter + 0.05) / (darker + 0.05);
}

} // namespace

void TestSolutionView::paper_data()
{
    QTest::addColumn<bool>("isDarkDesktop");
    QTest::addColumn<QByteArray>("settings");
    QTest::addColumn<QColor>("paper");
    QTest::addColumn<QColor>("text");
    QTest::addColumn<QColor>("function");
    QTest::addColumn<QColor>("reason");

    const QColor white(Qt::white);
    const QColor dark(30, 30, 30);
    // clang-format off
    QTest::newRow("light desktop") << false << QByteArray() << white << QColor(0, 0, 0) << QColor(0, 0, 128) << QColor(110, 110, 110);
    QTest::newRow("dark desktop: dark paper") << true << QByteArray() << dark << QColor(220, 220, 220) << QColor(130, 170, 255) << QColor(150, 150, 150);
    QTest::newRow("dark desktop, light paper chosen") << true << QByteArray("  <Paper>0</Paper>\r\n") << white << QColor(0, 0, 0) << QColor(0, 0, 128) << QColor(110, 110, 110);
    QTest::newRow("light desktop, dark paper chosen") << false << QByteArray("  <Paper>1</Paper>\r\n") << dark << QColor(220, 220, 220) << QColor(130, 170, 255) << QColor(150, 150, 150);
    QTest::newRow("out of range: as the desktop") << true << QByteArray("  <Paper>7</Paper>\r\n") << dark << QColor(220, 220, 220) << QColor(130, 170, 255) << QColor(150, 150, 150);
    // Colours of the user's own win on either paper; those left at their defaults follow the paper.
    QTest::newRow("own function colour on the dark paper") << true << QByteArray("  <ColorFunction>65535</ColorFunction>\r\n") << dark << QColor(220, 220, 220) << QColor(255, 255, 0) << QColor(150, 150, 150);
    QTest::newRow("own text colour on the light paper") << false << QByteArray("  <ColorText>255</ColorText>\r\n") << white << QColor(255, 0, 0) << QColor(0, 0, 128) << QColor(110, 110, 110);
    // clang-format on
}

void TestSolutionView::paper()
{
    QFETCH(bool, isDarkDesktop);
    QFETCH(QByteArray, settings);
    QFETCH(QColor, paper);
    QFETCH(QColor, text);
    QFETCH(QColor, function);
    QFETCH(QColor, reason);

    const QPalette desktop = QApplication::palette();
    QApplication::setPalette(desktopPalette(isDarkDesktop));
    WindowFixture fixture;
    fixture.write(fixture.userSettings(), settingsFile("  <ExplainSteps>1</ExplainSteps>\r\n" + settings));
    const auto window = fixture.makeWindow();
    CScriptEdit& view = *window->widgets().view;
    window->widgets().equation->setText("sqr(x)=2");
    window->widgets().solve->click();
    const QPalette shown = view.palette();
    QApplication::setPalette(desktop);

    QCOMPARE(shown.color(QPalette::Base), paper);
    QCOMPARE(shown.color(QPalette::Text), text);
    const QString plain = view.toPlainText();
    QCOMPARE(colourAt(view, 0), text); // "Solution of"
    QCOMPARE(colourAt(view, static_cast<int>(plain.indexOf("sqr"))), function);
    QCOMPARE(colourAt(view, static_cast<int>(plain.indexOf(u'\u2190'))), reason);
}

void TestSolutionView::paperFollowsTheDesktop()
{
    const QPalette desktop = QApplication::palette();
    QApplication::setPalette(desktopPalette(false));
    WindowFixture fixture;
    const auto window = shownWindow(fixture);
    QVERIFY(window);
    CScriptEdit& view = *window->widgets().view;
    view.appendText("sqr(2)");
    QCOMPARE(view.palette().color(QPalette::Base), QColor(Qt::white));

    // The desktop turns dark while the program runs: the paper and the text on it follow.
    QApplication::setPalette(desktopPalette(true));
    // The change reaches the widgets as posted events.
    QCoreApplication::processEvents();
    const QColor paper = view.palette().color(QPalette::Base);
    const QColor function = colourAt(view, 0);
    QApplication::setPalette(desktop);
    QCOMPARE(paper, QColor(30, 30, 30));
    QCOMPARE(function, QColor(130, 170, 255));
}

void TestSolutionView::copiesFromADarkPaperAreForWhite_data()
{
    QTest::addColumn<QByteArray>("settings");
    QTest::addColumn<QStringList>("written"); // colours the copy must hold
    QTest::addColumn<QStringList>("absent");  // colours it must not

    QTest::newRow("dark paper: the light paper's colours")
        << QByteArray("  <Paper>1</Paper>\r\n")
        << QStringList{"color:#000000", "color:#000080", "color:#006464"}
        << QStringList{"color:#dcdcdc", "color:#82aaff", "color:#50c8c8"};
    QTest::newRow("dark paper, a function colour of the user's own")
        << QByteArray("  <Paper>1</Paper>\r\n  <ColorFunction>65535</ColorFunction>\r\n")
        << QStringList{"color:#000000", "color:#ffff00"} << QStringList{"color:#dcdcdc", "color:#000080"};
    QTest::newRow("light paper: as drawn") << QByteArray("  <Paper>0</Paper>\r\n")
                                           << QStringList{"color:#000000", "color:#000080"} << QStringList();
}

void TestSolutionView::copiesFromADarkPaperAreForWhite()
{
    QFETCH(QByteArray, settings);
    QFETCH(QStringList, written);
    QFETCH(QStringList, absent);

    WindowFixture fixture;
    fixture.write(fixture.userSettings(), settingsFile(settings));
    const auto window = fixture.makeWindow();
    window->widgets().equation->setText("sqr(x)=2");
    window->widgets().solve->click();
    window->mainMenu().actions().copy->trigger();
    QVERIFY(fixture.platform.clipboard);
    const QString html = fixture.platform.clipboard->html();
    const QByteArray rtf = fixture.platform.clipboard->data("text/rtf");
    for (const QString& colour : written)
        QVERIFY2(html.contains(colour), qPrintable(colour));
    for (const QString& colour : absent)
        QVERIFY2(!html.contains(colour), qPrintable(colour));
    // The RTF colour table holds no colour of the dark paper either.
    if (!absent.isEmpty())
        QVERIFY(!rtf.contains("\\red220\\green220\\blue220") && !rtf.contains("\\red130\\green170"));
}

void TestSolutionView::everyColourReadableOnItsPaper_data()
{
    QTest::addColumn<bool>("isDark");
    QTest::newRow("light paper") << false;
    QTest::newRow("dark paper") << true;
}

void TestSolutionView::everyColourReadableOnItsPaper()
{
    QFETCH(bool, isDark);
    const PaperColors& colors = isDark ? darkPaper() : lightPaper();
    QCOMPARE(isDarkDesktop(desktopPalette(isDark)), isDark);
    QCOMPARE(luminance(colors.paper) < 0.2, isDark);
    const std::pair<const char*, QColor> drawn[] = {{"text", colors.text},
                                                    {"function", colors.function},
                                                    {"number", colors.number},
                                                    {"reason", colors.reason},
                                                    {"warning", colors.warning}};
    for (const auto& [name, color] : drawn)
        QVERIFY2(contrast(color, colors.paper) >= 4.5,
                 qPrintable(QString("%1: %2:1").arg(name).arg(contrast(color, colors.paper))));
}

void TestSolutionView::explainStepsThroughOptions()
{
    WindowFixture fixture;
    const auto window = shownWindow(fixture, "  <AlwaysClearSolution>0</AlwaysClearSolution>\r\n"
                                             "  <HighlightOn>0</HighlightOn>\r\n");
    QVERIFY(window);
    CScriptEdit& view = *window->widgets().view;
    const QString plain = "Solution of '5=x'\n5 = x\n<=> x = 5\n";
    solveByEnter(*window, "5=x");
    QCOMPARE(view.toPlainText(), plain); // off: the view as without reasons

    const auto setExplainSteps = [&](bool isOn) {
        fixture.platform.dialogScript = [isOn](QDialog& dialog) {
            auto* options = qobject_cast<config::COptionsDlg*>(&dialog);
            if (options == nullptr)
                return int(QDialog::Rejected);
            if (options->widgets().explainSteps->isChecked() != isOn)
                options->widgets().explainSteps->click();
            options->accept();
            return options->result();
        };
        window->mainMenu().actions().options->trigger();
        QCOMPARE(window->settings().explainSteps, isOn);
    };
    setExplainSteps(true);
    solveByEnter(*window, "5=x");
    const QString explained = QString::fromUtf8("Solution of '5=x'\n"
                                                "5 = x      \u2190 equation as entered\n"
                                                "<=> x = 5  \u2190 sides swapped\n");
    QCOMPARE(view.toPlainText(), plain + "\n" + kSeparatorLine + "\n" + explained);
    // Each reason in the muted colour from its arrow on, also with highlighting off.
    const QStringList classes = classesOf(view).split('\n');
    QCOMPARE(classes.at(6), QString(11, '.') + QString(21, 'R'));
    QCOMPARE(classes.at(7), QString(11, '.') + QString(15, 'R'));

    // Copy takes the reasons with the lines.
    window->mainMenu().actions().copy->trigger();
    QVERIFY(fixture.platform.clipboard);
    QVERIFY(fixture.platform.clipboard->text().endsWith(explained));

    setExplainSteps(false);
    solveByEnter(*window, "5=x");
    QVERIFY(view.toPlainText().endsWith("\n" + kSeparatorLine + "\n" + plain));
}

void TestSolutionView::failedCheckInTheWarningColour()
{
    WindowFixture fixture;
    const auto window = shownWindow(fixture, "  <AlwaysClearSolution>0</AlwaysClearSolution>\r\n");
    QVERIFY(window);
    CScriptEdit& view = *window->widgets().view;
    solveByEnter(*window, "sqr(x)=-1");
    solveByEnter(*window, "x=5");

    const QString checkLine = "Check: x = 1 does not satisfy the equation (left side 1, right side  - 1).";
    const QStringList lines = view.toPlainText().split('\n');
    QCOMPARE(lines.at(5), checkLine);
    QCOMPARE(lines.at(8), QString("Solution of 'x=5'"));
    // The whole check line and nothing else, through a recolouring of everything too.
    for (int pass = 0; pass < 2; ++pass) {
        const QStringList classes = classesOf(view).split('\n');
        QCOMPARE(classes.at(5), QString(checkLine.size(), 'W'));
        QCOMPARE(classes.join('\n').count('W'), checkLine.size());
        view.HighlightAll();
    }

    // Copying everything keeps the line and its colour.
    view.selectAll();
    window->mainMenu().actions().copy->trigger();
    QVERIFY(fixture.platform.clipboard);
    QVERIFY(fixture.platform.clipboard->text().contains(checkLine));
    const QString html = fixture.platform.clipboard->html();
    QVERIFY2(html.contains("color:#c00000\">" + checkLine), qPrintable(html));

    // A cleared view starts without warning lines.
    window->mainMenu().actions().clearResults->trigger();
    solveByEnter(*window, "x=5");
    QCOMPARE(classesOf(view).count('W'), 0);
}

void TestSolutionView::allSolutionsAfterTheDerivation()
{
    WindowFixture fixture;
    const auto window = shownWindow(fixture, "  <AlwaysClearSolution>0</AlwaysClearSolution>\r\n"
                                             "  <AllSolutions>1</AllSolutions>\r\n");
    QVERIFY(window);
    CScriptEdit& view = *window->widgets().view;
    solveByEnter(*window, "sqr(x)=-1");
    solveByEnter(*window, "x^2=4");

    // After the failed check's line, in the normal colour; numbers coloured as in the derivation.
    const QStringList lines = view.toPlainText().split('\n');
    QVERIFY(lines.at(5).startsWith("Check: x = 1 does not satisfy"));
    QCOMPARE(lines.at(6), QString("No solutions found."));
    QCOMPARE(lines.at(14), QString("Other solutions: x =  - 2"));
    const QStringList classes = classesOf(view).split('\n');
    QCOMPARE(classes.at(5), QString(lines.at(5).size(), 'W'));
    QCOMPARE(classes.at(6), QString(lines.at(6).size(), '.'));
    QVERIFY2(!classes.at(14).contains('W') && !classes.at(14).contains('?'), qPrintable(classes.at(14)));

    // Copies carry the block like the rest of the view.
    view.selectAll();
    window->mainMenu().actions().copy->trigger();
    QVERIFY(fixture.platform.clipboard);
    QVERIFY(fixture.platform.clipboard->text().contains("x = 2\nOther solutions: x =  - 2\n"));
}

void TestSolutionView::rejectionsInTheWarningColour_data()
{
    QTest::addColumn<QString>("equation");
    QTest::addColumn<bool>("isWarning");
    QTest::newRow("another branch") << "x^x=10" << true;
    QTest::newRow("undefined") << "x/(x-2)=2/(x-2)" << true;
    QTest::newRow("verified") << "ahc(x)=2" << false;
}

void TestSolutionView::rejectionsInTheWarningColour()
{
    QFETCH(QString, equation);
    QFETCH(bool, isWarning);
    WindowFixture fixture;
    const auto window = shownWindow(fixture, "  <ShowCheck>1</ShowCheck>\r\n");
    QVERIFY(window);
    CScriptEdit& view = *window->widgets().view;
    solveByEnter(*window, equation);
    const QStringList lines = view.toPlainText().split('\n');
    const QStringList classes = classesOf(view).split('\n');
    const auto check = std::find_if(lines.begin(), lines.end(),
                                    [](const QString& line) { return line.startsWith("Check:"); });
    QVERIFY(check != lines.end());
    const auto row = static_cast<int>(check - lines.begin());
    QCOMPARE(classes.at(row) == QString(lines.at(row).size(), 'W'), isWarning);
    QCOMPARE(classes.join('\n').count('W'), isWarning ? lines.at(row).size() : 0);
}

} // namespace app::test

QTEST_MAIN(app::test::TestSolutionView)
#include "test_solution_view.moc"
