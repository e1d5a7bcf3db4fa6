#pragma once

#include "catalog/catalog_files.h"
#include "catalog/file_system.h"

#include <memory>

namespace qbr {

// Takes the lock of a catalog for a program that may write it, to be held for the program's
// whole run: two writers on one catalog would each save over the other's finds, and two saves
// at once would mix their files. Raises the "in use" error when another program holds it.
// Where no lock file can be made (a read-only folder, a folder not made yet) no save can be
// made there either, and nullptr is returned.
std::unique_ptr<FileLock> lockCatalog(const CatalogPaths& paths, FileSystem& fs);

// Takes the lock when it is free, for a program that only reads: nullptr when another program
// holds it (the reader then changes nothing, not even a save that was cut short).
std::unique_ptr<FileLock> lockCatalogIfFree(const CatalogPaths& paths, FileSystem& fs);

// Loads a catalog for a program that only reads it (list, show, search, the reports): with
// the lock when it is free, so that a save cut short is finished first, else beside the program
// that holds it, reading its save in progress as if it were done and changing nothing.
void LoadCatalogForReading(Catalog& catalog, const CatalogPaths& paths, FileSystem& fs,
                           CatalogProgressSink& progress);

} // namespace qbr
