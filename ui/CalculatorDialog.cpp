#include "CalculatorDialog.h"

#include <QApplication>
#include <QClipboard>
#include <QGridLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace lumo
{

namespace
{

struct KeySpec {
    const char* key;
    const char16_t* caption;
    const char* name;
    int row, column;
};

// Button grid; keys are those of Calculator::press.
const KeySpec kKeys[] = {
    {"MC", u"MC", "buttonMC", 0, 0},     {"BS", u"←", "buttonBack", 0, 1},
    {"CE", u"CE", "buttonCE", 0, 2},     {"C", u"C", "buttonC", 0, 3},
    {"+/-", u"±", "buttonNegate", 0, 4}, {"sqrt", u"√", "buttonSqrt", 0, 5},
    {"MR", u"MR", "buttonMR", 1, 0},     {"7", u"7", "button7", 1, 1},
    {"8", u"8", "button8", 1, 2},        {"9", u"9", "button9", 1, 3},
    {"/", u"÷", "buttonDivide", 1, 4},   {"%", u"%", "buttonPercent", 1, 5},
    {"MS", u"MS", "buttonMS", 2, 0},     {"4", u"4", "button4", 2, 1},
    {"5", u"5", "button5", 2, 2},        {"6", u"6", "button6", 2, 3},
    {"*", u"×", "buttonMultiply", 2, 4}, {"1/x", u"1/x", "buttonReciprocal", 2, 5},
    {"M+", u"M+", "buttonMPlus", 3, 0},  {"1", u"1", "button1", 3, 1},
    {"2", u"2", "button2", 3, 2},        {"3", u"3", "button3", 3, 3},
    {"-", u"−", "buttonSubtract", 3, 4}, {"=", u"=", "buttonEquals", 3, 5},
    {"0", u"0", "button0", 4, 1},        {".", u".", "buttonPoint", 4, 3},
    {"+", u"+", "buttonAdd", 4, 4},
};

} // namespace

CalculatorDialog::CalculatorDialog(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("bsSkinCalculator1"));
    setWindowTitle(QStringLiteral("计算器"));

    auto* layout = new QVBoxLayout(this);
    auto* top = new QHBoxLayout;
    memoryLabel = new QLabel(this);
    memoryLabel->setObjectName(QStringLiteral("memoryLabel"));
    memoryLabel->setFixedWidth(18);
    memoryLabel->setAlignment(Qt::AlignCenter);
    display = new QLineEdit(this);
    display->setObjectName(QStringLiteral("display"));
    display->setReadOnly(true);
    display->setFocusPolicy(Qt::NoFocus);
    display->setAlignment(Qt::AlignRight);
    QFont font = display->font();
    font.setPointSize(font.pointSize() + 3);
    display->setFont(font);
    display->setMinimumWidth(QFontMetrics(font).horizontalAdvance(QString(27, QLatin1Char('8'))));
    top->addWidget(memoryLabel);
    top->addWidget(display);
    layout->addLayout(top);

    auto* grid = new QGridLayout;
    grid->setSpacing(4);
    for (const KeySpec& def : kKeys) {
        auto* b = new QPushButton(QString::fromUtf16(def.caption), this);
        b->setObjectName(QLatin1String(def.name));
        b->setFocusPolicy(Qt::NoFocus);
        b->setAutoDefault(false);
        b->setMinimumSize(44, 30);
        const QString key = QLatin1String(def.key);
        m_buttons.insert(key, b);
        connect(b, &QPushButton::clicked, this, [this, key] { press(key); });
        // "0" spans two columns.
        grid->addWidget(b, def.row, def.column, 1, key == QStringLiteral("0") ? 2 : 1);
    }
    layout->addLayout(grid);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    refresh();
}

void CalculatorDialog::press(const QString& key)
{
    m_calc.press(key);
    refresh();
}

void CalculatorDialog::refresh()
{
    display->setText(m_calc.display());
    memoryLabel->setText(m_calc.hasMemory() ? QStringLiteral("M") : QString());
}

void CalculatorDialog::keyPressEvent(QKeyEvent* event)
{
    const int key = event->key();
    const bool ctrl = event->modifiers() & Qt::ControlModifier;
    if (ctrl) {
        QString k;
        switch (key) {
        case Qt::Key_C:
            QApplication::clipboard()->setText(m_calc.display());
            return;
        case Qt::Key_V:
            if (m_calc.enterNumber(QApplication::clipboard()->text()))
                refresh();
            return;
        case Qt::Key_L:
            k = QStringLiteral("MC");
            break;
        case Qt::Key_R:
            k = QStringLiteral("MR");
            break;
        case Qt::Key_M:
            k = QStringLiteral("MS");
            break;
        case Qt::Key_P:
            k = QStringLiteral("M+");
            break;
        default:
            QDialog::keyPressEvent(event);
            return;
        }
        press(k);
        return;
    }
    switch (key) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
        press(QStringLiteral("="));
        return;
    case Qt::Key_Backspace:
        press(QStringLiteral("BS"));
        return;
    case Qt::Key_Escape:
        press(QStringLiteral("C"));
        return;
    case Qt::Key_Delete:
        press(QStringLiteral("CE"));
        return;
    case Qt::Key_F9:
        press(QStringLiteral("+/-"));
        return;
    default:
        break;
    }
    const QString text = event->text();
    if (text == QStringLiteral(",")) {
        press(QStringLiteral("."));
        return;
    }
    if (text == QStringLiteral("@")) {
        press(QStringLiteral("sqrt"));
        return;
    }
    if (text == QStringLiteral("r") || text == QStringLiteral("R")) {
        press(QStringLiteral("1/x"));
        return;
    }
    if (text.size() == 1 && QStringLiteral("0123456789.+-*/=%").contains(text)) {
        press(text);
        return;
    }
    QDialog::keyPressEvent(event);
}

} // namespace lumo
