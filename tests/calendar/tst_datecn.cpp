// Lunar dates, names, solar-term days and stem-branch names of DateCn.
#include "DateCn.h"
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

} // namespace

class TestDateCn : public QObject
{
    Q_OBJECT

private slots:
    void solarToLunar_data();
    void solarToLunar();
    void leapMonthLengths();
    void wholeRangeCountsBack();
    void dayAndMonthNames_data();
    void dayAndMonthNames();
    void namesRejectOutOfRange();
    void solarTerms_data();
    void solarTerms();
    void firstTermsAgreeWithTermMoments();
    void ganZhi_data();
    void ganZhi();
    void dayGanZhiMatchesFourPillars();
    void outOfRangeDates();
};

void TestDateCn::solarToLunar_data()
{
    QTest::addColumn<int>("y");
    QTest::addColumn<int>("m");
    QTest::addColumn<int>("d");
    QTest::addColumn<int>("ly");
    QTest::addColumn<int>("lm");
    QTest::addColumn<int>("ld");
    QTest::addColumn<QString>("monthName");
    QTest::addColumn<QString>("dayName");

    QTest::addRow("first covered day") << 1901 << 1 << 1 << 1900 << 11 << 11 << "冬月"
                                       << "十一";
    QTest::addRow("last day of 冬月 1900") << 1901 << 1 << 19 << 1900 << 11 << 29 << "冬月"
                                           << "廿九";
    QTest::addRow("腊月 1900 begins") << 1901 << 1 << 20 << 1900 << 12 << 1 << "腊月"
                                      << "初一";
    QTest::addRow("eve of lunar 1901") << 1901 << 2 << 18 << 1900 << 12 << 30 << "腊月"
                                       << "三十";
    QTest::addRow("lunar new year 1901") << 1901 << 2 << 19 << 1901 << 1 << 1 << "正月"
                                         << "初一";
    QTest::addRow("2000-01-01") << 2000 << 1 << 1 << 1999 << 11 << 25 << "冬月"
                                << "廿五";
    QTest::addRow("second month 2023") << 2023 << 2 << 20 << 2023 << 2 << 1 << "二月"
                                       << "初一";
    QTest::addRow("leap second month 2023") << 2023 << 3 << 22 << 2023 << 2 << 1 << "二月"
                                            << "初一";
    QTest::addRow("third month 2023") << 2023 << 4 << 20 << 2023 << 3 << 1 << "三月"
                                      << "初一";
    QTest::addRow("lunar new year 2024") << 2024 << 2 << 10 << 2024 << 1 << 1 << "正月"
                                         << "初一";
    QTest::addRow("little new year 2024") << 2024 << 2 << 2 << 2023 << 12 << 23 << "腊月"
                                          << "廿三";
    QTest::addRow("last covered day") << 2050 << 12 << 31 << 2050 << 11 << 18 << "冬月"
                                      << "十八";
    // Lunar new year's days.
    QTest::addRow("new year 1950") << 1950 << 2 << 17 << 1950 << 1 << 1 << "正月"
                                   << "初一";
    QTest::addRow("new year 1970") << 1970 << 2 << 6 << 1970 << 1 << 1 << "正月"
                                   << "初一";
    QTest::addRow("new year 1985") << 1985 << 2 << 20 << 1985 << 1 << 1 << "正月"
                                   << "初一";
    QTest::addRow("new year 2008") << 2008 << 2 << 7 << 2008 << 1 << 1 << "正月"
                                   << "初一";
    QTest::addRow("new year 2020") << 2020 << 1 << 25 << 2020 << 1 << 1 << "正月"
                                   << "初一";
    QTest::addRow("new year 2033") << 2033 << 1 << 31 << 2033 << 1 << 1 << "正月"
                                   << "初一";
    QTest::addRow("new year 2050") << 2050 << 1 << 23 << 2050 << 1 << 1 << "正月"
                                   << "初一";
    // Month boundaries corrected in the month-length table (new moons in UTC+8).
    QTest::addRow("1989 七月 starts 08-02") << 1989 << 8 << 2 << 1989 << 7 << 1 << "七月"
                                            << "初一";
    QTest::addRow("1989-08-01 is 六月三十") << 1989 << 8 << 1 << 1989 << 6 << 30 << "六月"
                                            << "三十";
    QTest::addRow("2013 五月 starts 06-08") << 2013 << 6 << 8 << 2013 << 5 << 1 << "五月"
                                            << "初一";
    QTest::addRow("2013-06-07 is 四月廿九") << 2013 << 6 << 7 << 2013 << 4 << 29 << "四月"
                                            << "廿九";
    QTest::addRow("2025 四月 starts 04-28") << 2025 << 4 << 28 << 2025 << 4 << 1 << "四月"
                                            << "初一";
    QTest::addRow("2025-04-27 is 三月三十") << 2025 << 4 << 27 << 2025 << 3 << 30 << "三月"
                                            << "三十";
    // The leap sixth month of 2025 and the leap eleventh month of 2033.
    QTest::addRow("leap sixth month 2025") << 2025 << 7 << 25 << 2025 << 6 << 1 << "六月"
                                           << "初一";
    QTest::addRow("leap eleventh month 2033") << 2033 << 12 << 22 << 2033 << 11 << 1 << "冬月"
                                              << "初一";
}

