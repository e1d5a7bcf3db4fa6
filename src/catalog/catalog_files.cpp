#include "catalog/catalog_files.h"

#include "catalog/error.h"
#include "catalog/messages.h"

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <cstring>
#include <memory>

namespace qbr {

namespace {

constexpr std::size_t kRecordSize = 8;
constexpr std::size_t kWriteBuffer = std::size_t{1} << 20;

// Shows the progress window for the length of a load or a save, errors included.
class ProgressScope {
  public:
    ProgressScope(CatalogProgressSink& sink, std::string_view text) : sink_(sink) {
        sink_.begin(text);
    }
    ~ProgressScope() { sink_.end(); }
    ProgressScope(const ProgressScope&) = delete;
    ProgressScope& operator=(const ProgressScope&) = delete;

  private:
    CatalogProgressSink& sink_;
};

int percent(std::size_t index, std::size_t count) {
    return static_cast<int>(static_cast<std::uint64_t>(index) * 100 / count);
}

void putLittleEndian(char* out, std::int32_t value) {
    const auto u = static_cast<std::uint32_t>(value);
    for (int i = 0; i < 4; ++i)
        out[i] = static_cast<char>((u >> (8 * i)) & 0xFF);
}

std::int32_t getLittleEndian(const char* in) {
    std::uint32_t u = 0;
    for (int i = 0; i < 4; ++i)
        u |= static_cast<std::uint32_t>(static_cast<unsigned char>(in[i])) << (8 * i);
    return static_cast<std::int32_t>(u);
}

// Writes the new version of a catalog file beside the file it replaces (through a symbolic
// link), with that file's permissions and owner, through a large buffer. Each failure is
// raised with the message that belongs to this file, as the caller describes it.
class FileWriter {
  public:
    using Messages = std::string (*)(int error, const std::string& path);

    FileWriter(FileSystem& fs, const std::string& path, Messages createFailed, Messages writeFailed)
        : target_(fs.resolveLink(path)), writeFailed_(writeFailed) {
        int error = 0;
        file_ = fs.createLike(tempPath(), target_, error);
        if (!file_)
            throw Error(createFailed(error, tempPath()));
        buffer_.reserve(kWriteBuffer);
    }

    std::string tempPath() const { return target_ + std::string(CatalogPaths::kNewSuffix); }
    const std::string& target() const noexcept { return target_; }

    void append(std::string_view bytes) {
        if (buffer_.size() + bytes.size() > kWriteBuffer)
            flush();
        if (bytes.size() > kWriteBuffer)
            check(file_->write(bytes.data(), bytes.size()));
        else
            buffer_.append(bytes);
    }

    // Flushes, forces the data to disk and closes.
    void finish() {
        flush();
        check(file_->sync());
        check(file_->close());
    }

  private:
    void flush() {
        if (!buffer_.empty())
            check(file_->write(buffer_.data(), buffer_.size()));
        buffer_.clear();
    }
    void check(int error) {
        if (error != 0)
            throw Error(writeFailed_(error, tempPath()));
    }

