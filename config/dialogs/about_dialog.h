// SPDX-License-Identifier: MIT
// The About box: icon and picture, product name, version, the maker's links and the translation credits.
#pragma once

#include "config/font_settings.h"

#include <QDialog>
#include <QUrl>

#include <array>

class QFrame;
class QLabel;
class QPushButton;

namespace config {

class CClickEdit;

/// The fixed labels of the seven translation rows, in their order.
inline constexpr std::array<const char*, 7> kTranslationLabels = {
    "Italian by:", "Greek by:", "French by:", "Arabic by:", "Spanish by:", "Hungrian by:", "Turkish by:"};

/// The controls of the About box.
struct AboutWidgets {
    QFrame* panel = nullptr; ///< the white panel holding everything but the OK button
    QLabel* icon = nullptr;
    QLabel* picture = nullptr;
    QLabel* title = nullptr;
    QLabel* version = nullptr;
    QLabel* maker = nullptr;
    QLabel* note = nullptr;
    CClickEdit* web = nullptr;
    CClickEdit* mail = nullptr;
    std::array<QLabel*, 7> translationLabels{};
    std::array<CClickEdit*, 7> translationLinks{};
    QPushButton* ok = nullptr;
};

/// `CAboutDlg` shows the program's identity. Its only translated text is the OK button's, handed in
/// (the main window's stored FrmMain.m_acMBtnOk); everything else is fixed. The panel keeps white
/// paper with blue links and a grey note in every desktop theme. A double-clicked link is reported
/// by `linkActivated`; the caller opens it.
class CAboutDlg : public QDialog {
    Q_OBJECT
public:
    CAboutDlg(const CFontSettings& dialogFont, const QString& okText, QWidget* parent = nullptr);

    [[nodiscard]] const AboutWidgets& widgets() const { return m_widgets; }

signals:
    void linkActivated(const QUrl& target);

private:
    void createWidgets();
    void setTexts(const QString& okText);
    void setColors();
    CClickEdit* newLink();

    AboutWidgets m_widgets;
};

} // namespace config
