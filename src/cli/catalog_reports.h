#pragma once

#include "catalog/catalog.h"
#include "catalog/catalog_files.h"
#include "cli/cli_args.h"
#include "pane/detail_pane.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace qbr::cli {

// What search, missing, orphans and export share: the catalog they read, the download folder,
// and the file of an item as the detail pane finds it.

// BASE.dat, .trr, .nod with --catalog BASE; else the desktop program's catalog beside this
// program, as the headless scan finds it.
CatalogPaths reportCatalogPaths(const Args& args);

// Loads the catalog read-only; false after printing the error (a catalog that cannot be read
// completely is an error here too: a report on part of it would be wrong).
bool loadReportCatalog(const Args& args, Catalog& catalog);

// DownPath: --download-dir DIR, or as the program reads it at start from the settings store
// (looked at without creating any key). Nothing after printing an error: the store cannot be
// read, or no folder is set.
std::optional<std::string> reportDownloadFolder(const Args& args);

// Whether the folder is a directory that can be listed: a report over a folder that is not
// there (an unmounted disk) would call every file missing.
bool isListableDirectory(const std::string& folder);

// The file section of an item as the detail pane finds it on the lines it shows. Raises the
// list index error for a span outside the LineStore.
std::optional<FileSection> itemFileSection(const Catalog& catalog, const TreeNode& item);

// The item's position in tree order (as `list` numbers the nodes), its forum's name and its
// title, TAB-separated.
std::string itemHeadline(std::size_t position, const TreeNode& item);

// Calls visit(position, item) for every item (level-2 node) in tree order.
template <typename Visit> void forEachItem(const Catalog& catalog, Visit&& visit) {
    std::size_t position = 0;
    forEachPreOrder(catalog.top(), [&](const TreeNode& node) {
        const std::size_t here = position++;
        if (node.level() == 2)
            visit(here, node);
    });
}

// A date-time value (days since 1899-12-30, local time) as ISO 8601 local time,
// "1999-01-01T10:00:02", without a zone.
std::string isoLocalDateTime(double value);

} // namespace qbr::cli
