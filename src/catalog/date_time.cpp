#include "catalog/date_time.h"

namespace qbr {

namespace {

// Days from 1970-01-01 of a proleptic Gregorian date (H. Hinnant's algorithm).
long long daysFromCivil(long long y, unsigned m, unsigned d) {
    y -= m <= 2;
    const long long era = (y >= 0 ? y : y - 399) / 400;
    const unsigned yoe = static_cast<unsigned>(y - era * 400);
    const unsigned doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
    const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + static_cast<long long>(doe) - 719468;
}

} // namespace

double encodeDateTime(int year, int month, int day, int hour, int minute, int second) {
    const long long days =
        daysFromCivil(year, static_cast<unsigned>(month), static_cast<unsigned>(day)) -
        daysFromCivil(1899, 12, 30);
    const double time = (hour * 3600000.0 + minute * 60000.0 + second * 1000.0) / 86400000.0;
    return static_cast<double>(days) + time;
}

double fileDateTime(std::time_t modified) {
    std::tm local{};
    localtime_r(&modified, &local);
    return encodeDateTime(local.tm_year + 1900, local.tm_mon + 1, local.tm_mday, local.tm_hour,
                          local.tm_min, local.tm_sec & ~1);
}

} // namespace qbr
