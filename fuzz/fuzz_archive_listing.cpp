// Any bytes as an archive: the listing ends with entries or an error, never a crash, and its
// limits hold; extracting what was listed either fails with the error or writes one file
// inside the private folder.
#include "archive/archive_listing.h"
#include "archive/entry_extraction.h"
#include "catalog/error.h"
#include "posix/cp932_codec.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <sys/mman.h>
#include <unistd.h>

namespace {

// The input as a file that libarchive can open by name, without touching the disk.
class MemoryFile {
  public:
    explicit MemoryFile(const std::string& bytes) : fd_(::memfd_create("archive", MFD_CLOEXEC)) {
        if (fd_ >= 0 &&
            ::write(fd_, bytes.data(), bytes.size()) == static_cast<ssize_t>(bytes.size()))
            path_ = "/proc/self/fd/" + std::to_string(fd_);
    }
    ~MemoryFile() {
        if (fd_ >= 0)
            ::close(fd_);
    }
    const std::string& path() const { return path_; }

  private:
    int fd_;
    std::string path_;
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string input(reinterpret_cast<const char*>(data), size);
    const qbr::archive::Listing listing = qbr::archive::listArchiveBytes(input);
    if (listing.entries.size() > qbr::archive::kMaxEntries)
        __builtin_trap();
    if (listing.entries.empty())
        return 0;
    for (const qbr::archive::Entry& entry : listing.entries) {
        if (qbr::platform::encodeCp932(qbr::platform::decodeCp932(entry.path)) != entry.path)
            __builtin_trap();
        (void)qbr::archive::nameAsUtf8(entry);
    }
    (void)listing.totals();

    const MemoryFile file(input);
    if (file.path().empty())
        return 0;
    qbr::archive::PrivateFolder folder;
    for (std::size_t i = 0; i < listing.entries.size() && i < 4; ++i) {
        try {
            const qbr::archive::ExtractedFile out =
                qbr::archive::extractEntry(file.path(), i, listing.entries[i], folder);
            if (out.directory.rfind(folder.path() + "/", 0) != 0 || out.name.empty() ||
                out.name.find('/') != std::string::npos || out.name == "..")
                __builtin_trap();
        } catch (const qbr::Error&) {
        }
    }
    return 0;
}
