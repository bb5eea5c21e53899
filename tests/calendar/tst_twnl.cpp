// The perpetual calendar window driven through its boxes, its grid and its label.
#include "FakeMainFrame.h"
#include "TCnCalendar.h"
#include "TestApp.h"
#include "Twnl.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QTest>

using lumo::TCnCalendar;
using lumo::Twnl;
using lumo::test::FakeMainFrame;
using lumo::test::TestApp;

namespace
{

// The window as the main window opens it, at the given moment.
struct OpenWindow {
    TestApp app;
    FakeMainFrame frame;
    QPointer<Twnl> w;

    explicit OpenWindow(const QDateTime& now = QDateTime())
    {
        if (now.isValid())
            app.clock.current = now;
        // The window shows itself when it is created.
        w = new Twnl(*app.ctx, frame, &frame);
    }
    ~OpenWindow() { delete w; }

    template <typename T> T* control(const char* name)
    {
        return w->findChild<T*>(QLatin1String(name));
    }
    QComboBox* box(const char* name) { return control<QComboBox>(name); }
    QString line1() { return control<QLineEdit>("FlatEdit1")->text(); }
    QString line2() { return control<QLineEdit>("FlatEdit2")->text(); }
    TCnCalendar* grid() { return control<TCnCalendar>("CnCalendar1"); }
};

// Types a text into a box and presses Enter, as a user does.
void enter(QComboBox* box, const QString& text)
{
    QLineEdit* edit = box->lineEdit();
    edit->setFocus();
    QTest::keyClick(edit, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClicks(edit, text);
    QTest::keyClick(edit, Qt::Key_Return);
}

QString blanks(int n)
{
    return QString(n, QLatin1Char(' '));
}

} // namespace

class TestTwnl : public QObject
{
    Q_OBJECT
private slots:
    void opensOnTheClocksMoment();
    void texts_data();
    void texts();
    void boxesChangeTheMoment();
    void dayResetOnMonthOrYearChange();
    void dayBeyondTheMonthIsIgnored();
    void clickInTheGridFillsTheDayBox();
    void refusedInput();
    void labelClickCloses();
};

void TestTwnl::opensOnTheClocksMoment()
{
    OpenWindow o(QDateTime(QDate(2026, 12, 9), QTime(7, 5, 0)));
    QCOMPARE(o.w->windowTitle(), QStringLiteral("《万年历》"));
    QVERIFY(o.w->isVisible());
    QVERIFY(o.w->windowFlags() & Qt::WindowStaysOnTopHint);
    QVERIFY(o.w->isWindow());
    QVERIFY(o.w->testAttribute(Qt::WA_DeleteOnClose));
    QCOMPARE(o.w->size(), QSize(478, 318));

    QCOMPARE(o.grid()->selectedDate(), QDate(2026, 12, 9));
    QCOMPARE(o.grid()->monthShown(), 12);
    QCOMPARE(o.grid()->Tag(), 0);
    QCOMPARE(o.box("FlatComboBox1")->currentText(), QStringLiteral("2026"));
    QCOMPARE(o.box("FlatComboBox2")->currentText(), QStringLiteral("12"));
    QCOMPARE(o.box("FlatComboBox3")->currentText(), QStringLiteral("9"));
    QCOMPARE(o.box("FlatComboBox4")->currentText(), QStringLiteral("7"));
    QCOMPARE(o.box("FlatComboBox5")->currentText(), QStringLiteral("5"));

    QComboBox* years = o.box("FlatComboBox1");
    QCOMPARE(years->count(), 169);
    QCOMPARE(years->itemText(0), QStringLiteral("1882"));
    QCOMPARE(years->itemText(168), QStringLiteral("2050"));
    QCOMPARE(o.box("FlatComboBox5")->count(), 60);
    QCOMPARE(o.box("FlatComboBox4")->toolTip(), QStringLiteral("时-(23点以后算第二天)"));

    QVERIFY(o.line1().startsWith(QStringLiteral("四柱: ")));
    QCOMPARE(o.line1().size(), 4 + 4 * 2 + 3 * 2);
    QVERIFY(o.line2().startsWith(QStringLiteral("公历: 12月7日  大雪  时间: ")));
    QVERIFY(o.line2().endsWith(blanks(24) + QStringLiteral("星期三")));
    // Centred on the screen (1024 by 768 in the tests).
    QCOMPARE(o.w->pos(), QPoint((1024 - 478) / 2, (768 - 318) / 2));
    QCOMPARE(o.grid()->font().pixelSize(), 12);
    QCOMPARE(o.grid()->palette().color(QPalette::Base),
             o.w->palette().color(QPalette::ToolTipBase));

    // Typing into the text lines changes nothing.
    const QString pillars = o.line1();
    const QString status = o.line2();
    QTest::keyClicks(o.control<QLineEdit>("FlatEdit1"), QStringLiteral("x1"));
    QTest::keyClick(o.control<QLineEdit>("FlatEdit1"), Qt::Key_Backspace);
    QTest::keyClick(o.control<QLineEdit>("FlatEdit2"), Qt::Key_Delete);
    QTest::keyClicks(o.control<QLineEdit>("FlatEdit2"), QStringLiteral("y"));
    QCOMPARE(o.line1(), pillars);
    QCOMPARE(o.line2(), status);
    QVERIFY(o.app.dialogs.messages.isEmpty());
}

void TestTwnl::texts_data()
{
    QTest::addColumn<QDateTime>("moment");
    QTest::addColumn<QString>("line1");
    QTest::addColumn<QString>("line2");
    QTest::addRow("2000-01-01 12:00") << QDateTime(QDate(2000, 1, 1), QTime(12, 0))
                                      << QStringLiteral("四柱: 己卯  丙子  戊午  戊午")
                                      << QStringLiteral("公历: 1月6日  小寒  时间: 8点 50分") +
                                             blanks(24) + QStringLiteral("星期六");
    const QString today = blanks(6) + QStringLiteral("今日立春 时间: 16点37分");
    const QString february = QStringLiteral("公历: 2月4日  立春  时间: 16点 37分") + blanks(24) +
                             QStringLiteral("星期日");
    QTest::addRow("term minute") << QDateTime(QDate(2024, 2, 4), QTime(16, 37))
                                 << QStringLiteral("四柱: 甲辰  丙寅  戊戌  庚申") + today
                                 << february;
    QTest::addRow("term day before the term")
        << QDateTime(QDate(2024, 2, 4), QTime(16, 36))
        << QStringLiteral("四柱: 癸卯  乙丑  戊戌  庚申") + today << february;
    QTest::addRow("1949-10-01 15:00")
        << QDateTime(QDate(1949, 10, 1), QTime(15, 0))
        << QStringLiteral("四柱: 己丑  癸酉  甲子  壬申") << QString();
}

void TestTwnl::texts()
{
    QFETCH(QDateTime, moment);
    QFETCH(QString, line1);
    QFETCH(QString, line2);
    OpenWindow o(moment);
    QCOMPARE(o.line1(), line1);
    if (!line2.isEmpty())
        QCOMPARE(o.line2(), line2);
}

// The user picks the moment through the boxes; years after 2030 carry the warning.
void TestTwnl::boxesChangeTheMoment()
{
    OpenWindow o(QDateTime(QDate(2000, 1, 1), QTime(12, 0)));
    enter(o.box("FlatComboBox1"), QStringLiteral("2024"));
    enter(o.box("FlatComboBox2"), QStringLiteral("2"));
    enter(o.box("FlatComboBox3"), QStringLiteral("4"));
    QCOMPARE(o.grid()->selectedDate(), QDate(2024, 2, 4));
    enter(o.box("FlatComboBox4"), QStringLiteral("16"));
    enter(o.box("FlatComboBox5"), QStringLiteral("36"));
    QVERIFY(o.line1().startsWith(QStringLiteral("四柱: 癸卯  乙丑  戊戌  庚申      今日立春")));
    enter(o.box("FlatComboBox5"), QStringLiteral("37"));
    QCOMPARE(o.line1(),
             QStringLiteral("四柱: 甲辰  丙寅  戊戌  庚申      今日立春 时间: 16点37分"));
    enter(o.box("FlatComboBox4"), QStringLiteral("17"));
    QVERIFY(o.line1().startsWith(QStringLiteral("四柱: 甲辰  丙寅  戊戌  辛酉")));

    const QString warning = blanks(8) + QStringLiteral("四柱准确度不高？");
    enter(o.box("FlatComboBox3"), QStringLiteral("10"));
    enter(o.box("FlatComboBox1"), QStringLiteral("2030"));
    QVERIFY(!o.line1().contains(warning));
    enter(o.box("FlatComboBox1"), QStringLiteral("2031"));
    QCOMPARE(o.grid()->selectedDate(), QDate(2031, 2, 10));
    QVERIFY(o.line1().endsWith(warning));
    QVERIFY(o.line2().startsWith(QStringLiteral("公历: 2月4日  立春  时间: 9点 25分")));

    // A term day after 2030: the warning comes before the term.
    enter(o.box("FlatComboBox3"), QStringLiteral("4"));
    QVERIFY(o.line1().endsWith(warning + blanks(6) + QStringLiteral("今日立春 时间: 9点25分")));
    QVERIFY(o.app.dialogs.messages.isEmpty());
}

void TestTwnl::dayResetOnMonthOrYearChange()
{
    OpenWindow o(QDateTime(QDate(2024, 1, 31), QTime(12, 0)));
    enter(o.box("FlatComboBox2"), QStringLiteral("2"));
    QCOMPARE(o.grid()->selectedDate(), QDate(2024, 2, 1));
    QCOMPARE(o.box("FlatComboBox3")->currentText(), QStringLiteral("1"));
    QVERIFY(o.line2().endsWith(QStringLiteral("星期四")));

    enter(o.box("FlatComboBox3"), QStringLiteral("29"));
    QCOMPARE(o.grid()->selectedDate(), QDate(2024, 2, 29));
    enter(o.box("FlatComboBox1"), QStringLiteral("2023"));
    QCOMPARE(o.grid()->selectedDate(), QDate(2023, 2, 1));
    QCOMPARE(o.box("FlatComboBox3")->currentText(), QStringLiteral("1"));
    QCOMPARE(o.grid()->monthShown(), 2);
    QCOMPARE(o.grid()->yearShown(), 2023);

    // Days up to 28 stay.
    enter(o.box("FlatComboBox3"), QStringLiteral("28"));
    enter(o.box("FlatComboBox2"), QStringLiteral("3"));
    QCOMPARE(o.grid()->selectedDate(), QDate(2023, 3, 28));
}

void TestTwnl::dayBeyondTheMonthIsIgnored()
{
    OpenWindow o(QDateTime(QDate(2024, 4, 15), QTime(12, 0)));
    const QString before = o.line1() + o.line2();
    enter(o.box("FlatComboBox3"), QStringLiteral("31"));
    QCOMPARE(o.grid()->selectedDate(), QDate(2024, 4, 15));
    QCOMPARE(o.box("FlatComboBox3")->currentText(), QStringLiteral("15"));
    QCOMPARE(o.line1() + o.line2(), before);
    QVERIFY(o.app.dialogs.messages.isEmpty());
}

void TestTwnl::clickInTheGridFillsTheDayBox()
{
    OpenWindow o(QDateTime(QDate(2000, 1, 1), QTime(12, 0)));
    QVERIFY(QTest::qWaitForWindowExposed(o.w));
    auto* view =
        o.grid()->findChild<QAbstractItemView*>(QStringLiteral("qt_calendar_calendarview"));
    QModelIndex day6;
    for (int row = 1; row < 4 && !day6.isValid(); ++row)
        for (int col = 0; col < 7; ++col)
            if (view->model()->index(row, col).data().toInt() == 6)
                day6 = view->model()->index(row, col);
    QVERIFY(day6.isValid());
    QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, view->visualRect(day6).center());
    QCOMPARE(o.grid()->selectedDate(), QDate(2000, 1, 6));
    QCOMPARE(o.box("FlatComboBox3")->currentText(), QStringLiteral("6"));
    QCOMPARE(o.line1(), QStringLiteral("四柱: 己卯  丁丑  癸亥  戊午      今日小寒 时间: 8点50分"));
    QVERIFY(o.line2().endsWith(QStringLiteral("星期四")));
}

