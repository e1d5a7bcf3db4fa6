#include "bench_catalog.h"

#include "catalog/log_scanner.h"
#include "catalog/silent_progress.h"
#include "null_sinks.h"

#include <stdexcept>
#include <sys/stat.h>
#include <vector>

namespace qbr::bench {

namespace {

struct Listing {
    std::string title;
    std::vector<std::string> lines;
};

// Scans logs in listing order until the catalog holds `wanted` items or the logs run out.
Catalog harvest(const std::string& logDirectory, std::size_t wanted) {
    Catalog catalog;
    FileSystem& fs = systemFileSystem();
    NullScanProgress progress;
    NullReport report;
    LogScanner scanner(catalog, fs, progress, report);
    const std::string directory = withSeparator(logDirectory);
    for (const DirEntry& entry : fs.listDirectory(directory)) {
        scanner.xSearchWord(directory, entry);
        if (itemCount(catalog) >= wanted)
            break;
    }
    return catalog;
}

} // namespace

std::size_t itemCount(const Catalog& catalog) {
    std::size_t n = 0;
    forEachPreOrder(catalog.top(), [&](const TreeNode& node) { n += node.level() == 2; });
    return n;
}

Catalog makeBenchCatalog(const std::string& logDirectory, const CatalogShape& shape) {
    const Catalog found = harvest(logDirectory, shape.harvested);
    std::vector<std::string> forumNames;
    std::vector<Listing> listings;
    forEachPreOrder(found.top(), [&](const TreeNode& node) {
        if (node.level() == 1) {
            forumNames.push_back(node.text());
        } else if (node.level() == 2) {
            Listing listing{node.text(), {}};
            for (std::string_view line : found.ItemText(node))
                listing.lines.emplace_back(line);
            listings.push_back(std::move(listing));
        }
    });
    if (listings.empty())
        throw std::runtime_error("no downloads found in " + logDirectory);

    Catalog catalog;
    std::vector<TreeNode*> forums;
    for (std::size_t f = 0; f < shape.forums; ++f) {
        forums.push_back(catalog.AddForum(forumNames[f % forumNames.size()] +
                                          std::to_string(f / forumNames.size())));
    }
    for (std::size_t i = 0; i < shape.items; ++i) {
        // Each listing comes back in a forum of its own, under a title of its own.
        const Listing& listing = listings[i % listings.size()];
        const std::string title = listing.title + " #" + std::to_string(i);
        if (!catalog.AddItem(*forums[i % forums.size()], title, listing.lines))
            throw std::runtime_error("a benchmark title was not unique: " + title);
    }
    return catalog;
}

CatalogPaths ensureBenchCatalog(const std::string& directory, const std::string& logDirectory,
                                const CatalogShape& shape) {
    ::mkdir(directory.c_str(), 0755);
    const CatalogPaths paths = CatalogPaths::fromBase(withSeparator(directory) + "bench");
    struct stat st {};
    if (::stat(paths.dat().c_str(), &st) != 0) {
        Catalog catalog = makeBenchCatalog(logDirectory, shape);
        SilentProgress progress;
        SaveCatalog(catalog, paths, systemFileSystem(), progress);
    }
    return paths;
}

} // namespace qbr::bench
