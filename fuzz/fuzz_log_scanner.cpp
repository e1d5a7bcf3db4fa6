// Any bytes as a session log: the scan ends or raises the system's error, and what it files
// can be stored and read back.
#include "catalog/catalog.h"
#include "catalog/catalog_files.h"
#include "catalog/error.h"
#include "catalog/log_scanner.h"
#include "catalog/memory_file_system.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

namespace {

struct Quiet final : qbr::ScanProgressSink, qbr::ReportSink, qbr::CatalogProgressSink {
    void showLogName(std::string_view) override {}
    void showForumName(std::string_view) override {}
    void appendLine(std::string_view line) override {
        if (line.find('\n') != std::string_view::npos)
            std::abort(); // one report per line
    }
    void begin(std::string_view) override {}
    void setPosition(int) override {}
    void end() override {}
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    qbr::MemoryFileSystem fs;
    fs.makeDirectory("/logs");
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    // Two logs, so that a capture that runs to the end of one cannot reach the next.
    fs.put("/logs/a.log", bytes, 1);
    fs.put("/logs/b.log", bytes.substr(size / 2), 2);
    qbr::Catalog catalog;
    Quiet quiet;
    qbr::Watermark watermark;
    qbr::LogScanner(catalog, fs, quiet, quiet).xFindFile("/logs/", watermark);

    for (std::size_t i = 0; i < catalog.lines().size(); ++i) {
        const std::string_view line = catalog.lines()[i];
        if (line.find_first_of(std::string_view("\r\n\0", 3)) != std::string_view::npos)
            std::abort();
    }
    const qbr::CatalogPaths paths = qbr::CatalogPaths::fromBase("/c/q");
    qbr::Catalog saved = std::move(catalog);
    qbr::SaveCatalog(saved, paths, fs, quiet);
    qbr::Catalog loaded;
    qbr::LoadCatalog(loaded, paths, fs, quiet);
    if (qbr::datText(loaded) != qbr::datText(saved) ||
        qbr::trrText(loaded) != qbr::trrText(saved) ||
        qbr::nodBytes(loaded) != qbr::nodBytes(saved))
        std::abort(); // what was filed must read back the same
    return 0;
}
