#include "archive_fixtures/lzh_writer.h"

#include <array>
#include <ctime>
#include <stdexcept>

namespace qbr::fixtures {
namespace {

void put16(std::string& out, std::uint32_t value) {
    out += static_cast<char>(value & 0xFF);
    out += static_cast<char>((value >> 8) & 0xFF);
}

void put32(std::string& out, std::uint32_t value) {
    put16(out, value & 0xFFFF);
    put16(out, value >> 16);
}

void set16(std::string& out, std::size_t at, std::uint32_t value) {
    out[at] = static_cast<char>(value & 0xFF);
    out[at + 1] = static_cast<char>((value >> 8) & 0xFF);
}

std::uint32_t originalSize(const LzhMember& member) {
    return static_cast<std::uint32_t>(member.declaredSize < 0
                                          ? static_cast<std::int64_t>(member.data.size())
                                          : member.declaredSize);
}

// Level 0 and 1 headers are summed, byte by byte, from the method on.
char headerSum(const std::string& header) {
    unsigned sum = 0;
    for (std::size_t i = 2; i < header.size(); ++i)
        sum += static_cast<unsigned char>(header[i]);
    return static_cast<char>(sum & 0xFF);
}

// One extended header of levels 1 and 2, as the reader walks them: its size (counting
// the size field itself), its type, its data.
void putExtended(std::string& out, unsigned char type, const std::string& data) {
    put16(out, static_cast<std::uint32_t>(data.size() + 3));
    out += static_cast<char>(type);
    out += data;
}

std::string level0(const LzhMember& m) {
    if (m.name.size() > 221)
        throw std::invalid_argument("a level 0 name holds at most 221 bytes");
    std::string h;
    h += '\0'; // size, set below
    h += '\0'; // sum, set below
    h += m.method;
    put32(h, static_cast<std::uint32_t>(m.data.size()));
    put32(h, originalSize(m));
    put32(h, dosTimeDate(m.date));
    h += '\x20'; // archive attribute
    h += '\0';   // level
    h += static_cast<char>(m.name.size());
    h += m.name;
    put16(h, lzhCrc16(m.data));
    h[0] = static_cast<char>(h.size() - 2);
    h[1] = headerSum(h);
    return h + m.data;
}

std::string level1(const LzhMember& m) {
    if (m.name.size() > 230)
        throw std::invalid_argument("a level 1 name holds at most 230 bytes");
    std::string extended;
    if (!m.directory.empty())
        putExtended(extended, 0x02, m.directory);
    std::string h;
    h += '\0';
    h += '\0';
    h += m.method;
    // The "skip size": the extended headers and the data.
    put32(h, static_cast<std::uint32_t>(extended.size() + m.data.size()));
    put32(h, originalSize(m));
    put32(h, dosTimeDate(m.date));
    h += '\x20';
    h += '\x01';
    h += static_cast<char>(m.name.size());
    h += m.name;
    put16(h, lzhCrc16(m.data));
    h += 'M'; // MS-DOS
    // The base header ends with the size of the first extended header; the extended
    // headers chain on, the last followed by a size of 0.
    std::string chain = extended;
    put16(chain, 0);
    h += chain.substr(0, 2);
    h[0] = static_cast<char>(h.size() - 2);
    h[1] = headerSum(h);
    return h + chain.substr(2) + m.data;
}

std::string level2(const LzhMember& m) {
    std::string extended;
    putExtended(extended, 0x00, std::string(2, '\0')); // header CRC, set below
    const std::size_t crcAt = 3;
    putExtended(extended, 0x01, m.name);
    if (!m.directory.empty())
        putExtended(extended, 0x02, m.directory);
    put16(extended, 0);
    std::string h;
    put16(h, 0); // size, set below
    h += m.method;
    put32(h, static_cast<std::uint32_t>(m.data.size()));
    put32(h, originalSize(m));
    put32(h, static_cast<std::uint32_t>(localSeconds(m.date)));
    h += '\x20';
    h += '\x02';
    put16(h, lzhCrc16(m.data));
    h += 'U';
    const std::size_t extendedAt = h.size();
    h += extended;
    // A size whose low byte is 0 would read as the end mark: one byte of padding avoids it.
    if ((h.size() & 0xFF) == 0)
        h += '\0';
    set16(h, 0, static_cast<std::uint32_t>(h.size()));
    set16(h, extendedAt + crcAt, lzhCrc16(h));
    return h + m.data;
}

} // namespace

std::uint16_t lzhCrc16(const std::string& bytes) {
    static const std::array<std::uint16_t, 256> table = [] {
        std::array<std::uint16_t, 256> t{};
        for (unsigned i = 0; i < 256; ++i) {
            unsigned c = i;
            for (int k = 0; k < 8; ++k)
                c = (c & 1) ? (c >> 1) ^ 0xA001 : c >> 1;
            t[i] = static_cast<std::uint16_t>(c);
        }
        return t;
    }();
    std::uint16_t crc = 0;
    for (const char b : bytes)
        crc = static_cast<std::uint16_t>(table[(crc ^ static_cast<unsigned char>(b)) & 0xFF] ^
                                         (crc >> 8));
    return crc;
}

std::uint32_t dosTimeDate(const DosDateTime& d) {
    const std::uint32_t time =
        static_cast<std::uint32_t>(d.hour << 11 | d.minute << 5 | d.second / 2);
    const std::uint32_t date =
        static_cast<std::uint32_t>((d.year - 1980) << 9 | d.month << 5 | d.day);
    return date << 16 | time;
}

std::int64_t localSeconds(const DosDateTime& d) {
    std::tm tm{};
    tm.tm_year = d.year - 1900;
    tm.tm_mon = d.month - 1;
    tm.tm_mday = d.day;
    tm.tm_hour = d.hour;
    tm.tm_min = d.minute;
    tm.tm_sec = d.second;
    tm.tm_isdst = -1;
    return static_cast<std::int64_t>(std::mktime(&tm));
}

std::string lzhArchive(const std::vector<LzhMember>& members) {
    std::string out;
    for (const LzhMember& m : members) {
        switch (m.level) {
        case 0:
            out += level0(m);
            break;
        case 1:
            out += level1(m);
            break;
        case 2:
            out += level2(m);
            break;
        default:
            throw std::invalid_argument("LZH header levels are 0, 1 and 2");
        }
    }
    out += '\0';
    return out;
}

} // namespace qbr::fixtures
