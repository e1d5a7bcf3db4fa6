#pragma once

#include <string>

namespace qbr::cli {

// The desktop program "quenbrill" in this program's own folder (from /proc/self/exe): its
// catalog files are the ones a run without --catalog uses.
std::string desktopProgramPath();

} // namespace qbr::cli
