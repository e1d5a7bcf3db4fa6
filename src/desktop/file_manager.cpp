#include "desktop/file_manager.h"

#include "desktop/gio_launch.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QStringList>

namespace qbr::platform {

QDBusPendingCall showItemsOrOpenFolder(const QDBusConnection& bus, const std::string& path) {
    const std::string folder = parentFolder(path);
    if (!bus.isConnected()) {
        launchDefaultApplication(folder, folder);
        return QDBusPendingCall::fromError(bus.lastError());
    }
    QDBusMessage call = QDBusMessage::createMethodCall(
        QStringLiteral("org.freedesktop.FileManager1"),
        QStringLiteral("/org/freedesktop/FileManager1"),
        QStringLiteral("org.freedesktop.FileManager1"), QStringLiteral("ShowItems"));
    // The URI holds the name's bytes percent-encoded, so it is ASCII whatever the name.
    call << QStringList{QString::fromLatin1(fileUri(path))} << QString();
    // Asynchronous, so that a file manager being started does not hold up the window. The
    // watcher belongs to Qt's object tree: it deletes itself once the answer is in.
    QDBusPendingCall pending = bus.asyncCall(call);
    auto* watcher = new QDBusPendingCallWatcher(pending);
    QObject::connect(watcher, &QDBusPendingCallWatcher::finished, watcher,
                     [folder](QDBusPendingCallWatcher* finished) {
                         if (finished->isError())
                             launchDefaultApplication(folder, folder);
                         finished->deleteLater();
                     });
    return pending;
}

} // namespace qbr::platform
