#include "app/core/watermark_text.h"
#include "catalog/error.h"
#include "cli/cli_args.h"
#include "cli/cli_output.h"
#include "cli/commands.h"
#include "cli/null_sinks.h"

namespace qbr::cli {

namespace {

class PrintingReport final : public ReportSink {
  public:
    explicit PrintingReport(const Output& out) : out_(out) {}
    void appendLine(std::string_view line) override { out_.line(line); }

  private:
    const Output& out_;
};

} // namespace

int scanCommand(const std::vector<std::string>& words) {
    std::string problem;
    const auto args = Args::parse(words, {"catalog", "logs", "watermark", "encoding"}, problem);
    if (!args)
        return usageError(problem);
    if (!args->has("catalog") || !args->has("logs"))
        return usageError("scan needs --catalog BASE and --logs DIR");
    const std::string encoding = args->get("encoding", "utf8");
    if (encoding != "utf8" && encoding != "sjis")
        return usageError("--encoding is utf8 or sjis");
    const Output out(encoding == "utf8" ? Encoding::Utf8 : Encoding::Sjis);

    FileSystem& fs = systemFileSystem();
    const CatalogPaths paths = CatalogPaths::fromBase(args->get("catalog"));
    Catalog catalog;
    SilentProgress progress;
    try {
        Watermark watermark;
        watermark.PreDateTime = parseWatermark(args->get("watermark", "0"));
        watermark.ScanDateTime = watermark.PreDateTime;
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
