#pragma once

#include <cstddef>
#include <memory>
#include <string>
#include <vector>

namespace qbr {

// One entry of a directory listing: the name without directory, and the date of the file
// (local time, cut to an even second, as days since 1899-12-30).
struct DirEntry {
    std::string name;
    double date = 0;
};

// A file open for reading. read() returns the number of bytes read (0 at the end) or -errno.
class InputFile {
  public:
    virtual ~InputFile() = default;
    virtual long long read(char* buffer, std::size_t size) = 0;
    // The file's length when known, else -1.
    virtual long long sizeHint() { return -1; }
};

// A file open for writing. Each call returns 0 or an errno value; a write that cannot be
// completed for lack of space returns ENOSPC.
class OutputFile {
  public:
    virtual ~OutputFile() = default;
    virtual int write(const char* data, std::size_t size) = 0;
    virtual int sync() = 0;
    virtual int close() = 0;
};

// An advisory lock held until the object is destroyed; the kernel releases it when the process
// ends, however it ends.
class FileLock {
  public:
    virtual ~FileLock() = default;
};

// Every file-system service the core needs, so that tests can inject failures and a port
// only adds an implementation. Paths and names are bytes, never decoded.
class FileSystem {
  public:
    virtual ~FileSystem() = default;

    // Every entry of a directory in the file system's own order ("." and ".." left out);
    // nothing when the directory cannot be listed.
    virtual std::vector<DirEntry> listDirectory(const std::string& directory) = 0;
    virtual bool isRegularFile(const std::string& path) = 0;
    // Opens for reading; on failure returns nullptr and sets the errno value.
    virtual std::unique_ptr<InputFile> openRead(const std::string& path, int& error) = 0;
    // Creates or truncates for writing; on failure returns nullptr and sets the errno value.
    virtual std::unique_ptr<OutputFile> create(const std::string& path, int& error) = 0;
    // Creates or truncates `path` for writing, giving it the permissions and, where permitted,
    // the owner of `model` when that file exists: a replacement keeps what the user set up.
    virtual std::unique_ptr<OutputFile> createLike(const std::string& path,
                                                   const std::string& model, int& error) = 0;
    // Creates a file that must not exist yet (EEXIST when it does): nothing is ever written
    // over.
    virtual std::unique_ptr<OutputFile> createExclusive(const std::string& path, int& error) = 0;
    // The file a path stands for: the end of its chain of symbolic links (a relative target
    // taken from the link's folder), or the path itself when it is no link. A save writes
    // beside that file, so that a catalog linked in from another disk stays linked.
    virtual std::string resolveLink(const std::string& path) = 0;
    // Takes an exclusive advisory lock on a lock file (made when absent) without waiting.
    // nullptr with EWOULDBLOCK when another holder has it, or with the errno of the failure.
    virtual std::unique_ptr<FileLock> tryLock(const std::string& path, int& error) = 0;
    // Creates a new file of a unique name beside `path` (in its folder, the name beginning with
    // the path's own), with the permissions of the file at `path` when there is one, and sets
    // `temporaryPath` to it; on failure returns nullptr and sets the errno value.
    virtual std::unique_ptr<OutputFile>
    createTemporaryBeside(const std::string& path, std::string& temporaryPath, int& error) = 0;
    // Atomically replaces `to` by `from`; 0 or an errno value.
    virtual int rename(const std::string& from, const std::string& to) = 0;
    // 0, or an errno value (ENOENT included).
    virtual int remove(const std::string& path) = 0;
    // Makes renames and creations in the directory durable; 0 or an errno value.
    virtual int syncDirectory(const std::string& directory) = 0;
};

// Reads a whole file; 0 or an errno value.
int readWholeFile(FileSystem& fs, const std::string& path, std::string& out);

// The POSIX implementation, shared by the programs.
FileSystem& systemFileSystem();

} // namespace qbr
