// SPDX-License-Identifier: MIT
// The language dialog: the languages of the language list plus the built-in English, previewed live.
#pragma once

#include "config/font_settings.h"

#include <QDialog>
#include <QStringList>

#include <filesystem>
#include <string>
#include <vector>

class QComboBox;
class QLabel;
class QPushButton;

namespace config {

class LanguageFiles;

/// The controls of the language dialog.
struct LanguageWidgets {
    QLabel* label = nullptr;
    QComboBox* languages = nullptr;
    QPushButton* ok = nullptr;
    QPushButton* cancel = nullptr;
};

/// `CLanguageDlg` lists the built-in "English" and the pairs of Tervalon_Languages.ini, in list
/// order; a list that has its own entry named exactly "English" replaces the built-in one. The entry
/// of the current language file is preselected. Choosing an entry shows the dialog's own texts in
/// that language at once. After OK, `selectedFile` (empty for the built-in English texts) and
/// `selectedName` are the user's choice; they start as the current file and name, so OK without a
/// change keeps the current language. Cancel changes nothing.
class CLanguageDlg : public QDialog {
    Q_OBJECT
public:
    CLanguageDlg(const LanguageFiles& languages, const CFontSettings& dialogFont, QWidget* parent = nullptr);

    [[nodiscard]] const std::filesystem::path& selectedFile() const { return m_selectedFile; }
    [[nodiscard]] const std::string& selectedName() const { return m_selectedName; }
    /// The language file of every entry, in list order (empty for the built-in English).
    [[nodiscard]] const std::vector<std::filesystem::path>& entryFiles() const { return m_entryFiles; }
    [[nodiscard]] const LanguageWidgets& widgets() const { return m_widgets; }

private:
    void createWidgets();
    /// Fills the list and returns the index of the entry to preselect.
    int fillList(const LanguageFiles& languages);
    void applyTexts();
    void handleSelection(int index);

    std::filesystem::path m_selectedFile;
    std::string m_selectedName;
    std::vector<std::filesystem::path> m_entryFiles;
    LanguageWidgets m_widgets;
};

} // namespace config
