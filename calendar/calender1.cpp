#include "calender1.h"

#include "CalendarNames.h"
#include "GregorianDays.h"

#include <cstdint>
#include <stdexcept>

namespace lumo
{
namespace
{

using namespace calendarnames;

struct PackedJieTerm {
    std::uint8_t day;
    std::uint8_t hour;
    std::uint8_t minute;
};

// First solar term of every month, January 1882 to December 2050, entry
// (year - 1882) * 12 + month - 1; produced by tools/jieterms.
constexpr PackedJieTerm jieTerms[] = {
#include "JieTermTable.inc"
};
static_assert(sizeof(jieTerms) / sizeof(jieTerms[0]) ==
                  (calender1::lastYear - calender1::firstYear + 1) * 12,
              "one entry per covered month");

bool coveredMonth(int year, int month)
{
    return year >= calender1::firstYear && year <= calender1::lastYear && month >= 1 && month <= 12;
}

const PackedJieTerm& entry(int year, int month)
{
    if (!coveredMonth(year, month))
        throw std::out_of_range("month outside January 1882 to December 2050");
    return jieTerms[(year - calender1::firstYear) * 12 + month - 1];
}

// Start of the month-stem run of a pillar year: 甲/己 years begin at 丙寅, 乙/庚 at 戊寅,
// 丙/辛 at 庚寅, 丁/壬 at 壬寅, 戊/癸 at 甲寅 (indexed by year mod 10).
constexpr int monthStemStart[10] = {4, 6, 8, 0, 2, 4, 6, 8, 0, 2};

// Sequence number T of the day: stem index T mod 10, branch index (T + 2) mod 12, so that
// 1949-10-01 is 甲子. The count follows the true Gregorian calendar, 1900 being a common
// year, so days before 1900-03-01 get their true pillar as well.
long daySequence(int year, int month, int day)
{
    return gregorian::daysFromCivil(year, month, day) - gregorian::daysFromCivil(1881, 1, 1) + 341;
}

} // namespace

bool calender1::covers(int year, int month, int day)
{
    return coveredMonth(year, month) && gregorian::isValidDate(year, month, day);
}

JieTerm calender1::jieTerm(int year, int month)
{
    const PackedJieTerm& e = entry(year, month);
    return {e.day, e.hour, e.minute};
}

std::string calender1::FourPillars(int year, int month, int day, int hour, int minute)
{
    if (!covers(year, month, day))
        throw std::out_of_range("date outside 1882-01-01 to 2050-12-31");
    if (hour < 0 || hour > 23 || minute < 0 || minute > 59)
        throw std::out_of_range("time outside 00:00 to 23:59");
    const PackedJieTerm& term = entry(year, month);
    lastYear_ = year;
    lastMonth_ = month;

    const bool beforeTerm =
        day < term.day ||
        (day == term.day && (hour < term.hour || (hour == term.hour && minute < term.minute)));
    // Solar month 1 is the 寅 month beginning at 立春, month 12 the 丑 month.
    int pillarYear = year;
    int solarMonth = beforeTerm ? month - 2 : month - 1;
    if (solarMonth < 1) {
        solarMonth += 12;
        --pillarYear;
    }

    const int cycle = floorMod(pillarYear - 1804, 60); // 1804 is 甲子
    std::string s(stems[cycle % 10]);
    s += branches[cycle % 12];

    s += stems[(monthStemStart[floorMod(pillarYear, 10)] + solarMonth - 1) % 10];
    s += monthBranches[solarMonth - 1];

    const long t = daySequence(year, month, day);
    const int dayStem = static_cast<int>(t % 10);
    s += stems[dayStem];
    s += branches[(t + 2) % 12];

    // Hour 23 already belongs to the 子 hour, still of the same day pillar.
    const int hourBranch = ((hour + 1) / 2) % 12;
    s += stems[(2 * dayStem + hourBranch) % 10];
    s += branches[hourBranch];

    s += std::to_string(dayStem);
    return s;
}

std::string calender1::pillar(const std::string& fourPillars, int k)
{
    // Each stem and branch is one three-byte UTF-8 character.
    if (k < 0 || k > 3 || fourPillars.size() < 24)
        return {};
    return fourPillars.substr(static_cast<std::size_t>(k) * 6, 6);
}

std::string calender1::pillarText(const std::string& fourPillars, const std::string& separator)
{
    std::string s = pillar(fourPillars, 0);
    for (int k = 1; k < 4; ++k)
        s += separator + pillar(fourPillars, k);
    return s;
}

int calender1::JieTermDay() const
{
    return lastMonth_ == 0 ? 0 : entry(lastYear_, lastMonth_).day;
}

std::string calender1::JieTermName() const
{
    return lastMonth_ == 0 ? std::string() : std::string(solarTerms[2 * lastMonth_ - 2]);
}

int calender1::JieTermHour() const
{
    return lastMonth_ == 0 ? 0 : entry(lastYear_, lastMonth_).hour;
}

int calender1::JieTermMinute() const
{
    return lastMonth_ == 0 ? 0 : entry(lastYear_, lastMonth_).minute;
}

} // namespace lumo
