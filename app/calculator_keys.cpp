// SPDX-License-Identifier: MIT
// The calculator keys below the equation field: functions, digits, operators and the two delete keys.
#include "app/calculator_keys.h"

#include "app/equation_field.h"
#include "app/text_conversion.h"
#include "config/interface_texts.h"

#include <QEvent>
#include <QGridLayout>
#include <QPushButton>

#include <array>
#include <string_view>

namespace app {

namespace {

enum class KeyKind {
    Insert,         ///< inserts its text at the caret
    Decimal,        ///< inserts the DecimalSeparator setting
    Equals,         ///< inserts "=" unless the equation has one
    ClearSelection, ///< "C"
    ClearAll,       ///< "AC"
};

/// The keys are laid out in four groups side by side in one grid, so their rows line up.
enum class KeyGroup { Functions, Digits, Operators, Deletion };

/// First grid column of each group; the columns between groups stay empty as gaps.
constexpr std::array kGroupColumns = {0, 4, 8, 11};

struct Key {
    std::string_view caption;
    std::string_view text; ///< what an Insert key inserts
    KeyKind kind;
    std::string_view tooltipKey; ///< empty: no tool tip
    std::string_view nameKey;    ///< the accessible name; empty: the caption says it (a digit)
    KeyGroup group;
    int row;
    int column;
};

using enum KeyKind;
using enum KeyGroup;

// The key table. The functions insert their name with "()", which leaves the caret in between.
constexpr auto kKeys = std::to_array<Key>({
    {"sin", "sin()", Insert, "FrmMain.m_BTNSin", "FrmMain.m_ACCSin", Functions, 0, 0},
    {"cos", "cos()", Insert, "FrmMain.m_BTNCos", "FrmMain.m_ACCCos", Functions, 0, 1},
    {"tan", "tan()", Insert, "FrmMain.m_BTNTan", "FrmMain.m_ACCTan", Functions, 0, 2},
    {"sqr", "sqr()", Insert, "FrmMain.m_BTNSqr", "FrmMain.m_ACCSqr", Functions, 1, 0},
    {"exp", "exp()", Insert, "FrmMain.m_BTNExp", "FrmMain.m_ACCExp", Functions, 1, 1},
    {"log", "log()", Insert, "FrmMain.m_BTNLog", "FrmMain.m_ACCLog", Functions, 1, 2},
    {"asn", "asn()", Insert, {}, "FrmMain.m_ACCAsn", Functions, 2, 0},
    {"acs", "acs()", Insert, {}, "FrmMain.m_ACCAcs", Functions, 2, 1},
    {"atn", "atn()", Insert, {}, "FrmMain.m_ACCAtn", Functions, 2, 2},
    {"hsn", "hsn()", Insert, {}, "FrmMain.m_ACCHsn", Functions, 3, 0},
    {"hcs", "hcs()", Insert, {}, "FrmMain.m_ACCHcs", Functions, 3, 1},
    {"htn", "htn()", Insert, {}, "FrmMain.m_ACCHtn", Functions, 3, 2},
    {"7", "7", Insert, {}, {}, Digits, 0, 0},
    {"8", "8", Insert, {}, {}, Digits, 0, 1},
    {"9", "9", Insert, {}, {}, Digits, 0, 2},
    {"4", "4", Insert, {}, {}, Digits, 1, 0},
    {"5", "5", Insert, {}, {}, Digits, 1, 1},
    {"6", "6", Insert, {}, {}, Digits, 1, 2},
    {"1", "1", Insert, {}, {}, Digits, 2, 0},
    {"2", "2", Insert, {}, {}, Digits, 2, 1},
    {"3", "3", Insert, {}, {}, Digits, 2, 2},
    {"0", "0", Insert, {}, {}, Digits, 3, 0},
    {".", {}, Decimal, {}, "FrmMain.m_ACCPoint", Digits, 3, 1},
    {"x", "x", Insert, "FrmMain.m_BTNX", "FrmMain.m_ACCX", Digits, 3, 2},
    {"+", "+", Insert, {}, "FrmMain.m_ACCPlus", Operators, 0, 0},
    {"-", "-", Insert, {}, "FrmMain.m_ACCMinus", Operators, 0, 1},
    {"*", "*", Insert, {}, "FrmMain.m_ACCTimes", Operators, 1, 0},
    {"/", "/", Insert, {}, "FrmMain.m_ACCDivide", Operators, 1, 1},
    {"^", "^", Insert, {}, "FrmMain.m_ACCPower", Operators, 2, 0},
    {"=", "=", Equals, {}, "FrmMain.m_ACCEquals", Operators, 2, 1},
    {"(", "(", Insert, {}, "FrmMain.m_ACCOpen", Operators, 3, 0},
    {")", ")", Insert, {}, "FrmMain.m_ACCClose", Operators, 3, 1},
    {"C", {}, ClearSelection, "FrmMain.m_BTNClearSelection", "FrmMain.m_ACCClearSelection", Deletion, 0, 0},
    {"AC", {}, ClearAll, "FrmMain.m_BTNClearAll", "FrmMain.m_ACCClearAll", Deletion, 1, 0},
});

constexpr int kKeySpacing = 4;
constexpr int kGroupGap = 10;

} // namespace

CalculatorKeys::CalculatorKeys(EquationField& field, std::function<QString()> decimalSeparator,
                               QWidget* parent)
    : QWidget(parent), m_field(field), m_decimalSeparator(std::move(decimalSeparator))
{
    createButtons();
}

void CalculatorKeys::createButtons()
{
    auto* grid = new QGridLayout(this);
    grid->setContentsMargins(0, 0, 0, 0);
    grid->setSpacing(kKeySpacing);
    for (std::size_t group = 1; group < kGroupColumns.size(); ++group)
        grid->setColumnMinimumWidth(kGroupColumns[group] - 1, kGroupGap);
    // The keypad keeps its size; the room to its right stays empty.
    grid->setColumnStretch(kGroupColumns.back() + 1, 1);

    for (std::size_t i = 0; i < kKeys.size(); ++i) {
        const Key& key = kKeys[i];
        auto* button = new QPushButton(toQString(key.caption), this);
        grid->addWidget(button, key.row, kGroupColumns[static_cast<std::size_t>(key.group)] + key.column);
        connect(button, &QPushButton::clicked, this, [this, i] { press(static_cast<int>(i)); });
        m_buttons.append(button);
    }
    fitButtonWidths();
}

void CalculatorKeys::press(int row)
{
    const Key& key = kKeys[static_cast<std::size_t>(row)];
    switch (key.kind) {
    case Insert:
        m_field.InsertAtCaret(toQString(key.text));
        break;
    case Decimal:
        m_field.InsertAtCaret(m_decimalSeparator());
        break;
    case Equals:
        if (!m_field.text().contains(QLatin1Char('=')))
            m_field.InsertAtCaret(QStringLiteral("="));
        break;
    case ClearSelection:
        m_field.ClearSelection();
        break;
    case ClearAll:
        emit clearEquationRequested();
        break;
    }
    // Also a key that changed nothing (a second "=", a text at its length limit) hands the focus
    // back, so typing goes on in the field.
    m_field.setFocus();
}

QPushButton* CalculatorKeys::button(const QString& caption) const
{
    for (QPushButton* candidate : m_buttons) {
        if (candidate->text() == caption)
            return candidate;
    }
    return nullptr;
}

void CalculatorKeys::retranslate(const config::InterfaceTexts& texts)
{
    for (std::size_t i = 0; i < kKeys.size(); ++i) {
        QPushButton& button = *m_buttons[static_cast<qsizetype>(i)];
        // The tool tip, where there is one, is also what a screen reader gives as the description.
        const QString tip =
            kKeys[i].tooltipKey.empty() ? QString() : toQString(texts.text(kKeys[i].tooltipKey));
        button.setToolTip(tip);
        button.setAccessibleDescription(tip);
        button.setAccessibleName(kKeys[i].nameKey.empty() ? button.text()
                                                          : toQString(texts.text(kKeys[i].nameKey)));
    }
}

void CalculatorKeys::changeEvent(QEvent* event)
{
    QWidget::changeEvent(event);
    if (event->type() == QEvent::FontChange)
        fitButtonWidths();
}

void CalculatorKeys::fitButtonWidths()
{
    // Every key as wide as the widest caption needs, so the groups line up as a keypad, and tall
    // enough to hit comfortably.
    const QFontMetrics metrics(font());
    const int width = metrics.horizontalAdvance(QStringLiteral("hcs")) + 2 * metrics.height();
    const int height = metrics.height() + 14;
    for (QPushButton* button : std::as_const(m_buttons))
        button->setFixedSize(width, height);
}

} // namespace app
