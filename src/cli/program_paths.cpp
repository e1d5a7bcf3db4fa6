#include "cli/program_paths.h"

#include <climits>
#include <unistd.h>

namespace qbr::cli {

std::string desktopProgramPath() {
    std::string self(PATH_MAX, '\0');
    const ssize_t n = ::readlink("/proc/self/exe", self.data(), self.size());
    self.resize(n > 0 ? static_cast<std::size_t>(n) : 0);
    const std::size_t slash = self.rfind('/');
    const std::string folder = slash == std::string::npos ? "." : self.substr(0, slash);
    return folder + "/quenbrill";
}

} // namespace qbr::cli
