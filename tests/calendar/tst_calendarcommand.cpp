// "lumoctl calendar DATE [HH:MM] [--json]".
#include "CalendarCommand.h"

#include <QJsonDocument>
#include <QJsonObject>
#include <QtTest>

#include <sstream>
#include <string>
#include <vector>

using namespace lumo;

namespace
{

struct Run {
    int code = 0;
    QString out;
    QString err;
};

Run run(const QStringList& args)
{
    std::vector<std::string> a;
    for (const QString& s : args)
        a.push_back(s.toStdString());
    std::ostringstream out, err;
    Run r;
    r.code = calendarCommand(a, out, err);
    r.out = QString::fromStdString(out.str());
    r.err = QString::fromStdString(err.str());
    return r;
}

} // namespace

class TestCalendarCommand : public QObject
{
    Q_OBJECT

private slots:
    void json_data();
    void json();
    void text();
    void exitCodes_data();
    void exitCodes();
};

void TestCalendarCommand::json_data()
{
    QTest::addColumn<QStringList>("args");
    QTest::addColumn<QString>("expected");
    QTest::addRow("term day at the term's minute")
        << QStringList{QStringLiteral("2024-02-04"), QStringLiteral("16:37"),
                       QStringLiteral("--json")}
        << QStringLiteral(R"({"lunar_year": 2023, "lunar_month": 12, "lunar_day": 25,
            "month_name": "腊月", "day_name": "廿五", "term_index": 3, "term_name": "立春",
            "year_ganzhi": "甲辰", "month_ganzhi": "乙丑", "day_ganzhi": "戊戌",
            "four_pillars": "甲辰 丙寅 戊戌 庚申", "jie_day": 4, "jie_name": "立春",
            "jie_hour": 16, "jie_minute": 37})");
    QTest::addRow("default time 12:00, no term")
        << QStringList{QStringLiteral("--json"), QStringLiteral("2000-01-01")}
        << QStringLiteral(R"({"lunar_year": 1999, "lunar_month": 11, "lunar_day": 25,
            "month_name": "冬月", "day_name": "廿五", "term_index": 0, "term_name": "",
            "year_ganzhi": "庚辰", "month_ganzhi": "丙子", "day_ganzhi": "戊午",
            "four_pillars": "己卯 丙子 戊午 戊午", "jie_day": 6, "jie_name": "小寒",
            "jie_hour": 8, "jie_minute": 50})");
    // Lunar year 1900 (庚子) still runs, yet the year name is that of the Gregorian year.
    QTest::addRow("first covered day, year name of the Gregorian year")
        << QStringList{QStringLiteral("1901-01-01"), QStringLiteral("--json")}
        << QStringLiteral(R"({"lunar_year": 1900, "lunar_month": 11, "lunar_day": 11,
            "month_name": "冬月", "day_name": "十一", "term_index": 0, "term_name": "",
            "year_ganzhi": "辛丑", "month_ganzhi": "戊子", "day_ganzhi": "己卯",
            "four_pillars": "庚子 戊子 己卯 庚午", "jie_day": 6, "jie_name": "小寒",
            "jie_hour": 7, "jie_minute": 53})");
    QTest::addRow("last covered day, one-digit hour")
        << QStringList{QStringLiteral("2050-12-31"), QStringLiteral("0:05"),
                       QStringLiteral("--json")}
        << QStringLiteral(R"({"lunar_year": 2050, "lunar_month": 11, "lunar_day": 18,
            "month_name": "冬月", "day_name": "十八", "term_index": 0, "term_name": "",
            "year_ganzhi": "庚午", "month_ganzhi": "戊子", "day_ganzhi": "乙酉",
            "four_pillars": "庚午 戊子 乙酉 丙子", "jie_day": 7, "jie_name": "大雪",
            "jie_hour": 6, "jie_minute": 42})");
}

