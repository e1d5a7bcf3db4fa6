#include "desktop/desktop_shell.h"
#include "desktop/file_manager.h"
#include "desktop/gio_launch.h"
#include "pane/file_actions.h"

#include <QDBusConnection>

namespace qbr::platform {

void FreedesktopShell::openWithAssociation(const std::string& directory, const std::string& name) {
    launchDefaultApplication(directory + name, directory);
}

void FreedesktopShell::showInFileManager(const std::string& path) {
    showItemsOrOpenFolder(QDBusConnection::sessionBus(), path);
}

void FreedesktopShell::startCommand(std::string_view commandLine,
                                    const std::vector<std::string>& arguments) {
    std::vector<std::string> argv = splitWindowsCommandLine(commandLine);
    argv.insert(argv.end(), arguments.begin(), arguments.end());
    spawnDetached(argv);
}

} // namespace qbr::platform
