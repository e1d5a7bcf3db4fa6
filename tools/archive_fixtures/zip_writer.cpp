#include "archive_fixtures/zip_writer.h"

#include "archive/scoped_locale.h"

#include <archive.h>
#include <archive_entry.h>
#include <memory>
#include <stdexcept>

namespace qbr::fixtures {
namespace {

struct WriterFree {
    void operator()(struct archive* a) const { archive_write_free(a); }
};
struct EntryFree {
    void operator()(archive_entry* e) const { archive_entry_free(e); }
};

void check(struct archive* a, int status) {
    if (status < ARCHIVE_WARN)
        throw std::runtime_error(std::string("zip writer: ") + archive_error_string(a));
}

la_ssize_t collect(struct archive*, void* out, const void* buffer, size_t length) {
    static_cast<std::string*>(out)->append(static_cast<const char*>(buffer), length);
    return static_cast<la_ssize_t>(length);
}

} // namespace

std::string zipArchive(const std::vector<ZipMember>& members, bool utf8Names) {
    // In the C locale libarchive copies names as bytes and leaves the UTF-8 flag clear.
    const archive::ScopedLocale locale(utf8Names ? archive::kUtf8Locale : archive::kAsciiLocale);
    std::string out;
    std::unique_ptr<struct archive, WriterFree> a(archive_write_new());
    check(a.get(), archive_write_set_format_zip(a.get()));
    if (utf8Names)
        check(a.get(), archive_write_set_options(a.get(), "zip:hdrcharset=UTF-8"));
    check(a.get(), archive_write_set_bytes_in_last_block(a.get(), 1));
    check(a.get(), archive_write_open(a.get(), &out, nullptr, collect, nullptr));
    for (const ZipMember& m : members) {
        check(a.get(), m.deflate ? archive_write_zip_set_compression_deflate(a.get())
                                 : archive_write_zip_set_compression_store(a.get()));
        std::unique_ptr<archive_entry, EntryFree> e(archive_entry_new());
        archive_entry_copy_pathname(e.get(), m.name.c_str());
        archive_entry_set_filetype(e.get(), m.directory ? AE_IFDIR : AE_IFREG);
        archive_entry_set_perm(e.get(), m.directory ? 0755 : 0644);
        archive_entry_set_size(e.get(), static_cast<la_int64_t>(m.data.size()));
        archive_entry_set_mtime(e.get(), static_cast<time_t>(localSeconds(m.date)), 0);
        check(a.get(), archive_write_header(a.get(), e.get()));
        if (!m.data.empty() && archive_write_data(a.get(), m.data.data(), m.data.size()) !=
                                   static_cast<la_ssize_t>(m.data.size()))
            check(a.get(), ARCHIVE_FATAL);
    }
    check(a.get(), archive_write_close(a.get()));
    return out;
}

} // namespace qbr::fixtures
