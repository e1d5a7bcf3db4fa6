#include "cli/program_paths.h"

#include "posix/executable_path.h"

namespace qbr::cli {

std::string desktopProgramPath() {
    const std::string self = platform::executablePath();
    const std::size_t slash = self.rfind('/');
    const std::string folder = slash == std::string::npos ? "." : self.substr(0, slash);
    return folder + "/quenbrill";
}

} // namespace qbr::cli
