#include "quenbrill-genlogs/dummy_files.h"

#include <array>

namespace genlogs {
namespace {

void put16(std::string& out, std::uint32_t value) {
    out += static_cast<char>(value & 0xFF);
    out += static_cast<char>((value >> 8) & 0xFF);
}

void put32(std::string& out, std::uint32_t value) {
    put16(out, value & 0xFFFF);
    put16(out, value >> 16);
}

// CRC-16 as LHA uses it (reflected polynomial 0xA001, initial value 0).
std::uint16_t crc16(std::string_view data) {
    std::uint16_t crc = 0;
    for (unsigned char byte : data) {
        crc ^= byte;
        for (int bit = 0; bit < 8; ++bit) {
            crc = (crc & 1) ? static_cast<std::uint16_t>((crc >> 1) ^ 0xA001)
                            : static_cast<std::uint16_t>(crc >> 1);
        }
    }
    return crc;
}

// CRC-32 as ZIP uses it (reflected polynomial 0xEDB88320).
std::uint32_t crc32(std::string_view data) {
    std::uint32_t crc = 0xFFFFFFFFU;
    for (unsigned char byte : data) {
        crc ^= byte;
        for (int bit = 0; bit < 8; ++bit) {
            crc = (crc & 1) ? (crc >> 1) ^ 0xEDB88320U : crc >> 1;
        }
    }
    return ~crc;
}

} // namespace

std::string lzhArchive(std::string_view memberName, std::string_view data, std::uint32_t dosTime) {
    // A level-0 header: size and checksum of what follows them, then the header proper.
    std::string header = "-lh0-";
    put32(header, static_cast<std::uint32_t>(data.size())); // packed size
    put32(header, static_cast<std::uint32_t>(data.size())); // original size
    put32(header, dosTime);
    header += '\x20'; // archive attribute
    header += '\x00'; // header level
    header += static_cast<char>(memberName.size());
    header += memberName;
    put16(header, crc16(data));
    unsigned sum = 0;
    for (unsigned char byte : header) {
        sum += byte;
    }
    std::string out;
    out += static_cast<char>(header.size());
    out += static_cast<char>(sum & 0xFF);
    out += header;
    out += data;
    out += '\0'; // end of archive
    return out;
}

std::string zipArchive(std::string_view memberName, std::string_view data, std::uint32_t dosTime) {
    const std::uint32_t crc = crc32(data);
    const auto size = static_cast<std::uint32_t>(data.size());
    const auto nameSize = static_cast<std::uint32_t>(memberName.size());
    std::string out;
    put32(out, 0x04034B50); // local file header
    put16(out, 10);         // version needed: stored
    put16(out, 0);          // flags
    put16(out, 0);          // method: stored
    put32(out, dosTime);
    put32(out, crc);
    put32(out, size);
    put32(out, size);
    put16(out, nameSize);
    put16(out, 0);
    out += memberName;
    out += data;
    const auto directoryOffset = static_cast<std::uint32_t>(out.size());
    put32(out, 0x02014B50); // central directory entry
    put16(out, 20);         // made by: MS-DOS
    put16(out, 10);
    put16(out, 0);
    put16(out, 0);
    put32(out, dosTime);
    put32(out, crc);
    put32(out, size);
    put32(out, size);
    put16(out, nameSize);
    put16(out, 0); // extra
    put16(out, 0); // comment
    put16(out, 0); // disk
    put16(out, 1); // internal attributes: text
    put32(out, 0x20);
    put32(out, 0); // offset of the local header
    out += memberName;
    const auto directorySize = static_cast<std::uint32_t>(out.size()) - directoryOffset;
    put32(out, 0x06054B50); // end of central directory
    put16(out, 0);
    put16(out, 0);
    put16(out, 1);
    put16(out, 1);
    put32(out, directorySize);
    put32(out, directoryOffset);
    put16(out, 0);
    return out;
}

std::string dosProgram(std::string_view message) {
    // push cs; pop ds; mov dx,14; mov ah,9; int 21h; mov ax,4C00h; int 21h; then the text.
    static constexpr std::array<unsigned char, 14> code = {
        0x0E, 0x1F, 0xBA, 0x0E, 0x00, 0xB4, 0x09, 0xCD, 0x21, 0xB8, 0x00, 0x4C, 0xCD, 0x21};
    std::string image(code.begin(), code.end());
    image += message;
    image += "\r\n$";
    const auto fileSize = static_cast<std::uint32_t>(32 + image.size());
    std::string out = "MZ";
    put16(out, fileSize % 512);
    put16(out, (fileSize + 511) / 512);
    put16(out, 0);      // relocations
    put16(out, 2);      // header paragraphs
    put16(out, 0x20);   // extra paragraphs: room for the stack
    put16(out, 0xFFFF); // maximum extra paragraphs
    put16(out, 0);      // SS
    put16(out, 0x200);  // SP
    put16(out, 0);      // checksum
    put16(out, 0);      // IP
    put16(out, 0);      // CS
    put16(out, 0x1C);   // relocation table offset
    put16(out, 0);      // overlay
    out.append(4, '\0');
    return out + image;
}

std::string dummyFile(std::string_view fileName, std::string_view text, std::uint32_t dosTime) {
    if (fileName.ends_with(".LZH")) {
        return lzhArchive("README.TXT", text, dosTime);
    }
    if (fileName.ends_with(".ZIP")) {
        return zipArchive("README.TXT", text, dosTime);
    }
    if (fileName.ends_with(".EXE")) {
        return dosProgram("Synthetic sample file from quenbrill-genlogs: " + std::string(fileName));
    }
    return std::string(text);
}

} // namespace genlogs
