// SPDX-License-Identifier: MIT
// The calculator keys below the equation field: functions, digits, operators and the two delete keys.
#pragma once

#include <QList>
#include <QString>
#include <QWidget>

#include <functional>

class QPushButton;

namespace config {
class InterfaceTexts;
}

namespace app {

class EquationField;

/// The keys edit the equation field at its caret, as the key table says; "AC" asks the window to
/// clear the equation (which also resets the title).
class CalculatorKeys : public QWidget {
    Q_OBJECT
public:
    /// decimalSeparator gives the current setting that the "." key inserts.
    CalculatorKeys(EquationField& field, std::function<QString()> decimalSeparator,
                   QWidget* parent = nullptr);

    /// The key with this caption, or nullptr.
    [[nodiscard]] QPushButton* button(const QString& caption) const;
    [[nodiscard]] const QList<QPushButton*>& buttons() const { return m_buttons; }

    /// Sets the tool tips and the accessible names and descriptions from the interface texts.
    void retranslate(const config::InterfaceTexts& texts);

signals:
    void clearEquationRequested();

protected:
    void changeEvent(QEvent* event) override;

private:
    void createButtons();
    void press(int row);
    void fitButtonWidths();

    EquationField& m_field;
    std::function<QString()> m_decimalSeparator;
    QList<QPushButton*> m_buttons; // in the order of the key table
};

} // namespace app
