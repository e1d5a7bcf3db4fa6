#include "catalog/error.h"
#include "cli/catalog_reports.h"
#include "cli/cli_output.h"
#include "cli/commands.h"
#include "posix/downloaded_file.h"
#include "posix/file_probe.h"

namespace qbr::cli {

// The items whose file the detail pane would not find in DownPath (its name as stored, then its
// UTF-8 form): position, forum, title and the file's name, TAB-separated. Items that name no
// file are not listed.
int missingCommand(const std::vector<std::string>& words) {
    std::string problem;
    const auto args = Args::parse(words, {"catalog", "download-dir", "encoding"}, problem);
    if (!args)
        return usageError(problem);
    if (!args->positional().empty())
        return usageError("missing takes no arguments");
    const std::string encoding = args->get("encoding", "utf8");
    if (encoding != "utf8" && encoding != "sjis")
        return usageError("--encoding is utf8 or sjis");
    const std::optional<std::string> downPath = reportDownloadFolder(*args);
    if (!downPath)
        return 1;
    if (!isListableDirectory(*downPath)) {
        std::fprintf(stderr, "quenbrill-cli: the download folder %s cannot be read\n",
                     downPath->c_str());
        return 1;
    }
    Catalog catalog;
    if (!loadReportCatalog(*args, catalog))
        return 1;

    const Output out(encoding == "utf8" ? Encoding::Utf8 : Encoding::Sjis);
    platform::PosixFileProbe probe;
    bool failed = false;
    forEachItem(catalog, [&](std::size_t position, const TreeNode& item) {
        try {
            const std::optional<FileSection> section = itemFileSection(catalog, item);
            if (section && !platform::locateDownloadedFile(probe, *downPath, section->name).exists)
                out.line(itemHeadline(position, item) + '\t' + section->name);
        } catch (const Error& error) {
            out.flush();
            printError(error.text());
            failed = true;
        }
    });
    out.flush();
    return failed ? 1 : 0;
}

} // namespace qbr::cli
