#include "app/core/file_actions.h"
#include "platform/desktop_shell.h"
#include "platform/gio_launch.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QStringList>

namespace qbr::platform {

void FreedesktopShell::openWithAssociation(const std::string& directory, const std::string& name) {
    launchDefaultApplication(directory + name, directory);
}

void FreedesktopShell::showInFileManager(const std::string& path) {
    const std::string folder = parentFolder(path);
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected()) {
        launchDefaultApplication(folder, folder);
        return;
    }
    QDBusMessage call = QDBusMessage::createMethodCall(
        QStringLiteral("org.freedesktop.FileManager1"),
        QStringLiteral("/org/freedesktop/FileManager1"),
        QStringLiteral("org.freedesktop.FileManager1"), QStringLiteral("ShowItems"));
    call << QStringList{QString::fromLatin1(fileUri(path))} << QString();
    // Asynchronous, so that a file manager being started does not hold up the window; when no
    // file manager answers, the folder is opened instead. The watcher is Qt-owned: it deletes
    // itself once the answer is in.
    auto* watcher = new QDBusPendingCallWatcher(bus.asyncCall(call));
    QObject::connect(watcher, &QDBusPendingCallWatcher::finished, watcher,
                     [folder](QDBusPendingCallWatcher* finished) {
                         if (finished->isError())
                             launchDefaultApplication(folder, folder);
                         finished->deleteLater();
                     });
}

void FreedesktopShell::startCommand(std::string_view commandLine,
                                    const std::vector<std::string>& arguments) {
    std::vector<std::string> argv = splitWindowsCommandLine(commandLine);
    argv.insert(argv.end(), arguments.begin(), arguments.end());
    spawnDetached(argv);
}

} // namespace qbr::platform
