#pragma once

#include "catalog/catalog.h"
#include "catalog/catalog_files.h"

#include <cstddef>
#include <string>

namespace qbr::bench {

// The size of the benchmark catalog.
struct CatalogShape {
    std::size_t items = 100000;
    std::size_t forums = 200;
    // Items read from the corpus to serve as the listing texts of all the others.
    std::size_t harvested = 3000;
};

// A catalog of real listing texts: the scanner reads logs of the corpus until it has found
// `harvested` items, whose texts are then filed again under new titles, round robin over
// `forums` forums, until the catalog holds `items` items.
Catalog makeBenchCatalog(const std::string& logDirectory, const CatalogShape& shape);

// Number of items (nodes of level 2) in a catalog.
std::size_t itemCount(const Catalog& catalog);

// The catalog files DIRECTORY/bench.{dat,trr,nod}; made from the corpus with the real file
// system when the .dat file is missing.
CatalogPaths ensureBenchCatalog(const std::string& directory, const std::string& logDirectory,
                                const CatalogShape& shape);

} // namespace qbr::bench
