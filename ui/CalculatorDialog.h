#pragma once
// The calculator dialog: 20 significant digits, mouse and keyboard input.
#include "Calculator.h"

#include <QDialog>
#include <QMap>

class QLabel;
class QLineEdit;
class QPushButton;

namespace lumo
{

class CalculatorDialog : public QDialog
{
    Q_OBJECT
public:
    explicit CalculatorDialog(QWidget* parent = nullptr);

    const Calculator& calculator() const { return m_calc; }
    // The button sending `key` (the key texts of Calculator::press).
    QPushButton* button(const QString& key) const { return m_buttons.value(key); }

    QLineEdit* display;
    QLabel* memoryLabel;

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    void press(const QString& key);
    void refresh();

    Calculator m_calc;
    QMap<QString, QPushButton*> m_buttons;
};

} // namespace lumo
