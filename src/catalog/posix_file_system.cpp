#include "catalog/date_time.h"
#include "catalog/file_system.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace qbr {

namespace {

class PosixInputFile final : public InputFile {
  public:
    explicit PosixInputFile(int fd) : fd_(fd) {}
    ~PosixInputFile() override { ::close(fd_); }

    long long read(char* buffer, std::size_t size) override {
        for (;;) {
            const ssize_t n = ::read(fd_, buffer, size);
            if (n >= 0)
                return n;
            if (errno != EINTR)
                return -errno;
        }
    }

    long long sizeHint() override {
        struct stat st {};
        return ::fstat(fd_, &st) == 0 && S_ISREG(st.st_mode) ? st.st_size : -1;
    }

  private:
    int fd_;
};

class PosixOutputFile final : public OutputFile {
  public:
    explicit PosixOutputFile(int fd) : fd_(fd) {}
    ~PosixOutputFile() override {
        if (fd_ >= 0)
            ::close(fd_);
    }

    int write(const char* data, std::size_t size) override {
        while (size > 0) {
            const ssize_t n = ::write(fd_, data, size);
            if (n < 0 && errno == EINTR)
                continue;
            if (n < 0)
                return errno;
            if (n == 0)
                return ENOSPC;
            data += n;
            size -= static_cast<std::size_t>(n);
        }
        return 0;
    }

    int sync() override { return ::fsync(fd_) == 0 ? 0 : errno; }
    int descriptor() const noexcept { return fd_; }

    int close() override {
        const int fd = fd_;
        fd_ = -1;
        return ::close(fd) == 0 ? 0 : errno;
    }

  private:
    int fd_;
};

class PosixLock final : public FileLock {
  public:
    explicit PosixLock(int fd) : fd_(fd) {}
    ~PosixLock() override { ::close(fd_); } // closing the last descriptor releases the lock

  private:
    int fd_;
};

// Gives a replacement the permissions and, where permitted, the owner of the file it replaces
// (nothing when there is none); 0 or an errno value.
int takeModeAndOwner(int fd, const std::string& model) {
    struct stat st {};
    if (::stat(model.c_str(), &st) != 0 || !S_ISREG(st.st_mode))
        return 0;
    // The owner can be given back only by a privileged program; the group often, the mode always.
    if (::fchown(fd, st.st_uid, st.st_gid) != 0)
        (void)::fchown(fd, static_cast<uid_t>(-1), st.st_gid);
    return ::fchmod(fd, st.st_mode & 07777) == 0 ? 0 : errno;
}

std::unique_ptr<OutputFile> openForWriting(const std::string& path, int flags, int& error) {
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_CLOEXEC | flags, 0666);
    if (fd < 0) {
        error = errno;
        return nullptr;
    }
    error = 0;
    return std::make_unique<PosixOutputFile>(fd);
}

class PosixFileSystem final : public FileSystem {
  public:
    std::vector<DirEntry> listDirectory(const std::string& directory) override {
        std::vector<DirEntry> entries;
        // An empty directory path would name the current directory: not a log directory.
        if (directory.empty())
            return entries;
        DIR* dir = ::opendir(directory.c_str());
        if (!dir)
            return entries;
        const std::string prefix = directory.back() == '/' ? directory : directory + '/';
        while (const dirent* e = ::readdir(dir)) {
            if (std::strcmp(e->d_name, ".") == 0 || std::strcmp(e->d_name, "..") == 0)
                continue;
            DirEntry entry;
            entry.name = e->d_name;
            struct stat st {};
            // A dangling entry still counts as listed; its date is then 0 and it is not taken.
            const std::string path = prefix + entry.name;
            if (::stat(path.c_str(), &st) == 0 || ::lstat(path.c_str(), &st) == 0)
                entry.date = fileDateTime(st.st_mtime);
            entries.push_back(std::move(entry));
        }
        ::closedir(dir);
        return entries;
    }

