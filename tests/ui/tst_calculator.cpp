// The calculator: exact 20-digit arithmetic, key sequences and the dialog
// driven by mouse and keyboard.
#include "Calculator.h"
#include "CalculatorDialog.h"
#include "CalculatorNumber.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QtTest>

using lumo::CalcNumber;
using lumo::Calculator;
using lumo::CalculatorDialog;

namespace
{
CalcNumber num(const QString& text)
{
    CalcNumber n;
    if (!CalcNumber::parse(text, &n))
        qFatal("not a number");
    return n;
}
} // namespace

class TestCalculator : public QObject
{
    Q_OBJECT
private slots:
    void arithmetic_data();
    void arithmetic();
    void parseAndShow_data();
    void parseAndShow();
    void keySequences_data();
    void keySequences();
    void entryIsLimitedTo20Digits();
    void dialogByMouseAndKeyboard();
};

void TestCalculator::arithmetic_data()
{
    QTest::addColumn<QString>("a");
    QTest::addColumn<QString>("op");
    QTest::addColumn<QString>("b");
    QTest::addColumn<QString>("expected");
    auto row = [](const char* name, const char* a, const char* op, const char* b,
                  const QString& expected) {
        QTest::newRow(name) << QString::fromLatin1(a) << QString::fromLatin1(op)
                            << QString::fromLatin1(b) << expected;
    };
    row("20 digits exact", "12345678901234567890", "+", "1",
        QStringLiteral("12345678901234567891"));
    row("carry beyond 20 digits", "99999999999999999999", "+", "1", QStringLiteral("1e+20"));
    row("decimal fractions exact", "0.1", "+", "0.2", QStringLiteral("0.3"));
    row("one third", "1", "/", "3", QStringLiteral("0.33333333333333333333"));
    row("two thirds rounds up", "2", "/", "3", QStringLiteral("0.66666666666666666667"));
    row("one seventh", "1", "/", "7", QStringLiteral("0.14285714285714285714"));
    row("product rounded to 20", "12345678901", "*", "98765432109",
        QStringLiteral("1.2193263113362292322e+21"));
    row("twentieth decimal kept", "1", "-", "0.00000000000000000001",
        QStringLiteral("0.99999999999999999999"));
    row("far smaller operand", "1", "-", "1e-30", QStringLiteral("1"));
    row("far smaller rounds back", "10", "-", "1e-30", QStringLiteral("10"));
    row("large quotient", "98765432109876543210", "/", "1.1",
        QStringLiteral("89786756463524130191"));
    row("negative quotient", "5", "/", "-2", QStringLiteral("-2.5"));
    row("cancel to zero", "-0.5", "+", "0.5", QStringLiteral("0"));
    row("three thirds", "3.3333333333333333333", "*", "3", QStringLiteral("9.9999999999999999999"));
    row("small result", "1", "/", "1e12", QStringLiteral("1e-12"));
    row("divide by zero", "1", "/", "0", QStringLiteral("除数不能为零"));
    row("overflow", "1e9999", "*", "10", QStringLiteral("溢出"));
    row("sqrt 2", "2", "sqrt", "0", QStringLiteral("1.4142135623730950488"));
    row("sqrt 10", "10", "sqrt", "0", QStringLiteral("3.162277660168379332"));
    row("sqrt exact", "0.0004", "sqrt", "0", QStringLiteral("0.02"));
    row("sqrt negative", "-1", "sqrt", "0", QStringLiteral("无效输入"));
    row("reciprocal", "8", "1/x", "0", QStringLiteral("0.125"));
}

void TestCalculator::arithmetic()
{
    QFETCH(QString, a);
    QFETCH(QString, op);
    QFETCH(QString, b);
    QFETCH(QString, expected);
    const CalcNumber x = num(a), y = num(b);
    CalcNumber r;
    if (op == QStringLiteral("+"))
        r = x + y;
    else if (op == QStringLiteral("-"))
        r = x - y;
    else if (op == QStringLiteral("*"))
        r = x * y;
    else if (op == QStringLiteral("/"))
        r = x / y;
    else if (op == QStringLiteral("sqrt"))
        r = x.sqrt();
    else
        r = x.reciprocal();
    QCOMPARE(r.toString(), expected);
    QVERIFY(r.significantDigits() <= 20);
}

void TestCalculator::parseAndShow_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("shown");
    QTest::newRow("trailing zeros") << QStringLiteral("12.500") << QStringLiteral("12.5");
    QTest::newRow("leading zeros") << QStringLiteral("0007") << QStringLiteral("7");
    QTest::newRow("exponent") << QStringLiteral("3.2E+7") << QStringLiteral("32000000");
    QTest::newRow("small plain") << QStringLiteral("0.0000001") << QStringLiteral("0.0000001");
    QTest::newRow("tiny") << QStringLiteral("-1.5e-8") << QStringLiteral("-1.5e-8");
    QTest::newRow("21 digits rounded")
        << QStringLiteral("123456789012345678905") << QStringLiteral("1.2345678901234567891e+20");
    QTest::newRow("negative zero") << QStringLiteral("-0") << QStringLiteral("0");
}

