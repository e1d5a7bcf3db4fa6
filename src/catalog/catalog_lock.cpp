#include "catalog/catalog_lock.h"

#include "catalog/error.h"
#include "catalog/messages.h"

#include <cerrno>

namespace qbr {

std::unique_ptr<FileLock> lockCatalog(const CatalogPaths& paths, FileSystem& fs) {
    int error = 0;
    std::unique_ptr<FileLock> lock = fs.tryLock(paths.lockFile(), error);
    if (!lock && error == EWOULDBLOCK)
        throw Error(msg::formatText(msg::kCatalogInUse, paths.dat()));
    return lock;
}

std::unique_ptr<FileLock> lockCatalogIfFree(const CatalogPaths& paths, FileSystem& fs) {
    int error = 0;
    return fs.tryLock(paths.lockFile(), error);
}

void LoadCatalogForReading(Catalog& catalog, const CatalogPaths& paths, FileSystem& fs,
                           CatalogProgressSink& progress) {
    const std::unique_ptr<FileLock> lock = lockCatalogIfFree(paths, fs);
    LoadCatalog(catalog, paths, fs, progress, lock ? LoadMode::Owner : LoadMode::Reader);
}

} // namespace qbr
