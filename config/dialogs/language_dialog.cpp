// SPDX-License-Identifier: MIT
// The language dialog: the languages of the language list plus the built-in English, previewed live.
#include "config/dialogs/language_dialog.h"

#include "config/dialogs/font_mapping.h"
#include "config/dialogs/text_conversion.h"
#include "config/init_file.h"
#include "config/interface_texts.h"
#include "config/language_files.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QLabel>
#include <QPushButton>

#include <string_view>

namespace config {

namespace {

/// The name of the built-in entry, and the name that replaces it when the list has it.
constexpr std::string_view kBuiltInEnglish = "English";
constexpr int kMinimumListWidth = 180;

} // namespace

CLanguageDlg::CLanguageDlg(const LanguageFiles& languages, const CFontSettings& dialogFont, QWidget* parent)
    : QDialog(parent), m_selectedFile(languages.currentLanguageFile()),
      m_selectedName(languages.currentLanguageName())
{
    createWidgets();
    const int preselected = fillList(languages);
    applyTexts();
    applyFont(*this, dialogFont.effectiveFont(), true);
    // Preselecting is not a choice: the selection signal is connected afterwards.
    m_widgets.languages->setCurrentIndex(preselected);
    connect(m_widgets.languages, &QComboBox::currentIndexChanged, this, &CLanguageDlg::handleSelection);
}

void CLanguageDlg::createWidgets()
{
    m_widgets.label = new QLabel(this);
    m_widgets.languages = new QComboBox(this);
    m_widgets.languages->setMinimumWidth(kMinimumListWidth);
    m_widgets.label->setBuddy(m_widgets.languages);
    auto* buttons = new QDialogButtonBox(this);
    m_widgets.ok = buttons->addButton(QString(), QDialogButtonBox::AcceptRole);
    m_widgets.cancel = buttons->addButton(QString(), QDialogButtonBox::RejectRole);
    m_widgets.ok->setDefault(true);
    connect(buttons, &QDialogButtonBox::accepted, this, &CLanguageDlg::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &CLanguageDlg::reject);

    auto* grid = new QGridLayout(this);
    grid->addWidget(m_widgets.label, 0, 0);
    grid->addWidget(m_widgets.languages, 0, 1);
    grid->setColumnStretch(1, 1);
    grid->setRowMinimumHeight(1, 8);
    grid->addWidget(buttons, 2, 0, 1, 2);
}

int CLanguageDlg::fillList(const LanguageFiles& languages)
{
    QComboBox& list = *m_widgets.languages;
    list.addItem(toQString(kBuiltInEnglish));
    m_entryFiles.assign(1, {});
    int preselected = 0;
    bool isEnglishListed = false;

    CInitFile store(Dialect::Plain);
    if (store.Load(languages.languageListPath())) {
        for (const LanguageEntry& entry : readLanguageList(store)) {
            isEnglishListed = isEnglishListed || entry.name == kBuiltInEnglish;
            list.addItem(toQString(entry.name));
            std::filesystem::path file = languages.languageFilePath(entry.file);
            // Compared exactly as written, case included.
            if (file.native() == m_selectedFile.native())
                preselected = list.count() - 1;
            m_entryFiles.push_back(std::move(file));
        }
    }
    if (isEnglishListed) {
        list.removeItem(0);
        m_entryFiles.erase(m_entryFiles.begin());
        if (preselected > 0)
            --preselected;
    }
    return preselected;
}

void CLanguageDlg::applyTexts()
{
    InterfaceTexts texts;
    texts.loadFromFile(m_selectedFile, Form::Language);
    setWindowTitle(toQString(texts.text("FrmLanguage.Caption")));
    m_widgets.label->setText(toQString(texts.text("FrmLanguage.m_LBLCurrentLanguage")));
    m_widgets.ok->setText(toQString(texts.text("FrmLanguage.m_BTNOk")));
    m_widgets.cancel->setText(toQString(texts.text("FrmLanguage.m_BTNCancel")));
}

void CLanguageDlg::handleSelection(int index)
{
    if (index < 0 || static_cast<std::size_t>(index) >= m_entryFiles.size())
        return;
    m_selectedFile = m_entryFiles[static_cast<std::size_t>(index)];
    m_selectedName = toUtf8(m_widgets.languages->itemText(index));
    applyTexts();
}

} // namespace config
