#pragma once

#include <memory>
#include <string>
#include <string_view>

struct archive;
struct archive_entry;

// Opening an archive for reading with libarchive, from a file or from memory, with only the
// LZH and ZIP readers (their SFX handling included) and no compression filters.
namespace qbr::archive {

struct ReaderFree {
    void operator()(struct archive* a) const;
};
using Reader = std::unique_ptr<struct archive, ReaderFree>;

// Where the archive's bytes are: a file (its name as bytes) or a block of memory.
struct Source {
    const std::string* path = nullptr;
    std::string_view bytes;

    // The first bytes of the input, to tell an .EXE without an archive from other files.
    std::string head(std::size_t count) const;
};

// A reader ready for archive_read_next_header; on failure an empty pointer and `error` set
// (CP932). Open it in the UTF-8 locale (ScopedLocale) for names that entryFromHeader can
// give back as bytes; `lhaNamesAsBytes` false leaves LZH names to libarchive's defaults.
Reader openReader(const Source& source, std::string& error, bool lhaNamesAsBytes = true);

struct Entry;
// The entry just read, its name as the archive's bytes (LZH) or as libarchive gave it (ZIP:
// raw bytes, or UTF-8 for a name the archive marks so). Its compressed size is set by the
// caller, which knows whether the data were skipped.
Entry entryFromHeader(struct archive* a, archive_entry* header);

// The reader's last error as a text for a person: what went wrong, then libarchive's words.
std::string readerError(struct archive* a, const Source& source, bool beforeFirstEntry);

} // namespace qbr::archive
