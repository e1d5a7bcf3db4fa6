#pragma once

#include "catalog/file_system.h"

#include <memory>
#include <string>
#include <vector>

namespace qbr::bench {

// Passes everything to another file system except the flushes to disk, which succeed at
// once: a save timed through it shows the work of the core without the disk's.
class NoSyncFileSystem final : public FileSystem {
  public:
    explicit NoSyncFileSystem(FileSystem& inner) : inner_(inner) {}

    std::vector<DirEntry> listDirectory(const std::string& directory) override {
        return inner_.listDirectory(directory);
    }
    bool isRegularFile(const std::string& path) override { return inner_.isRegularFile(path); }
    std::unique_ptr<InputFile> openRead(const std::string& path, int& error) override {
        return inner_.openRead(path, error);
    }
    std::unique_ptr<OutputFile> create(const std::string& path, int& error) override;
    std::unique_ptr<OutputFile>
    createTemporaryBeside(const std::string& path, std::string& temporaryPath, int& error) override;
    std::unique_ptr<OutputFile> createLike(const std::string& path, const std::string& model,
                                           int& error) override;
    std::unique_ptr<OutputFile> createExclusive(const std::string& path, int& error) override;
    std::string resolveLink(const std::string& path) override { return inner_.resolveLink(path); }
    std::unique_ptr<FileLock> tryLock(const std::string& path, int& error) override {
        return inner_.tryLock(path, error);
    }
    int rename(const std::string& from, const std::string& to) override {
        return inner_.rename(from, to);
    }
    int remove(const std::string& path) override { return inner_.remove(path); }
    int syncDirectory(const std::string&) override { return 0; }

  private:
    FileSystem& inner_;
};

} // namespace qbr::bench
