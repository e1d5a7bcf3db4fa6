#include "archive/archive_listing.h"
#include "archive/entry_text.h"
#include "cli/cli_args.h"
#include "cli/cli_output.h"
#include "cli/commands.h"

#include <cstdio>

namespace qbr::cli {

// archive FILE [--encoding utf8|sjis]: one line per entry, path TAB size TAB compressed TAB
// date TAB method. An archive read only part-way lists what was read, then fails.
int archiveCommand(const std::vector<std::string>& words) {
    std::string problem;
    const auto args = Args::parse(words, {"encoding"}, problem);
    if (!args)
        return usageError(problem);
    if (args->positional().size() != 1)
        return usageError("archive takes one FILE");
    const std::string encoding = args->get("encoding", "utf8");
    if (encoding != "utf8" && encoding != "sjis")
        return usageError("--encoding is utf8 or sjis");
    const bool sjis = encoding == "sjis";

    const archive::Listing listing = archive::listArchiveFile(args->positional()[0]);
    std::string line;
    for (const archive::Entry& entry : listing.entries) {
        line = sjis ? entry.path : archive::nameAsUtf8(entry);
        for (const std::string& column :
             {archive::sizeText(entry.size), archive::sizeText(entry.compressedSize),
              archive::dateText(entry.modified), entry.method}) {
            line += '\t';
            line += column;
        }
        line += '\n';
        std::fwrite(line.data(), 1, line.size(), stdout);
    }
    std::fflush(stdout);
    if (!listing.complete()) {
        printError(args->positional()[0] + ": " + listing.error);
        return 1;
    }
    return 0;
}

} // namespace qbr::cli
