// Four pillars and first-term moments of calender1.
#include "GregorianDays.h"
#include "calender1.h"

#include <QtTest>

#include <stdexcept>
#include <string>

using namespace lumo;

namespace
{

QString q(const std::string& s)
{
    return QString::fromStdString(s);
}

// The four pairs of a FourPillars result joined by single blanks, e.g. "己卯 丙子 戊午 戊午".
QString pairs(const std::string& fourPillars)
{
    return q(calender1::pillarText(fourPillars, " "));
}

} // namespace

class TestFourPillars : public QObject
{
    Q_OBJECT

private slots:
    void fourPillars_data();
    void fourPillars();
    void resultLayout();
    void termAccessorsFollowLastCall();
    void correctedTermMoments();
    void dayPillarRunsOnAcross1900();
    void termTableIsPlausible();
    void outOfRange();
};

void TestFourPillars::fourPillars_data()
{
    QTest::addColumn<int>("y");
    QTest::addColumn<int>("m");
    QTest::addColumn<int>("d");
    QTest::addColumn<int>("h");
    QTest::addColumn<int>("n");
    QTest::addColumn<QString>("expected");

    // 立春 2024 falls at 16:37; its own minute counts as after the term.
    QTest::addRow("minute before 立春") << 2024 << 2 << 4 << 16 << 36 << "癸卯 乙丑 戊戌 庚申";
    QTest::addRow("minute of 立春") << 2024 << 2 << 4 << 16 << 37 << "甲辰 丙寅 戊戌 庚申";
    QTest::addRow("17:00 after 立春") << 2024 << 2 << 4 << 17 << 0 << "甲辰 丙寅 戊戌 辛酉";
    QTest::addRow("day before 立春") << 2024 << 2 << 3 << 23 << 59 << "癸卯 乙丑 丁酉 庚子";
    // 惊蛰 2024 at 10:21 moves the month from 寅 to 卯 within the same pillar year.
    QTest::addRow("minute before 惊蛰") << 2024 << 3 << 5 << 10 << 20 << "甲辰 丙寅 戊辰 丁巳";
    QTest::addRow("minute of 惊蛰") << 2024 << 3 << 5 << 10 << 21 << "甲辰 丁卯 戊辰 丁巳";
    // Before 小寒 (2000-01-06 08:50) January is the 子 month of the previous year.
    QTest::addRow("2000-01-01 12:00") << 2000 << 1 << 1 << 12 << 0 << "己卯 丙子 戊午 戊午";
    QTest::addRow("after 小寒 2000") << 2000 << 1 << 6 << 8 << 50 << "己卯 丁丑 癸亥 丙辰";
    QTest::addRow("1949-10-01 15:00") << 1949 << 10 << 1 << 15 << 0 << "己丑 癸酉 甲子 壬申";
    // Hours 0 and 23 are both the 子 hour of the same day pillar; on 甲 and 己 days its stem is 甲.
    QTest::addRow("hour 0 on a 甲 day") << 1949 << 10 << 1 << 0 << 0 << "己丑 癸酉 甲子 甲子";
    QTest::addRow("hour 23 on a 甲 day") << 1949 << 10 << 1 << 23 << 59 << "己丑 癸酉 甲子 甲子";
    QTest::addRow("hour 1 on a 甲 day") << 1949 << 10 << 1 << 1 << 0 << "己丑 癸酉 甲子 乙丑";
    QTest::addRow("hour 0 on a 己 day") << 1949 << 10 << 6 << 0 << 0 << "己丑 癸酉 己巳 甲子";
    QTest::addRow("hour 22 on a 己 day") << 1949 << 10 << 6 << 22 << 0 << "己丑 癸酉 己巳 乙亥";
    // Ends of the covered range.
    QTest::addRow("1882-01-01") << 1882 << 1 << 1 << 12 << 0 << "辛巳 庚子 庚子 壬午";
    QTest::addRow("2050-12-31") << 2050 << 12 << 31 << 12 << 0 << "庚午 戊子 乙酉 壬午";
}

