#pragma once
// Four pillars (四柱) of a date and clock time, with the year and month boundaries set to the
// minute by the first solar term (节) of each Gregorian month, and the moment of that term.
// Covers Gregorian months January 1882 to December 2050; plain C++, no Qt.
//
// Texts are UTF-8; every Chinese character takes three bytes.
#include <string>

namespace lumo
{

// Moment of a month's first solar term in Beijing time (UTC+8).
struct JieTerm {
    int day = 0;
    int hour = 0;
    int minute = 0;
};

class calender1
{
public:
    static constexpr int firstYear = 1882;
    static constexpr int lastYear = 2050;

    // True for a valid Gregorian date in the covered months.
    static bool covers(int year, int month, int day);

    // First solar term of a covered Gregorian month. Throws std::out_of_range otherwise.
    static JieTerm jieTerm(int year, int month);

    // Eight characters (year stem, year branch, month stem, month branch, day stem, day
    // branch, hour stem, hour branch) followed by the day-stem index 0 to 9 in decimal.
    // Remembers year and month for the term accessors. Throws std::out_of_range for dates
    // outside covers() and for an hour outside 0 to 23 or a minute outside 0 to 59.
    std::string FourPillars(int year, int month, int day, int hour, int minute);

    // Pillar k (0 year, 1 month, 2 day, 3 hour) of a FourPillars result: two characters.
    static std::string pillar(const std::string& fourPillars, int k);

    // The four pairs of a FourPillars result joined by the separator.
    static std::string pillarText(const std::string& fourPillars, const std::string& separator);

    // First term of the Gregorian month of the last FourPillars call (not of the shifted
    // pillar month). Before any call they give 0 and the empty text.
    int JieTermDay() const;
    std::string JieTermName() const;
    int JieTermHour() const;
    int JieTermMinute() const;

private:
    int lastYear_ = 0;
    int lastMonth_ = 0;
};

} // namespace lumo
