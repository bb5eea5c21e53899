// The program's start-up: Chinese throughout and the program's icon.
#include "Startup.h"

#include <QAbstractButton>
#include <QApplication>
#include <QCalendarWidget>
#include <QLocale>
#include <QMessageBox>
#include <QRegularExpression>
#include <QTest>

using namespace lumo;

class TestStartup : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void questionBoxButtonsAreChinese_data();
    void questionBoxButtonsAreChinese();
    void chineseLocaleWhateverTheEnvironment();
    void windowIconIsTheHouse();
};

void TestStartup::initTestCase()
{
    // The tests run with LC_ALL=C.UTF-8: the start-up must not follow it.
    QVERIFY2(startApplication(*qApp), "Qt's Chinese translations (qt6-translations-l10n)");
}

void TestStartup::questionBoxButtonsAreChinese_data()
{
    QTest::addColumn<int>("button");
    QTest::addColumn<QString>("text");
    QTest::addRow("Yes") << int(QMessageBox::Yes) << QStringLiteral("是");
    QTest::addRow("No") << int(QMessageBox::No) << QStringLiteral("否");
    QTest::addRow("OK") << int(QMessageBox::Ok) << QStringLiteral("确定");
    QTest::addRow("Cancel") << int(QMessageBox::Cancel) << QStringLiteral("取消");
}

void TestStartup::questionBoxButtonsAreChinese()
{
    QFETCH(int, button);
    QFETCH(QString, text);
    QMessageBox box(QMessageBox::Question, QStringLiteral("Velmora"), QStringLiteral("删除？"),
                    QMessageBox::StandardButtons(button));
    QAbstractButton* b = box.button(QMessageBox::StandardButton(button));
    QVERIFY(b);
    // The translation carries a mnemonic, as in "是(&Y)".
    QString shown = b->text();
    shown.remove(QRegularExpression(QStringLiteral("\\(&.\\)|&")));
    QCOMPARE(shown, text);
}

void TestStartup::chineseLocaleWhateverTheEnvironment()
{
    QCOMPARE(QLocale().language(), QLocale::Chinese);
    QCOMPARE(QLocale().territory(), QLocale::China);
    QCOMPARE(QLocale().toString(QDate(2026, 12, 9), QLocale::ShortFormat),
             QStringLiteral("2026/12/9"));
    // The calendar a user sees names its weekdays in Chinese.
    QCalendarWidget calendar;
    QCOMPARE(calendar.locale().dayName(3, QLocale::LongFormat), QStringLiteral("星期三"));
}

void TestStartup::windowIconIsTheHouse()
{
    const QIcon icon = QApplication::windowIcon();
    QVERIFY(icon.availableSizes().contains(QSize(256, 256)));
    QVERIFY(icon.availableSizes().contains(QSize(16, 16)));
    // The red roof under the top of the house, the blue tile in the corner.
    const QImage image = icon.pixmap(QSize(256, 256)).toImage();
    const QColor roof = image.pixelColor(128, 90);
    QVERIFY2(roof.red() > 180 && roof.green() < 110 && roof.blue() < 90, qPrintable(roof.name()));
    const QColor tile = image.pixelColor(30, 128);
    QVERIFY2(tile.blue() > 150 && tile.red() < 100, qPrintable(tile.name()));
}

QTEST_MAIN(TestStartup)
#include "tst_startup.moc"
