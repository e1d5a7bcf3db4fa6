#pragma once

#include "archive_fixtures/lzh_writer.h"

#include <string>
#include <vector>

// ZIP archives of our own making, written by libarchive.
namespace qbr::fixtures {

struct ZipMember {
    std::string name; // bytes as they go into the archive
    std::string data;
    bool deflate = false;
    bool directory = false;
    DosDateTime date;
};

// Names as their bytes, without the UTF-8 mark (as the DOS and Windows tools of the time
// wrote CP932 names), or, with `utf8Names`, UTF-8 names marked as such.
std::string zipArchive(const std::vector<ZipMember>& members, bool utf8Names = false);

} // namespace qbr::fixtures
