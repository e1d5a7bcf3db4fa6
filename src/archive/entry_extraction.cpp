#include "archive/entry_extraction.h"

#include "archive/archive_messages.h"
#include "archive/archive_reader.h"
#include "archive/entry_names.h"
#include "archive/scoped_locale.h"
#include "catalog/error.h"

#include <archive.h>
#include <archive_entry.h>
#include <cerrno>
#include <fcntl.h>
#include <unistd.h>

namespace qbr::archive {
namespace {

[[noreturn]] void fail(std::string_view message, struct archive* a = nullptr) {
    std::string text(message);
    if (a && archive_error_string(a)) {
        text += " (";
        text += archive_error_string(a);
        text += ")";
    }
    throw Error(text);
}

// The open output file; removed unless kept, so a failed extraction leaves nothing.
class OutputFile {
  public:
    explicit OutputFile(std::string path) : path_(std::move(path)) {
        // O_EXCL and O_NOFOLLOW: never through a link, never over a file already there.
        fd_ = ::open(path_.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600);
        if (fd_ < 0)
            fail(text::kCannotWrite);
    }
    ~OutputFile() {
        if (fd_ >= 0)
            ::close(fd_);
        if (!kept_)
            ::unlink(path_.c_str());
    }
    OutputFile(const OutputFile&) = delete;
    OutputFile& operator=(const OutputFile&) = delete;

    void write(const char* data, std::size_t size) {
        while (size > 0) {
            const ssize_t n = ::write(fd_, data, size);
            if (n < 0 && errno == EINTR)
                continue;
            if (n <= 0)
                fail(text::kCannotWrite);
            data += n;
            size -= static_cast<std::size_t>(n);
        }
    }
    void keep() {
        if (::close(fd_) != 0) {
            fd_ = -1;
            fail(text::kCannotWrite);
        }
        fd_ = -1;
        kept_ = true;
    }

  private:
    std::string path_;
    int fd_ = -1;
    bool kept_ = false;
};

} // namespace

ExtractedFile extractEntry(const std::string& archivePath, std::size_t index, const Entry& listed,
                           PrivateFolder& folder) {
    if (listed.directory)
        fail(text::kNotAFile);
    if (escapesFolder(listed.path))
        fail(text::kUnsafeName);
    const std::string name = leafName(nameAsUtf8(listed));
    if (name.empty())
        fail(text::kUnsafeName);

    const ScopedLocale locale(kUtf8Locale);
    const Source source{&archivePath, {}};
    std::string error;
    Reader a = openReader(source, error);
    if (!a)
        throw Error(error);
    archive_entry* header = nullptr;
    for (std::size_t i = 0; i <= index; ++i) {
        const int status = archive_read_next_header(a.get(), &header);
        if (status == ARCHIVE_EOF)
            fail(text::kArchiveChanged);
        if (status < ARCHIVE_WARN)
            throw Error(readerError(a.get(), source, false));
    }
    const Entry found = entryFromHeader(a.get(), header);
    if (found.path != listed.path || found.size != listed.size)
        fail(text::kArchiveChanged);
    // Links, devices and folders are not opened by a program: only regular files come out.
    if (archive_entry_filetype(header) != AE_IFREG)
        fail(text::kNotAFile);
    const std::uint64_t expected = found.size.value_or(kMaxExtractedBytes);
    if (expected > kMaxExtractedBytes)
        fail(text::kTooLarge);

    ExtractedFile extracted{folder.newSubfolder(), name};
    OutputFile out(extracted.directory + "/" + name);
    std::uint64_t written = 0;
    for (;;) {
        const void* block = nullptr;
        size_t size = 0;
        la_int64_t offset = 0;
        const int status = archive_read_data_block(a.get(), &block, &size, &offset);
        if (status == ARCHIVE_EOF)
            break;
        // A warning here is a failed check (the LZH data CRC): the data are not what was
        // archived, and no program should open them as if they were.
        if (status != ARCHIVE_OK)
            fail(text::kCannotExtract, a.get());
        // Blocks come in order for these formats; a gap would be a hole of zeros.
        if (offset < 0 || static_cast<std::uint64_t>(offset) != written)
            fail(text::kSizeMismatch);
        if (size > expected - written)
            fail(text::kSizeMismatch);
        out.write(static_cast<const char*>(block), size);
        written += size;
    }
    if (found.size && written != *found.size)
        fail(text::kSizeMismatch);
    out.keep();
    return extracted;
}

} // namespace qbr::archive