void TestDateCn::solarToLunar()
{
    QFETCH(int, y);
    QFETCH(int, m);
    QFETCH(int, d);
    QFETCH(int, ly);
    QFETCH(int, lm);
    QFETCH(int, ld);
    QFETCH(QString, monthName);
    QFETCH(QString, dayName);
    const LunarDate lunar = DateCn::SolarToLunar(y, m, d);
    QCOMPARE(lunar.year, ly);
    QCOMPARE(lunar.month, lm);
    QCOMPARE(lunar.day, ld);
    QCOMPARE(q(DateCn::LunarMonthName(lunar.month)), monthName);
    QCOMPARE(q(DateCn::LunarDayName(lunar.day)), dayName);
}

void TestDateCn::leapMonthLengths()
{
    QCOMPARE(DateCn::LunarLeapMonth(2023), 2);
    QCOMPARE(DateCn::LunarLeapMonth(2024), 0);
    QCOMPARE(DateCn::LunarLeapMonth(2033), 11);
    // 2023: 二月 from 02-20 and its leap month from 03-22 both have 30 and 29 days.
    const LunarMonthLength second2023 = DateCn::LunarMonthDays(2023, 2);
    QCOMPARE(second2023.days, 30);
    QCOMPARE(second2023.leapDays, 29);
    QCOMPARE(DateCn::LunarMonthDays(2023, 3).leapDays, 0);
    QCOMPARE(DateCn::LunarYearDays(2023), 384);
    QCOMPARE(DateCn::LunarYearDays(2024), 354);
    // Outside the table every month has 30 days and there is no leap month.
    QCOMPARE(DateCn::LunarMonthDays(1900, 5).days, 30);
    QCOMPARE(DateCn::LunarMonthDays(1900, 5).leapDays, 0);
    QCOMPARE(DateCn::LunarLeapMonth(2051), 0);
    QVERIFY_THROWS_EXCEPTION(std::out_of_range, DateCn::LunarMonthDays(2000, 13));
}

