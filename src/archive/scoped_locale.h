#pragma once

#include <locale.h>

namespace qbr::archive {

// Switches the calling thread, and only it, to a named locale for its lifetime. libarchive
// converts entry names between the archive's character set and the current locale's; fixing
// the locale here makes a listing the same whatever the program's own locale is.
class ScopedLocale {
  public:
    // A locale that does not exist leaves the thread's locale as it is.
    explicit ScopedLocale(const char* name);
    ~ScopedLocale();
    ScopedLocale(const ScopedLocale&) = delete;
    ScopedLocale& operator=(const ScopedLocale&) = delete;

    bool active() const { return locale_ != locale_t{}; }

  private:
    locale_t locale_{};
    locale_t previous_{};
};

// "C.UTF-8": names marked UTF-8 come through as they are, other names as their raw bytes.
inline constexpr const char* kUtf8Locale = "C.UTF-8";
// "C": plain ASCII, in which a name marked UTF-8 cannot be converted (and so shows itself).
inline constexpr const char* kAsciiLocale = "C";

} // namespace qbr::archive
