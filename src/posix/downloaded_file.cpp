#include "posix/downloaded_file.h"

#include "pane/file_name_rules.h"
#include "posix/cp932_codec.h"

#include <algorithm>

namespace qbr::platform {

namespace {

// The UTF-8 form of CP932 bytes, or nothing when some byte does not decode.
std::optional<std::string> utf8Form(std::string_view cp932) {
    const std::u16string text = decodeCp932(cp932);
    const bool escaped = std::any_of(text.begin(), text.end(),
                                     [](char16_t c) { return c >= 0xDC80 && c <= 0xDCFF; });
    if (escaped)
        return std::nullopt;
    return cp932ToUtf8(cp932);
}

} // namespace

DownloadedFile locateDownloadedFile(FileProbe& probe, std::string_view downPath,
                                    std::string_view catalogName) {
    const std::string directory(downPath);
    DownloadedFile stored{std::string(catalogName), false, directory + std::string(catalogName)};
    stored.exists = probe.isRegularFile(stored.path);
    if (stored.exists)
        return stored;
    const std::optional<std::string> converted = utf8Form(catalogName);
    if (converted && *converted != catalogName) {
        std::string path = directory + *converted;
        if (probe.isRegularFile(path))
            return DownloadedFile{*converted, true, std::move(path)};
    }
    return stored;
}

std::string catalogNameForDiskName(std::string_view diskName) {
    bool ok = false;
    std::string cp932 = utf8ToCp932(diskName, &ok);
    if (ok && cp932 != diskName && utf8Form(cp932) == std::string(diskName))
        return cp932;
    return std::string(diskName);
}

std::string catalogNameForChosenPath(std::string_view chosenPath) {
    return catalogNameForDiskName(chosenFileName(chosenPath));
}

} // namespace qbr::platform
