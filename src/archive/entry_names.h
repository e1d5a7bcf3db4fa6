#pragma once

#include <optional>
#include <string>
#include <string_view>

// Getting an entry's name back as the archive's bytes.
namespace qbr::archive {

// libarchive's LZH reader is given the names as ISO-8859-1 (so every byte passes, whatever
// it is) and hands them on as UTF-8: this undoes that. Nothing when the text holds a
// character beyond U+00FF, that is when the archive itself named a code page (UNLHA32's
// code-page header) and the reader converted the name: it is then UTF-8 already.
std::optional<std::string> latin1Bytes(std::string_view utf8);

// The LZH reader turns "\" into "/" in level 0 names, the trail bytes of Shift-JIS
// characters such as 表 (95 5C) included. A "/" right after a lead byte can only have been
// such a trail byte: it gets its 0x5C back, while real folder separators stay "/".
std::string restoreTrailBackslashes(std::string bytes);

// For extraction: true when the name could reach outside the folder it is extracted to
// (an absolute path, a drive letter, or a ".." between any of "/" and "\").
bool escapesFolder(std::string_view bytes);

// The last part of a UTF-8 path (after the last "/" or "\"), as a file name that is safe
// in one folder: empty when nothing usable is left.
std::string leafName(std::string_view utf8);

} // namespace qbr::archive
