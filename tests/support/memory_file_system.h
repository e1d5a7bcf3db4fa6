#pragma once

#include "catalog/file_system.h"

#include <map>
#include <set>
#include <string>
#include <vector>

namespace qbr {

// A file system held in memory, for tests, fuzzers and dry runs. Entries list in the order in
// which they were first created. Failures can be injected: every operation that changes the
// disk (create, write, sync, close, rename, remove, directory sync) is counted, and the one
// with a chosen number fails; in "crash" mode that one and every later one fail, as if the
// machine had stopped there.
class MemoryFileSystem final : public FileSystem {
  public:
    struct File {
        std::string bytes;
        double date = 0;
        bool directory = false;
        int openError = 0; // errno that opening it for reading gives (0: none)
        int readError = 0; // errno that reading it gives after the first read (0: none)
    };

    void put(const std::string& path, std::string bytes, double date = 0);
    void makeDirectory(const std::string& path, double date = 0);
    File* find(const std::string& path);
    bool exists(const std::string& path) const { return files_.count(path) != 0; }
    std::string bytes(const std::string& path) const;
    // Every path held, in creation order.
    std::vector<std::string> paths() const { return order_; }

    // Reads hand out at most this many bytes at a time (default 4093), so that readers meet
    // every kind of buffer boundary.
    void setReadPiece(std::size_t bytes) noexcept { readPiece_ = bytes > 0 ? bytes : 1; }

    // Makes the n-th changing operation from now on fail with `error` (n from 1).
    void failAt(int n, int error = 5 /* EIO */, bool crash = false);
    int changingOperations() const { return operations_; }

    std::vector<DirEntry> listDirectory(const std::string& directory) override;
    bool isRegularFile(const std::string& path) override;
    std::unique_ptr<InputFile> openRead(const std::string& path, int& error) override;
    std::unique_ptr<OutputFile> create(const std::string& path, int& error) override;
    std::unique_ptr<OutputFile> createLike(const std::string& path, const std::string& model,
                                           int& error) override;
    std::unique_ptr<OutputFile> createExclusive(const std::string& path, int& error) override;
    // Links are not modelled: every path stands for itself.
    std::string resolveLink(const std::string& path) override { return path; }
    // Locks held through this object; one holder per path.
    std::unique_ptr<FileLock> tryLock(const std::string& path, int& error) override;
    bool isLocked(const std::string& path) const { return locks_.count(path) != 0; }
    // Names the file after the path with ".tmp" and a number that no held path has.
    std::unique_ptr<OutputFile>
    createTemporaryBeside(const std::string& path, std::string& temporaryPath, int& error) override;
    int rename(const std::string& from, const std::string& to) override;
    int remove(const std::string& path) override;
    int syncDirectory(const std::string& directory) override;

    // Counts one changing operation; returns the injected error, or 0.
    int step();

  private:
    std::map<std::string, File> files_;
    std::vector<std::string> order_;
    int operations_ = 0;
    int failAt_ = 0;
    int failError_ = 0;
    bool crash_ = false;
    std::size_t readPiece_ = 4093;
    std::set<std::string> locks_;
};

} // namespace qbr