// Walks every day from 1901-02-19 to 2050-12-31 through the lunar months as the tables
// give them, counting days, and checks that the conversion of each date lands on the day
// reached by counting; a fault in one month length shifts every later date.
void TestDateCn::wholeRangeCountsBack()
{
    int ly = 1901, lm = 1, ld = 1;
    bool inLeap = false;
    int checked = 0;
    for (long n = gregorian::daysFromCivil(1901, 2, 19);
         n <= gregorian::daysFromCivil(2050, 12, 31); ++n) {
        // Civil date of day n.
        long z = n + 719468;
        const long era = (z >= 0 ? z : z - 146096) / 146097;
        const long doe = z - era * 146097;
        const long yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
        const long doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
        const long mp = (5 * doy + 2) / 153;
        const int d = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
        const int m = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
        const int y = static_cast<int>(yoe + era * 400 + (m <= 2));

        const LunarDate lunar = DateCn::SolarToLunar(y, m, d);
        if (lunar.year != ly || lunar.month != lm || lunar.day != ld)
            QFAIL(qPrintable(QStringLiteral("%1-%2-%3 gives %4/%5/%6, counting gives %7/%8/%9")
                                 .arg(y)
                                 .arg(m)
                                 .arg(d)
                                 .arg(lunar.year)
                                 .arg(lunar.month)
                                 .arg(lunar.day)
                                 .arg(ly)
                                 .arg(lm)
                                 .arg(ld)));
        ++checked;

        const LunarMonthLength len = DateCn::LunarMonthDays(ly, lm);
        if (++ld > (inLeap ? len.leapDays : len.days)) {
            ld = 1;
            if (!inLeap && len.leapDays != 0) {
                inLeap = true;
            } else {
                inLeap = false;
                if (++lm > 12) {
                    lm = 1;
                    ++ly;
                }
            }
        }
    }
    QCOMPARE(checked, 54738);
    for (int year = 1901; year <= 2050; ++year) {
        const int days = DateCn::LunarYearDays(year);
        QVERIFY2(days >= 353 && days <= 385, qPrintable(QString::number(year)));
        QCOMPARE(days > 360, DateCn::LunarLeapMonth(year) != 0);
    }
}

void TestDateCn::dayAndMonthNames_data()
{
    QTest::addColumn<int>("number");
    QTest::addColumn<QString>("dayName");
    QTest::addColumn<QString>("monthName");
    QTest::addRow("1") << 1 << "初一"
                       << "正月";
    QTest::addRow("2") << 2 << "初二"
                       << "二月";
    QTest::addRow("10") << 10 << "初十"
                        << "十月";
    QTest::addRow("11") << 11 << "十一"
                        << "冬月";
    QTest::addRow("12") << 12 << "十二"
                        << "腊月";
    QTest::addRow("19") << 19 << "十九" << QString();
    QTest::addRow("20") << 20 << "廿十" << QString();
    QTest::addRow("21") << 21 << "廿一" << QString();
    QTest::addRow("29") << 29 << "廿九" << QString();
    QTest::addRow("30") << 30 << "三十" << QString();
}

void TestDateCn::dayAndMonthNames()
{
    QFETCH(int, number);
    QFETCH(QString, dayName);
    QFETCH(QString, monthName);
    QCOMPARE(q(DateCn::LunarDayName(number)), dayName);
    if (!monthName.isEmpty())
        QCOMPARE(q(DateCn::LunarMonthName(number)), monthName);
}

void TestDateCn::namesRejectOutOfRange()
{
    QVERIFY_THROWS_EXCEPTION(std::out_of_range, DateCn::LunarDayName(0));
    QVERIFY_THROWS_EXCEPTION(std::out_of_range, DateCn::LunarDayName(31));
    QVERIFY_THROWS_EXCEPTION(std::out_of_range, DateCn::LunarMonthName(0));
    QVERIFY_THROWS_EXCEPTION(std::out_of_range, DateCn::LunarMonthName(13));
    QCOMPARE(q(DateCn::SolarTermNameByIndex(0)), QString());
    QCOMPARE(q(DateCn::SolarTermNameByIndex(25)), QString());
}

