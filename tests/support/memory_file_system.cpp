#include "support/memory_file_system.h"

#include <algorithm>
#include <cerrno>
#include <cstring>

namespace qbr {

namespace {

class MemoryInput final : public InputFile {
  public:
    MemoryInput(std::string bytes, int readError, std::size_t piece)
        : bytes_(std::move(bytes)), readError_(readError), piece_(piece) {}
    long long read(char* buffer, std::size_t size) override {
        if (readError_ != 0 && reads_++ > 0)
            return -readError_;
        const std::size_t n = std::min({size, bytes_.size() - at_, piece_});
        std::memcpy(buffer, bytes_.data() + at_, n);
        at_ += n;
        return static_cast<long long>(n);
    }
    long long sizeHint() override { return static_cast<long long>(bytes_.size()); }

  private:
    std::string bytes_;
    std::size_t at_ = 0;
    int readError_;
    std::size_t piece_;
    int reads_ = 0;
};

class MemoryOutput final : public OutputFile {
  public:
    MemoryOutput(MemoryFileSystem& fs, std::string path) : fs_(fs), path_(std::move(path)) {}
    int write(const char* data, std::size_t size) override {
        if (const int error = fs_.step())
            return error;
        if (MemoryFileSystem::File* file = fs_.find(path_))
            file->bytes.append(data, size);
        return 0;
    }
    int sync() override { return fs_.step(); }
    int close() override { return fs_.step(); }

  private:
    MemoryFileSystem& fs_;
    std::string path_;
};

class MemoryLock final : public FileLock {
  public:
    MemoryLock(std::set<std::string>& locks, std::string path)
        : locks_(locks), path_(std::move(path)) {}
    ~MemoryLock() override { locks_.erase(path_); }

  private:
    std::set<std::string>& locks_;
    std::string path_;
};

} // namespace

void MemoryFileSystem::put(const std::string& path, std::string bytes, double date) {
    if (!files_.count(path))
        order_.push_back(path);
    File& file = files_[path];
    file = File{};
    file.bytes = std::move(bytes);
    file.date = date;
}

void MemoryFileSystem::makeDirectory(const std::string& path, double date) {
    put(path, {}, date);
    files_[path].directory = true;
}

MemoryFileSystem::File* MemoryFileSystem::find(const std::string& path) {
    const auto it = files_.find(path);
    return it == files_.end() ? nullptr : &it->second;
}

std::string MemoryFileSystem::bytes(const std::string& path) const {
    const auto it = files_.find(path);
    return it == files_.end() ? std::string() : it->second.bytes;
}

void MemoryFileSystem::failAt(int n, int error, bool crash) {
    failAt_ = operations_ + n;
    failError_ = error;
    crash_ = crash;
}

int MemoryFileSystem::step() {
    ++operations_;
    if (failAt_ > 0 && (operations_ == failAt_ || (crash_ && operations_ > failAt_)))
        return failError_;
    return 0;
}

std::vector<DirEntry> MemoryFileSystem::listDirectory(const std::string& directory) {
    std::vector<DirEntry> entries;
    if (directory.empty())
        return entries;
    const std::string prefix = directory.back() == '/' ? directory : directory + '/';
    for (const std::string& path : order_) {
        if (path.size() > prefix.size() && path.compare(0, prefix.size(), prefix) == 0 &&
            path.find('/', prefix.size()) == std::string::npos)
            entries.push_back(DirEntry{path.substr(prefix.size()), files_[path].date});
    }
    return entries;
}

bool MemoryFileSystem::isRegularFile(const std::string& path) {
    const File* file = find(path);
    return file && !file->directory;
}

std::unique_ptr<InputFile> MemoryFileSystem::openRead(const std::string& path, int& error) {
    const File* file = find(path);
    error = !file ? ENOENT : file->directory ? EISDIR : file->openError;
    if (error != 0)
        return nullptr;
    return std::make_unique<MemoryInput>(file->bytes, file->readError, readPiece_);
}

std::unique_ptr<OutputFile> MemoryFileSystem::create(const std::string& path, int& error) {
    error = step();
    if (error != 0)
        return nullptr;
    put(path, {});
    return std::make_unique<MemoryOutput>(*this, path);
}

std::unique_ptr<OutputFile> MemoryFileSystem::createLike(const std::string& path,
                                                         const std::string&, int& error) {
    return create(path, error);
}

std::unique_ptr<OutputFile> MemoryFileSystem::createExclusive(const std::string& path, int& error) {
    if (exists(path)) {
        error = EEXIST;
        return nullptr;
    }
    return create(path, error);
}

std::unique_ptr<FileLock> MemoryFileSystem::tryLock(const std::string& path, int& error) {
    if (!locks_.insert(path).second) {
        error = EWOULDBLOCK;
        return nullptr;
    }
    if (!exists(path))
        put(path, {});
    error = 0;
    return std::make_unique<MemoryLock>(locks_, path);
}

std::unique_ptr<OutputFile> MemoryFileSystem::createTemporaryBeside(const std::string& path,
                                                                    std::string& temporaryPath,
                                                                    int& error) {
    int number = 0;
    do
        temporaryPath = path + ".tmp" + std::to_string(++number);
    while (exists(temporaryPath));
    return create(temporaryPath, error);
}

int MemoryFileSystem::rename(const std::string& from, const std::string& to) {
    if (const int error = step())
        return error;
    const auto it = files_.find(from);
    if (it == files_.end())
        return ENOENT;
    File moved = std::move(it->second);
    files_.erase(it);
    order_.erase(std::find(order_.begin(), order_.end(), from));
    if (!files_.count(to))
        order_.push_back(to);
    files_[to] = std::move(moved);
    return 0;
}

int MemoryFileSystem::remove(const std::string& path) {
    if (const int error = step())
        return error;
    if (!files_.erase(path))
        return ENOENT;
    order_.erase(std::find(order_.begin(), order_.end(), path));
    return 0;
}

int MemoryFileSystem::syncDirectory(const std::string&) {
    return step();
}

} // namespace qbr
