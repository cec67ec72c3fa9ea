// SPDX-License-Identifier: MIT
// The window shows what tervalon-solve prints: every input of the golden files solved in both, with
// the view's line breaks read back as CR LF, so the window's conversions and colouring never change
// the text.
#include "app/equation_field.h"
#include "app/solution_view.h"
#include "support/golden_file.h"
#include "window_fixture.h"

#include <QProcess>
#include <QPushButton>
#include <QtTest>

namespace app::test {

class TestAgreement : public QObject {
    Q_OBJECT
private slots:
    void viewShowsWhatTheCommandLinePrints_data();
    void viewShowsWhatTheCommandLinePrints();
};

namespace {

QByteArray commandLineOutput(const QStringList& options, const QString& equation)
{
    QProcess solver;
    solver.start(QStringLiteral(TERVALON_SOLVE), options + QStringList{"--", equation});
    if (!solver.waitForFinished())
        return "tervalon-solve did not finish";
    return solver.readAllStandardOutput();
}

} // namespace

void TestAgreement::viewShowsWhatTheCommandLinePrints_data()
{
    QTest::addColumn<QByteArray>("settings");
    QTest::addColumn<QStringList>("options");

    QTest::newRow("default settings") << QByteArray() << QStringList();
    QTest::newRow("comma, numbers, no blanks, own marker")
        << QByteArray("  <AddLineNumbers>1</AddLineNumbers>\r\n  <AddSpaces>0</AddSpaces>\r\n"
                      "  <Equivalent>~ </Equivalent>\r\n  <DecimalSeparator>,</DecimalSeparator>\r\n")
        << QStringList{"--line-numbers", "--no-spaces", "--equivalent", "~ ", "--decimal-separator", ","};
}

void TestAgreement::viewShowsWhatTheCommandLinePrints()
{
    QFETCH(QByteArray, settings);
    QFETCH(QStringList, options);

    WindowFixture fixture;
    if (!settings.isEmpty())
        fixture.write(fixture.userSettings(), settingsFile(settings));
    const auto window = fixture.makeWindow();
    const MainWindowWidgets& widgets = window->widgets();
    int compared = 0;
    for (const std::filesystem::path& path : support::goldenFiles(GOLDEN_DIR)) {
        for (const support::GoldenCase& golden : support::readGoldenFile(path).cases) {
            const QString equation = QString::fromStdString(golden.input);
            widgets.equation->setText(equation);
            widgets.solve->click();
            const QByteArray shown = widgets.view->toPlainText().replace('\n', "\r\n").toUtf8();
            const QByteArray printed = commandLineOutput(options, equation);
            if (shown != printed) {
                QFAIL(qPrintable(QString("%1:%2: %3\n--- view:\n%4--- tervalon-solve:\n%5")
                                     .arg(QString::fromStdString(path.filename().string()))
                                     .arg(golden.lineNumber)
                                     .arg(equation, QString::fromUtf8(shown), QString::fromUtf8(printed))));
            }
            ++compared;
        }
    }
    QVERIFY(compared >= 50);
}

} // namespace app::test

QTEST_MAIN(app::test::TestAgreement)
#include "test_agreement.moc"
