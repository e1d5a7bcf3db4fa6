#pragma once

#include "catalog/catalog.h"
#include "catalog/log_scanner.h"
#include "support/memory_file_system.h"

#include <string>
#include <vector>

namespace qbr::test {

// Records what a scan shows: the two progress labels and the report lines.
class RecordingScan final : public ScanProgressSink, public ReportSink {
  public:
    void showLogName(std::string_view name) override {
        logName = name;
        ++logNames;
    }
    void showForumName(std::string_view name) override { forumName = name; }
    void appendLine(std::string_view line) override { report.emplace_back(line); }

    std::string logName;
    std::string forumName;
    int logNames = 0;
    std::vector<std::string> report;
};

// A log folder in memory and a catalog to scan it into.
struct ScanFixture {
    static constexpr const char* kDir = "/logs/";

    MemoryFileSystem fs;
    Catalog catalog;
    RecordingScan out;
    Watermark watermark;

    ScanFixture() { fs.makeDirectory("/logs"); }

    void addLog(const std::string& name, std::string bytes, double date = 100) {
        fs.put(kDir + name, std::move(bytes), date);
    }
    void scan() {
        LogScanner scanner(catalog, fs, out, out);
        scanner.xFindFile(kDir, watermark);
    }
    // Every item as "forum/title", in tree order.
    std::vector<std::string> items() const {
        std::vector<std::string> out;
        forEachPreOrder(catalog.top(), [&](const TreeNode& node) {
            if (node.level() == 2)
                out.push_back(node.parent()->text() + "/" + node.text());
        });
        return out;
    }
    std::vector<std::string> text(const TreeNode& item) const {
        std::vector<std::string> out;
        for (std::string_view line : catalog.ItemText(item))
            out.emplace_back(line);
        return out;
    }
    const TreeNode* item(std::size_t n) const {
        const TreeNode* found = nullptr;
        std::size_t seen = 0;
        forEachPreOrder(catalog.top(), [&](const TreeNode& node) {
            if (node.level() == 2 && seen++ == n)
                found = &node;
        });
        return found;
    }
};

} // namespace qbr::test
