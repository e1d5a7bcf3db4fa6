#pragma once

#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <string>
#include <sys/stat.h>

namespace qbr::test {

// A temporary directory, removed with everything in it at the end of the test.
class TempDir {
  public:
    TempDir() {
        std::string pattern = (std::filesystem::temp_directory_path() / "qbr-test-XXXXXX").string();
        path_ = ::mkdtemp(pattern.data());
    }
    ~TempDir() {
        std::error_code ignored;
        std::filesystem::remove_all(path_, ignored);
    }
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    // The directory with a trailing "/".
    std::string path() const { return path_ + "/"; }

    // Writes a file (name relative to the directory) and sets its modification time.
    std::string write(const std::string& name, const std::string& bytes,
                      long long mtime = -1) const {
        const std::string full = path() + name;
        std::ofstream(full, std::ios::binary) << bytes;
        if (mtime >= 0) {
            const struct timespec times[2] = {{mtime, 0}, {mtime, 0}};
            ::utimensat(AT_FDCWD, full.c_str(), times, 0);
        }
        return full;
    }
    static std::string read(const std::string& full) {
        std::ifstream in(full, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {});
    }

  private:
    std::string path_;
};

} // namespace qbr::test
