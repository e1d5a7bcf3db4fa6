#include "catalog/catalog_lock.h"
#include "catalog/error.h"
#include "catalog/silent_progress.h"
#include "cli/cli_args.h"
#include "cli/cli_output.h"
#include "cli/commands.h"
#include "cli/program_paths.h"
#include "posix/locale_separator.h"
#include "posix/regedit_store.h"
#include "session/app_session.h"
#include "settings/watermark_text.h"

namespace qbr::cli {

namespace {

class PrintingReport final : public ReportSink {
  public:
    explicit PrintingReport(const Output& out) : out_(out) {}
    void appendLine(std::string_view line) override { out_.line(line); }

  private:
    const Output& out_;
};

// One run of the desktop program with its window closed at once: the reads of start-up from the
// settings store, the catalog of the desktop program beside this one, one scan from the stored
// watermark, and the writes of shut-down (the catalog when it changed, the watermark; the
// window's placement stays as stored). Each error is shown and the run goes on, as the program
// goes on after an error box; the watermark line is written only when nothing failed.
int headlessScan(const Output& out) {
    bool failed = false;
    auto show = [&](const Error& error) {
        out.flush();
        printError(error.text());
        failed = true;
    };
    FileSystem& fs = systemFileSystem();
    // The desktop program, or another run, may hold the catalog: then nothing is read or
    // written, not even the settings.
    std::unique_ptr<FileLock> lock;
    try {
        lock = lockCatalog(CatalogPaths::fromExecutable(desktopProgramPath()), fs);
    } catch (const Error& error) {
        printError(error.text());
        return 1;
    }
    platform::RegeditStore store(platform::RegeditStore::defaultPath());
    SilentProgress progress;
    AppSession session(store, fs, desktopProgramPath(), platform::localeDecimalSeparator());
    if (const StartupReads reads = session.FormCreate(progress); reads.error)
        show(*reads.error);
    else if (session.LogPath().empty())
        std::fprintf(stderr, "quenbrill-cli: no log folder is set (quenbrill-cli config "
                             "--log-dir DIR sets one)\n");

    PrintingReport report(out);
    try {
        session.scan(progress, report);
    } catch (const Error& error) {
        show(error);
    }
    try {
        session.FormDestroy(std::nullopt, progress);
    } catch (const Error& error) {
        show(error);
    }
    if (!failed)
        out.line("watermark " + formatWatermark(session.watermark().ScanDateTime));
    out.flush();
    return failed ? 1 : 0;
}

} // namespace

int scanCommand(const std::vector<std::string>& words) {
    std::string problem;
    const auto args = Args::parse(words, {"catalog", "logs", "watermark", "encoding"}, problem);
    if (!args)
        return usageError(problem);
    const bool headless = !args->has("catalog") && !args->has("logs");
    if (!headless && (!args->has("catalog") || !args->has("logs")))
        return usageError("scan needs --catalog BASE and --logs DIR");
    if (headless && args->has("watermark"))
        return usageError("--watermark goes with --catalog and --logs; a run without them "
                          "takes the stored one");
    const std::string encoding = args->get("encoding", "utf8");
    if (encoding != "utf8" && encoding != "sjis")
        return usageError("--encoding is utf8 or sjis");
    if (!args->positional().empty())
        return usageError("scan takes no argument " + args->positional().front());
    const Output out(encoding == "utf8" ? Encoding::Utf8 : Encoding::Sjis);
    if (headless)
        return headlessScan(out);
    if (args->get("catalog").empty() || args->get("logs").empty())
        return usageError("--catalog and --logs need a name");
    Watermark watermark;
    try {
        watermark.PreDateTime = parseWatermark(args->get("watermark", "0"));
    } catch (const Error&) {
        return usageError("--watermark " + args->get("watermark") +
                          ": not a watermark (days since 1899-12-30, such as 36161.4166898148)");
    }
    watermark.ScanDateTime = watermark.PreDateTime;

    FileSystem& fs = systemFileSystem();
    const CatalogPaths paths = CatalogPaths::fromBase(args->get("catalog"));
    Catalog catalog;
    SilentProgress progress;
    try {
        const std::unique_ptr<FileLock> lock = lockCatalog(paths, fs);
        LoadCatalog(catalog, paths, fs, progress);

        PrintingReport report(out);
        LogScanner scanner(catalog, fs, progress, report);
        try {
            scanner.xFindFile(withSeparator(args->get("logs")), watermark);
        } catch (const Error&) {
            // What was filed before the error is kept, as the program keeps it at exit.
            out.flush();
            if (catalog.Modified())
                SaveCatalog(catalog, paths, fs, progress);
            throw;
        }
        // Saved before the watermark is printed: a caller never gets a watermark past finds
        // that did not reach the catalog files.
        if (catalog.Modified())
            SaveCatalog(catalog, paths, fs, progress);
        out.line("watermark " + formatWatermark(watermark.ScanDateTime));
        out.flush();
        return 0;
    } catch (const Error& error) {
        out.flush();
        printError(error.text());
        return 1;
    }
}

} // namespace qbr::cli
