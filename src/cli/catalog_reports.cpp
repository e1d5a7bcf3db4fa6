#include "cli/catalog_reports.h"

#include "catalog/catalog_lock.h"
#include "catalog/error.h"
#include "catalog/log_scanner.h"
#include "catalog/silent_progress.h"
#include "cli/cli_output.h"
#include "cli/program_paths.h"
#include "posix/regedit_store.h"
#include "settings/emnifty_settings.h"
#include "settings/registry_settings.h"

#include <chrono>
#include <cmath>
#include <cstdio>
#include <dirent.h>

namespace qbr::cli {

CatalogPaths reportCatalogPaths(const Args& args) {
    if (args.has("catalog"))
        return CatalogPaths::fromBase(args.get("catalog"));
    return CatalogPaths::fromExecutable(desktopProgramPath());
}

bool loadReportCatalog(const Args& args, Catalog& catalog) {
    SilentProgress progress;
    try {
        LoadCatalogForReading(catalog, reportCatalogPaths(args), systemFileSystem(), progress);
    } catch (const Error& error) {
        printError(error.text());
        return false;
    }
    return true;
}

std::optional<std::string> reportDownloadFolder(const Args& args) {
    if (args.has("download-dir"))
        return withSeparator(args.get("download-dir"));
    std::string downPath;
    try {
        platform::RegeditStore store(platform::RegeditStore::defaultPath());
        if (const auto key = store.openExistingUserKey(kEmNiftyKey)) {
            std::string user, logPath;
            readEmNiftyFolders(*key, user, logPath, downPath);
        }
    } catch (const Error& error) {
        printError(error.text());
        return std::nullopt;
    }
    if (downPath.empty()) {
        std::fprintf(stderr, "quenbrill-cli: no download folder is set (quenbrill-cli config "
                             "--download-dir DIR sets one, --download-dir DIR names one)\n");
        return std::nullopt;
    }
    return downPath;
}

bool isListableDirectory(const std::string& folder) {
    DIR* dir = ::opendir(folder.c_str());
    if (!dir)
        return false;
    ::closedir(dir);
    return true;
}

std::optional<FileSection> itemFileSection(const Catalog& catalog, const TreeNode& item) {
    return findFileSection(shownItemLines(catalog.lines(), item.span()));
}

std::string itemHeadline(std::size_t position, const TreeNode& item) {
    std::string line = std::to_string(position);
    line += '\t';
    line += item.parent()->text();
    line += '\t';
    line += item.text();
    return line;
}

std::string isoLocalDateTime(double value) {
    using namespace std::chrono;
    double whole = std::floor(value);
    long long seconds = std::llround((value - whole) * 86400.0);
    if (seconds >= 86400) {
        whole += 1;
        seconds -= 86400;
    }
    // Day 25569 of the date-time values is 1970-01-01.
    const year_month_day date{sys_days{} + days{static_cast<long long>(whole) - 25569}};
    char text[40];
    std::snprintf(text, sizeof text, "%04d-%02u-%02uT%02lld:%02lld:%02lld",
                  static_cast<int>(date.year()), static_cast<unsigned>(date.month()),
                  static_cast<unsigned>(date.day()), seconds / 3600, seconds / 60 % 60,
                  seconds % 60);
    return text;
}

} // namespace qbr::cli
