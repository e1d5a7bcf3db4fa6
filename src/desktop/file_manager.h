#pragma once

#include <QDBusPendingCall>
#include <string>

class QDBusConnection;

namespace qbr::platform {

// Asks the file manager on `bus` (org.freedesktop.FileManager1.ShowItems) to show the file
// selected, without waiting for it; opens the file's folder with the desktop's handler instead
// when the bus is not connected or no file manager answers. Returns the call, which callers
// never wait for (tests do); an invalid one when the folder was opened at once.
QDBusPendingCall showItemsOrOpenFolder(const QDBusConnection& bus, const std::string& path);

} // namespace qbr::platform
