// SPDX-License-Identifier: MIT
// The Options dialog: solution layout switches, equivalence and decimal texts, both fonts, three colours.
#include "config/dialogs/options_dialog.h"

#include "config/dialogs/color_value.h"
#include "config/dialogs/font_mapping.h"
#include "config/dialogs/text_conversion.h"
#include "config/interface_texts.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFontInfo>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPixmap>
#include <QPushButton>
#include <QToolButton>

#include <utility>

namespace config {

namespace {

constexpr QSize kSwatchSize(40, 16);
constexpr int kMinimumWidth = 440;
constexpr int kRowSpacing = 8;

std::size_t indexOf(ViewColor which)
{
    return static_cast<std::size_t>(which);
}

/// A filled frame in the colour; the frame keeps a light colour visible on light and dark desktops.
QIcon swatchIcon(const QColor& color)
{
    QPixmap pixmap(kSwatchSize);
    pixmap.fill(color);
    QPainter painter(&pixmap);
    painter.setPen(QColor(128, 128, 128));
    painter.drawRect(pixmap.rect().adjusted(0, 0, -1, -1));
    return QIcon(pixmap);
}

QToolButton* resetButton(QWidget* parent)
{
    auto* button = new QToolButton(parent);
    button->setText(QStringLiteral("<"));
    return button;
}

} // namespace

COptionsDlg::COptionsDlg(const Settings& settings, const std::filesystem::path& languageFile,
                         OptionsPickers pickers, QWidget* parent)
    : QDialog(parent), m_settings(settings), m_pickers(std::move(pickers))
{
    // The working copies; the dialog shows the font it edits.
    settings.dialogFont.CloneInto(m_dialogFont);
    settings.viewFont.CloneInto(m_viewFont);
    m_colors = {settings.colorText, settings.colorFunction, settings.colorNumber};
    createWidgets();
    applyOwnFont();
    retranslate(languageFile);
    showValues();
    connectControls();
}

void COptionsDlg::createWidgets()
{
    OptionsWidgets& w = m_widgets;
    w.clearResult = new QCheckBox(this);
    w.addLineNumbers = new QCheckBox(this);
    w.addSpaces = new QCheckBox(this);
    w.highlight = new QCheckBox(this);
    w.explainSteps = new QCheckBox(this);
    w.showCheck = new QCheckBox(this);
    w.allSolutions = new QCheckBox(this);
    w.exactValues = new QCheckBox(this);
    w.keepHistory = new QCheckBox(this);
    w.equivalentLabel = new QLabel(this);
    w.equivalent = new QLineEdit(this);
    w.decimalSeparatorLabel = new QLabel(this);
    w.decimalSeparator = new QLineEdit(this);
    w.dialogFontLabel = new QLabel(this);
    w.dialogFont = new QPushButton(this);
    w.viewFontLabel = new QLabel(this);
    w.viewFont = new QPushButton(this);
    w.colorsLabel = new QLabel(this);
    for (QToolButton*& swatch : w.swatches) {
        swatch = new QToolButton(this);
        swatch->setIconSize(kSwatchSize);
    }
    w.paperLabel = new QLabel(this);
    w.paper = new QComboBox(this);
    for (int entry = 0; entry < 3; ++entry)
        w.paper->addItem(QString());
    w.paperLabel->setBuddy(w.paper);
    for (QToolButton*& reset : w.resets)
        reset = resetButton(this);
    w.equivalentLabel->setBuddy(w.equivalent);
    w.decimalSeparatorLabel->setBuddy(w.decimalSeparator);
    w.dialogFontLabel->setBuddy(w.dialogFont);
    w.viewFontLabel->setBuddy(w.viewFont);
    w.colorsLabel->setBuddy(w.swatches[0]);

    auto* grid = new QGridLayout(this);
    grid->setVerticalSpacing(kRowSpacing);
    int row = 0;
    for (QCheckBox* box : {w.clearResult, w.addLineNumbers, w.addSpaces, w.highlight, w.explainSteps,
                           w.showCheck, w.allSolutions, w.exactValues, w.keepHistory})
        grid->addWidget(box, row++, 0, 1, 3);
    grid->setRowMinimumHeight(row++, kRowSpacing);

    auto* swatchRow = new QHBoxLayout;
    for (QToolButton* swatch : w.swatches)
        swatchRow->addWidget(swatch);
    swatchRow->addStretch(1);
    const std::pair<QLabel*, QWidget*> labelled[] = {{w.equivalentLabel, w.equivalent},
                                                     {w.decimalSeparatorLabel, w.decimalSeparator},
                                                     {w.dialogFontLabel, w.dialogFont},
                                                     {w.viewFontLabel, w.viewFont}};
    std::size_t reset = 0;
    for (const auto& [label, field] : labelled) {
        grid->addWidget(label, row, 0);
        grid->addWidget(field, row, 1);
        grid->addWidget(w.resets[reset++], row++, 2);
    }
    grid->addWidget(w.colorsLabel, row, 0);
    grid->addLayout(swatchRow, row, 1);
    grid->addWidget(w.resets[reset], row++, 2);
    grid->addWidget(w.paperLabel, row, 0);
    grid->addWidget(w.paper, row++, 1);
    grid->setColumnStretch(1, 1);
    grid->setRowMinimumHeight(row++, kRowSpacing);

    auto* buttons = new QDialogButtonBox(this);
    w.ok = buttons->addButton(QString(), QDialogButtonBox::AcceptRole);
    w.cancel = buttons->addButton(QString(), QDialogButtonBox::RejectRole);
    w.ok->setDefault(true);
    connect(buttons, &QDialogButtonBox::accepted, this, &COptionsDlg::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &COptionsDlg::reject);
    grid->addWidget(buttons, row, 0, 1, 3);
    setMinimumWidth(kMinimumWidth);
}

void COptionsDlg::retranslate(const std::filesystem::path& languageFile)
{
    // Read each time the dialog opens, from the current language file.
    InterfaceTexts texts;
    texts.loadFromFile(languageFile, Form::Options);
    const auto text = [&texts](std::string_view key) { return toQString(texts.text(key)); };
    OptionsWidgets& w = m_widgets;
    setWindowTitle(text("FrmOpt.Caption"));
    w.clearResult->setText(text("FrmOpt.m_CHKClearResult"));
    w.addLineNumbers->setText(text("FrmOpt.m_CHKAddLineNumbers"));
    w.addSpaces->setText(text("FrmOpt.m_CHKAddSpaces"));
    w.highlight->setText(text("FrmOpt.m_CHKHighlight"));
    w.explainSteps->setText(text("FrmOpt.m_CHKExplainSteps"));
    w.showCheck->setText(text("FrmOpt.m_CHKShowCheck"));
    w.allSolutions->setText(text("FrmOpt.m_CHKAllSolutions"));
    w.exactValues->setText(text("FrmOpt.m_CHKExactValues"));
    w.keepHistory->setText(text("FrmOpt.m_CHKKeepHistory"));
    w.equivalentLabel->setText(text("FrmOpt.m_LBLEquivalent"));
    w.decimalSeparatorLabel->setText(text("FrmOpt.m_LBLDecimalSeparator"));
    w.dialogFontLabel->setText(text("FrmOpt.m_LBLFont"));
    w.viewFontLabel->setText(text("FrmOpt.m_LBLFont2"));
    w.colorsLabel->setText(text("FrmOpt.m_LBLColors"));
    w.paperLabel->setText(text("FrmOpt.m_LBLPaper"));
    w.paper->setItemText(0, text("FrmOpt.m_CBPaperLight"));
    w.paper->setItemText(1, text("FrmOpt.m_CBPaperDark"));
    w.paper->setItemText(2, text("FrmOpt.m_CBPaperDesktop"));
    w.ok->setText(text("FrmOpt.m_BTNOk"));
    w.cancel->setText(text("FrmOpt.m_BTNCancel"));

    // Screen readers: the fields and buttons of a row by the row's label, the colours by what they
    // colour, each reset as "Reset" and the row it resets.
    const auto plain = [](QLabel* label) { return label->text().remove(QLatin1Char('&')); };
    w.equivalent->setAccessibleName(plain(w.equivalentLabel));
    w.decimalSeparator->setAccessibleName(plain(w.decimalSeparatorLabel));
    w.dialogFont->setAccessibleName(plain(w.dialogFontLabel));
    w.viewFont->setAccessibleName(plain(w.viewFontLabel));
    w.paper->setAccessibleName(plain(w.paperLabel));
    const std::array<std::string_view, 3> swatchKeys = {kKeyAccessibleTextColor, kKeyAccessibleFunctionColor,
                                                        kKeyAccessibleNumberColor};
    for (std::size_t i = 0; i < swatchKeys.size(); ++i)
        w.swatches[i]->setAccessibleName(text(swatchKeys[i]));
    const std::array<QLabel*, 5> resetRows = {w.equivalentLabel, w.decimalSeparatorLabel, w.dialogFontLabel,
                                              w.viewFontLabel, w.colorsLabel};
    for (std::size_t i = 0; i < w.resets.size(); ++i) {
        w.resets[i]->setToolTip(text("FrmOpt.m_BTNEquivalentReset"));
        w.resets[i]->setAccessibleName(text("FrmOpt.m_BTNEquivalentReset"));
        w.resets[i]->setAccessibleDescription(plain(resetRows[i]));
    }
}

void COptionsDlg::showValues()
{
    OptionsWidgets& w = m_widgets;
    w.clearResult->setChecked(m_settings.alwaysClearSolution);
    w.addLineNumbers->setChecked(m_settings.addLineNumbers);
    w.addSpaces->setChecked(m_settings.addSpaces);
    w.highlight->setChecked(m_settings.highlightOn);
    w.explainSteps->setChecked(m_settings.explainSteps);
    w.showCheck->setChecked(m_settings.showCheck);
    w.allSolutions->setChecked(m_settings.allSolutions);
    w.exactValues->setChecked(m_settings.exactValues);
    w.keepHistory->setChecked(m_settings.keepHistory);
    w.equivalent->setText(toQString(m_settings.equivalent));
    w.decimalSeparator->setText(toQString(m_settings.decimalSeparator));
    // A stored value out of range follows the desktop, as the view does.
    w.paper->setCurrentIndex(m_settings.paper >= 0 && m_settings.paper < w.paper->count() ? m_settings.paper
                                                                                          : 2);
    showFontNames();
    for (const ViewColor which : {ViewColor::Text, ViewColor::Function, ViewColor::Number})
        showColor(which);
}

void COptionsDlg::connectControls()
{
    OptionsWidgets& w = m_widgets;
    const Settings defaults;
    connect(w.highlight, &QCheckBox::clicked, this, [this] { m_isChanged = true; });
    connect(w.paper, &QComboBox::activated, this, [this] { m_isChanged = true; });
    connect(w.resets[0], &QToolButton::clicked, this,
            [this, text = toQString(defaults.equivalent)] { m_widgets.equivalent->setText(text); });
    connect(w.resets[1], &QToolButton::clicked, this, [this, text = toQString(defaults.decimalSeparator)] {
        m_widgets.decimalSeparator->setText(text);
    });
    connect(w.dialogFont, &QPushButton::clicked, this, &COptionsDlg::handleDialogFont);
    connect(w.resets[2], &QToolButton::clicked, this, &COptionsDlg::handleDialogFontReset);
    connect(w.viewFont, &QPushButton::clicked, this, &COptionsDlg::handleViewFont);
    connect(w.resets[3], &QToolButton::clicked, this, &COptionsDlg::handleViewFontReset);
    for (const ViewColor which : {ViewColor::Text, ViewColor::Function, ViewColor::Number})
        connect(w.swatches[indexOf(which)], &QToolButton::clicked, this,
                [this, which] { handleSwatch(which); });
    connect(w.resets[4], &QToolButton::clicked, this, &COptionsDlg::handleColorsReset);
}

void COptionsDlg::applyOwnFont()
{
    applyFont(*this, m_dialogFont.effectiveFont(), true);
}

std::int32_t COptionsDlg::color(ViewColor which) const
{
    return m_colors[indexOf(which)];
}

void COptionsDlg::showColor(ViewColor which)
{
    QToolButton& swatch = *m_widgets.swatches[indexOf(which)];
    const QColor shown = fromColorValue(color(which));
    swatch.setIcon(swatchIcon(shown));
    swatch.setAccessibleDescription(shown.name());
}

QFont COptionsDlg::drawnFont(const CFontSettings& font) const
{
    // A stored face that is not installed ("Courier New" on Linux) is drawn in what the font system
    // puts in its place; a picker given the stored name would open on some other font instead.
    const QFontInfo drawn(fontFromDescription(font.effectiveFont(), this->font()));
    QFont shown(drawn.family());
    shown.setPointSizeF(drawn.pointSizeF());
    return shown;
}

void COptionsDlg::showFontNames()
{
    m_widgets.dialogFont->setText(drawnFont(m_dialogFont).family());
    m_widgets.viewFont->setText(drawnFont(m_viewFont).family());
    // The row's label names the button; the face it shows describes it.
    m_widgets.dialogFont->setAccessibleDescription(m_widgets.dialogFont->text());
    m_widgets.viewFont->setAccessibleDescription(m_widgets.viewFont->text());
}

std::optional<FontDescription> COptionsDlg::pickFont(const CFontSettings& font)
{
    // The picker starts from the font as it is drawn, sized in points as pickers show sizes.
    const int dpi = logicalDpiY();
    const std::optional<QFont> chosen = m_pickers.font ? m_pickers.font(this, drawnFont(font)) : std::nullopt;
    // Even a cancelled picker counts as a change.
    m_isChanged = true;
    if (!chosen)
        return std::nullopt;
    return describeFont(*chosen, dpi, font.Charset());
}

void COptionsDlg::handleDialogFont()
{
    const std::optional<FontDescription> chosen = pickFont(m_dialogFont);
    if (!chosen)
        return;
    // A height other than the window's own is kept; the window's own height keeps following it.
    m_dialogFont.SetUseFontHeight(chosen->height != m_dialogFont.builtInFont().height);
    m_dialogFont.SetFromFont(*chosen);
    showFontNames();
    applyOwnFont();
}

void COptionsDlg::handleViewFont()
{
    const std::optional<FontDescription> chosen = pickFont(m_viewFont);
    if (!chosen)
        return;
    // The view's font is by default one unit larger than the dialog font: only another height is
    // the user's own. The chosen height is shown either way.
    const bool isOwnHeight = m_dialogFont.builtInFont().height != chosen->height + 1;
    m_viewFont.SetUseFontHeight(true);
    m_viewFont.SetFromFont(*chosen);
    m_viewFont.SetUseFontHeight(isOwnHeight);
    showFontNames();
}

void COptionsDlg::handleDialogFontReset()
{
    m_isChanged = true;
    m_dialogFont.SetUseFontHeight(false);
    m_dialogFont.Rebuild();
    applyOwnFont();
    showFontNames();
}

void COptionsDlg::handleViewFontReset()
{
    m_isChanged = true;
    m_viewFont.Rebuild();
    m_viewFont.SetUseFontHeight(true);
    m_viewFont.SetHeight(m_viewFont.Height() - 1);
    m_viewFont.SetUseFontHeight(false);
    m_viewFont.SetFaceName(kViewFontFace);
    showFontNames();
}

void COptionsDlg::handleSwatch(ViewColor which)
{
    const std::optional<QColor> chosen =
        m_pickers.color ? m_pickers.color(this, fromColorValue(color(which))) : std::nullopt;
    m_isChanged = true;
    if (!chosen || !chosen->isValid())
        return;
    m_colors[indexOf(which)] = toColorValue(*chosen);
    showColor(which);
}

void COptionsDlg::handleColorsReset()
{
    m_isChanged = true;
    const Settings defaults;
    m_colors = {defaults.colorText, defaults.colorFunction, defaults.colorNumber};
    for (const ViewColor which : {ViewColor::Text, ViewColor::Function, ViewColor::Number})
        showColor(which);
}

void COptionsDlg::accept()
{
    const OptionsWidgets& w = m_widgets;
    m_settings.alwaysClearSolution = w.clearResult->isChecked();
    m_settings.addLineNumbers = w.addLineNumbers->isChecked();
    m_settings.addSpaces = w.addSpaces->isChecked();
    m_settings.highlightOn = w.highlight->isChecked();
    m_settings.explainSteps = w.explainSteps->isChecked();
    m_settings.showCheck = w.showCheck->isChecked();
    m_settings.allSolutions = w.allSolutions->isChecked();
    m_settings.exactValues = w.exactValues->isChecked();
    m_settings.keepHistory = w.keepHistory->isChecked();
    m_settings.paper = w.paper->currentIndex();
    // Taken as typed; an empty separator stands for "." where it is used.
    m_settings.equivalent = toUtf8(w.equivalent->text());
    m_settings.decimalSeparator = toUtf8(w.decimalSeparator->text());
    m_settings.colorText = color(ViewColor::Text);
    m_settings.colorFunction = color(ViewColor::Function);
    m_settings.colorNumber = color(ViewColor::Number);
    m_dialogFont.CloneInto(m_settings.dialogFont);
    m_viewFont.CloneInto(m_settings.viewFont);
    QDialog::accept();
}

} // namespace config
