#include "posix/locale_separator.h"

#include <clocale>
#include <string>

namespace qbr::platform {

char localeDecimalSeparator() {
    const char* current = std::setlocale(LC_NUMERIC, nullptr);
    const std::string saved = current ? current : "C";
    char separator = '.';
    if (std::setlocale(LC_NUMERIC, "")) {
        const std::lconv* conventions = std::localeconv();
        if (conventions && conventions->decimal_point && conventions->decimal_point[0] &&
            !conventions->decimal_point[1])
            separator = conventions->decimal_point[0];
    }
    std::setlocale(LC_NUMERIC, saved.c_str());
    return separator;
}

} // namespace qbr::platform
