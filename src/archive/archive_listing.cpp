#include "archive/archive_listing.h"

#include "archive/archive_messages.h"
#include "archive/archive_reader.h"
#include "archive/entry_method.h"
#include "archive/scoped_locale.h"
#include "posix/cp932_codec.h"

#include <algorithm>
#include <archive.h>
#include <archive_entry.h>

namespace qbr::archive {
namespace {

bool hasNonAscii(std::string_view bytes) {
    return std::any_of(bytes.begin(), bytes.end(),
                       [](char c) { return static_cast<unsigned char>(c) >= 0x80; });
}

// The position of the reader in the input: libarchive counts the bytes its readers consumed.
std::int64_t consumed(struct archive* a) {
    return archive_filter_bytes(a, 0);
}

// The first pass: every entry with its name as bytes. In a UTF-8 locale libarchive hands
// ZIP names that the archive does not mark as UTF-8 through untouched, and marked ones as
// UTF-8; LZH names come as bytes through entryFromHeader.
Listing readEntries(const Source& source, bool& zip) {
    Listing listing;
    const ScopedLocale locale(kUtf8Locale);
    Reader a = openReader(source, listing.error);
    if (!a)
        return listing;
    std::size_t nameBytes = 0;
    for (;;) {
        archive_entry* header = nullptr;
        const int status = archive_read_next_header(a.get(), &header);
        if (status == ARCHIVE_EOF)
            break;
        if (status < ARCHIVE_WARN) {
            listing.error = readerError(a.get(), source, listing.entries.empty());
            break;
        }
        zip = archive_format(a.get()) == ARCHIVE_FORMAT_ZIP;
        Entry entry = entryFromHeader(a.get(), header);
        nameBytes += entry.path.size();
        if (listing.entries.size() == kMaxEntries || nameBytes > kMaxNameBytes) {
            listing.error = std::string(text::kTooManyEntries);
            break;
        }
        // The data are skipped, never decompressed where the format says how long they are.
        // The LZH reader reads on from the header and consumes exactly the entry's data:
        // what it consumed is the compressed size. The ZIP reader seeks by its central
        // directory and skips nothing, and libarchive does not give the size it found there.
        const std::int64_t dataStart = consumed(a.get());
        const int skipped = archive_read_data_skip(a.get());
        if (skipped < ARCHIVE_WARN) {
            listing.entries.push_back(std::move(entry));
            listing.error = readerError(a.get(), source, false);
            break;
        }
        const std::int64_t dataEnd = consumed(a.get());
        if (archive_format(a.get()) == ARCHIVE_FORMAT_LHA && dataEnd >= dataStart &&
            !entry.directory)
            entry.compressedSize = static_cast<std::uint64_t>(dataEnd - dataStart);
        listing.entries.push_back(std::move(entry));
    }
    return listing;
}

// The second pass, only for ZIP archives with names beyond ASCII: in the C locale a name
// that the archive marks as UTF-8 cannot be converted, so libarchive gives it differently
// (or not at all), while an unmarked name comes as the same bytes.
void markUtf8Names(const Source& source, Listing& listing) {
    const ScopedLocale locale(kAsciiLocale);
    if (!locale.active())
        return;
    std::string ignored;
    Reader a = openReader(source, ignored, false);
    if (!a)
        return;
    for (Entry& entry : listing.entries) {
        archive_entry* header = nullptr;
        const int status = archive_read_next_header(a.get(), &header);
        if (status == ARCHIVE_EOF || status < ARCHIVE_WARN)
            return;
        const char* name = archive_entry_pathname(header);
        entry.utf8Name = hasNonAscii(entry.path) && (!name || entry.path != name);
        if (archive_read_data_skip(a.get()) < ARCHIVE_WARN)
            return;
    }
}

Listing list(const Source& source) {
    bool zip = false;
    Listing listing = readEntries(source, zip);
    if (zip && std::any_of(listing.entries.begin(), listing.entries.end(),
                           [](const Entry& e) { return hasNonAscii(e.path); }))
        markUtf8Names(source, listing);
    return listing;
}

} // namespace

Totals Listing::totals() const {
    Totals totals;
    for (const Entry& entry : entries) {
        if (entry.directory)
            continue;
        ++totals.files;
        totals.size += entry.size.value_or(0);
        totals.compressedSize += entry.compressedSize.value_or(0);
    }
    return totals;
}

Listing listArchiveFile(const std::string& path) {
    return list(Source{&path, {}});
}

Listing listArchiveBytes(std::string_view bytes) {
    return list(Source{nullptr, bytes});
}

std::string nameAsUtf8(const Entry& entry) {
    return entry.utf8Name ? entry.path : platform::cp932ToUtf8(entry.path);
}

} // namespace qbr::archive
