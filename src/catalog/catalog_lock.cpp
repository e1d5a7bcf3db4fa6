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

} // namespace qbr