void TestDateCn::solarTerms_data()
{
    QTest::addColumn<int>("y");
    QTest::addColumn<int>("m");
    QTest::addColumn<int>("d");
    QTest::addColumn<int>("index");
    QTest::addColumn<QString>("name");
    QTest::addRow("1901 小寒") << 1901 << 1 << 6 << 1 << "小寒";
    QTest::addRow("1901 大寒") << 1901 << 1 << 21 << 2 << "大寒";
    QTest::addRow("1901 冬至") << 1901 << 12 << 22 << 24 << "冬至";
    QTest::addRow("雨水 on lunar new year 1901") << 1901 << 2 << 19 << 4 << "雨水";
    QTest::addRow("立春 2024") << 2024 << 2 << 4 << 3 << "立春";
    QTest::addRow("day before 立春 2024") << 2024 << 2 << 3 << 0 << QString();
    QTest::addRow("plain day") << 2024 << 2 << 10 << 0 << QString();
    QTest::addRow("day 15") << 2024 << 2 << 15 << 0 << QString();
    // Terms corrected in the solar-term table, and the day they were wrongly put on.
    QTest::addRow("寒露 1904") << 1904 << 10 << 9 << 19 << "寒露";
    QTest::addRow("not 寒露 1904-10-08") << 1904 << 10 << 8 << 0 << QString();
    QTest::addRow("寒露 1929") << 1929 << 10 << 9 << 19 << "寒露";
    QTest::addRow("小雪 1929") << 1929 << 11 << 23 << 22 << "小雪";
    QTest::addRow("处暑 1949") << 1949 << 8 << 23 << 16 << "处暑";
    QTest::addRow("not 处暑 1949-08-24") << 1949 << 8 << 24 << 0 << QString();
    QTest::addRow("霜降 1954") << 1954 << 10 << 24 << 20 << "霜降";
    QTest::addRow("大寒 1962") << 1962 << 1 << 20 << 2 << "大寒";
    QTest::addRow("雨水 1973") << 1973 << 2 << 19 << 4 << "雨水";
    QTest::addRow("处暑 1976") << 1976 << 8 << 23 << 16 << "处暑";
    QTest::addRow("立夏 1977") << 1977 << 5 << 5 << 9 << "立夏";
    QTest::addRow("立冬 1981") << 1981 << 11 << 7 << 21 << "立冬";
    QTest::addRow("立夏 1991") << 1991 << 5 << 6 << 9 << "立夏";
    QTest::addRow("处暑 1995") << 1995 << 8 << 23 << 16 << "处暑";
    QTest::addRow("not 处暑 1995-08-21") << 1995 << 8 << 21 << 0 << QString();
    QTest::addRow("大暑 2033") << 2033 << 7 << 22 << 14 << "大暑";
    QTest::addRow("立秋 2034") << 2034 << 8 << 7 << 15 << "立秋";
    QTest::addRow("清明 2049") << 2049 << 4 << 4 << 7 << "清明";
    QTest::addRow("谷雨 2049") << 2049 << 4 << 19 << 8 << "谷雨";
    QTest::addRow("白露 2050") << 2050 << 9 << 7 << 17 << "白露";
    QTest::addRow("outside the table") << 1900 << 1 << 6 << 0 << QString();
}

void TestDateCn::solarTerms()
{
    QFETCH(int, y);
    QFETCH(int, m);
    QFETCH(int, d);
    QFETCH(int, index);
    QFETCH(QString, name);
    QCOMPARE(DateCn::SolarTermIndex(y, m, d), index);
    QCOMPARE(q(DateCn::SolarTermName(y, m, d)), name);
}

// The first-term days of the solar-term table and the term moments of calender1 come from
// different sources; they agree except in a few months whose term falls within minutes of
// midnight (大雪 1917-12-08 00:01 and 白露 1927-09-09 00:05, kept on the 7th and 8th).
void TestDateCn::firstTermsAgreeWithTermMoments()
{
    QStringList differing;
    for (int y = 1901; y <= 2050; ++y)
        for (int m = 1; m <= 12; ++m) {
            const int day = calender1::jieTerm(y, m).day;
            if (DateCn::SolarTermIndex(y, m, day) != 2 * m - 1)
                differing << QStringLiteral("%1-%2").arg(y).arg(m, 2, 10, QLatin1Char('0'));
        }
    QCOMPARE(differing.join(QLatin1Char(' ')), QStringLiteral("1917-12 1927-09"));
}

