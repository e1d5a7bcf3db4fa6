// Any bytes as the three catalog files: the load ends or raises one of its errors, and
// whatever it leaves can be shown, compacted, deleted from and saved without a crash.
#include "catalog/catalog.h"
#include "catalog/catalog_files.h"
#include "catalog/error.h"
#include "catalog_input.h"
#include "support/memory_file_system.h"

#include <cstddef>
#include <cstdint>
#include <string>

namespace {} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const qbr::CatalogPaths paths = qbr::CatalogPaths::fromBase("/c/q");
    qbr::MemoryFileSystem fs;
    qbr::fuzz::putCatalogFiles(data, size, paths, fs);

    qbr::Catalog catalog;
    qbr::fuzz::QuietProgress quiet;
    try {
        qbr::LoadCatalog(catalog, paths, fs, quiet);
    } catch (const qbr::Error&) {
    }
    std::vector<qbr::TreeNode*> nodes;
    qbr::forEachPreOrder(catalog.top(), [&](qbr::TreeNode& node) { nodes.push_back(&node); });
    for (qbr::TreeNode* node : nodes) {
        try {
            catalog.ItemText(*node);
        } catch (const qbr::Error&) {
        }
    }
    // Delete every other node from the end, as a user clicking through the tree would.
    for (std::size_t i = nodes.size(); i-- > 0;) {
        if (i % 2 == 0)
            catalog.DeleteNode(*nodes[i]);
    }
    catalog.setLoadState(qbr::Catalog::LoadState::Complete);
    try {
        qbr::SaveCatalog(catalog, paths, fs, quiet);
    } catch (const qbr::Error&) {
        return 0;
    }
    qbr::Catalog again;
    qbr::LoadCatalog(again, paths, fs, quiet);
    if (qbr::trrText(again) != qbr::trrText(catalog) ||
        qbr::datText(again) != qbr::datText(catalog) ||
        qbr::nodBytes(again) != qbr::nodBytes(catalog))
        __builtin_trap(); // a saved catalog reads back the same
    return 0;
}
