#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// The listing of an LZH or ZIP archive, or of a self-extracting .EXE holding one.
namespace qbr::archive {

struct Entry {
    // The name as the archive holds it: CP932 bytes (the tools of the time wrote no other),
    // or UTF-8 when `utf8Name` (the archive marks the name so). Folders are separated by "/",
    // except in LZH level 0 headers that wrote Shift-JIS names with "\".
    std::string path;
    bool utf8Name = false;
    bool directory = false;
    std::optional<std::uint64_t> size;
    // The bytes the entry's data take in the archive.
    std::optional<std::uint64_t> compressedSize;
    // Seconds since the epoch.
    std::optional<std::int64_t> modified;
    // "-lh5-", "-lh0-", "-lhd-" for LZH; "stored", "deflate", ... for ZIP.
    std::string method;
};

struct Totals {
    std::uint64_t files = 0;
    std::uint64_t size = 0;
    std::uint64_t compressedSize = 0;
};

struct Listing {
    std::vector<Entry> entries;
    // Empty when the whole archive was read; otherwise why not (CP932), the entries read
    // before the fault staying listed.
    std::string error;

    bool complete() const { return error.empty(); }
    Totals totals() const;
};

// More entries than this (or more name bytes than kMaxNameBytes) end the listing with an
// error: no archive of a download library comes near, and memory stays bounded.
inline constexpr std::size_t kMaxEntries = 65536;
inline constexpr std::size_t kMaxNameBytes = 16 * 1024 * 1024;

// `path` is the file's name as the file system has it (bytes).
Listing listArchiveFile(const std::string& path);
// The same over bytes in memory.
Listing listArchiveBytes(std::string_view bytes);

// The entry's name as UTF-8, for a terminal: CP932 names decoded, invalid bytes as U+FFFD.
std::string nameAsUtf8(const Entry& entry);

} // namespace qbr::archive
