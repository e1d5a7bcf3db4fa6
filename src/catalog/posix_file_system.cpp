#include "catalog/date_time.h"
#include "catalog/file_system.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
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

    int close() override {
        const int fd = fd_;
        fd_ = -1;
        return ::close(fd) == 0 ? 0 : errno;
    }

  private:
    int fd_;
};

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
        const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
        if (fd < 0) {
            error = errno;
            return nullptr;
        }
        error = 0;
        return std::make_unique<PosixOutputFile>(fd);
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
        struct stat st {};
        if (::stat(path.c_str(), &st) == 0)
            ::fchmod(fd, st.st_mode & 07777); // the replacement keeps the old file's permissions
        error = 0;
        return std::make_unique<PosixOutputFile>(fd);
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
