#pragma once

#include "posix/file_probe.h"

#include <string>
#include <string_view>

namespace qbr::platform {

// The file of a catalog item in DownPath, as it lies on this disk.
struct DownloadedFile {
    std::string name; // the name the file has on disk, or the catalog's name when it is missing
    bool exists = false;
    std::string path; // DownPath + name
};

// Looks the catalog's name up in DownPath: first under its bytes as stored; where no regular
// file has that name, under the name's UTF-8 form, since Shift-JIS names copied from an old PC
// are usually converted on the way. The pane and the actions then use the file that exists.
DownloadedFile locateDownloadedFile(FileProbe& probe, std::string_view downPath,
                                    std::string_view catalogName);

// The name the catalog keeps for a file chosen on this disk: a UTF-8 name that CP932 holds
// whole is kept in CP932, so that it reads like every other catalog text (and is found again
// by locateDownloadedFile); any other name is kept as its bytes.
std::string catalogNameForDiskName(std::string_view diskName);

// The name a re-link keeps for a path chosen in the file dialog: its last component, in the
// catalog's form (catalogNameForDiskName).
std::string catalogNameForChosenPath(std::string_view chosenPath);

} // namespace qbr::platform
