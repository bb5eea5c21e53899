#include "CalendarCommand.h"

#include "DateCn.h"
#include "GregorianDays.h"
#include "calender1.h"

#include <cstdio>
#include <optional>
#include <ostream>
#include <string>

namespace lumo
{
namespace
{

const char* const usage = "usage: lumoctl calendar YYYY-MM-DD [HH:MM] [--json]\n";

struct Moment {
    int year = 0;
    int month = 0;
    int day = 0;
    int hour = 12;
    int minute = 0;
};

// Reads exactly `count` decimal digits at `pos`.
std::optional<int> digits(const std::string& s, std::size_t pos, std::size_t count)
{
    if (pos + count > s.size())
        return std::nullopt;
    int value = 0;
    for (std::size_t i = pos; i < pos + count; ++i) {
        if (s[i] < '0' || s[i] > '9')
            return std::nullopt;
        value = value * 10 + (s[i] - '0');
    }
    return value;
}

// YYYY-MM-DD; the numbers only, the calendar check comes later.
bool parseDate(const std::string& s, Moment& m)
{
    if (s.size() != 10 || s[4] != '-' || s[7] != '-')
        return false;
    const auto y = digits(s, 0, 4), mo = digits(s, 5, 2), d = digits(s, 8, 2);
    if (!y || !mo || !d)
        return false;
    m.year = *y;
    m.month = *mo;
    m.day = *d;
    return true;
}

// H:MM or HH:MM, 0:00 to 23:59.
bool parseTime(const std::string& s, Moment& m)
{
    const std::size_t colon = s.find(':');
    if (colon != 1 && colon != 2)
        return false;
    const auto h = digits(s, 0, colon);
    const auto n = digits(s, colon + 1, 2);
    if (!h || !n || s.size() != colon + 3 || *h > 23 || *n > 59)
        return false;
    m.hour = *h;
    m.minute = *n;
    return true;
}

std::string jsonString(const std::string& s)
{
    std::string out = "\"";
    for (const char c : s) {
        if (c == '"' || c == '\\')
            out += '\\';
        out += c;
    }
    return out + '"';
}

std::string twoDigits(int v)
{
    char buf[16];
    std::snprintf(buf, sizeof buf, "%02d", v);
    return buf;
}

} // namespace

int calendarCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err)
{
    bool json = false;
    std::vector<std::string> positional;
    for (const std::string& a : args) {
        if (a == "--json")
            json = true;
        else if (a.rfind("--", 0) == 0) {
            err << "calendar: unknown option " << a << "\n" << usage;
            return 2;
        } else
            positional.push_back(a);
    }
    Moment m;
    if (positional.empty() || positional.size() > 2 || !parseDate(positional[0], m) ||
        (positional.size() == 2 && !parseTime(positional[1], m))) {
        err << usage;
        return 2;
    }
    // A day the calendar does not have (2023-02-29, 2024-04-31) is bad input like month 13;
    // only real dates outside the tables are out of range.
    if (!gregorian::isValidDate(m.year, m.month, m.day)) {
        err << "calendar: " << positional[0] << " is no date\n" << usage;
        return 2;
    }
    if (!DateCn::covers(m.year, m.month, m.day)) {
        err << "calendar: " << positional[0] << " is no date from 1901-01-01 to 2050-12-31\n";
        return 1;
    }

    const LunarDate lunar = DateCn::SolarToLunar(m.year, m.month, m.day);
    const std::string monthName = DateCn::LunarMonthName(lunar.month);
    const std::string dayName = DateCn::LunarDayName(lunar.day);
    const int term = DateCn::SolarTermIndex(m.year, m.month, m.day);
    const std::string termName = DateCn::SolarTermNameByIndex(term);
    const std::string yearGanZhi = DateCn::YearGanZhi(m.year);
    const std::string monthGanZhi = DateCn::LunarMonthGanZhi(m.year, m.month, m.day);
    const std::string dayGanZhi = DateCn::DayGanZhi(m.year, m.month, m.day);
    // The year name is YearGanZhi of the Gregorian year, as the lunar grid and GanZhiText
    // give it: January and February before the lunar new year already carry the new name.
    calender1 pillars;
    const std::string fourPillars =
        calender1::pillarText(pillars.FourPillars(m.year, m.month, m.day, m.hour, m.minute), " ");

    if (json) {
        out << "{\"lunar_year\": " << lunar.year << ", \"lunar_month\": " << lunar.month
            << ", \"lunar_day\": " << lunar.day << ", \"month_name\": " << jsonString(monthName)
            << ", \"day_name\": " << jsonString(dayName) << ", \"term_index\": " << term
            << ", \"term_name\": " << jsonString(termName)
            << ", \"year_ganzhi\": " << jsonString(yearGanZhi)
            << ", \"month_ganzhi\": " << jsonString(monthGanZhi)
            << ", \"day_ganzhi\": " << jsonString(dayGanZhi)
            << ", \"four_pillars\": " << jsonString(fourPillars)
            << ", \"jie_day\": " << pillars.JieTermDay()
            << ", \"jie_name\": " << jsonString(pillars.JieTermName())
            << ", \"jie_hour\": " << pillars.JieTermHour()
            << ", \"jie_minute\": " << pillars.JieTermMinute() << "}\n";
        return 0;
    }
    out << "date: " << positional[0] << " " << twoDigits(m.hour) << ":" << twoDigits(m.minute)
        << "\n";
    out << "lunar: " << lunar.year << "-" << twoDigits(lunar.month) << "-" << twoDigits(lunar.day)
        << " " << monthName << dayName << "\n";
    out << "term: " << (term == 0 ? std::string("none") : std::to_string(term) + " " + termName)
        << "\n";
    out << "ganzhi: " << DateCn::GanZhiText(m.year, m.month, m.day) << "\n";
    out << "four pillars: " << fourPillars << "\n";
    out << "first term of the month: " << m.month << "-" << pillars.JieTermDay() << " "
        << pillars.JieTermName() << " " << twoDigits(pillars.JieTermHour()) << ":"
        << twoDigits(pillars.JieTermMinute()) << "\n";
    return 0;
}

} // namespace lumo
