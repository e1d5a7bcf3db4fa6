#include "catalog/catalog_lock.h"
#include "catalog/catalog_salvage.h"
#include "catalog/error.h"
#include "catalog/silent_progress.h"
#include "cli/cli_args.h"
#include "cli/cli_output.h"
#include "cli/commands.h"
#include "cli/program_paths.h"
#include "posix/cp932_codec.h"

#include <cstdio>
#include <string>

namespace qbr::cli {

namespace {

// Report lines hold file-system paths (bytes as they are) and counts; the forum's name is the
// one text of the catalog among them.
void say(const std::string& line) {
    std::fwrite(line.data(), 1, line.size(), stdout);
    std::fputc('\n', stdout);
}

std::string count(std::size_t n, const char* one, const char* many) {
    return std::to_string(n) + " " + (n == 1 ? one : many);
}

// True when the catalog reads to its end and every span lies inside the .dat, so that a save
// would keep it all: then there is nothing to salvage.
bool readsWhole(const CatalogPaths& paths, FileSystem& fs) {
    Catalog catalog;
    SilentProgress progress;
    try {
        LoadCatalog(catalog, paths, fs, progress);
        if (catalog.loadState() != Catalog::LoadState::Complete)
            return false;
        catalog.Collect();
        return true;
    } catch (const Error&) {
        return false;
    }
}

void printReport(const SalvageReport& r) {
    say(r.datFound ? ".dat: " + count(r.datLines, "line", "lines") + " read" +
                         (r.datNulBytes
                              ? ", " + count(r.datNulBytes, "NUL byte", "NUL bytes") + " left out"
                              : "")
                   : ".dat: missing (no lines)");
    say(r.trrFound ? ".trr: " + count(r.trrNodes, "node", "nodes") + " read" +
                         (r.trrNulBytes
                              ? ", " + count(r.trrNulBytes, "NUL byte", "NUL bytes") + " left out"
                              : "") +
                         (r.levelJumps ? ", " + count(r.levelJumps, "line", "lines") +
                                             " too deep placed one level below the line before"
                                       : "")
                   : ".trr: missing (the tree is the root alone)");
    say(r.nodFound
            ? ".nod: " + count(r.records, "record", "records") + " read" +
                  (r.partialRecordBytes ? ", " + count(r.partialRecordBytes, "byte", "bytes") +
                                              " of a partial record at the end could not be used"
                                        : "")
            : ".nod: missing (no records)");
    say("items of the tree: " + std::to_string(r.itemsWithText) + " with their text, " +
        std::to_string(r.itemsWithoutRecord) + " without a record (kept with an empty text), " +
        std::to_string(r.spansOutside) +
        " whose record points outside the .dat (kept with an empty text)");
    if (r.extraRecords || r.looseRuns) {
        say("recovered under the forum " + platform::cp932ToUtf8(kSalvageForum) + ": " +
            count(r.extraRecords, "record", "records") + " that no item of the tree claimed" +
            (r.extraRecordsOutside ? " (" + std::to_string(r.extraRecordsOutside) +
                                         " pointing outside the .dat, kept with an empty text)"
                                   : "") +
            ", " + count(r.looseLines, "line", "lines") + " of the .dat that no record covered (" +
            count(r.looseRuns, "item", "items") + ")");
    }
    const std::size_t lost = r.spansOutside + r.extraRecordsOutside;
    say(lost || r.partialRecordBytes
            ? "not recovered: the texts of " + count(lost, "record", "records") +
                  " pointing outside the .dat" +
                  (r.partialRecordBytes ? ", and the partial record" : "")
            : "not recovered: nothing; every line and record that could be read is in the "
              "catalog");
}

} // namespace

int salvageCommand(const std::vector<std::string>& words) {
    std::string problem;
    const auto args = Args::parse(words, {"catalog"}, problem);
    if (!args)
        return usageError(problem);
    if (!args->positional().empty())
        return usageError("salvage takes no argument " + args->positional().front());
    if (args->has("catalog") && args->get("catalog").empty())
        return usageError("--catalog needs a file name");
    const CatalogPaths paths = args->has("catalog")
                                   ? CatalogPaths::fromBase(args->get("catalog"))
                                   : CatalogPaths::fromExecutable(desktopProgramPath());
    FileSystem& fs = systemFileSystem();
    try {
        const std::unique_ptr<FileLock> lock = lockCatalog(paths, fs);
        if (!fs.isRegularFile(paths.dat()) && !fs.isRegularFile(paths.trr()) &&
            !fs.isRegularFile(paths.nod())) {
            throw Error("no catalog files at " + paths.stem() + ".dat, .trr, .nod");
        }
        say("salvage: " + paths.dat() + ", " + paths.trr() + ", " + paths.nod());
        if (readsWhole(paths, fs)) {
            say("the catalog reads whole: nothing to salvage, nothing changed");
            std::fflush(stdout);
            return 0;
        }
        SalvageReport report;
        Catalog salvaged = salvageCatalog(paths, fs, report);
        const std::vector<std::string> kept = keepDamagedCopies(paths, fs);
        std::string keptLine = "damaged files kept as they were:";
        for (const std::string& copy : kept)
            keptLine += " " + copy;
        say(keptLine);
        printReport(report);

        SilentProgress progress;
        SaveCatalog(salvaged, paths, fs, progress);
        Catalog check;
        LoadCatalog(check, paths, fs, progress);
        std::size_t items = 0;
        forEachPreOrder(check.top(), [&](const TreeNode& node) { items += node.level() == 2; });
        say("written: a catalog that reads whole, " + count(check.nodeCount(), "node", "nodes") +
            ", " + count(items, "item", "items") + ", " +
            count(check.lines().size(), "line", "lines"));
    } catch (const Error& error) {
        std::fflush(stdout);
        printError(error.text());
        return 1;
    }
    std::fflush(stdout);
    return 0;
}

} // namespace qbr::cli
