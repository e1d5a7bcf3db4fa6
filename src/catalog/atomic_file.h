#pragma once

#include "catalog/file_system.h"

#include <string>
#include <string_view>

namespace qbr {

// Replaces a whole file at once: the bytes go to a temporary file beside `path`, which is
// synced, closed and renamed over `path`; then the folder is synced. 0 or an errno value; on
// failure the temporary file is removed and the file at `path` is as it was.
int replaceFileAtomically(FileSystem& fs, const std::string& path, std::string_view bytes);

} // namespace qbr
