#pragma once

#include <cstdint>
#include <string>
#include <vector>

// LZH archives of our own making, for tests and fuzz seeds: stored ("-lh0-") members with
// level 0, 1 or 2 headers, names as the bytes given (Shift-JIS, as the DOS tools wrote them).
namespace qbr::fixtures {

// A local date and time, as MS-DOS file dates hold them (even seconds).
struct DosDateTime {
    int year = 1996, month = 1, day = 15, hour = 12, minute = 34, second = 56;
};

struct LzhMember {
    std::string name; // level 0 and 1: the whole path ("\" between folders); level 2: the name
    std::string data;
    int level = 0;
    // Level 1 and 2: a folder ext-header ("DOC\xFF" style, 0xFF between folders), or empty.
    std::string directory;
    DosDateTime date;
    // "-lh0-" for stored data; "-lhd-" makes a folder entry (data then must be empty).
    std::string method = "-lh0-";
    // Written as the original size; the data's own size when negative.
    std::int64_t declaredSize = -1;
};

// The archive: each member's header and data, then the end mark (one zero byte).
std::string lzhArchive(const std::vector<LzhMember>& members);

// The 16-bit CRC that LZH headers and data carry (polynomial 0xA001, reflected, from 0).
std::uint16_t lzhCrc16(const std::string& bytes);

// The packed MS-DOS time (low word) and date (high word) of a date.
std::uint32_t dosTimeDate(const DosDateTime& date);

// The moment of a local date, as seconds since the epoch.
std::int64_t localSeconds(const DosDateTime& date);

} // namespace qbr::fixtures
