#include "plain_pass.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <memory>
#include <stdexcept>
#include <sys/stat.h>
#include <unistd.h>

namespace qbr::bench {

namespace {

constexpr std::size_t kChunk = std::size_t{1} << 20;

[[noreturn]] void fail(const std::string& what, const std::string& path) {
    throw std::runtime_error(what + " " + path + ": " + std::strerror(errno));
}

// Closes the descriptor on every way out.
class Fd {
  public:
    Fd(const std::string& path, int flags) : fd_(::open(path.c_str(), flags | O_CLOEXEC, 0644)) {
        if (fd_ < 0)
            fail("cannot open", path);
    }
    ~Fd() { ::close(fd_); }
    Fd(const Fd&) = delete;
    Fd& operator=(const Fd&) = delete;
    int get() const noexcept { return fd_; }

  private:
    int fd_;
};

std::uint64_t countLf(const char* p, std::size_t n) {
    std::uint64_t count = 0;
    const char* const end = p + n;
    while (const void* hit = std::memchr(p, '\n', static_cast<std::size_t>(end - p))) {
        ++count;
        p = static_cast<const char*>(hit) + 1;
    }
    return count;
}

std::size_t readSome(int fd, char* buffer, std::size_t size, const std::string& path) {
    for (;;) {
        const ssize_t n = ::read(fd, buffer, size);
        if (n >= 0)
            return static_cast<std::size_t>(n);
        if (errno != EINTR)
            fail("cannot read", path);
    }
}

} // namespace

std::vector<std::string> filesIn(const std::string& directory) {
    std::vector<std::string> paths;
    DIR* dir = ::opendir(directory.c_str());
    if (!dir)
        fail("cannot list", directory);
    const std::string prefix = directory.back() == '/' ? directory : directory + '/';
    while (const dirent* e = ::readdir(dir)) {
        const std::string path = prefix + e->d_name;
        struct stat st {};
        if (::stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode))
            paths.push_back(path);
    }
    ::closedir(dir);
    std::sort(paths.begin(), paths.end());
    return paths;
}

std::uint64_t totalSize(const std::vector<std::string>& paths) {
    std::uint64_t total = 0;
    for (const std::string& path : paths) {
        struct stat st {};
        if (::stat(path.c_str(), &st) != 0)
            fail("cannot stat", path);
        total += static_cast<std::uint64_t>(st.st_size);
    }
    return total;
}

PlainCount countLineEndsChunked(const std::vector<std::string>& paths) {
    PlainCount count;
    const auto buffer = std::make_unique_for_overwrite<char[]>(kChunk);
    for (const std::string& path : paths) {
        const Fd fd(path, O_RDONLY);
        while (const std::size_t n = readSome(fd.get(), buffer.get(), kChunk, path)) {
            count.bytes += n;
            count.lineEnds += countLf(buffer.get(), n);
        }
    }
    return count;
}

PlainCount countLineEndsWhole(const std::vector<std::string>& paths) {
    PlainCount count;
    for (const std::string& path : paths) {
        const Fd fd(path, O_RDONLY);
        struct stat st {};
        if (::fstat(fd.get(), &st) != 0)
            fail("cannot stat", path);
        const auto size = static_cast<std::size_t>(st.st_size);
        const auto buffer = std::make_unique_for_overwrite<char[]>(size + 1);
        std::size_t used = 0;
        while (const std::size_t n = readSome(fd.get(), buffer.get() + used, size + 1 - used, path))
            used += n;
        count.bytes += used;
        count.lineEnds += countLf(buffer.get(), used);
    }
    return count;
}

void writePlain(const std::string& path, const std::string& bytes) {
    const Fd fd(path, O_WRONLY | O_CREAT | O_TRUNC);
    for (std::size_t at = 0; at < bytes.size();) {
        const ssize_t n = ::write(fd.get(), bytes.data() + at, std::min(kChunk, bytes.size() - at));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            fail("cannot write", path);
        at += static_cast<std::size_t>(n);
    }
}

} // namespace qbr::bench
