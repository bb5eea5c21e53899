#pragma once
// Name lists shared by the calendar computations (UTF-8).
#include <array>
#include <string_view>

namespace lumo::calendarnames
{

inline constexpr std::array<std::string_view, 10> stems = {"甲", "乙", "丙", "丁", "戊",
                                                           "己", "庚", "辛", "壬", "癸"};

inline constexpr std::array<std::string_view, 12> branches = {"子", "丑", "寅", "卯", "辰", "巳",
                                                              "午", "未", "申", "酉", "戌", "亥"};

// Branch of solar or lunar month 1 (寅) to 12 (丑), index month - 1.
inline constexpr std::array<std::string_view, 12> monthBranches = {
    "寅", "卯", "辰", "巳", "午", "未", "申", "酉", "戌", "亥", "子", "丑"};

// First character of the names of lunar months 1 to 12, index month - 1.
inline constexpr std::array<std::string_view, 12> lunarMonths = {
    "正", "二", "三", "四", "五", "六", "七", "八", "九", "十", "冬", "腊"};

inline constexpr std::array<std::string_view, 4> dayTens = {"初", "十", "廿", "三"};

inline constexpr std::array<std::string_view, 10> dayUnits = {"一", "二", "三", "四", "五",
                                                              "六", "七", "八", "九", "十"};

// Solar terms 1 to 24, index term - 1; term 2m-1 is the first term of Gregorian month m.
inline constexpr std::array<std::string_view, 24> solarTerms = {
    "小寒", "大寒", "立春", "雨水", "惊蛰", "春分", "清明", "谷雨", "立夏", "小满", "芒种", "夏至",
    "小暑", "大暑", "立秋", "处暑", "白露", "秋分", "寒露", "霜降", "立冬", "小雪", "大雪", "冬至"};

// Proper modulo: the result lies in 0 to m - 1 also for negative a.
constexpr int floorMod(int a, int m)
{
    const int r = a % m;
    return r < 0 ? r + m : r;
}

} // namespace lumo::calendarnames
