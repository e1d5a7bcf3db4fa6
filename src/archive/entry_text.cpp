#include "archive/entry_text.h"

#include <cstdio>
#include <ctime>

namespace qbr::archive {

std::string sizeText(std::optional<std::uint64_t> size) {
    return size ? std::to_string(*size) : "-";
}

std::string dateText(std::optional<std::int64_t> seconds) {
    if (!seconds)
        return "-";
    const std::time_t time = static_cast<std::time_t>(*seconds);
    std::tm local{};
    if (!::localtime_r(&time, &local))
        return "-";
    char text[64];
    std::snprintf(text, sizeof text, "%04d-%02d-%02d %02d:%02d:%02d", local.tm_year + 1900,
                  local.tm_mon + 1, local.tm_mday, local.tm_hour, local.tm_min, local.tm_sec);
    return text;
}

} // namespace qbr::archive
