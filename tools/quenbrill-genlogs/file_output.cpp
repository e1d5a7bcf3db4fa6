#include "quenbrill-genlogs/file_output.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <stdexcept>
#include <sys/stat.h>
#include <unistd.h>

namespace genlogs {
namespace {

[[noreturn]] void fail(const std::string& what, const std::string& path) {
    throw std::runtime_error(what + " " + path + ": " + std::strerror(errno));
}

} // namespace

void makeDirectories(const std::string& path) {
    for (std::size_t slash = path.find('/', 1);; slash = path.find('/', slash + 1)) {
        const std::string part = path.substr(0, slash);
        if (!part.empty() && mkdir(part.c_str(), 0755) != 0 && errno != EEXIST) {
            fail("cannot create", part);
        }
        if (slash == std::string::npos) {
            break;
        }
    }
    struct stat info {};
    if (stat(path.c_str(), &info) != 0 || !S_ISDIR(info.st_mode)) {
        errno = ENOTDIR;
        fail("not a directory:", path);
    }
}

void writeFile(const std::string& path, std::string_view data, std::int64_t mtime) {
    const int fd = open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (fd < 0) {
        fail("cannot create", path);
    }
    while (!data.empty()) {
        const ssize_t written = write(fd, data.data(), data.size());
        if (written < 0) {
            if (errno == EINTR) {
                continue;
            }
            const int error = errno;
            close(fd);
            errno = error;
            fail("cannot write", path);
        }
        data.remove_prefix(static_cast<std::size_t>(written));
    }
    if (close(fd) != 0) {
        fail("cannot write", path);
    }
    const struct timespec times[2] = {{static_cast<time_t>(mtime), 0},
                                      {static_cast<time_t>(mtime), 0}};
    if (utimensat(AT_FDCWD, path.c_str(), times, 0) != 0) {
        fail("cannot set the time of", path);
    }
}

} // namespace genlogs