void TestCalculator::parseAndShow()
{
    QFETCH(QString, text);
    QFETCH(QString, shown);
    QCOMPARE(num(text).toString(), shown);
    CalcNumber n;
    QVERIFY(!CalcNumber::parse(QStringLiteral("1.2.3"), &n));
    QVERIFY(!CalcNumber::parse(QStringLiteral("abc"), &n));
    QVERIFY(!CalcNumber::parse(QString(), &n));
}

void TestCalculator::keySequences_data()
{
    QTest::addColumn<QString>("keys");
    QTest::addColumn<QString>("display");
    QTest::addColumn<QString>("memory");
    auto row = [](const char* name, const char* keys, const char* display,
                  const char* memory = "0") {
        QTest::newRow(name) << QString::fromLatin1(keys) << QString::fromUtf8(display)
                            << QString::fromLatin1(memory);
    };
    row("add", "1 2 + 3 4 =", "46");
    row("left to right", "1 + 2 * 3 =", "9");
    row("operand repeated", "5 + =", "10");
    row("equals repeats", "2 + 3 = =", "8");
    row("operator changed", "6 + * 2 =", "12");
    row("percent of first", "1 0 0 + 5 %", "5");
    row("percent added", "1 0 0 + 5 % =", "105");
    row("percent times", "2 0 0 * 5 % =", "10");
    row("decimals", "0 . 1 + . 2 =", "0.3");
    row("typing shows point", "1 2 .", "12.");
    row("negate entry", "5 +/- + 2 =", "-3");
    row("sqrt", "9 sqrt", "3");
    row("reciprocal", "4 1/x", "0.25");
    row("backspace", "1 2 3 BS", "12");
    row("backspace to zero", "7 BS BS", "0");
    row("clear entry", "5 + 3 CE 2 =", "7");
    row("clear", "5 + 3 C", "0");
    row("divide by zero", "1 / 0 =", "除数不能为零");
    row("after error a digit starts over", "1 / 0 = 7 + 1 =", "8");
    row("memory store and recall", "5 MS C 3 + MR =", "8", "5");
    row("memory add", "5 MS 2 M+ MR", "7", "7");
    row("memory clear", "5 MS MC MR", "0", "0");
    row("memory kept by C", "4 MS C", "0", "4");
    row("twenty digits", "1 2 3 4 5 6 7 8 9 0 1 2 3 4 5 6 7 8 9 0 + 1 =", "12345678901234567891");
}

void TestCalculator::keySequences()
{
    QFETCH(QString, keys);
    QFETCH(QString, display);
    QFETCH(QString, memory);
    Calculator calc;
    for (const QString& key : keys.split(QLatin1Char(' ')))
        QVERIFY2(calc.press(key), qPrintable(key));
    QCOMPARE(calc.display(), display);
    QCOMPARE(calc.memory().toString(), memory);
}

void TestCalculator::entryIsLimitedTo20Digits()
{
    Calculator calc;
    for (int i = 0; i < 25; ++i)
        calc.digit(9);
    QCOMPARE(calc.display(), QString(20, QLatin1Char('9')));
    calc.point();
    calc.digit(1);
    QCOMPARE(calc.display(), QString(20, QLatin1Char('9')) + QLatin1Char('.'));
    QVERIFY(!calc.press(QStringLiteral("x")));
}

void TestCalculator::dialogByMouseAndKeyboard()
{
    CalculatorDialog dialog;
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    QCOMPARE(dialog.objectName(), QStringLiteral("bsSkinCalculator1"));
    auto* display = dialog.findChild<QLineEdit*>(QStringLiteral("display"));
    QVERIFY(display);
    QCOMPARE(display->text(), QStringLiteral("0"));

    QTest::keyClicks(&dialog, QStringLiteral("12+34"));
    QTest::keyClick(&dialog, Qt::Key_Return);
    QCOMPARE(display->text(), QStringLiteral("46"));
    QVERIFY(dialog.isVisible()); // Return computes, it does not close

    QTest::keyClick(&dialog, Qt::Key_Escape);
    QCOMPARE(display->text(), QStringLiteral("0"));
    QVERIFY(dialog.isVisible());

    QTest::keyClicks(&dialog, QStringLiteral("2/3="));
    QCOMPARE(display->text(), QStringLiteral("0.66666666666666666667"));

    // Mouse: 7 × 6 = then MS shows the memory mark.
    for (const char* name : {"button7", "buttonMultiply", "button6", "buttonEquals", "buttonMS"}) {
        auto* b = dialog.findChild<QPushButton*>(QLatin1String(name));
        QVERIFY2(b, name);
        QTest::mouseClick(b, Qt::LeftButton);
    }
    QCOMPARE(display->text(), QStringLiteral("42"));
    QCOMPARE(dialog.findChild<QLabel*>(QStringLiteral("memoryLabel"))->text(), QStringLiteral("M"));
    QTest::keyClick(&dialog, Qt::Key_Backspace);
    QTest::keyClicks(&dialog, QStringLiteral("9"));
    QTest::keyClick(&dialog, Qt::Key_Delete);
    QCOMPARE(display->text(), QStringLiteral("0"));
}

QTEST_MAIN(TestCalculator)
#include "tst_calculator.moc"
