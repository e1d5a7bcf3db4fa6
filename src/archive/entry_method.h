#pragma once

#include <string>
#include <string_view>

namespace qbr::archive {

// The method of the entry just read, from the name libarchive gives the format at that
// entry: "lha -lh5-" gives "-lh5-", "ZIP 2.0 (deflation)" gives "deflate", "ZIP 1.0
// (uncompressed)" gives "stored"; other ZIP methods keep libarchive's word.
std::string methodFromFormatName(const char* formatName);

} // namespace qbr::archive
