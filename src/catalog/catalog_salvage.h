#pragma once

#include "catalog/catalog.h"
#include "catalog/catalog_files.h"
#include "catalog/file_system.h"

#include <cstddef>
#include <string>
#include <vector>

namespace qbr {

// What a salvage found in the three files and what became of it.
struct SalvageReport {
    bool datFound = false, trrFound = false, nodFound = false;
    std::size_t datLines = 0, datNulBytes = 0;
    std::size_t trrNodes = 0, trrNulBytes = 0;
    std::size_t levelJumps = 0; // tree lines too deep, placed one level below the line before
    std::size_t records = 0, partialRecordBytes = 0;
    std::size_t itemsWithText = 0;
    std::size_t itemsWithoutRecord = 0;  // kept, with an empty text
    std::size_t spansOutside = 0;        // items whose record points outside the .dat: empty text
    std::size_t extraRecords = 0;        // records no item claimed, filed under kSalvageForum
    std::size_t extraRecordsOutside = 0; // of those, records pointing outside the .dat
    std::size_t looseRuns = 0, looseLines = 0; // lines no record covered, filed likewise
};

// The forum that holds what the tree did not place: records left over, lines no item covered.
// "【復旧】"
inline constexpr std::string_view kSalvageForum = "\x81\x79\x95\x9C\x8B\x8C\x81\x7A";

// Reads everything that can be read from a catalog's files into a consistent catalog: NUL
// bytes are left out instead of ending a file, a tree line too deep is placed one level below
// the line before it, every record is paired with its item in tree order and checked against
// the .dat (an item without a usable record keeps an empty text), records left over become
// items of kSalvageForum, and so does every run of .dat lines that no record covers. No line
// that can be read from any of the three files is dropped. Raises qbr::Error when a file that
// exists cannot be read. The result is complete and modified, ready to be saved.
Catalog salvageCatalog(const CatalogPaths& paths, FileSystem& fs, SalvageReport& report);

// Copies the files of a catalog, as they are, to BASE.damaged-N.dat, .trr and .nod, with the
// first N for which none of the three exists (files are made only where none exists, so
// nothing is ever written over). Returns the copies made. Raises qbr::Error on failure.
std::vector<std::string> keepDamagedCopies(const CatalogPaths& paths, FileSystem& fs);

} // namespace qbr
