#pragma once

#include <string>

namespace qbr::platform {

// The running program's path (/proc/self/exe) as the bytes the file system holds, never
// decoded; `fallback` when it cannot be read.
std::string executablePath(std::string fallback = {});

} // namespace qbr::platform
