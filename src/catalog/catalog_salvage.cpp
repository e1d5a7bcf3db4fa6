#include "catalog/catalog_salvage.h"

#include "catalog/error.h"
#include "catalog/messages.h"

#include <algorithm>
#include <cerrno>
#include <cstdint>

namespace qbr {

namespace {

constexpr std::size_t kRecordSize = 8;

// "レコード " and "行 ", the titles of what salvage files under its forum.
constexpr std::string_view kRecordTitle = "\x83\x8C\x83\x52\x81\x5B\x83\x68 ";
constexpr std::string_view kLinesTitle = "\x8D\x73 ";

std::int32_t getLittleEndian(const char* in) {
    std::uint32_t u = 0;
    for (int i = 0; i < 4; ++i)
        u |= static_cast<std::uint32_t>(static_cast<unsigned char>(in[i])) << (8 * i);
    return static_cast<std::int32_t>(u);
}

// The file's bytes, or nothing when it does not exist; any other failure is raised.
bool readIfPresent(FileSystem& fs, const std::string& path, std::string& out) {
    out.clear();
    if (!fs.isRegularFile(path))
        return false;
    if (const int error = readWholeFile(fs, path, out))
        throw Error(
            msg::withDetail(msg::formatText(msg::kCannotOpen, path), msg::systemReason(error)));
    return true;
}

std::size_t dropNulBytes(std::string& text) {
    const auto end = std::remove(text.begin(), text.end(), '\0');
    const auto dropped = static_cast<std::size_t>(text.end() - end);
    text.erase(end, text.end());
    return dropped;
}

bool inside(TItemSpan span, std::size_t lines) {
    return span.First >= 0 && span.Count >= 0 &&
           static_cast<std::uint64_t>(span.First) + static_cast<std::uint64_t>(span.Count) <= lines;
}

} // namespace

Catalog salvageCatalog(const CatalogPaths& paths, FileSystem& fs, SalvageReport& report) {
    report = SalvageReport{};
    Catalog catalog;
    std::string text;

    report.datFound = readIfPresent(fs, paths.dat(), text);
    report.datNulBytes = dropNulBytes(text);
    catalog.lines() = LineStore::fromText(std::move(text));
    const std::size_t lineCount = catalog.lines().size();
    report.datLines = lineCount;

    report.trrFound = readIfPresent(fs, paths.trr(), text);
    if (report.trrFound) {
        report.trrNulBytes = dropNulBytes(text);
        report.levelJumps = readTreeLeniently(catalog, std::move(text));
    }
    report.trrNodes = report.trrFound ? catalog.nodeCount() : 0;

    std::string records;
    report.nodFound = readIfPresent(fs, paths.nod(), records);
    report.records = records.size() / kRecordSize;
    report.partialRecordBytes = records.size() % kRecordSize;

    // Lines that some usable record covers; the others are filed on their own at the end.
    std::vector<bool> covered(lineCount, false);
    auto cover = [&](TItemSpan span) {
        std::fill_n(covered.begin() + span.First, span.Count, true);
    };
    std::size_t next = 0;
    forEachPreOrder(catalog.top(), [&](TreeNode& node) {
        if (node.level() != 2)
            return;
        if (next >= report.records) {
            ++report.itemsWithoutRecord;
            node.setSpan(TItemSpan{});
            return;
        }
        const char* at = records.data() + kRecordSize * next++;
        const TItemSpan span{getLittleEndian(at), getLittleEndian(at + 4)};
        if (!inside(span, lineCount)) {
            ++report.spansOutside;
            node.setSpan(TItemSpan{});
            return;
        }
        ++report.itemsWithText;
        node.setSpan(span);
        cover(span);
    });

    TreeNode* forum = nullptr;
    auto salvageForum = [&]() -> TreeNode& {
        if (!forum)
            forum = catalog.AddForum(kSalvageForum);
        return *forum;
    };
    for (; next < report.records; ++next) {
        const char* at = records.data() + kRecordSize * next;
        const TItemSpan span{getLittleEndian(at), getLittleEndian(at + 4)};
        TreeNode* item =
            salvageForum().appendChild(std::string(kRecordTitle) + std::to_string(next + 1));
        ++report.extraRecords;
        if (inside(span, lineCount)) {
            item->setSpan(span);
            cover(span);
        } else {
            ++report.extraRecordsOutside;
            item->setSpan(TItemSpan{});
        }
    }
    for (std::size_t first = 0; first < lineCount;) {
        if (covered[first]) {
            ++first;
            continue;
        }
        std::size_t end = first;
        while (end < lineCount && !covered[end])
            ++end;
        // Numbered from 1, as an editor shows the .dat's lines.
        TreeNode* item = salvageForum().appendChild(
            std::string(kLinesTitle) + std::to_string(first + 1) + "-" + std::to_string(end));
        item->setSpan(
            TItemSpan{static_cast<std::int32_t>(first), static_cast<std::int32_t>(end - first)});
        ++report.looseRuns;
        report.looseLines += end - first;
        first = end;
    }

    catalog.setLoadState(Catalog::LoadState::Complete);
    catalog.setModified();
    return catalog;
}

std::vector<std::string> keepDamagedCopies(const CatalogPaths& paths, FileSystem& fs) {
    const std::string* const originals[] = {&paths.dat(), &paths.trr(), &paths.nod()};
    std::string contents[3];
    bool present[3] = {};
    for (int i = 0; i < 3; ++i)
        present[i] = readIfPresent(fs, *originals[i], contents[i]);

    for (int n = 1;; ++n) {
        const CatalogPaths copy =
            CatalogPaths::fromBase(paths.stem() + ".damaged-" + std::to_string(n));
        const std::string* const names[] = {&copy.dat(), &copy.trr(), &copy.nod()};
        if (fs.isRegularFile(*names[0]) || fs.isRegularFile(*names[1]) ||
            fs.isRegularFile(*names[2]))
            continue;
        std::vector<std::string> made;
        bool taken = false;
        for (int i = 0; i < 3 && !taken; ++i) {
            if (!present[i])
                continue;
            int error = 0;
            std::unique_ptr<OutputFile> file = fs.createExclusive(*names[i], error);
            if (!file && error == EEXIST) {
                taken = true; // made meanwhile by someone else: take the next number
                break;
            }
            auto check = [&](int e) {
                if (e != 0)
                    throw Error(msg::withDetail(msg::formatText(msg::kCannotCreate, *names[i]),
                                                msg::systemReason(e)));
            };
            check(error);
            check(file->write(contents[i].data(), contents[i].size()));
            check(file->sync());
            check(file->close());
            made.push_back(*names[i]);
        }
        if (taken)
            continue;
        if (const int error = fs.syncDirectory(paths.directory()))
            throw Error(msg::withDetail(msg::systemErrorMessage(error), paths.directory()));
        return made;
    }
}

} // namespace qbr
