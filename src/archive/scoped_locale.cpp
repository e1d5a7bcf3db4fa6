#include "archive/scoped_locale.h"

namespace qbr::archive {

ScopedLocale::ScopedLocale(const char* name) : locale_(::newlocale(LC_ALL_MASK, name, locale_t{})) {
    if (locale_ != locale_t{})
        previous_ = ::uselocale(locale_);
}

ScopedLocale::~ScopedLocale() {
    if (locale_ != locale_t{}) {
        ::uselocale(previous_);
        ::freelocale(locale_);
    }
}

} // namespace qbr::archive
