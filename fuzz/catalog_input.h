#pragma once

#include "catalog/catalog_files.h"
#include "support/memory_file_system.h"

#include <cstddef>
#include <cstdint>
#include <string>

namespace qbr::fuzz {

// A fuzzer's input as the three catalog files: the .dat, the .trr and the .nod, separated by
// the bytes "@@" (a file left out when its separator is missing). Returns the .dat's bytes.
inline std::string putCatalogFiles(const std::uint8_t* data, std::size_t size,
                                   const CatalogPaths& paths, MemoryFileSystem& fs) {
    const std::string input(reinterpret_cast<const char*>(data), size);
    const std::size_t cut1 = input.find("@@");
    const std::size_t cut2 = cut1 == std::string::npos ? cut1 : input.find("@@", cut1 + 2);
    std::string dat = input.substr(0, cut1);
    fs.put(paths.dat(), dat);
    if (cut1 != std::string::npos)
        fs.put(paths.trr(),
               input.substr(cut1 + 2, cut2 == std::string::npos ? cut2 : cut2 - cut1 - 2));
    if (cut2 != std::string::npos)
        fs.put(paths.nod(), input.substr(cut2 + 2));
    return dat;
}

// The load and save progress of a fuzzer: nothing shown, positions checked.
struct QuietProgress final : CatalogProgressSink {
    void begin(std::string_view) override {}
    void setPosition(int percent) override {
        if (percent < 0 || percent >= 100)
            __builtin_trap();
    }
    void end() override {}
};

} // namespace qbr::fuzz
