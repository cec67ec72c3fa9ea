// SPDX-License-Identifier: MIT
// The Options, language and About dialogs on their own: built with inputs, driven, values read back.
#include "config/dialogs/about_dialog.h"
#include "config/dialogs/click_edit.h"
#include "config/dialogs/language_dialog.h"
#include "config/dialogs/options_dialog.h"
#include "config/language_files.h"
#include "config/settings.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QToolButton>
#include <QtTest>

#include <deque>
#include <memory>

namespace app::test {

class TestDialogs : public QObject {
    Q_OBJECT
private slots:
    void optionsTexts_data();
    void optionsTexts();
    void fontHeightRules_data();
    void fontHeightRules();
    void changedFlag_data();
    void changedFlag();
    void optionsOkTakesEveryValue();
    void paperAndHistory_data();
    void paperAndHistory();
    void languageList_data();
    void languageList();
    void languagePreview();
    void aboutBox();
    void clickEdit();
};

namespace {

using config::CFontSettings;
using config::COptionsDlg;
using config::FontDescription;
using config::Settings;

// The window's own font: the built-in font of both font settings.
const FontDescription kWindowFont{"DejaVu Sans", 1, -12, 0x22};

Settings startSettings()
{
    return Settings(kWindowFont, kWindowFont);
}

QString text(std::string_view utf8)
{
    return QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
}

/// Pickers answering from scripts (cancelled when a script is empty).
struct ScriptedPickers {
    std::deque<std::optional<QFont>> fonts;
    std::deque<std::optional<QColor>> colors;
    int calls = 0;

