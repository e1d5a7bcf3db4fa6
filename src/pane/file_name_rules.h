#pragma once

#include <string>
#include <string_view>

namespace qbr {

// The extension of a file name: from its last "." to the end, the dot included, provided that
// no "\", ":" or "/" comes after that dot; empty otherwise. Trail bytes of double-byte
// characters are never taken for any of the four.
std::string_view fileExtension(std::string_view name);

// The ASCII letters a to z upper-cased; every other byte kept.
std::string asciiUpper(std::string_view text);

// The last component of a path chosen in the file dialog: the part after its last "/" (the
// POSIX separator; a "\" or ":" is an ordinary byte of a POSIX name), the whole path when it
// holds none. Trail bytes of double-byte characters are never taken for a separator.
std::string chosenFileName(std::string_view path);

} // namespace qbr
