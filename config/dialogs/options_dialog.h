// SPDX-License-Identifier: MIT
// The Options dialog: solution layout switches, equivalence and decimal texts, both fonts, three colours.
#pragma once

#include "config/settings.h"

#include <QColor>
#include <QDialog>
#include <QFont>

#include <array>
#include <filesystem>
#include <functional>
#include <optional>

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QToolButton;

namespace config {

/// The pickers the Options dialog opens; each answers nothing when the user cancelled.
struct OptionsPickers {
    std::function<std::optional<QFont>(QWidget* parent, const QFont& initial)> font;
    std::function<std::optional<QColor>(QWidget* parent, const QColor& initial)> color;
};

/// The three highlighting colours, in the order of their swatches.
enum class ViewColor { Text, Function, Number };

/// The controls of the Options dialog, created once, top to bottom.
struct OptionsWidgets {
    QCheckBox* clearResult = nullptr;
    QCheckBox* addLineNumbers = nullptr;
    QCheckBox* addSpaces = nullptr;
    QCheckBox* highlight = nullptr;
    QCheckBox* explainSteps = nullptr;
    QCheckBox* showCheck = nullptr;
    QCheckBox* allSolutions = nullptr;
    QCheckBox* exactValues = nullptr;
    QCheckBox* keepHistory = nullptr;
    QLabel* equivalentLabel = nullptr;
    QLineEdit* equivalent = nullptr;
    QLabel* decimalSeparatorLabel = nullptr;
    QLineEdit* decimalSeparator = nullptr;
    QLabel* dialogFontLabel = nullptr;
    QPushButton* dialogFont = nullptr;
    QLabel* viewFontLabel = nullptr;
    QPushButton* viewFont = nullptr;
    QLabel* colorsLabel = nullptr;
    std::array<QToolButton*, 3> swatches{}; ///< by ViewColor
    QLabel* paperLabel = nullptr;
    QComboBox* paper = nullptr; ///< entries in the order of the Paper values: light, dark, as the desktop
    /// The reset buttons of rows 5 to 9: equivalent text, decimal separator, both fonts, colours.
    std::array<QToolButton*, 5> resets{};
    QPushButton* ok = nullptr;
    QPushButton* cancel = nullptr;
};

/// `COptionsDlg` edits copies of the main window's options: the five switches, the equivalence
/// marker, the decimal separator, the dialog font and the solution-view font, and the three
/// highlighting colours. Construct it with the current settings and the current language file
/// (whose FrmOpt texts it shows; a missing file gives the English texts), run it, and after OK take
/// `settings()`. Nothing is committed before OK; Cancel leaves every value as it was.
///
/// `isChanged` tells whether something happened that must be re-applied to the window: set by
/// "Enable highlighting", the font buttons and their resets, the colours and the paper, also when
/// a picker was cancelled; not by the other switches (Show check among them) or the resets of the two texts,
/// which take effect at the next Solve.
class COptionsDlg : public QDialog {
    Q_OBJECT
public:
    COptionsDlg(const Settings& settings, const std::filesystem::path& languageFile, OptionsPickers pickers,
                QWidget* parent = nullptr);

    /// The settings handed in, with the edited values after OK.
    [[nodiscard]] const Settings& settings() const { return m_settings; }
    [[nodiscard]] bool isChanged() const { return m_isChanged; }
    /// The colour a swatch shows.
    [[nodiscard]] std::int32_t color(ViewColor which) const;
    /// The working copies of the two fonts.
    [[nodiscard]] const CFontSettings& dialogFont() const { return m_dialogFont; }
    [[nodiscard]] const CFontSettings& viewFont() const { return m_viewFont; }
    [[nodiscard]] const OptionsWidgets& widgets() const { return m_widgets; }

public slots:
    /// OK: the edited values become the settings.
    void accept() override;

private:
    void createWidgets();
    void retranslate(const std::filesystem::path& languageFile);
    void showValues();
    void connectControls();
    void applyOwnFont();
    void handleDialogFont();
    void handleViewFont();
    void handleDialogFontReset();
    void handleViewFontReset();
    void handleSwatch(ViewColor which);
    void handleColorsReset();
    void showColor(ViewColor which);
    /// The font a font setting is really drawn with: the resolved family at its size in points.
    [[nodiscard]] QFont drawnFont(const CFontSettings& font) const;
    /// Both font buttons name the fonts really drawn; the settings keep the stored names.
    void showFontNames();
    [[nodiscard]] std::optional<FontDescription> pickFont(const CFontSettings& font);

    Settings m_settings;
    OptionsPickers m_pickers;
    CFontSettings m_dialogFont;
    CFontSettings m_viewFont;
    std::array<std::int32_t, 3> m_colors{};
    bool m_isChanged = false;
    OptionsWidgets m_widgets;
};

} // namespace config