// Text that is no number, or a moment the pillars do not know, is reported; the date, the
// time and the texts stay, and the box shows its value again.
void TestTwnl::refusedInput()
{
    OpenWindow o(QDateTime(QDate(2000, 1, 1), QTime(12, 0)));
    const QString before = o.line1() + o.line2();
    auto& messages = o.app.dialogs.messages;

    enter(o.box("FlatComboBox4"), QStringLiteral("abc"));
    QCOMPARE(messages.size(), 1);
    QVERIFY(messages.last().contains(QStringLiteral("abc")));
    QCOMPARE(o.box("FlatComboBox4")->currentText(), QStringLiteral("12"));

    enter(o.box("FlatComboBox5"), QStringLiteral("75"));
    QCOMPARE(messages.size(), 2);
    QCOMPARE(o.box("FlatComboBox5")->currentText(), QStringLiteral("0"));

    enter(o.box("FlatComboBox1"), QStringLiteral("1800"));
    QCOMPARE(messages.size(), 3);
    QCOMPARE(o.box("FlatComboBox1")->currentText(), QStringLiteral("2000"));

    enter(o.box("FlatComboBox2"), QStringLiteral("x"));
    QCOMPARE(messages.size(), 4);
    QCOMPARE(o.box("FlatComboBox2")->currentText(), QStringLiteral("1"));

    // A month outside 1 to 12 changes nothing, without a message.
    enter(o.box("FlatComboBox2"), QStringLiteral("13"));
    QCOMPARE(messages.size(), 4);
    QCOMPARE(o.box("FlatComboBox2")->currentText(), QStringLiteral("1"));

    QCOMPARE(o.grid()->selectedDate(), QDate(2000, 1, 1));
    QCOMPARE(o.line1() + o.line2(), before);

    // Years 1882 to 1900 get pillars although the grid shows only day numbers.
    enter(o.box("FlatComboBox1"), QStringLiteral("1882"));
    QCOMPARE(o.grid()->selectedDate(), QDate(1882, 1, 1));
    QVERIFY(o.line2().startsWith(QStringLiteral("公历: 1月5日  小寒  时间: 15点 32分")));
    QCOMPARE(messages.size(), 4);
}

void TestTwnl::labelClickCloses()
{
    OpenWindow o;
    QTest::mouseClick(o.control<QLabel>("RxLabel1"), Qt::LeftButton);
    QTRY_VERIFY(o.w.isNull());
}

QTEST_MAIN(TestTwnl)
#include "tst_twnl.moc"
