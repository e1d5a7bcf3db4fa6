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

// Writes a new file through a large buffer. Each failure is raised with the message that
// belongs to this file, as the caller describes it.
class FileWriter {
  public:
    using Messages = std::string (*)(int error, const std::string& finalPath);

    FileWriter(FileSystem& fs, std::string finalPath, Messages createFailed, Messages writeFailed)
        : finalPath_(std::move(finalPath)), writeFailed_(writeFailed) {
        int error = 0;
        file_ = fs.create(tempPath(), error);
        if (!file_)
            throw Error(createFailed(error, finalPath_));
        buffer_.reserve(kWriteBuffer);
    }

    std::string tempPath() const { return finalPath_ + std::string(CatalogPaths::kNewSuffix); }

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
            throw Error(writeFailed_(error, finalPath_));
    }

    std::string finalPath_;
    Messages writeFailed_;
    std::unique_ptr<OutputFile> file_;
    std::string buffer_;
};

std::string cannotCreate(int, const std::string& path) {
    return msg::formatText(msg::kCannotCreate, path);
}
std::string streamWriteError(int, const std::string&) {
    return std::string(msg::kStreamWriteError);
}
std::string systemError(int error, const std::string&) {
    return msg::systemErrorMessage(error);
}
std::string nodWriteError(int error, const std::string&) {
    return error == ENOSPC ? std::string(msg::kDiskFull) : msg::systemErrorMessage(error);
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
        const std::string fresh = *path + std::string(CatalogPaths::kNewSuffix);
        if (!fs.isRegularFile(fresh))
            continue;
        if (const int error = fs.rename(fresh, *path))
            throw Error(msg::systemErrorMessage(error));
    }
    if (const int error = fs.syncDirectory(paths.directory()))
        throw Error(msg::systemErrorMessage(error));
    if (const int error = fs.remove(marker); error != 0 && error != ENOENT)
        throw Error(msg::systemErrorMessage(error));
}

// Reads the spans of the items from the .nod file, in tree order.
void readSpans(Catalog& catalog, const CatalogPaths& paths, FileSystem& fs,
               CatalogProgressSink& progress) {
    int error = 0;
    std::unique_ptr<InputFile> file = fs.openRead(paths.nod(), error);
    if (!file)
        throw Error(msg::systemErrorMessage(error));

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
            const long long n = file->read(buffer.data() + have, buffer.size() - have);
            if (n < 0)
                throw Error(msg::systemErrorMessage(static_cast<int>(-n)));
            if (n == 0)
                throw Error(std::string(msg::kReadBeyondEnd));
            have += static_cast<std::size_t>(n);
        }
        node.setSpan(TItemSpan{getLittleEndian(buffer.data() + used),
                               getLittleEndian(buffer.data() + used + 4)});
        used += kRecordSize;
    });
}

} // namespace

CatalogPaths::CatalogPaths(std::string stem)
    : dat_(stem + ".dat"), trr_(stem + ".trr"), nod_(stem + ".nod") {}

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

void readTree(Catalog& catalog, std::string text) {
    TreeNode& top = catalog.top();
    top.removeAllChildren();
    const LineStore lines = LineStore::fromText(std::move(text));
    TreeNode* previous = nullptr;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const std::string_view line = lines[i];
        const std::size_t blanks = std::min(line.find_first_not_of(" \t"), line.size());
        const std::string_view nodeText = line.substr(blanks);
        if (!previous) {
            previous = top.appendChild(std::string(nodeText));
            continue;
        }
        const std::size_t depth = static_cast<std::size_t>(previous->level());
        TreeNode* parent = nullptr;
        if (blanks == depth + 1) {
            parent = previous;
        } else if (blanks <= depth) {
            TreeNode* sibling = previous;
            for (std::size_t up = depth; up > blanks; --up)
                sibling = sibling->parent();
            parent = sibling->parent();
        } else {
            throw Error(msg::formatText(msg::kBadLevel, nodeText));
        }
        previous = parent->appendChild(std::string(nodeText));
    }
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
                 CatalogProgressSink& progress) {
    finishInterruptedSave(paths, fs);
    if (!fs.isRegularFile(paths.dat()))
        return;
    catalog.setLoadState(Catalog::LoadState::Incomplete);
    ProgressScope scope(progress, msg::kLoading);

    std::string text;
    if (readWholeFile(fs, paths.dat(), text) != 0)
        throw Error(msg::formatText(msg::kCannotOpen, paths.dat()));
    catalog.lines() = LineStore::fromText(std::move(text));

    if (readWholeFile(fs, paths.trr(), text) != 0)
        throw Error(msg::formatText(msg::kCannotOpen, paths.trr()));
    readTree(catalog, std::move(text));

    readSpans(catalog, paths, fs, progress);
    catalog.setLoadState(Catalog::LoadState::Complete);
}

void SaveCatalog(Catalog& catalog, const CatalogPaths& paths, FileSystem& fs,
                 CatalogProgressSink& progress) {
    if (catalog.loadState() == Catalog::LoadState::Incomplete)
        throw Error(msg::formatText(msg::kNotSavingPartial, paths.dat()));
    catalog.Collect();
    ProgressScope scope(progress, msg::kSaving);

    {
        FileWriter dat(fs, paths.dat(), cannotCreate, streamWriteError);
        writeDat(catalog, dat);
        dat.finish();
    }
    {
        FileWriter trr(fs, paths.trr(), cannotCreate, streamWriteError);
        writeTrr(catalog, trr);
        trr.finish();
    }
    {
        FileWriter nod(fs, paths.nod(), systemError, nodWriteError);
        const std::size_t count = catalog.nodeCount();
        forEachRecord(catalog, [&](std::string_view record, std::size_t index) {
            progress.setPosition(percent(index, count));
            nod.append(record);
        });
        nod.finish();
    }

    // Commit: from the marker on, a load completes the renames, so the set changes as one.
    const std::string directory = paths.directory();
    auto check = [](int error) {
        if (error != 0)
            throw Error(msg::systemErrorMessage(error));
    };
    check(fs.syncDirectory(directory));
    {
        int error = 0;
        std::unique_ptr<OutputFile> marker = fs.create(paths.commitMarker(), error);
        check(error);
        check(marker->sync());
        check(marker->close());
    }
    check(fs.syncDirectory(directory));
    for (const std::string* path : {&paths.dat(), &paths.trr(), &paths.nod()})
        check(fs.rename(*path + std::string(CatalogPaths::kNewSuffix), *path));
    check(fs.syncDirectory(directory));
    check(fs.remove(paths.commitMarker()));
}

} // namespace qbr