void TestFourPillars::fourPillars()
{
    QFETCH(int, y);
    QFETCH(int, m);
    QFETCH(int, d);
    QFETCH(int, h);
    QFETCH(int, n);
    QFETCH(QString, expected);
    calender1 c;
    QCOMPARE(pairs(c.FourPillars(y, m, d, h, n)), expected);
}

void TestFourPillars::resultLayout()
{
    calender1 c;
    // Eight characters and the day-stem index: 戊 is stem 4.
    const std::string s = c.FourPillars(2000, 1, 1, 12, 0);
    QCOMPARE(q(s), QStringLiteral("己卯丙子戊午戊午4"));
    QCOMPARE(q(calender1::pillar(s, 2)), QStringLiteral("戊午"));
    QCOMPARE(q(c.FourPillars(1949, 10, 10, 12, 0)).right(1), QStringLiteral("9")); // 癸酉
}

void TestFourPillars::termAccessorsFollowLastCall()
{
    calender1 c;
    QCOMPARE(c.JieTermDay(), 0);
    QCOMPARE(q(c.JieTermName()), QString());

    c.FourPillars(2000, 1, 1, 12, 0);
    QCOMPARE(c.JieTermDay(), 6);
    QCOMPARE(q(c.JieTermName()), QStringLiteral("小寒"));
    QCOMPARE(c.JieTermHour(), 8);
    QCOMPARE(c.JieTermMinute(), 50);

    // The accessors refer to the Gregorian month given, not to the shifted pillar month.
    c.FourPillars(2024, 2, 4, 16, 36);
    QCOMPARE(c.JieTermDay(), 4);
    QCOMPARE(q(c.JieTermName()), QStringLiteral("立春"));
    QCOMPARE(c.JieTermHour(), 16);
    QCOMPARE(c.JieTermMinute(), 37);
}

// Two entries of the originally printed rows were almost a day early; the true moments
// are 大雪 2024-12-06 23:17 and 立冬 2031-11-07 23:06.
void TestFourPillars::correctedTermMoments()
{
    calender1 c;
    QCOMPARE(pairs(c.FourPillars(2024, 12, 6, 23, 16)), QStringLiteral("甲辰 乙亥 甲辰 甲子"));
    QCOMPARE(c.JieTermDay(), 6);
    QCOMPARE(c.JieTermHour(), 23);
    QCOMPARE(c.JieTermMinute(), 17);
    QCOMPARE(pairs(c.FourPillars(2024, 12, 6, 23, 17)), QStringLiteral("甲辰 丙子 甲辰 甲子"));

    QCOMPARE(pairs(c.FourPillars(2031, 11, 7, 23, 5)).section(QLatin1Char(' '), 1, 1),
             QStringLiteral("戊戌"));
    QCOMPARE(c.JieTermDay(), 7);
    QCOMPARE(q(c.JieTermName()), QStringLiteral("立冬"));
    QCOMPARE(c.JieTermHour(), 23);
    QCOMPARE(c.JieTermMinute(), 6);
    QCOMPARE(pairs(c.FourPillars(2031, 11, 7, 23, 6)).section(QLatin1Char(' '), 1, 1),
             QStringLiteral("己亥"));

    // The rest of the printed rows is kept as printed.
    const JieTerm kept[] = {calender1::jieTerm(1882, 1), calender1::jieTerm(2000, 12),
                            calender1::jieTerm(2024, 11), calender1::jieTerm(2031, 12)};
    const int expected[][3] = {{5, 15, 32}, {7, 3, 29}, {7, 7, 49}, {7, 17, 16}};
    for (int i = 0; i < 4; ++i) {
        QCOMPARE(kept[i].day, expected[i][0]);
        QCOMPARE(kept[i].hour, expected[i][1]);
        QCOMPARE(kept[i].minute, expected[i][2]);
    }
}

