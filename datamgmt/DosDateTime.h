#pragma once
#include <cstdint>
#include <ctime>
#include <string>

namespace lumo
{

// MS-DOS packed date-time in local time: date in the high 16 bits (year - 1980 << 9,
// month << 5, day), time in the low 16 bits (hour << 11, minute << 5, second / 2).
// Times before 1980 or after 2107 are clamped to the first or last representable moment.
std::int32_t dosDateTimeFromTime(std::time_t t);

// Local time of a packed date-time; false when the fields do not form a date.
bool timeFromDosDateTime(std::int32_t dos, std::time_t& t);

// Packed date-time of a file's last write; false when the file cannot be examined.
bool fileDosDateTime(const std::string& path, std::int32_t& dos);

// Gives a file the packed date-time as its last-write time (access time untouched).
bool setFileDosDateTime(const std::string& path, std::int32_t dos);

// "YYYY-MM-DDTHH:MM:SS" of a packed date-time, the raw fields as they are.
std::string dosDateTimeToIso(std::int32_t dos);

} // namespace lumo
