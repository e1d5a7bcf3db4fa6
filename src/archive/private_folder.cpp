#include "archive/private_folder.h"

#include "archive/archive_messages.h"
#include "catalog/error.h"

#include <cerrno>
#include <filesystem>
#include <sys/stat.h>

namespace qbr::archive {

PrivateFolder::PrivateFolder() {
    std::error_code ignored;
    std::string pattern =
        (std::filesystem::temp_directory_path(ignored) / "quenbrill-archive-XXXXXX").string();
    if (!::mkdtemp(pattern.data()))
        throw Error(std::string(text::kCannotWrite));
    path_ = pattern;
}

PrivateFolder::~PrivateFolder() {
    // remove_all removes symbolic links themselves, never what they point at.
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
}

std::string PrivateFolder::newSubfolder() {
    for (;;) {
        std::string sub = path_ + "/" + std::to_string(++next_);
        if (::mkdir(sub.c_str(), 0700) == 0)
            return sub;
        if (errno != EEXIST)
            throw Error(std::string(text::kCannotWrite));
    }
}

} // namespace qbr::archive