    std::string target_;
    Messages writeFailed_;
    std::unique_ptr<OutputFile> file_;
    std::string buffer_;
};

// The file and the system's reason, for the second line of a message.
std::string fileAndReason(const std::string& path, int error) {
    return path + ": " + msg::systemReason(error);
}

std::string cannotCreate(int error, const std::string& path) {
    return msg::withDetail(msg::formatText(msg::kCannotCreate, path), msg::systemReason(error));
}
std::string streamWriteError(int error, const std::string& path) {
    return msg::withDetail(msg::kStreamWriteError, fileAndReason(path, error));
}
std::string systemError(int error, const std::string& path) {
    return msg::withDetail(msg::systemErrorMessage(error), fileAndReason(path, error));
}
std::string nodWriteError(int error, const std::string& path) {
    return error == ENOSPC ? msg::withDetail(msg::kDiskFull, fileAndReason(path, error))
                           : systemError(error, path);
}

// Raises the system's message for a step of the commit, naming the file it was done on.
void checkStep(int error, const std::string& path) {
    if (error != 0)
        throw Error(systemError(error, path));
}

std::string folderOf(const std::string& path) {
    const std::size_t slash = path.rfind('/');
    return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

template <typename Out> void writeDat(const Catalog& catalog, Out& out) {
    const LineStore& lines = catalog.lines();
    for (std::size_t i = 0; i < lines.size(); ++i) {
        out.append(lines[i]);
        out.append("\r\n");
    }
}

template <typename Out> void writeTrr(const Catalog& catalog, Out& out) {
    std::string line;
    forEachPreOrder(catalog.top(), [&](const TreeNode& node) {
        line.assign(static_cast<std::size_t>(node.level()), '\t');
        line += node.text();
        line += "\r\n";
        out.append(line);
    });
}

// Calls back with each item's record in tree order, and its position for the progress bar.
template <typename Visit> void forEachRecord(const Catalog& catalog, Visit&& visit) {
    std::size_t index = 0;
    forEachPreOrder(catalog.top(), [&](const TreeNode& node) {
        if (node.level() == 2) {
            char record[kRecordSize];
            const TItemSpan span = node.span();
            putLittleEndian(record, span.First);
            putLittleEndian(record + 4, span.Count);
            visit(std::string_view(record, kRecordSize), index);
        }
        ++index;
    });
}

struct StringOut {
    std::string text;
    void append(std::string_view bytes) { text.append(bytes); }
};

// Finishes a save that was interrupted while its new files were being renamed into place:
// the marker is written only once all three new files are complete and on disk.
void finishInterruptedSave(const CatalogPaths& paths, FileSystem& fs) {
    const std::string marker = paths.commitMarker();
    if (!fs.isRegularFile(marker))
        return;
    for (const std::string* path : {&paths.dat(), &paths.trr(), &paths.nod()}) {
        const std::string target = fs.resolveLink(*path);
        const std::string fresh = target + std::string(CatalogPaths::kNewSuffix);
        if (!fs.isRegularFile(fresh))
            continue;
        checkStep(fs.rename(fresh, target), target);
        checkStep(fs.syncDirectory(folderOf(target)), folderOf(target));
    }
    if (const int error = fs.remove(marker); error != 0 && error != ENOENT)
        throw Error(systemError(error, marker));
}

// The file a reader takes for a catalog file: while a save is being committed (the marker is
// there and the writer holds the lock), the new version where it has not been renamed yet.
std::string readerSource(const CatalogPaths& paths, FileSystem& fs, const std::string& path,
                         LoadMode mode) {
    if (mode == LoadMode::Reader && fs.isRegularFile(paths.commitMarker())) {
        const std::string fresh = pendingPath(fs, path);
        if (fs.isRegularFile(fresh))
            return fresh;
    }
    return path;
}

// Reads the spans of the items from the .nod file, in tree order. False when the file holds
// more than one record per item.
bool readSpans(Catalog& catalog, const std::string& nodPath, FileSystem& fs,
               CatalogProgressSink& progress) {
    int error = 0;
    std::unique_ptr<InputFile> file = fs.openRead(nodPath, error);
    if (!file)
        throw Error(msg::withDetail(msg::systemErrorMessage(error), nodPath));
    auto readMore = [&](char* into, std::size_t size) {
        const long long n = file->read(into, size);
        if (n < 0)
            throw Error(systemError(static_cast<int>(-n), nodPath));
        return static_cast<std::size_t>(n);
    };

    const std::size_t count = catalog.nodeCount();
    std::string buffer(64 * 1024 * kRecordSize, '\0');
    std::size_t have = 0;
    std::size_t used = 0;
    std::size_t index = 0;
    forEachPreOrder(catalog.top(), [&](TreeNode& node) {
        const std::size_t at = index++;
        if (node.level() != 2)
            return;
        progress.setPosition(percent(at, count));
        // Refill the buffer until a whole record is there or the file ends.
        while (have - used < kRecordSize) {
            std::memmove(buffer.data(), buffer.data() + used, have - used);
            have -= used;
            used = 0;
            const std::size_t n = readMore(buffer.data() + have, buffer.size() - have);
            if (n == 0)
                throw Error(msg::withDetail(msg::kReadBeyondEnd, nodPath));
            have += n;
        }
        node.setSpan(TItemSpan{getLittleEndian(buffer.data() + used),
                               getLittleEndian(buffer.data() + used + 4)});
        used += kRecordSize;
    });
    char probe = 0;
    return have == used && readMore(&probe, 1) == 0;
}

} // namespace

CatalogPaths::CatalogPaths(std::string stem)
    : stem_(std::move(stem)), dat_(stem_ + ".dat"), trr_(stem_ + ".trr"), nod_(stem_ + ".nod") {}

CatalogPaths CatalogPaths::fromExecutable(std::string_view executable) {
    const std::size_t slash = executable.rfind('/');
    const std::size_t dot = executable.rfind('.');
    const bool hasExtension =
        dot != std::string_view::npos && (slash == std::string_view::npos || dot > slash);
    return CatalogPaths(std::string(hasExtension ? executable.substr(0, dot) : executable));
}

CatalogPaths CatalogPaths::fromBase(std::string_view base) {
    return CatalogPaths(std::string(base));
}

std::string CatalogPaths::directory() const {
    const std::size_t slash = dat_.rfind('/');
    return slash == std::string::npos ? std::string() : dat_.substr(0, slash + 1);
}

namespace {

// Places the tree file's lines: each line's leading blanks give its level, relative to the
// line before it. A line more than one level below the line before it goes to `tooDeep`,
// which raises an error or gives the level to use instead.
template <typename TooDeep>
void placeTreeLines(Catalog& catalog, const LineStore& lines, TooDeep&& tooDeep) {
    TreeNode& top = catalog.top();
    top.removeAllChildren();
    TreeNode* previous = nullptr;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const std::string_view line = lines[i];
        std::size_t blanks = std::min(line.find_first_not_of(" \t"), line.size());
        const std::string_view nodeText = line.substr(blanks);
        if (!previous) {
            previous = top.appendChild(std::string(nodeText));
            continue;
        }
        const std::size_t depth = static_cast<std::size_t>(previous->level());
        if (blanks > depth + 1)
            blanks = tooDeep(nodeText, depth);
        TreeNode* parent = nullptr;
        if (blanks == depth + 1) {
            parent = previous;
        } else {
            TreeNode* sibling = previous;
            for (std::size_t up = depth; up > blanks; --up)
                sibling = sibling->parent();
            parent = sibling->parent();
        }
        previous = parent->appendChild(std::string(nodeText));
    }
}

} // namespace

bool readTree(Catalog& catalog, std::string text) {
    bool stoppedAtNul = false;
    const LineStore lines = LineStore::fromText(std::move(text), &stoppedAtNul);
    placeTreeLines(catalog, lines, [](std::string_view nodeText, std::size_t) -> std::size_t {
        throw Error(msg::formatText(msg::kBadLevel, nodeText));
    });
    return !stoppedAtNul;
}

std::size_t readTreeLeniently(Catalog& catalog, std::string text) {
    std::size_t jumps = 0;
    placeTreeLines(catalog, LineStore::fromText(std::move(text)),
                   [&](std::string_view, std::size_t depth) {
                       ++jumps;
                       return depth + 1;
                   });
    return jumps;
}

std::string pendingPath(FileSystem& fs, const std::string& path) {
    return fs.resolveLink(path) + std::string(CatalogPaths::kNewSuffix);
}

std::string datText(const Catalog& catalog) {
    StringOut out;
    writeDat(catalog, out);
    return std::move(out.text);
}

std::string trrText(const Catalog& catalog) {
    StringOut out;
    writeTrr(catalog, out);
    return std::move(out.text);
}

std::string nodBytes(const Catalog& catalog) {
    std::string bytes;
    forEachRecord(catalog, [&](std::string_view record, std::size_t) { bytes.append(record); });
    return bytes;
}

void LoadCatalog(Catalog& catalog, const CatalogPaths& paths, FileSystem& fs,
                 CatalogProgressSink& progress, LoadMode mode) {
    if (mode == LoadMode::Owner) {
        try {
            finishInterruptedSave(paths, fs);
        } catch (const Error&) {
            // The files are those of a save cut short: what is in memory must not replace them.
            catalog.setLoadState(Catalog::LoadState::Incomplete);
            throw;
        }
    }
    const std::string datPath = readerSource(paths, fs, paths.dat(), mode);
    if (!fs.isRegularFile(datPath)) {
        // A tree or spans without their lines are a catalog that lost its .dat: reading nothing
        // is right, writing an empty catalog over them is not.
        if (fs.isRegularFile(paths.trr()) || fs.isRegularFile(paths.nod())) {
            catalog.setLoadState(Catalog::LoadState::Incomplete);
            throw Error(msg::formatText(msg::kCannotOpen, paths.dat()));
        }
        return;
    }
    catalog.setLoadState(Catalog::LoadState::Incomplete);
    ProgressScope scope(progress, msg::kLoading);
    // Each file whose reading stopped short of its end; the load goes on as far as it can.
    std::string unread;
    auto note = [&](std::string_view text, const std::string& path) {
        unread += unread.empty() ? "" : "\n";
        unread += msg::formatText(text, path);
    };

    std::string text;
    if (readWholeFile(fs, datPath, text) != 0)
        throw Error(msg::formatText(msg::kCannotOpen, paths.dat()));
    bool stoppedAtNul = false;
    catalog.lines() = LineStore::fromText(std::move(text), &stoppedAtNul);
    if (stoppedAtNul)
        note(msg::kStoppedAtNul, paths.dat());

    const std::string trrPath = readerSource(paths, fs, paths.trr(), mode);
    if (readWholeFile(fs, trrPath, text) != 0)
        throw Error(msg::formatText(msg::kCannotOpen, paths.trr()));
    if (!readTree(catalog, std::move(text)))
        note(msg::kStoppedAtNul, paths.trr());

    if (!readSpans(catalog, readerSource(paths, fs, paths.nod(), mode), fs, progress))
        note(msg::kExtraRecords, paths.nod());
    if (!unread.empty())
        throw Error(unread);
    catalog.setLoadState(Catalog::LoadState::Complete);
}

void SaveCatalog(Catalog& catalog, const CatalogPaths& paths, FileSystem& fs,
                 CatalogProgressSink& progress) {
    if (catalog.loadState() == Catalog::LoadState::Incomplete)
        throw Error(msg::formatText(msg::kNotSavingPartial, paths.dat()));
    catalog.Collect();
    ProgressScope scope(progress, msg::kSaving);

    // The files the three paths stand for, written beside them and renamed over them.
    std::string targets[3];
    {
        FileWriter dat(fs, paths.dat(), cannotCreate, streamWriteError);
        writeDat(catalog, dat);
        dat.finish();
        targets[0] = dat.target();
    }
    {
        FileWriter trr(fs, paths.trr(), cannotCreate, streamWriteError);
        writeTrr(catalog, trr);
        trr.finish();
        targets[1] = trr.target();
    }
    {
        FileWriter nod(fs, paths.nod(), systemError, nodWriteError);
        const std::size_t count = catalog.nodeCount();
        forEachRecord(catalog, [&](std::string_view record, std::size_t index) {
            progress.setPosition(percent(index, count));
            nod.append(record);
        });
        nod.finish();
        targets[2] = nod.target();
    }

    // Commit: from the marker on, a load completes the renames, so the set changes as one.
    const std::string directory = paths.directory();
    auto syncFolders = [&] {
        checkStep(fs.syncDirectory(directory), directory);
        for (const std::string& target : targets) {
            if (const std::string folder = folderOf(target); folder != directory)
                checkStep(fs.syncDirectory(folder), folder);
        }
    };
    syncFolders();
    {
        int error = 0;
        const std::string marker = paths.commitMarker();
        std::unique_ptr<OutputFile> file = fs.create(marker, error);
        checkStep(error, marker);
        checkStep(file->sync(), marker);
        checkStep(file->close(), marker);
    }
    checkStep(fs.syncDirectory(directory), directory);
    for (const std::string& target : targets)
        checkStep(fs.rename(target + std::string(CatalogPaths::kNewSuffix), target), target);
    syncFolders();
    checkStep(fs.remove(paths.commitMarker()), paths.commitMarker());
}

} // namespace qbr
