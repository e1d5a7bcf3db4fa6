#pragma once

#include <optional>
#include <string>

namespace qbr::platform {

// The file-open dialog of the re-link: shown modally in `initialDirectory`, every file listed
// (the filter "すべて (*)"), a typed name accepted whether or not the file exists.
class OpenFileDialog {
  public:
    virtual ~OpenFileDialog() = default;
    // The confirmed path as the file system's bytes, or nothing when the user cancelled.
    virtual std::optional<std::string> chooseFile(const std::string& initialDirectory) = 0;
};

} // namespace qbr::platform
