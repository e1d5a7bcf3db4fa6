// Any bytes as session logs: the scan ends or raises the system's error; the fast search
// files and reports exactly what reading every line does; and what it files can be stored
// and read back.
#include "catalog/catalog.h"
#include "catalog/catalog_files.h"
#include "catalog/error.h"
#include "catalog/log_scanner.h"
#include "support/memory_file_system.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

struct Recorder final : qbr::ScanProgressSink, qbr::ReportSink, qbr::CatalogProgressSink {
    void showLogName(std::string_view name) override { shown.append(name).append("\1"); }
    void showForumName(std::string_view name) override { shown.append(name).append("\2"); }
    void appendLine(std::string_view line) override {
        if (line.find('\n') != std::string_view::npos)
            std::abort(); // one report per line
        shown.append(line).append("\3");
    }
    void begin(std::string_view) override {}
    void setPosition(int) override {}
    void end() override {}
    std::string shown;
};

struct Result {
    qbr::Catalog catalog;
    std::string shown;
};

Result scan(const std::string& bytes, std::size_t piece, bool readEveryLine) {
    qbr::MemoryFileSystem fs;
    fs.setReadPiece(piece);
    fs.makeDirectory("/logs");
    // Two logs, so that a capture that runs to the end of one cannot reach the next.
    fs.put("/logs/a.log", bytes, 1);
    fs.put("/logs/b.log", bytes.substr(bytes.size() / 2), 2);
    Result result;
    Recorder recorder;
    qbr::Watermark watermark;
    qbr::LogScanner scanner(result.catalog, fs, recorder, recorder);
    scanner.setReadEveryLine(readEveryLine);
    scanner.xFindFile("/logs/", watermark);
    result.shown = recorder.shown;
    return result;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0)
        return 0;
    const std::size_t piece = 1 + data[0] % 64;
    const std::string bytes(reinterpret_cast<const char*>(data + 1), size - 1);
    Result fast = scan(bytes, piece, false);
    const Result plain = scan(bytes, 4093, true);
    if (fast.shown != plain.shown || qbr::trrText(fast.catalog) != qbr::trrText(plain.catalog) ||
        qbr::datText(fast.catalog) != qbr::datText(plain.catalog) ||
        qbr::nodBytes(fast.catalog) != qbr::nodBytes(plain.catalog))
        std::abort(); // the fast search must not change what a scan does

    const qbr::Catalog& catalog = fast.catalog;
    for (std::size_t i = 0; i < catalog.lines().size(); ++i) {
        const std::string_view line = catalog.lines()[i];
        if (line.find_first_of(std::string_view("\r\n\0", 3)) != std::string_view::npos)
            std::abort();
    }
    qbr::MemoryFileSystem fs;
    const qbr::CatalogPaths paths = qbr::CatalogPaths::fromBase("/c/q");
    Recorder quiet;
    qbr::SaveCatalog(fast.catalog, paths, fs, quiet);
    qbr::Catalog loaded;
    qbr::LoadCatalog(loaded, paths, fs, quiet);
    if (qbr::datText(loaded) != qbr::datText(fast.catalog) ||
        qbr::trrText(loaded) != qbr::trrText(fast.catalog) ||
        qbr::nodBytes(loaded) != qbr::nodBytes(fast.catalog))
        std::abort(); // what was filed must read back the same
    return 0;
}
