#pragma once
// Chinese lunar calendar for Gregorian dates 1901-01-01 to 2050-12-31: lunar dates, their
// names, the 24 solar terms by day and the stem-and-branch (干支) names of year, month and
// day. Pure computations over built-in tables; no state, no input or output, no Qt.
//
// Texts are UTF-8; every Chinese character takes three bytes.
#include <string>

namespace lumo
{

// A lunar date. A day of a leap month carries the number of the month it repeats.
struct LunarDate {
    int year = 0;
    int month = 0;
    int day = 0;
};

// Lengths of a lunar month and of the leap month that repeats it (0 when there is none).
struct LunarMonthLength {
    int days = 0;
    int leapDays = 0;
};

namespace DateCn
{

// First and last Gregorian year covered by the tables.
constexpr int firstYear = 1901;
constexpr int lastYear = 2050;

// True for a valid Gregorian date from 1901-01-01 to 2050-12-31.
bool covers(int year, int month, int day);

// 0, or the month number L (1 to 12) that the lunar year's leap month repeats.
// Years outside 1901 to 2050 have no leap month.
int LunarLeapMonth(int lunarYear);

// Days of lunar month 1 to 12 and of its leap month (0 if none). Years outside 1901 to 2050
// give 30 days and no leap month. Throws std::out_of_range for a month outside 1 to 12.
LunarMonthLength LunarMonthDays(int lunarYear, int month);

// Total days of the lunar year (353 to 385 within 1901 to 2050).
int LunarYearDays(int lunarYear);

// Lunar date of a Gregorian date. Throws std::out_of_range unless covers(year, month, day).
LunarDate SolarToLunar(int year, int month, int day);

// Two-character name of lunar day 1 to 30: 初一 … 初十, 十一 … 十九, 廿十, 廿一 … 廿九, 三十.
// Throws std::out_of_range for other days.
std::string LunarDayName(int lunarDay);

// 正月, 二月, …, 十月, 冬月, 腊月 for lunar month 1 to 12. Throws std::out_of_range otherwise.
std::string LunarMonthName(int lunarMonth);

// 0, or the solar term number 1 to 24 when the date is a term day (term 2m-1 is the first
// term of Gregorian month m, term 2m the second). 0 for dates outside the tables.
int SolarTermIndex(int year, int month, int day);

// Name of solar term 1 (小寒) to 24 (冬至); empty for anything else.
std::string SolarTermNameByIndex(int termIndex);

// Name of the date's solar term; empty when the date is no term day.
std::string SolarTermName(int year, int month, int day);

// Stem and branch of year number y (1984 is 甲子); the number is used as it is.
std::string YearGanZhi(int year);

// Stem and branch of the lunar month the date lies in. Throws like SolarToLunar.
std::string LunarMonthGanZhi(int year, int month, int day);

// Stem and branch of the day (1901-01-01 is 己卯). Throws like SolarToLunar.
std::string DayGanZhi(int year, int month, int day);

// YearGanZhi of the Gregorian year, two blanks, LunarMonthGanZhi, two blanks, DayGanZhi.
std::string GanZhiText(int year, int month, int day);

} // namespace DateCn
} // namespace lumo
