#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace qbr::platform {

// Starting other programs for the file actions. None of them waits for the program or
// reports whether it could be started.
class DesktopShell {
  public:
    virtual ~DesktopShell() = default;
    // Opens the file `name` of `directory` with the program its type is associated with,
    // started in `directory`.
    virtual void openWithAssociation(const std::string& directory, const std::string& name) = 0;
    // Shows the file in a file-manager window with the file selected.
    virtual void showInFileManager(const std::string& path) = 0;
    // Starts a command line split the Windows way, with `arguments` after its own words, each
    // as one argument as it stands (a file name is never split again).
    virtual void startCommand(std::string_view commandLine,
                              const std::vector<std::string>& arguments) = 0;
};

// The freedesktop implementation: GIO's default handlers, the FileManager1 D-Bus service, and
// programs spawned detached from the search path.
class FreedesktopShell : public DesktopShell {
  public:
    void openWithAssociation(const std::string& directory, const std::string& name) override;
    void showInFileManager(const std::string& path) override;
    void startCommand(std::string_view commandLine,
                      const std::vector<std::string>& arguments) override;
};

} // namespace qbr::platform
