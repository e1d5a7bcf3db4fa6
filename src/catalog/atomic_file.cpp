#include "catalog/atomic_file.h"

namespace qbr {

namespace {

std::string folderOf(const std::string& path) {
    const std::size_t slash = path.rfind('/');
    if (slash == std::string::npos)
        return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

} // namespace

int replaceFileAtomically(FileSystem& fs, const std::string& path, std::string_view bytes) {
    std::string temporary;
    int error = 0;
    std::unique_ptr<OutputFile> file = fs.createTemporaryBeside(path, temporary, error);
    if (!file)
        return error;
    error = file->write(bytes.data(), bytes.size());
    if (error == 0)
        error = file->sync();
    if (const int closed = file->close(); error == 0)
        error = closed;
    if (error == 0)
        error = fs.rename(temporary, path);
    if (error != 0) {
        fs.remove(temporary);
        return error;
    }
    // The rename is done; a failed folder sync loses nothing that was there.
    fs.syncDirectory(folderOf(path));
    return 0;
}

} // namespace qbr