void TestCalendarCommand::json()
{
    QFETCH(QStringList, args);
    QFETCH(QString, expected);
    const Run r = run(args);
    QCOMPARE(r.code, 0);
    QCOMPARE(r.err, QString());
    QVERIFY(r.out.endsWith(QLatin1Char('\n')));
    QCOMPARE(r.out.count(QLatin1Char('\n')), 1);
    QJsonParseError error;
    const QJsonDocument doc = QJsonDocument::fromJson(r.out.toUtf8(), &error);
    QCOMPARE(error.error, QJsonParseError::NoError);
    const QJsonObject want = QJsonDocument::fromJson(expected.toUtf8()).object();
    QVERIFY(!want.isEmpty());
    QCOMPARE(doc.object(), want);
}

void TestCalendarCommand::text()
{
    const Run r = run({QStringLiteral("2024-02-04"), QStringLiteral("16:36")});
    QCOMPARE(r.code, 0);
    QCOMPARE(r.out, QStringLiteral("date: 2024-02-04 16:36\n"
                                   "lunar: 2023-12-25 腊月廿五\n"
                                   "term: 3 立春\n"
                                   "ganzhi: 甲辰  乙丑  戊戌\n"
                                   "four pillars: 癸卯 乙丑 戊戌 庚申\n"
                                   "first term of the month: 2-4 立春 16:37\n"));
    QCOMPARE(run({QStringLiteral("2024-02-10")}).out.section(QLatin1Char('\n'), 2, 2),
             QStringLiteral("term: none"));
}

void TestCalendarCommand::exitCodes_data()
{
    QTest::addColumn<QStringList>("args");
    QTest::addColumn<int>("code");
    QTest::addRow("first covered day") << QStringList{QStringLiteral("1901-01-01")} << 0;
    QTest::addRow("before the range") << QStringList{QStringLiteral("1900-12-31")} << 1;
    QTest::addRow("after the range") << QStringList{QStringLiteral("2051-01-01")} << 1;
    QTest::addRow("last covered day") << QStringList{QStringLiteral("2050-12-31")} << 0;
    QTest::addRow("29 February 2024") << QStringList{QStringLiteral("2024-02-29")} << 0;
    QTest::addRow("real date before 1901, hour 23")
        << QStringList{QStringLiteral("1900-12-31"), QStringLiteral("23:00")} << 1;
    // Days that do not exist are bad input, like month 13.
    QTest::addRow("no 29 February in 2023") << QStringList{QStringLiteral("2023-02-29")} << 2;
    QTest::addRow("no 31 April") << QStringList{QStringLiteral("2024-04-31")} << 2;
    QTest::addRow("day 0") << QStringList{QStringLiteral("2024-04-00")} << 2;
    QTest::addRow("no 29 February out of range") << QStringList{QStringLiteral("1900-02-29")} << 2;
    QTest::addRow("no arguments") << QStringList{} << 2;
    QTest::addRow("month 13") << QStringList{QStringLiteral("2024-13-01")} << 2;
    QTest::addRow("not a date") << QStringList{QStringLiteral("tomorrow")} << 2;
    QTest::addRow("short date") << QStringList{QStringLiteral("2024-2-4")} << 2;
    QTest::addRow("hour 24") << QStringList{QStringLiteral("2024-02-04"), QStringLiteral("24:00")}
                             << 2;
    QTest::addRow("minute 60") << QStringList{QStringLiteral("2024-02-04"), QStringLiteral("12:60")}
                               << 2;
    QTest::addRow("time without minutes")
        << QStringList{QStringLiteral("2024-02-04"), QStringLiteral("12")} << 2;
    QTest::addRow("unknown option")
        << QStringList{QStringLiteral("2024-02-04"), QStringLiteral("--xml")} << 2;
    QTest::addRow("extra argument")
        << QStringList{QStringLiteral("2024-02-04"), QStringLiteral("12:00"), QStringLiteral("x")}
        << 2;
}

void TestCalendarCommand::exitCodes()
{
    QFETCH(QStringList, args);
    QFETCH(int, code);
    const Run r = run(args);
    QCOMPARE(r.code, code);
    // Failures say why on the error stream and print nothing else.
    QCOMPARE(r.err.isEmpty(), code == 0);
    QCOMPARE(r.out.isEmpty(), code != 0);
}

QTEST_APPLESS_MAIN(TestCalendarCommand)
#include "tst_calendarcommand.moc"
