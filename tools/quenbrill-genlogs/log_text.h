#pragma once

#include <chrono>
#include <cstdint>
#include <string>
#include <string_view>

namespace genlogs {

// Appends CR LF terminated lines to a log buffer.
class LogText {
  public:
    explicit LogText(std::string& out) : out_(out) {}

    template <class... Parts> void line(const Parts&... parts) {
        (append(parts), ...);
        out_ += "\r\n";
    }

    std::size_t size() const { return out_.size(); }

  private:
    void append(std::string_view text) { out_ += text; }
    void append(const std::string& text) { out_ += text; }
    void append(const char* text) { out_ += text; }

    std::string& out_;
};

// Decimal digits right-aligned in width (no padding when width is 0).
std::string number(std::uint64_t value, int width = 0, char fill = ' ');

// "98/04/12" and "98/04/12 21:33:05" as the service shows dates.
std::string shortDate(std::chrono::sys_days day);
std::string dateTime(std::int64_t seconds, bool withSeconds);
std::string clock(std::int64_t seconds); // "00:12:25" for a duration

// Japan's time, in which the service shows every date.
inline constexpr std::int64_t kServiceUtcOffset = 9 * 3600;

} // namespace genlogs