// 1900 is a common year: the day pillars run on without a gap from 1882 to 1900-03-01.
void TestFourPillars::dayPillarRunsOnAcross1900()
{
    calender1 c;
    QCOMPARE(pairs(c.FourPillars(1900, 1, 1, 12, 0)).section(QLatin1Char(' '), 2, 2),
             QStringLiteral("甲戌"));
    QCOMPARE(pairs(c.FourPillars(1900, 2, 28, 12, 0)).section(QLatin1Char(' '), 2, 2),
             QStringLiteral("壬申"));
    QCOMPARE(pairs(c.FourPillars(1900, 3, 1, 12, 0)).section(QLatin1Char(' '), 2, 2),
             QStringLiteral("癸酉"));
    // Each day's pillar is the next one of the sixty after the previous day's.
    const QString stems = QStringLiteral("甲乙丙丁戊己庚辛壬癸");
    const QString branches = QStringLiteral("子丑寅卯辰巳午未申酉戌亥");
    int previous = -1;
    for (int y = 1882; y <= 1901; ++y)
        for (int m = 1; m <= 12; ++m)
            for (int d = 1; d <= gregorian::daysInMonth(y, m); ++d) {
                const QString day = q(calender1::pillar(c.FourPillars(y, m, d, 12, 0), 2));
                const int s10 = stems.indexOf(day.at(0));
                const int s12 = branches.indexOf(day.at(1));
                const int index = (6 * s10 - 5 * s12 + 60) % 60; // the n with n%10, n%12 given
                if (previous >= 0 && index != (previous + 1) % 60)
                    QFAIL(qPrintable(QStringLiteral("%1-%2-%3").arg(y).arg(m).arg(d)));
                previous = index;
            }
}

// Every month's first term lies on day 3 to 9 at a valid clock time, and consecutive terms
// are 29.4 to 31.5 days apart.
void TestFourPillars::termTableIsPlausible()
{
    long previousMinutes = 0;
    for (int y = calender1::firstYear; y <= calender1::lastYear; ++y)
        for (int m = 1; m <= 12; ++m) {
            const JieTerm t = calender1::jieTerm(y, m);
            const QString where = QStringLiteral("%1-%2").arg(y).arg(m);
            QVERIFY2(t.day >= 3 && t.day <= 9, qPrintable(where));
            QVERIFY2(t.hour >= 0 && t.hour <= 23, qPrintable(where));
            QVERIFY2(t.minute >= 0 && t.minute <= 59, qPrintable(where));
            const long minutes =
                (gregorian::daysFromCivil(y, m, t.day) * 24 + t.hour) * 60 + t.minute;
            if (previousMinutes != 0) {
                const double days = (minutes - previousMinutes) / 1440.0;
                QVERIFY2(days > 29.4 && days < 31.5, qPrintable(where));
            }
            previousMinutes = minutes;
        }
}

void TestFourPillars::outOfRange()
{
    calender1 c;
    QVERIFY_THROWS_EXCEPTION(std::out_of_range, c.FourPillars(1881, 12, 31, 12, 0));
    QVERIFY_THROWS_EXCEPTION(std::out_of_range, c.FourPillars(2051, 1, 1, 12, 0));
    QVERIFY_THROWS_EXCEPTION(std::out_of_range, c.FourPillars(2023, 2, 29, 12, 0));
    QVERIFY_THROWS_EXCEPTION(std::out_of_range, c.FourPillars(2000, 1, 1, 24, 0));
    QVERIFY_THROWS_EXCEPTION(std::out_of_range, c.FourPillars(2000, 1, 1, 12, 60));
    QVERIFY_THROWS_EXCEPTION(std::out_of_range, calender1::jieTerm(2051, 1));
    // A refused call leaves the accessors on the last accepted month.
    c.FourPillars(2050, 12, 31, 12, 0);
    QVERIFY_THROWS_EXCEPTION(std::out_of_range, c.FourPillars(2051, 1, 1, 12, 0));
    QCOMPARE(q(c.JieTermName()), QStringLiteral("大雪"));
}

QTEST_APPLESS_MAIN(TestFourPillars)
#include "tst_fourpillars.moc"
