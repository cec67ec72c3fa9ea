// SPDX-License-Identifier: MIT
// The About box: icon and picture, product name, version, the maker's links and the translation credits.
#include "config/dialogs/about_dialog.h"

#include "config/dialogs/click_edit.h"
#include "config/dialogs/dialog_resources.h"
#include "config/dialogs/font_mapping.h"
#include "config/dialogs/text_conversion.h"
#include "config/documents.h"
#include "config/product.h"

#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QIcon>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace config {

namespace {

constexpr int kIconSize = 48;
constexpr QSize kPictureSize(200, 150);
constexpr int kLinkWidth = 430;
/// The title's size, in percent of the dialog font's.
constexpr int kTitleScale = 150;

// The panel's colours: white paper, blue links, a grey note.
const QColor kPaper(255, 255, 255);
const QColor kInk(0, 0, 0);
const QColor kLinkBlue(0, 0, 255);
const QColor kNoteGrey(155, 155, 155);

constexpr auto kMakerLine = "Made by Kestrune.";
constexpr auto kNote = "Type one equation in x, press Solve and read the whole derivation,\n"
                       "one small step per line, down to the value of x.";
constexpr auto kTranslatorsName = "Tervalon translators";

} // namespace

CAboutDlg::CAboutDlg(const CFontSettings& dialogFont, const QString& okText, QWidget* parent)
    : QDialog(parent)
{
    registerResources();
    createWidgets();
    setTexts(okText);
    setColors();
    // Face name, character set and pitch of the dialog font; the sizes stay the dialog's own.
    applyFont(*this, dialogFont.effectiveFont(), false);
    QFont title = fontFromDescription(dialogFont.effectiveFont(), font());
    title.setWeight(QFont::Bold);
    // The product name stands out from the lines under it.
    if (title.pixelSize() > 0)
        title.setPixelSize(title.pixelSize() * kTitleScale / 100);
    else
        title.setPointSizeF(title.pointSizeF() * kTitleScale / 100);
    m_widgets.title->setFont(title);
}

CClickEdit* CAboutDlg::newLink()
{
    auto* link = new CClickEdit(m_widgets.panel);
    link->setMinimumWidth(kLinkWidth);
    connect(link, &CClickEdit::linkActivated, this, &CAboutDlg::linkActivated);
    return link;
}

void CAboutDlg::createWidgets()
{
    AboutWidgets& w = m_widgets;
    w.panel = new QFrame(this);
    w.panel->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    w.panel->setAutoFillBackground(true);
    w.icon = new QLabel(w.panel);
    w.icon->setPixmap(QIcon(QString::fromLatin1(kIconResource)).pixmap(kIconSize, kIconSize));
    w.picture = new QLabel(w.panel);
    w.picture->setPixmap(QIcon(QString::fromLatin1(kAboutPictureResource)).pixmap(kPictureSize));
    w.picture->setAlignment(Qt::AlignRight | Qt::AlignTop);
    w.title = new QLabel(w.panel);
    w.version = new QLabel(w.panel);
    w.maker = new QLabel(w.panel);
    w.note = new QLabel(w.panel);
    w.web = newLink();
    w.mail = newLink();
    for (std::size_t i = 0; i < kTranslationLabels.size(); ++i) {
        w.translationLabels[i] = new QLabel(w.panel);
        w.translationLinks[i] = newLink();
    }

    auto* heading = new QVBoxLayout;
    heading->setSpacing(2);
    for (QWidget* line :
         {static_cast<QWidget*>(w.title), static_cast<QWidget*>(w.version), static_cast<QWidget*>(w.maker)})
        heading->addWidget(line);
    heading->addSpacing(8);
    heading->addWidget(w.note);
    heading->addSpacing(8);
    heading->addWidget(w.web);
    heading->addWidget(w.mail);
    heading->addStretch(1);

    auto* top = new QHBoxLayout;
    top->setSpacing(14);
    top->addWidget(w.icon, 0, Qt::AlignTop);
    top->addLayout(heading, 1);
    top->addWidget(w.picture, 0, Qt::AlignTop);

    auto* credits = new QGridLayout;
    credits->setVerticalSpacing(1);
    credits->setHorizontalSpacing(10);
    for (std::size_t i = 0; i < kTranslationLabels.size(); ++i) {
        const int row = static_cast<int>(i);
        credits->addWidget(w.translationLabels[i], row, 0);
        credits->addWidget(w.translationLinks[i], row, 1);
    }
    credits->setColumnStretch(1, 1);

    auto* panelLayout = new QVBoxLayout(w.panel);
    panelLayout->setContentsMargins(16, 16, 16, 16);
    panelLayout->addLayout(top);
    panelLayout->addSpacing(10);
    // The credits line up under the texts, right of the icon.
    auto* indented = new QHBoxLayout;
    indented->addSpacing(kIconSize + top->spacing());
    indented->addLayout(credits, 1);
    panelLayout->addLayout(indented);

    w.ok = new QPushButton(this);
    w.ok->setDefault(true);
    connect(w.ok, &QPushButton::clicked, this, &CAboutDlg::accept);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(w.ok);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(w.panel, 1);
    layout->addLayout(buttons);
}

void CAboutDlg::setTexts(const QString& okText)
{
    AboutWidgets& w = m_widgets;
    setWindowTitle(QStringLiteral("Info"));
    w.title->setText(toQString(kApplicationName));
    w.version->setText(toQString(kVersionText));
    w.maker->setText(QString::fromUtf8(kMakerLine));
    w.note->setText(QString::fromUtf8(kNote));
    const QString web = toQString(updateHost());
    w.web->setText(web);
    w.web->SetLink(web);
    const QString mail = toQString(makerMailAddress());
    w.mail->setText(mail);
    w.mail->SetLink(QStringLiteral("mailto:") + mail);
    const QString translations = toQString(translationsPageAddress());
    for (std::size_t i = 0; i < kTranslationLabels.size(); ++i) {
        w.translationLabels[i]->setText(QString::fromLatin1(kTranslationLabels[i]));
        w.translationLinks[i]->setText(QString::fromUtf8(kTranslatorsName) + QStringLiteral(" (") +
                                       translations + QLatin1Char(')'));
        w.translationLinks[i]->SetLink(translations);
    }
    w.ok->setText(okText);
}

void CAboutDlg::setColors()
{
    // Set on the panel, so every label and link in it inherits white paper in any desktop theme.
    AboutWidgets& w = m_widgets;
    QPalette paper = w.panel->palette();
    for (const QPalette::ColorGroup group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled}) {
        paper.setColor(group, QPalette::Window, kPaper);
        paper.setColor(group, QPalette::Base, kPaper);
        paper.setColor(group, QPalette::WindowText, kInk);
        paper.setColor(group, QPalette::Text, kLinkBlue);
    }
    w.panel->setPalette(paper);
    QPalette grey = paper;
    grey.setColor(QPalette::WindowText, kNoteGrey);
    w.note->setPalette(grey);
}

} // namespace config
