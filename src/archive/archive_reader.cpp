#include "archive/archive_reader.h"

#include "archive/archive_listing.h"
#include "archive/archive_messages.h"
#include "archive/entry_method.h"
#include "archive/entry_names.h"

#include <archive.h>
#include <archive_entry.h>
#include <cstdio>
#include <cstring>

namespace qbr::archive {

void ReaderFree::operator()(struct archive* a) const {
    archive_read_free(a);
}

std::string Source::head(std::size_t count) const {
    if (!path)
        return std::string(bytes.substr(0, count));
    std::string out(count, '\0');
    std::FILE* file = std::fopen(path->c_str(), "rb");
    if (!file)
        return {};
    out.resize(std::fread(out.data(), 1, count, file));
    std::fclose(file);
    return out;
}

Reader openReader(const Source& source, std::string& error, bool lhaNamesAsBytes) {
    Reader a(archive_read_new());
    if (!a) {
        error = std::string(text::kCannotRead);
        return nullptr;
    }
    archive_read_support_format_lha(a.get());
    archive_read_support_format_zip(a.get());
    // Without a character set named, this libarchive refuses LZH names beyond ASCII; as
    // ISO-8859-1 every byte comes through, and latin1Bytes gives the bytes back.
    if (lhaNamesAsBytes &&
        archive_read_set_options(a.get(), "lha:hdrcharset=ISO-8859-1") < ARCHIVE_WARN) {
        error = readerError(a.get(), source, false);
        return nullptr;
    }
    const int status =
        source.path ? archive_read_open_filename(a.get(), source.path->c_str(), 64 * 1024)
                    : archive_read_open_memory(a.get(), source.bytes.data(), source.bytes.size());
    if (status != ARCHIVE_OK) {
        error = readerError(a.get(), source, true);
        return nullptr;
    }
    return a;
}

Entry entryFromHeader(struct archive* a, archive_entry* header) {
    Entry entry;
    if (const char* name = archive_entry_pathname(header))
        entry.path = name;
    if (archive_format(a) == ARCHIVE_FORMAT_LHA) {
        if (std::optional<std::string> bytes = latin1Bytes(entry.path))
            entry.path = restoreTrailBackslashes(std::move(*bytes));
        else
            entry.utf8Name = true;
    }
    entry.directory = archive_entry_filetype(header) == AE_IFDIR;
    if (archive_entry_size_is_set(header) && archive_entry_size(header) >= 0)
        entry.size = static_cast<std::uint64_t>(archive_entry_size(header));
    if (archive_entry_mtime_is_set(header))
        entry.modified = static_cast<std::int64_t>(archive_entry_mtime(header));
    entry.method = methodFromFormatName(archive_format_name(a));
    return entry;
}

std::string readerError(struct archive* a, const Source& source, bool beforeFirstEntry) {
    const char* detail = archive_error_string(a);
    // libarchive says this when neither reader takes the input.
    if (beforeFirstEntry && detail && std::strstr(detail, "Unrecognized archive format"))
        return std::string(source.head(2) == "MZ" ? text::kNotSelfExtracting : text::kNotAnArchive);
    std::string message(text::kCannotRead);
    if (detail && *detail) {
        message += " (";
        message += detail;
        message += ")";
    }
    return message;
}

} // namespace qbr::archive
