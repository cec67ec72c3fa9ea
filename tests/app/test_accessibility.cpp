// SPDX-License-Identifier: MIT
// Screen readers: every focusable control of the main window and the Options dialog has a name, the
// calculator keys say what they insert, and the result of a Solve is read out and shown under the view.
#include "app/calculator_keys.h"
#include "app/equation_field.h"
#include "app/main_menu.h"
#include "app/solution_view.h"
#include "config/dialogs/options_dialog.h"
#include "config/settings.h"
#include "window_fixture.h"

#include <QAccessible>
#include <QAction>
#include <QLabel>
#include <QPushButton>
#include <QToolButton>
#include <QtTest>

#include <functional>

namespace app::test {

class TestAccessibility : public QObject {
    Q_OBJECT
private slots:
    void everyFocusableControlIsNamed_data();
    void everyFocusableControlIsNamed();
    void namesAndDescriptions_data();
    void namesAndDescriptions();
    void resultIsReadOut_data();
    void resultIsReadOut();
};

namespace {

/// The focusable controls shown under root that a screen reader would announce without a name.
QStringList unnamedControls(QWidget& root)
{
    QStringList unnamed;
    std::function<void(QAccessibleInterface&)> walk = [&](QAccessibleInterface& node) {
        for (int i = 0; i < node.childCount(); ++i) {
            QAccessibleInterface* child = node.child(i);
            if (child == nullptr)
                continue;
            const QAccessible::State state = child->state();
            if (state.focusable && !state.invisible && child->text(QAccessible::Name).trimmed().isEmpty()) {
                const QObject* object = child->object();
                unnamed.append(object != nullptr ? QString::fromLatin1(object->metaObject()->className())
                                                 : QString::number(child->role()));
            }
            walk(*child);
        }
    };
    QAccessibleInterface* top = QAccessible::queryAccessibleInterface(&root);
    if (top == nullptr)
        return {QStringLiteral("no accessible interface")};
    walk(*top);
    return unnamed;
}

/// A German language list and file with the given entries.
void writeGerman(WindowFixture& fixture, const QByteArray& entries)
{
    fixture.write("program/Tervalon_Languages.ini",
                  "LanguageDefault=\"Deutsch\"\r\nLanguageName=\"Deutsch\"\r\n"
                  "LanguageFile=\"Tervalon_German.ini\"\r\n");
    fixture.write("program/Tervalon_German.ini", entries);
}

QWidget* widgetNamed(const CTervalonDlg& window, const QString& which)
{
    const MainWindowWidgets& w = window.widgets();
    if (which == "field")
        return w.equation;
    if (which == "solve")
        return w.solve;
    if (which == "view")
        return w.view;
    return w.keys->button(which);
}

} // namespace

void TestAccessibility::everyFocusableControlIsNamed_data()
{
    QTest::addColumn<QString>("window");
    QTest::addColumn<QByteArray>("german"); // a German language file; empty: the built-in texts

    QTest::newRow("main window") << "main" << QByteArray();
    QTest::newRow("main window, translated") << "main" << QByteArray("FrmMain.m_ACCSin=\"Sinus\"\r\n");
    QTest::newRow("options dialog") << "options" << QByteArray();
}

void TestAccessibility::everyFocusableControlIsNamed()
{
    QFETCH(QString, window);
    QFETCH(QByteArray, german);

    WindowFixture fixture;
    if (!german.isEmpty())
        writeGerman(fixture, german);
    const auto main = fixture.makeWindow();
    std::unique_ptr<QWidget> shown;
    if (window == "options")
        shown = std::make_unique<config::COptionsDlg>(main->settings(), std::filesystem::path(),
                                                      config::OptionsPickers{});
    QWidget& root = shown ? *shown : static_cast<QWidget&>(*main);
    root.show();
    QVERIFY(QTest::qWaitForWindowExposed(&root));
    // The walk reaches the controls at all: the keypad alone has 34.
    int focusable = 0;
    for (const QWidget* child : root.findChildren<QWidget*>())
        focusable += child->isVisible() && child->focusPolicy() != Qt::NoFocus ? 1 : 0;
    QVERIFY(focusable >= (window == "main" ? 36 : 15));
    QCOMPARE(unnamedControls(root), QStringList());
}

void TestAccessibility::namesAndDescriptions_data()
{
    QTest::addColumn<QByteArray>("german");
    QTest::addColumn<QString>("widget"); // a key caption, "field", "solve" or "view"
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("description");

    // clang-format off
    QTest::newRow("sin") << QByteArray() << "sin" << "sine" << "Sinus function";
    QTest::newRow("sqr") << QByteArray() << "sqr" << "square root" << "Squareroot function";
    QTest::newRow("hcs, no tool tip") << QByteArray() << "hcs" << "hyperbolic cosine" << "";
    QTest::newRow("a digit says itself") << QByteArray() << "7" << "7" << "";
    QTest::newRow("power") << QByteArray() << "^" << "to the power of" << "";
    QTest::newRow("C") << QByteArray() << "C" << "clear last character" << "Clear selection";
    QTest::newRow("AC") << QByteArray() << "AC" << "clear all" << "Clear all";
    QTest::newRow("equation field") << QByteArray() << "field" << "Equation" << "Enter equation here (e.g. x=10*sin(x-1))";
    QTest::newRow("Solve") << QByteArray() << "solve" << "Solve" << "Solves the equation and shows every step of the derivation";
    QTest::newRow("view before a Solve") << QByteArray() << "view" << "Solutions" << "";
    QTest::newRow("sin, translated") << QByteArray("FrmMain.m_ACCSin=\"Sinus\"\r\nFrmMain.m_BTNSin=\"Sinusfunktion\"\r\n")
                                     << "sin" << "Sinus" << "Sinusfunktion";
    QTest::newRow("field, translated") << QByteArray("FrmMain.m_LBLEquation=\"&Gleichung\"\r\n")
                                       << "field" << "Gleichung" << "Enter equation here (e.g. x=10*sin(x-1))";
    // clang-format on
}

void TestAccessibility::namesAndDescriptions()
{
    QFETCH(QByteArray, german);
    QFETCH(QString, widget);
    QFETCH(QString, name);
    QFETCH(QString, description);

    WindowFixture fixture;
    if (!german.isEmpty())
        writeGerman(fixture, german);
    const auto window = fixture.makeWindow();
    QWidget* control = widgetNamed(*window, widget);
    QVERIFY(control != nullptr);
    QAccessibleInterface* read = QAccessible::queryAccessibleInterface(control);
    QVERIFY(read != nullptr);
    QCOMPARE(read->text(QAccessible::Name), name);
    QCOMPARE(read->text(QAccessible::Description), description);
}

void TestAccessibility::resultIsReadOut_data()
{
    QTest::addColumn<QString>("equation");
    QTest::addColumn<QByteArray>("settings");
    QTest::addColumn<QString>("result");

    QTest::newRow("final value and verdict")
        << "x-1=2" << QByteArray() << "x = 3  Check: both sides equal 2.";
    QTest::newRow("line numbers, reasons, comma")
        << "2*x=5"
        << QByteArray("  <AddLineNumbers>1</AddLineNumbers>\r\n  <ExplainSteps>1</ExplainSteps>\r\n"
                      "  <DecimalSeparator>,</DecimalSeparator>\r\n")
        << "x = 2,5  Check: both sides equal 5.";
    QTest::newRow("a rejected value")
        << "sqr(x)=-1" << QByteArray()
        << "x = 1  Check: x = 1 does not satisfy the equation (left side 1, right "
           "side  - 1).";
    QTest::newRow("an error message alone")
        << "x+1" << QByteArray() << "ERROR 22: Equation contains no ' = '!";
}

void TestAccessibility::resultIsReadOut()
{
    QFETCH(QString, equation);
    QFETCH(QByteArray, settings);
    QFETCH(QString, result);

    WindowFixture fixture;
    fixture.write(fixture.userSettings(), settingsFile(settings));
    const auto window = fixture.makeWindow();
    window->show();
    QVERIFY(QTest::qWaitForWindowExposed(window.get()));
    const MainWindowWidgets& w = window->widgets();
    QAccessibleInterface* view = QAccessible::queryAccessibleInterface(w.view);
    QVERIFY(view != nullptr);
    QCOMPARE(w.status->text(), QString());

    w.equation->setText(equation);
    w.solve->click();
    QCOMPARE(w.status->text(), result);
    QVERIFY(w.status->isVisible());
    QCOMPARE(view->text(QAccessible::Description), result);
    QCOMPARE(QAccessible::queryAccessibleInterface(w.status)->text(QAccessible::Name), QString("Result"));
    // The view's last lines hold the same result.
    QVERIFY(w.view->toPlainText().contains(result.section("  ", 0, 0)));

    // An emptied view has no result left.
    window->mainMenu().actions().clearResults->trigger();
    QCOMPARE(w.status->text(), QString());
    QCOMPARE(view->text(QAccessible::Description), QString());
}

} // namespace app::test

QTEST_MAIN(app::test::TestAccessibility)
#include "test_accessibility.moc"
