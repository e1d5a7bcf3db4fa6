#pragma once

namespace qbr::platform {

// The decimal separator of the user's locale (LC_NUMERIC from the environment), "." when it has
// none of one byte. The C locale of the process is left as it was.
char localeDecimalSeparator();

} // namespace qbr::platform
