#include "catalog/date_time.h"
#include "posix/file_probe.h"

#include <sys/stat.h>

namespace qbr::platform {

bool PosixFileProbe::isRegularFile(const std::string& path) {
    struct stat info {};
    return ::stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode);
}

std::optional<double> PosixFileProbe::fileDate(const std::string& path) {
    // A hidden (dot) file or one without write permission is read like any other: stat needs
    // no permission on the file itself.
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0)
        return std::nullopt;
    return fileDateTime(info.st_mtime);
}

} // namespace qbr::platform
