// Any bytes as the three catalog files: salvage makes a catalog that is saved, reads back
// whole and the same, and keeps every line the .dat held (NUL bytes left out).
#include "catalog/catalog.h"
#include "catalog/catalog_files.h"
#include "catalog/catalog_salvage.h"
#include "catalog/error.h"
#include "catalog_input.h"
#include "support/memory_file_system.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <map>
#include <string>

namespace {

std::map<std::string, int> lineCounts(const qbr::LineStore& lines) {
    std::map<std::string, int> counts;
    for (std::size_t i = 0; i < lines.size(); ++i)
        ++counts[std::string(lines[i])];
    return counts;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const qbr::CatalogPaths paths = qbr::CatalogPaths::fromBase("/c/q");
    qbr::MemoryFileSystem fs;
    std::string dat = qbr::fuzz::putCatalogFiles(data, size, paths, fs);

    qbr::SalvageReport report;
    qbr::Catalog salvaged = qbr::salvageCatalog(paths, fs, report);
    qbr::fuzz::QuietProgress quiet;
    try {
        qbr::SaveCatalog(salvaged, paths, fs, quiet);
    } catch (const qbr::Error&) {
        return 0; // overlapping records asking for more lines than a span can address
    }
    qbr::Catalog again;
    qbr::LoadCatalog(again, paths, fs, quiet); // raises, and so fails, when it does not read whole
    if (again.loadState() != qbr::Catalog::LoadState::Complete ||
        qbr::trrText(again) != qbr::trrText(salvaged) ||
        qbr::datText(again) != qbr::datText(salvaged))
        __builtin_trap();
    dat.erase(std::remove(dat.begin(), dat.end(), '\0'), dat.end());
    const auto before = lineCounts(qbr::LineStore::fromText(dat));
    const auto after = lineCounts(again.lines());
    for (const auto& [line, n] : before) {
        const auto it = after.find(line);
        if (it == after.end() || it->second < n)
            __builtin_trap(); // a line of the .dat was dropped
    }
    return 0;
}
