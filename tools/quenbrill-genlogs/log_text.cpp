#include "quenbrill-genlogs/log_text.h"

#include <charconv>

namespace genlogs {

std::string number(std::uint64_t value, int width, char fill) {
    char digits[24];
    const auto end = std::to_chars(digits, digits + sizeof digits, value).ptr;
    const auto length = static_cast<int>(end - digits);
    std::string out;
    if (width > length) {
        out.assign(static_cast<std::size_t>(width - length), fill);
    }
    out.append(digits, end);
    return out;
}

std::string shortDate(std::chrono::sys_days day) {
    const std::chrono::year_month_day ymd{day};
    return number(static_cast<std::uint64_t>(static_cast<int>(ymd.year()) % 100), 2, '0') + "/" +
           number(static_cast<unsigned>(ymd.month()), 2, '0') + "/" +
           number(static_cast<unsigned>(ymd.day()), 2, '0');
}

std::string dateTime(std::int64_t seconds, bool withSeconds) {
    const std::int64_t local = seconds + kServiceUtcOffset;
    std::int64_t days = local / 86400;
    std::int64_t rest = local % 86400;
    if (rest < 0) {
        rest += 86400;
        --days;
    }
    std::string out = shortDate(std::chrono::sys_days{std::chrono::days{days}}) + " " +
                      number(static_cast<std::uint64_t>(rest / 3600), 2, '0') + ":" +
                      number(static_cast<std::uint64_t>(rest / 60 % 60), 2, '0');
    if (withSeconds) {
        out += ":" + number(static_cast<std::uint64_t>(rest % 60), 2, '0');
    }
    return out;
}

std::string clock(std::int64_t seconds) {
    return number(static_cast<std::uint64_t>(seconds / 3600), 2, '0') + ":" +
           number(static_cast<std::uint64_t>(seconds / 60 % 60), 2, '0') + ":" +
           number(static_cast<std::uint64_t>(seconds % 60), 2, '0');
}

} // namespace genlogs