    bool isRegularFile(const std::string& path) override {
        struct stat st {};
        return ::stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode);
    }

    std::unique_ptr<InputFile> openRead(const std::string& path, int& error) override {
        const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
        if (fd < 0) {
            error = errno;
            return nullptr;
        }
        error = 0;
        return std::make_unique<PosixInputFile>(fd);
    }

    std::unique_ptr<OutputFile> create(const std::string& path, int& error) override {
        return openForWriting(path, O_TRUNC, error);
    }

    std::unique_ptr<OutputFile> createLike(const std::string& path, const std::string& model,
                                           int& error) override {
        std::unique_ptr<OutputFile> file = openForWriting(path, O_TRUNC, error);
        if (file) {
            error = takeModeAndOwner(static_cast<PosixOutputFile&>(*file).descriptor(), model);
            if (error != 0)
                return nullptr;
        }
        return file;
    }

    std::unique_ptr<OutputFile> createExclusive(const std::string& path, int& error) override {
        return openForWriting(path, O_EXCL, error);
    }

    std::string resolveLink(const std::string& path) override {
        std::string current = path;
        // Forty links deep, as the kernel allows, then the chain is taken to end there.
        for (int hop = 0; hop < 40; ++hop) {
            struct stat st {};
            if (::lstat(current.c_str(), &st) != 0 || !S_ISLNK(st.st_mode))
                break;
            std::string target(static_cast<std::size_t>(st.st_size > 0 ? st.st_size : 255) + 1,
                               '\0');
            const ssize_t n = ::readlink(current.c_str(), target.data(), target.size());
            if (n <= 0 || static_cast<std::size_t>(n) >= target.size())
                break;
            target.resize(static_cast<std::size_t>(n));
            if (target.front() != '/') {
                const std::size_t slash = current.rfind('/');
                target =
                    slash == std::string::npos ? target : current.substr(0, slash + 1) + target;
            }
            current = std::move(target);
        }
        return current;
    }

    std::unique_ptr<FileLock> tryLock(const std::string& path, int& error) override {
        int fd = ::open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0666);
        if (fd < 0 && (errno == EACCES || errno == EROFS))
            fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC); // flock needs no write access
        if (fd < 0) {
            error = errno;
            return nullptr;
        }
        while (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
            if (errno == EINTR)
                continue;
            error = errno == EAGAIN ? EWOULDBLOCK : errno;
            ::close(fd);
            return nullptr;
        }
        error = 0;
        return std::make_unique<PosixLock>(fd);
    }

    std::unique_ptr<OutputFile> createTemporaryBeside(const std::string& path,
                                                      std::string& temporaryPath,
                                                      int& error) override {
        temporaryPath = path + ".XXXXXX";
        const int fd = ::mkstemp(temporaryPath.data());
        if (fd < 0) {
            error = errno;
            return nullptr;
        }
        auto file = std::make_unique<PosixOutputFile>(fd);
        error = takeModeAndOwner(fd, path);
        if (error != 0)
            return nullptr;
        return file;
    }

    int rename(const std::string& from, const std::string& to) override {
        return ::rename(from.c_str(), to.c_str()) == 0 ? 0 : errno;
    }

    int remove(const std::string& path) override { return ::unlink(path.c_str()) == 0 ? 0 : errno; }

    int syncDirectory(const std::string& directory) override {
        const int fd =
            ::open(directory.empty() ? "." : directory.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        if (fd < 0)
            return errno;
        const int result = ::fsync(fd) == 0 ? 0 : errno;
        ::close(fd);
        return result;
    }
};

} // namespace

int readWholeFile(FileSystem& fs, const std::string& path, std::string& out) {
    int error = 0;
    std::unique_ptr<InputFile> file = fs.openRead(path, error);
    if (!file)
        return error;
    // Sized from the file's length (one byte more to see the end at once), so that a large
    // file is not held twice while the buffer grows.
    const long long hint = file->sizeHint();
    out.assign(hint >= 0 ? static_cast<std::size_t>(hint) + 1 : std::size_t{1} << 16, '\0');
    std::size_t used = 0;
    for (;;) {
        if (used == out.size())
            out.resize(out.size() * 2);
        const long long n = file->read(out.data() + used, out.size() - used);
        if (n < 0) {
            out.clear();
            return static_cast<int>(-n);
        }
        if (n == 0)
            break;
        used += static_cast<std::size_t>(n);
    }
    out.resize(used);
    return 0;
}

FileSystem& systemFileSystem() {
    static PosixFileSystem fs;
    return fs;
}

} // namespace qbr