    config::OptionsPickers pickers()
    {
        return {[this](QWidget*, const QFont&) {
                    ++calls;
                    std::optional<QFont> answer;
                    if (!fonts.empty()) {
                        answer = fonts.front();
                        fonts.pop_front();
                    }
                    return answer;
                },
                [this](QWidget*, const QColor&) {
                    ++calls;
                    std::optional<QColor> answer;
                    if (!colors.empty()) {
                        answer = colors.front();
                        colors.pop_front();
                    }
                    return answer;
                }};
    }
};

QFont pixelFont(const QString& family, int pixels)
{
    QFont font(family);
    font.setPixelSize(pixels);
    return font;
}

/// Writes bytes to name inside folder and returns its path.
std::filesystem::path writeFile(const QTemporaryDir& folder, const QString& name, const QByteArray& bytes)
{
    QFile file(folder.filePath(name));
    if (file.open(QIODevice::WriteOnly))
        file.write(bytes);
    return std::filesystem::path(folder.filePath(name).toStdString());
}

QStringList entriesOf(const QComboBox& list)
{
    QStringList entries;
    for (int i = 0; i < list.count(); ++i)
        entries.append(list.itemText(i));
    return entries;
}

} // namespace

void TestDialogs::optionsTexts_data()
{
    QTest::addColumn<QByteArray>("languageFile"); // empty: no file at the path
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QString>("resetTip");
    QTest::addColumn<QString>("viewFontLabel");

    QTest::newRow("built-in texts") << QByteArray() << "Options"
                                    << "Reset"
                                    << "Font 2";
    QTest::newRow("translated") << QByteArray("FrmOpt.Caption=\"Optionen\"\r\n"
                                              "FrmOpt.m_BTNEquivalentReset=\"Zur\xC3\xBC"
                                              "cksetzen\"\r\nFrmOpt.m_LBLFont2=\"L\xC3\xB6sungsschrift\"\r\n")
                                << "Optionen" << QString::fromUtf8("Zurücksetzen")
                                << QString::fromUtf8("Lösungsschrift");
    // Texts of the main window are not the dialog's.
    QTest::newRow("only other forms") << QByteArray("FrmMain.ID_MEN_OPTIONS=\"Optionen\"\r\n") << "Options"
                                      << "Reset"
                                      << "Font 2";
}

void TestDialogs::optionsTexts()
{
    QFETCH(QByteArray, languageFile);
    QFETCH(QString, caption);
    QFETCH(QString, resetTip);
    QFETCH(QString, viewFontLabel);

    QTemporaryDir folder;
    const std::filesystem::path file = languageFile.isEmpty()
                                           ? std::filesystem::path(folder.filePath("none.ini").toStdString())
                                           : writeFile(folder, "lang.ini", languageFile);
    const COptionsDlg dialog(startSettings(), file, {});
    QCOMPARE(dialog.windowTitle(), caption);
    // One tool tip, that of the first reset button, on all five.
    for (const QToolButton* reset : dialog.widgets().resets) {
        QCOMPARE(reset->toolTip(), resetTip);
        QCOMPARE(reset->text(), QString("<"));
    }
    QCOMPARE(dialog.widgets().viewFontLabel->text(), viewFontLabel);
    QCOMPARE(dialog.widgets().dialogFont->text(), QString("DejaVu Sans"));
}

void TestDialogs::fontHeightRules_data()
{
    QTest::addColumn<bool>("isViewFont");
    QTest::addColumn<int>("chosenPixels");
    QTest::addColumn<bool>("usesFontHeight");
    QTest::addColumn<int>("height");

    // The window's own height is 12 pixels; the view's default is one more.
    QTest::newRow("dialog font, the window's height") << false << 12 << false << -12;
    QTest::newRow("dialog font, another height") << false << 16 << true << -16;
    QTest::newRow("view font, one more than the window's") << true << 13 << false << -13;
    QTest::newRow("view font, the window's height") << true << 12 << true << -12;
    QTest::newRow("view font, another height") << true << 20 << true << -20;
}

void TestDialogs::fontHeightRules()
{
    QFETCH(bool, isViewFont);
    QFETCH(int, chosenPixels);
    QFETCH(bool, usesFontHeight);
    QFETCH(int, height);

    ScriptedPickers scripts;
    scripts.fonts.push_back(pixelFont("Liberation Serif", chosenPixels));
    COptionsDlg dialog(startSettings(), {}, scripts.pickers());
    (isViewFont ? dialog.widgets().viewFont : dialog.widgets().dialogFont)->click();

    const CFontSettings& edited = isViewFont ? dialog.viewFont() : dialog.dialogFont();
    const CFontSettings& other = isViewFont ? dialog.dialogFont() : dialog.viewFont();
    QCOMPARE(edited.UseFontHeight(), usesFontHeight);
    QCOMPARE(edited.Height(), height);
    QCOMPARE(text(edited.FaceName()), QString("Liberation Serif"));
    QCOMPARE((isViewFont ? dialog.widgets().viewFont : dialog.widgets().dialogFont)->text(),
             QString("Liberation Serif"));
    QVERIFY(other == (isViewFont ? startSettings().dialogFont : startSettings().viewFont));
    // The dialog shows the dialog font it edits, at once.
    QCOMPARE(dialog.font().family(), isViewFont ? QString("DejaVu Sans") : QString("Liberation Serif"));
    QVERIFY(dialog.isChanged());
}

void TestDialogs::changedFlag_data()
{
    QTest::addColumn<QString>("control");
    QTest::addColumn<bool>("isChanged");

    QTest::newRow("enable highlighting") << "highlight" << true;
    QTest::newRow("clear result") << "clearResult" << false;
    QTest::newRow("add line numbers") << "addLineNumbers" << false;
    QTest::newRow("add spaces") << "addSpaces" << false;
    QTest::newRow("reset of the equivalent text") << "reset0" << false;
    QTest::newRow("reset of the decimal separator") << "reset1" << false;
    QTest::newRow("dialog font picker cancelled") << "dialogFont" << true;
    QTest::newRow("reset of the dialog font") << "reset2" << true;
    QTest::newRow("view font picker cancelled") << "viewFont" << true;
    QTest::newRow("reset of the view font") << "reset3" << true;
    QTest::newRow("colour picker cancelled") << "swatch1" << true;
    QTest::newRow("reset of the colours") << "reset4" << true;
}

void TestDialogs::changedFlag()
{
    QFETCH(QString, control);
    QFETCH(bool, isChanged);

    // Every value away from its default, so a reset shows; every picker is cancelled.
    Settings settings = startSettings();
    settings.equivalent = "=> ";
    settings.decimalSeparator = ",";
    settings.colorText = 255;
    settings.colorFunction = 65280;
    settings.colorNumber = 16711680;
    for (CFontSettings* font : {&settings.dialogFont, &settings.viewFont}) {
        font->SetUseFontHeight(true);
        font->SetFaceName("Liberation Mono");
        font->SetHeight(-30);
    }
    ScriptedPickers scripts;
    COptionsDlg dialog(settings, {}, scripts.pickers());
    const config::OptionsWidgets& w = dialog.widgets();
    QAbstractButton* button = nullptr;
    if (control.startsWith("reset"))
        button = w.resets.at(control.back().digitValue());
    else if (control.startsWith("swatch"))
        button = w.swatches.at(control.back().digitValue());
    else if (control == "highlight")
        button = w.highlight;
    else if (control == "clearResult")
        button = w.clearResult;
    else if (control == "addLineNumbers")
        button = w.addLineNumbers;
    else if (control == "addSpaces")
        button = w.addSpaces;
    else if (control == "dialogFont")
        button = w.dialogFont;
    else if (control == "viewFont")
        button = w.viewFont;
    QVERIFY(button);
    button->click();
    QCOMPARE(dialog.isChanged(), isChanged);

    // A cancelled picker changes nothing; the resets restore the defaults.
    const Settings defaults = startSettings();
    QCOMPARE(w.equivalent->text(), control == "reset0" ? QString("<=> ") : QString("=> "));
    QCOMPARE(w.decimalSeparator->text(), control == "reset1" ? QString(".") : QString(","));
    QVERIFY((dialog.dialogFont() == (control == "reset2" ? defaults.dialogFont : settings.dialogFont)));
    if (control == "reset3") {
        // Courier New, one unit larger than the window's font, following it.
        QCOMPARE(dialog.viewFont().effectiveFont(), (FontDescription{"Courier New", 1, -13, 0x22}));
        QVERIFY(!dialog.viewFont().UseFontHeight());
    } else {
        QVERIFY(dialog.viewFont() == settings.viewFont);
    }
    const bool isColourReset = control == "reset4";
    QCOMPARE(dialog.color(config::ViewColor::Text), isColourReset ? 0 : 255);
    QCOMPARE(dialog.color(config::ViewColor::Function), isColourReset ? 8388608 : 65280);
    QCOMPARE(dialog.color(config::ViewColor::Number), isColourReset ? 6579200 : 16711680);
    QCOMPARE(w.swatches[1]->accessibleDescription(), isColourReset ? QString("#000080") : QString("#00ff00"));
    QCOMPARE(w.swatches[1]->accessibleName(), QString("Function color"));
}

void TestDialogs::paperAndHistory_data()
{
    QTest::addColumn<int>("stored");
    QTest::addColumn<int>("shown"); // the entry the dialog opens on
    QTest::addColumn<int>("chosen");

    QTest::newRow("as the desktop, then dark") << 2 << 2 << 1;
    QTest::newRow("light, then as the desktop") << 0 << 0 << 2;
    QTest::newRow("out of range opens as the desktop") << 9 << 2 << 0;
}

void TestDialogs::paperAndHistory()
{
    QFETCH(int, stored);
    QFETCH(int, shown);
    QFETCH(int, chosen);

    Settings settings = startSettings();
    settings.paper = stored;
    COptionsDlg dialog(settings, {}, {});
    const config::OptionsWidgets& w = dialog.widgets();
    QCOMPARE(w.paper->count(), 3);
    QCOMPARE(w.paper->itemText(2), QString("As the desktop"));
    QCOMPARE(w.paper->currentIndex(), shown);
    QVERIFY(w.keepHistory->isChecked());
    w.keepHistory->click();
    QVERIFY(!dialog.isChanged()); // the history switch takes effect at the end
    w.paper->setCurrentIndex(chosen);
    emit w.paper->activated(chosen);
    QVERIFY(dialog.isChanged()); // a paper is re-applied at once
    dialog.accept();
    QCOMPARE(dialog.settings().paper, chosen);
    QVERIFY(!dialog.settings().keepHistory);
}

void TestDialogs::optionsOkTakesEveryValue()
{
    ScriptedPickers scripts;
    scripts.colors = {QColor(10, 20, 30), QColor(200, 100, 0)};
    COptionsDlg dialog(startSettings(), {}, scripts.pickers());
    const config::OptionsWidgets& w = dialog.widgets();
    w.clearResult->click();
    w.addLineNumbers->click();
    w.addSpaces->click();
    w.highlight->click();
    QCOMPARE(w.explainSteps->text(), QString("Explain steps"));
    w.explainSteps->click();
    w.equivalent->setText(QString());
    w.decimalSeparator->setText(QString::fromUtf8("·"));
    w.swatches[0]->click();
    w.swatches[2]->click();
    w.viewFont->click(); // cancelled
    QCOMPARE(scripts.calls, 3);
    QCOMPARE(dialog.settings(), startSettings()); // nothing before OK

    dialog.accept();
    QCOMPARE(dialog.result(), int(QDialog::Accepted));
    const Settings& edited = dialog.settings();
    QVERIFY(!edited.alwaysClearSolution);
    QVERIFY(edited.addLineNumbers);
    QVERIFY(!edited.addSpaces);
    QVERIFY(!edited.highlightOn);
    QVERIFY(edited.explainSteps);
    QCOMPARE(edited.equivalent, std::string()); // taken as typed, also empty
    QCOMPARE(edited.decimalSeparator, std::string("\xC2\xB7"));
    QCOMPARE(edited.colorText, (30 << 16) | (20 << 8) | 10);
    QCOMPARE(edited.colorFunction, 8388608);
    QCOMPARE(edited.colorNumber, 200 | (100 << 8));
    QVERIFY(edited.viewFont == startSettings().viewFont);
}

void TestDialogs::languageList_data()
{
    QTest::addColumn<QByteArray>("list"); // empty: no list file
    QTest::addColumn<QString>("currentFile");
    QTest::addColumn<QStringList>("entries");
    QTest::addColumn<int>("preselected");

    const QByteArray twoPairs = "LanguageDefault=\"Deutsch\"\r\n"
                                "LanguageName=\"Deutsch\"\r\nLanguageFile=\"Tervalon_German.ini\"\r\n"
                                "LanguageName=\"Italiano\"\r\nLanguageFile=\"Tervalon_Italian.ini\"\r\n";
    const QByteArray ownEnglish = "LanguageName=\"Deutsch\"\r\nLanguageFile=\"Tervalon_German.ini\"\r\n"
                                  "LanguageName=\"English\"\r\nLanguageFile=\"Tervalon_English.ini\"\r\n"
                                  "LanguageName=\"Italiano\"\r\nLanguageFile=\"Tervalon_Italian.ini\"\r\n";
    const QStringList withBuiltIn{"English", "Deutsch", "Italiano"};
    const QStringList listed{"Deutsch", "English", "Italiano"};
    QTest::newRow("built-in English first") << twoPairs << "Tervalon_Italian.ini" << withBuiltIn << 2;
    QTest::newRow("built-in English current") << twoPairs << QString() << withBuiltIn << 0;
    QTest::newRow("own English entry, Italiano current")
        << ownEnglish << "Tervalon_Italian.ini" << listed << 2;
    QTest::newRow("own English entry current") << ownEnglish << "Tervalon_English.ini" << listed << 1;
    QTest::newRow("file names compared with case") << twoPairs << "tervalon_italian.ini" << withBuiltIn << 0;
    QTest::newRow("no list") << QByteArray() << "Tervalon_Italian.ini" << QStringList{"English"} << 0;
}

void TestDialogs::languageList()
{
    QFETCH(QByteArray, list);
    QFETCH(QString, currentFile);
    QFETCH(QStringList, entries);
    QFETCH(int, preselected);

    QTemporaryDir folder;
    const std::filesystem::path program(folder.path().toStdString());
    if (!list.isEmpty())
        writeFile(folder, "Tervalon_Languages.ini", list);
    config::LanguageFiles languages(program);
    if (!currentFile.isEmpty())
        languages.setCurrentLanguageFile(languages.languageFilePath(currentFile.toStdString()));
    languages.setCurrentLanguageName("Current");

    config::CLanguageDlg dialog(languages, startSettings().dialogFont);
    QCOMPARE(entriesOf(*dialog.widgets().languages), entries);
    QCOMPARE(dialog.widgets().languages->currentIndex(), preselected);
    QCOMPARE(dialog.entryFiles().size(), std::size_t(entries.size()));
    // Preselecting is not choosing: OK at once keeps the current language.
    QCOMPARE(dialog.selectedFile(), languages.currentLanguageFile());
    QCOMPARE(dialog.selectedName(), std::string("Current"));
}

void TestDialogs::languagePreview()
{
    QTemporaryDir folder;
    writeFile(folder, "Tervalon_Languages.ini",
              "LanguageName=\"Deutsch\"\r\nLanguageFile=\"Tervalon_German.ini\"\r\n"
              "LanguageName=\"Missing\"\r\nLanguageFile=\"missing.ini\"\r\n");
    writeFile(folder, "Tervalon_German.ini",
              "FrmLanguage.Caption=\"Sprache w\xC3\xA4hlen\"\r\nFrmLanguage.m_LBLCurrentLanguage=\"Aktuelle "
              "Sprache:\"\r\nFrmLanguage.m_BTNOk=\"OK\"\r\nFrmLanguage.m_BTNCancel=\"Abbrechen\"\r\n");
    config::LanguageFiles languages(std::filesystem::path(folder.path().toStdString()));

    config::CLanguageDlg dialog(languages, startSettings().dialogFont);
    const config::LanguageWidgets& w = dialog.widgets();
    const auto texts = [&] {
        return QStringList{dialog.windowTitle(), w.label->text(), w.ok->text(), w.cancel->text()};
    };
    const QStringList english{"Select language", "Current language:", "OK", "Cancel"};
    QCOMPARE(texts(), english);

    w.languages->setCurrentIndex(1);
    QCOMPARE(texts(),
             (QStringList{QString::fromUtf8("Sprache wählen"), "Aktuelle Sprache:", "OK", "Abbrechen"}));
    QCOMPARE(dialog.selectedName(), std::string("Deutsch"));
    QCOMPARE(dialog.selectedFile(), languages.languageFilePath("Tervalon_German.ini"));

    // A listed language without its file previews the built-in texts; its name is still chosen.
    w.languages->setCurrentIndex(2);
    QCOMPARE(texts(), english);
    QCOMPARE(dialog.selectedName(), std::string("Missing"));
    QCOMPARE(dialog.selectedFile(), languages.languageFilePath("missing.ini"));

    w.languages->setCurrentIndex(0);
    QCOMPARE(dialog.selectedName(), std::string("English"));
    QVERIFY(dialog.selectedFile().empty());
}

void TestDialogs::aboutBox()
{
    // A dark desktop: the panel keeps its own paper and ink.
    QPalette dark;
    dark.setColor(QPalette::Window, QColor(45, 45, 48));
    dark.setColor(QPalette::WindowText, QColor(220, 220, 220));
    dark.setColor(QPalette::Base, QColor(30, 30, 30));
    dark.setColor(QPalette::Text, QColor(220, 220, 220));
    const QPalette desktop = QApplication::palette();
    QApplication::setPalette(dark);
    auto restore = qScopeGuard([&] { QApplication::setPalette(desktop); });

    const config::CAboutDlg dialog(startSettings().dialogFont, QString("Aceptar"));
    const config::AboutWidgets& w = dialog.widgets();
    QCOMPARE(w.ok->text(), QString("Aceptar"));
    QStringList labels;
    for (const QLabel* label : w.translationLabels)
        labels.append(label->text());
    QCOMPARE(labels, (QStringList{"Italian by:", "Greek by:", "French by:", "Arabic by:", "Spanish by:",
                                  "Hungrian by:", "Turkish by:"}));
    for (const config::CClickEdit* link : w.translationLinks) {
        QCOMPARE(link->link(), QString("https://kestrune.example/pages/translations"));
        QVERIFY(link->text().contains(link->link()));
    }
    QCOMPARE(w.title->text(), QString("Tervalon"));
    QVERIFY(w.title->font().bold());
    QCOMPARE(w.version->text(), QString("Version 1.510 (15.09.2018)"));
    QCOMPARE(w.web->link(), QString("https://kestrune.example"));
    QCOMPARE(w.mail->link(), QString("mailto:tervalon@kestrune.example"));
    QCOMPARE(w.mail->text(), QString("tervalon@kestrune.example"));
    QVERIFY(!w.icon->pixmap().isNull());
    QVERIFY(!w.picture->pixmap().isNull());

    QCOMPARE(w.panel->palette().color(QPalette::Window), QColor(Qt::white));
    QCOMPARE(w.version->palette().color(QPalette::WindowText), QColor(Qt::black));
    QCOMPARE(w.note->palette().color(QPalette::WindowText), QColor(155, 155, 155));
    QCOMPARE(w.web->palette().color(QPalette::Text), QColor(0, 0, 255));
    QCOMPARE(w.web->palette().color(QPalette::Base), QColor(Qt::white));
}

void TestDialogs::clickEdit()
{
    config::CClickEdit link;
    link.setText("kestrune.example");
    QSignalSpy activated(&link, &config::CClickEdit::linkActivated);
    link.show();
    QVERIFY(QTest::qWaitForWindowExposed(&link));
    QTest::mouseDClick(&link, Qt::LeftButton);
    QCOMPARE(activated.count(), 0); // no target: plain text
    QCOMPARE(link.cursor().shape(), Qt::ArrowCursor);

    link.SetLink("mailto:tervalon@kestrune.example");
    QCOMPARE(link.cursor().shape(), Qt::PointingHandCursor);
    QTest::mouseClick(&link, Qt::LeftButton);
    QCOMPARE(activated.count(), 0); // a single click only places the caret
    QTest::mouseDClick(&link, Qt::LeftButton);
    QCOMPARE(activated.count(), 1);
    QCOMPARE(activated.at(0).at(0).toUrl(), QUrl("mailto:tervalon@kestrune.example"));
    QVERIFY(link.isReadOnly());
}

} // namespace app::test

QTEST_MAIN(app::test::TestDialogs)
#include "test_dialogs.moc"
