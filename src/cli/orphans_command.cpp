#include "catalog/error.h"
#include "cli/catalog_reports.h"
#include "cli/cli_output.h"
#include "cli/commands.h"
#include "posix/downloaded_file.h"
#include "posix/file_probe.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <dirent.h>
#include <set>

namespace qbr::cli {

// The regular files of DownPath that no item's file is (as the detail pane finds an item's
// file), one name a line, sorted, written as the file system spells them.
int orphansCommand(const std::vector<std::string>& words) {
    std::string problem;
    const auto args = Args::parse(words, {"catalog", "download-dir"}, problem);
    if (!args)
        return usageError(problem);
    if (!args->positional().empty())
        return usageError("orphans takes no arguments");
    const std::optional<std::string> downPath = reportDownloadFolder(*args);
    if (!downPath)
        return 1;
    Catalog catalog;
    if (!loadReportCatalog(*args, catalog))
        return 1;

    platform::PosixFileProbe probe;
    std::set<std::string> claimed;
    bool failed = false;
    forEachItem(catalog, [&](std::size_t, const TreeNode& item) {
        try {
            if (const auto section = itemFileSection(catalog, item)) {
                const platform::DownloadedFile file =
                    platform::locateDownloadedFile(probe, *downPath, section->name);
                if (file.exists)
                    claimed.insert(file.name);
            }
        } catch (const Error& error) {
            // That item's file is unknown: a file listed below may be its own.
            printError(error.text());
            failed = true;
        }
    });

    DIR* dir = ::opendir(downPath->c_str());
    if (!dir) {
        std::fprintf(stderr, "quenbrill-cli: the download folder %s cannot be read: %s\n",
                     downPath->c_str(), std::strerror(errno));
        return 1;
    }
    std::vector<std::string> orphans;
    errno = 0;
    while (const dirent* entry = ::readdir(dir)) {
        const std::string name = entry->d_name;
        if (name != "." && name != ".." && !claimed.count(name) &&
            probe.isRegularFile(*downPath + name))
            orphans.push_back(name);
        errno = 0;
    }
    const int readError = errno;
    ::closedir(dir);
    if (readError != 0) {
        std::fprintf(stderr, "quenbrill-cli: the download folder %s cannot be read: %s\n",
                     downPath->c_str(), std::strerror(readError));
        return 1;
    }
    std::sort(orphans.begin(), orphans.end());
    for (const std::string& name : orphans) {
        std::fwrite(name.data(), 1, name.size(), stdout);
        std::fputc('\n', stdout);
    }
    std::fflush(stdout);
    return failed ? 1 : 0;
}

} // namespace qbr::cli
