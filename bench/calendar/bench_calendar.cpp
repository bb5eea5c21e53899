// Converts every day from 1901-01-01 to 2050-12-31 as the lunar grid does (lunar date, day
// and month names, solar term, stem-branch names) and prints "name value unit" lines.
#include "DateCn.h"
#include "GregorianDays.h"

#include <chrono>
#include <cstdio>
#include <string>

using namespace lumo;

int main()
{
    const auto start = std::chrono::steady_clock::now();
    long days = 0;
    std::size_t textBytes = 0; // keeps the work observable
    for (int y = DateCn::firstYear; y <= DateCn::lastYear; ++y)
        for (int m = 1; m <= 12; ++m)
            for (int d = 1; d <= gregorian::daysInMonth(y, m); ++d) {
                const LunarDate lunar = DateCn::SolarToLunar(y, m, d);
                textBytes += DateCn::LunarDayName(lunar.day).size();
                textBytes += DateCn::LunarMonthName(lunar.month).size();
                textBytes += DateCn::SolarTermName(y, m, d).size();
                textBytes += DateCn::GanZhiText(y, m, d).size();
                ++days;
            }
    const double ms =
        std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
    std::printf("calendar_days_converted %ld days\n", days);
    std::printf("calendar_convert_all_days %.2f ms\n", ms);
    std::printf("calendar_per_day %.3f us\n", ms * 1000.0 / static_cast<double>(days));
    std::printf("calendar_text_bytes %zu bytes\n", textBytes);
    return 0;
}
