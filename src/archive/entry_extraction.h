#pragma once

#include "archive/archive_listing.h"
#include "archive/private_folder.h"

#include <string>

namespace qbr::archive {

struct ExtractedFile {
    std::string directory; // a subfolder of the private folder
    std::string name;      // the file's name in it (UTF-8)
};

// The largest entry extracted: a hostile archive may claim or inflate to anything.
inline constexpr std::uint64_t kMaxExtractedBytes = 2ull * 1024 * 1024 * 1024;

// Extracts entry number `index` of the listing of the file `archivePath` into a new
// subfolder of `folder`, under the last part of its name, so that nothing is written
// anywhere else. The entry must still be the one listed (`listed`). Throws qbr::Error for an
// entry that is no regular file, a name with ".." or an absolute path, data that do not
// match the sizes the archive records or fail its checks; no partial file is left behind.
ExtractedFile extractEntry(const std::string& archivePath, std::size_t index, const Entry& listed,
                           PrivateFolder& folder);

} // namespace qbr::archive
