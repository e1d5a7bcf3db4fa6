#pragma once

#include <optional>
#include <string>

namespace qbr::platform {

// What the detail pane asks of the file system about a downloaded file. Paths are bytes.
class FileProbe {
  public:
    virtual ~FileProbe() = default;
    // True for an existing regular file; a directory of that name does not count.
    virtual bool isRegularFile(const std::string& path) = 0;
    // The file's date whatever its attributes: its modification time in local time, cut to an
    // even second, as a date-time value. Nothing when the file cannot be read (gone since).
    virtual std::optional<double> fileDate(const std::string& path) = 0;
};

// stat(2) on the bytes as they stand.
class PosixFileProbe : public FileProbe {
  public:
    bool isRegularFile(const std::string& path) override;
    std::optional<double> fileDate(const std::string& path) override;
};

} // namespace qbr::platform
