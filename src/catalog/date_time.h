#pragma once

#include <ctime>

namespace qbr {

// Date-time values are days since 1899-12-30 00:00 local time; the fraction is the time of day.
double encodeDateTime(int year, int month, int day, int hour, int minute, int second);

// The date of a file as the directory listing gives it: the modification time in local
// time, cut down to an even second (the listing's two-second step).
double fileDateTime(std::time_t modified);

} // namespace qbr
