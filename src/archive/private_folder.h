#pragma once

#include <string>

namespace qbr::archive {

// A folder of our own under the system's temporary folder (mode 0700, made by mkdtemp),
// removed with all it holds when this object goes. Each extraction gets a fresh subfolder,
// so entries of the same name from different folders of an archive never meet.
class PrivateFolder {
  public:
    // Throws qbr::Error when the folder cannot be made.
    PrivateFolder();
    ~PrivateFolder();
    PrivateFolder(const PrivateFolder&) = delete;
    PrivateFolder& operator=(const PrivateFolder&) = delete;

    const std::string& path() const { return path_; }
    // A new empty subfolder (mode 0700); its path, without a trailing "/".
    std::string newSubfolder();

  private:
    std::string path_;
    unsigned next_ = 0;
};

} // namespace qbr::archive
