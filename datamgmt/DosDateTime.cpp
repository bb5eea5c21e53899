#include "DosDateTime.h"

#include <cstdio>
#include <fcntl.h>
#include <sys/stat.h>

namespace lumo
{

std::int32_t dosDateTimeFromTime(std::time_t t)
{
    std::tm local{};
    if (!localtime_r(&t, &local))
        return (1 << 5 | 1) << 16;
    int year = local.tm_year + 1900;
    if (year < 1980)
        return (1 << 5 | 1) << 16; // 1980-01-01 00:00:00
    if (year > 2107)
        return static_cast<std::int32_t>(0xFF9FBF7Du); // 2107-12-31 23:59:58
    const std::uint32_t date = static_cast<std::uint32_t>(year - 1980) << 9 |
                               static_cast<std::uint32_t>(local.tm_mon + 1) << 5 |
                               static_cast<std::uint32_t>(local.tm_mday);
    const std::uint32_t time = static_cast<std::uint32_t>(local.tm_hour) << 11 |
                               static_cast<std::uint32_t>(local.tm_min) << 5 |
                               static_cast<std::uint32_t>(local.tm_sec / 2);
    return static_cast<std::int32_t>(date << 16 | time);
}

bool timeFromDosDateTime(std::int32_t dos, std::time_t& t)
{
    const std::uint32_t v = static_cast<std::uint32_t>(dos);
    const unsigned date = v >> 16;
    const unsigned time = v & 0xFFFF;
    std::tm local{};
    local.tm_year = static_cast<int>(date >> 9) + 80;
    local.tm_mon = static_cast<int>((date >> 5) & 0x0F) - 1;
    local.tm_mday = static_cast<int>(date & 0x1F);
    local.tm_hour = static_cast<int>(time >> 11);
    local.tm_min = static_cast<int>((time >> 5) & 0x3F);
    local.tm_sec = static_cast<int>(time & 0x1F) * 2;
    local.tm_isdst = -1;
    if (local.tm_mon < 0 || local.tm_mon > 11 || local.tm_mday < 1 || local.tm_hour > 23 ||
        local.tm_min > 59 || local.tm_sec > 59)
        return false;
    t = std::mktime(&local);
    return t != static_cast<std::time_t>(-1);
}

bool fileDosDateTime(const std::string& path, std::int32_t& dos)
{
    struct stat st {
    };
    if (::stat(path.c_str(), &st) != 0)
        return false;
    dos = dosDateTimeFromTime(st.st_mtime);
    return true;
}

bool setFileDosDateTime(const std::string& path, std::int32_t dos)
{
    std::time_t t;
    if (!timeFromDosDateTime(dos, t))
        return false;
    struct timespec times[2];
    times[0].tv_sec = 0;
    times[0].tv_nsec = UTIME_OMIT;
    times[1].tv_sec = t;
    times[1].tv_nsec = 0;
    return ::utimensat(AT_FDCWD, path.c_str(), times, 0) == 0;
}

std::string dosDateTimeToIso(std::int32_t dos)
{
    const std::uint32_t v = static_cast<std::uint32_t>(dos);
    const unsigned date = v >> 16;
    const unsigned time = v & 0xFFFF;
    char text[32];
    std::snprintf(text, sizeof text, "%04u-%02u-%02uT%02u:%02u:%02u", (date >> 9) + 1980,
                  (date >> 5) & 0x0F, date & 0x1F, time >> 11, (time >> 5) & 0x3F,
                  (time & 0x1F) * 2);
    return text;
}

} // namespace lumo
