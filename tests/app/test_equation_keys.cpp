// SPDX-License-Identifier: MIT
// The calculator keys and the equation field: the key table, the delete keys, the selection and Enter.
#include "app/calculator_keys.h"
#include "app/equation_field.h"
#include "window_fixture.h"

#include <QPushButton>
#include <QtTest>

namespace app::test {

class TestEquationKeys : public QObject {
    Q_OBJECT
private slots:
    void keys_data();
    void keys();
    void selectionKeptWhileAKeyHasTheFocus();
    void enter_data();
    void enter();
};

void TestEquationKeys::keys_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("selectionStart");
    QTest::addColumn<int>("selectionLength"); // 0: the caret stands at selectionStart
    QTest::addColumn<QStringList>("pressed");
    QTest::addColumn<QString>("expected");
    QTest::addColumn<int>("caret");
    QTest::addColumn<QByteArray>("decimalSeparator");

    const QString full = "x=" + QString(252, '1'); // 254 characters
    const QByteArray dot = ".";
    // clang-format off
    QTest::newRow("function before the equals sign") << "3*=x" << 2 << 0 << QStringList{"sin"} << "3*sin()=x" << 6 << dot;
    QTest::newRow("functions nest") << "" << 0 << 0 << QStringList{"sin", "cos", "x"} << "sin(cos(x))" << 9 << dot;
    QTest::newRow("digit and x after it") << "2*" << 2 << 0 << QStringList{"4", "x"} << "2*4x" << 4 << dot;
    QTest::newRow("equals sign inserted") << "x" << 1 << 0 << QStringList{"="} << "x=" << 2 << dot;
    QTest::newRow("second equals sign refused") << "x=1" << 3 << 0 << QStringList{"="} << "x=1" << 3 << dot;
    QTest::newRow("decimal key inserts the separator") << "x=" << 2 << 0 << QStringList{"1", ".", "5"} << "x=1,5" << 5 << QByteArray(",");
    QTest::newRow("digit in front of a selection") << "x=123" << 2 << 3 << QStringList{"7"} << "x=7123" << 3 << dot;
    QTest::newRow("function in front of a selection") << "x=12" << 2 << 2 << QStringList{"sqr"} << "x=sqr()12" << 6 << dot;
    QTest::newRow("255 characters reached") << full << 254 << 0 << QStringList{"9"} << full + "9" << 255 << dot;
    QTest::newRow("beyond 255 characters refused") << full << 254 << 0 << QStringList{"sin"} << full << 254 << dot;
    QTest::newRow("closing parenthesis leaves the caret after it")
        << "" << 0 << 0 << QStringList{"(", "x", "+", "1", ")", "*", "2", "=", "4"} << "(x+1)*2=4" << 9 << dot;
    QTest::newRow("C deletes before the caret") << "x=123" << 3 << 0 << QStringList{"C"} << "x=23" << 2 << dot;
    QTest::newRow("C pressed again deletes backwards") << "x=123" << 4 << 0 << QStringList{"C", "C"} << "x=3" << 2 << dot;
    QTest::newRow("C at the very start deletes the last character") << "x=123" << 0 << 0 << QStringList{"C"} << "x=12" << 0 << dot;
    QTest::newRow("C deletes the selection") << "x=123" << 2 << 2 << QStringList{"C"} << "x=3" << 2 << dot;
    QTest::newRow("C on an empty field") << "" << 0 << 0 << QStringList{"C"} << "" << 0 << dot;
    QTest::newRow("AC clears the field") << "x=1" << 1 << 0 << QStringList{"AC"} << "" << 0 << dot;
    // clang-format on
}

void TestEquationKeys::keys()
{
    QFETCH(QString, text);
    QFETCH(int, selectionStart);
    QFETCH(int, selectionLength);
    QFETCH(QStringList, pressed);
    QFETCH(QString, expected);
    QFETCH(int, caret);
    QFETCH(QByteArray, decimalSeparator);

    WindowFixture fixture;
    fixture.write(fixture.userSettings(),
                  settingsFile("  <DecimalSeparator>" + decimalSeparator + "</DecimalSeparator>\r\n"));
    const auto window = fixture.makeWindow();
    window->show();
    QVERIFY(QTest::qWaitForWindowActive(window.get()));
    window->setWindowTitle("Tervalon - eq.teq");
    EquationField& field = *window->widgets().equation;
    field.setText(text);
    field.setSelection(selectionStart, selectionLength);

    for (const QString& caption : pressed) {
        QPushButton* button = window->widgets().keys->button(caption);
        QVERIFY2(button, qPrintable(caption));
        QTest::mouseClick(button, Qt::LeftButton);
    }

    QCOMPARE(field.text(), expected);
    QCOMPARE(field.cursorPosition(), caret);
    // Every key hands the focus back to the field, also one that changed nothing: typing goes on there.
    QVERIFY(field.hasFocus());
    QTest::keyClicks(QApplication::focusWidget(), "y");
    QCOMPARE(field.text(), QString(expected).insert(caret, 'y'));
    if (pressed == QStringList{"AC"})
        QCOMPARE(window->windowTitle(), QString("Tervalon"));
}

void TestEquationKeys::selectionKeptWhileAKeyHasTheFocus()
{
    WindowFixture fixture;
    const auto window = fixture.makeWindow();
    window->show();
    QVERIFY(QTest::qWaitForWindowActive(window.get()));
    EquationField& field = *window->widgets().equation;
    field.setText("x=123");
    field.setSelection(5, -3); // caret at the start of the selection

    window->widgets().keys->button("5")->setFocus();
    QVERIFY(!field.hasFocus());
    QCOMPARE(field.selectedText(), QString("123"));
    QCOMPARE(field.cursorPosition(), 2);
}

void TestEquationKeys::enter_data()
{
    QTest::addColumn<bool>("onKey");
    QTest::addColumn<int>("solveClicks");
    QTest::addColumn<QString>("expected");

    QTest::newRow("Enter in the field presses Solve") << false << 1 << "x=1";
    QTest::newRow("Enter on a focused key presses it") << true << 0 << "x=17";
}

void TestEquationKeys::enter()
{
    QFETCH(bool, onKey);
    QFETCH(int, solveClicks);
    QFETCH(QString, expected);

    WindowFixture fixture;
    const auto window = fixture.makeWindow();
    window->show();
    QVERIFY(QTest::qWaitForWindowActive(window.get()));
    QSignalSpy solve(window->widgets().solve, &QPushButton::clicked);
    window->widgets().equation->setText("x=1");

    QWidget* focus =
        onKey ? static_cast<QWidget*>(window->widgets().keys->button("7")) : window->widgets().equation;
    focus->setFocus();
    QTest::keyClick(focus, Qt::Key_Return);

    QCOMPARE(solve.count(), solveClicks);
    QCOMPARE(window->widgets().equation->text(), expected);
    QVERIFY(window->isVisible());
}

} // namespace app::test

QTEST_MAIN(app::test::TestEquationKeys)
#include "test_equation_keys.moc"