void TestDateCn::ganZhi_data()
{
    QTest::addColumn<int>("y");
    QTest::addColumn<int>("m");
    QTest::addColumn<int>("d");
    QTest::addColumn<QString>("year");
    QTest::addColumn<QString>("month");
    QTest::addColumn<QString>("day");
    QTest::addRow("1901-01-01") << 1901 << 1 << 1 << "辛丑"
                                << "戊子"
                                << "己卯";
    QTest::addRow("1949-10-01") << 1949 << 10 << 1 << "己丑"
                                << "癸酉"
                                << "甲子";
    QTest::addRow("lunar new year 1984") << 1984 << 2 << 2 << "甲子"
                                         << "丙寅"
                                         << "丙寅";
    QTest::addRow("2000-01-01") << 2000 << 1 << 1 << "庚辰"
                                << "丙子"
                                << "戊午";
    QTest::addRow("2024-02-10") << 2024 << 2 << 10 << "甲辰"
                                << "丙寅"
                                << "甲辰";
    QTest::addRow("leap month 2023") << 2023 << 3 << 22 << "癸卯"
                                     << "乙卯"
                                     << "己卯";
    QTest::addRow("2050-12-31") << 2050 << 12 << 31 << "庚午"
                                << "戊子"
                                << "乙酉";
}

void TestDateCn::ganZhi()
{
    QFETCH(int, y);
    QFETCH(int, m);
    QFETCH(int, d);
    QFETCH(QString, year);
    QFETCH(QString, month);
    QFETCH(QString, day);
    QCOMPARE(q(DateCn::YearGanZhi(y)), year);
    QCOMPARE(q(DateCn::LunarMonthGanZhi(y, m, d)), month);
    QCOMPARE(q(DateCn::DayGanZhi(y, m, d)), day);
    QCOMPARE(q(DateCn::GanZhiText(y, m, d)),
             year + QStringLiteral("  ") + month + QStringLiteral("  ") + day);
}

// Two independent day counts: DateCn's from 1900-12-31 and calender1's from 1881.
void TestDateCn::dayGanZhiMatchesFourPillars()
{
    calender1 c;
    for (int y = 1901; y <= 2050; ++y)
        for (int m = 1; m <= 12; ++m)
            for (int d = 1; d <= gregorian::daysInMonth(y, m); ++d) {
                const std::string pillars = c.FourPillars(y, m, d, 12, 0);
                if (calender1::pillar(pillars, 2) != DateCn::DayGanZhi(y, m, d))
                    QFAIL(qPrintable(QStringLiteral("%1-%2-%3").arg(y).arg(m).arg(d)));
            }
}

void TestDateCn::outOfRangeDates()
{
    QVERIFY(!DateCn::covers(1900, 12, 31));
    QVERIFY(!DateCn::covers(2051, 1, 1));
    QVERIFY(!DateCn::covers(2023, 2, 29));
    QVERIFY(DateCn::covers(2024, 2, 29));
    QVERIFY_THROWS_EXCEPTION(std::out_of_range, DateCn::SolarToLunar(1900, 12, 31));
    QVERIFY_THROWS_EXCEPTION(std::out_of_range, DateCn::SolarToLunar(2051, 1, 1));
    QVERIFY_THROWS_EXCEPTION(std::out_of_range, DateCn::SolarToLunar(2023, 2, 29));
    QVERIFY_THROWS_EXCEPTION(std::out_of_range, DateCn::DayGanZhi(2051, 1, 1));
    QCOMPARE(DateCn::SolarTermIndex(2051, 1, 5), 0);
}

QTEST_APPLESS_MAIN(TestDateCn)
#include "tst_datecn.moc"
