#include "settings/emnifty_settings.h"

#include "catalog/log_scanner.h"
#include "settings/registry_settings.h"

namespace qbr {

namespace {
constexpr std::string_view kSettings = "Settings";
constexpr std::string_view kRecentUserID = "RecentUserID";
} // namespace

void readEmNiftyFolders(RegistryStore& store, std::string& LogPath, std::string& DownPath) {
    const std::unique_ptr<RegistryKey> key = store.openUserKey(kEmNiftyKey);
    std::string user;
    readEmNiftyFolders(*key, user, LogPath, DownPath);
}

void readEmNiftyFolders(const RegistryKey& key, std::string& RecentUserID, std::string& LogPath,
                        std::string& DownPath) {
    RecentUserID = readText(key, kSettings, kRecentUserID, {});
    LogPath = withSeparator(readText(key, RecentUserID, "LogPath", {}));
    DownPath = withSeparator(readText(key, RecentUserID, "DownPath", {}));
}

void writeEmNiftyFolders(RegistryStore& store, const EmNiftyFolders& folders) {
    const std::unique_ptr<RegistryKey> key = store.openUserKey(kEmNiftyKey);
    std::string user;
    if (folders.RecentUserID) {
        user = *folders.RecentUserID;
        writeText(*key, kSettings, kRecentUserID, user);
    } else {
        user = readText(*key, kSettings, kRecentUserID, {});
    }
    if (folders.LogPath)
        writeText(*key, user, "LogPath", *folders.LogPath);
    if (folders.DownPath)
        writeText(*key, user, "DownPath", *folders.DownPath);
}

} // namespace qbr
