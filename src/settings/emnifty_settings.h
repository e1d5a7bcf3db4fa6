#pragma once

#include "settings/registry_store.h"

#include <optional>
#include <string>
#include <string_view>

namespace qbr {

// The communications program's key under HKEY_CURRENT_USER, read at start and never written by
// a run (only by the command that sets the folders up).
inline constexpr std::string_view kEmNiftyKey = "Software\\EmSoft\\EmNifty";

// U := "RecentUserID" of section "Settings"; then "LogPath" and "DownPath" of section U (of the
// key itself when U is empty), each completed with the directory separator when not empty.
// Opening the key creates it when absent. Each folder is set as soon as it is read, so a
// data-type error leaves the ones after it as they were.
void readEmNiftyFolders(RegistryStore& store, std::string& LogPath, std::string& DownPath);
// The same reading from a key opened either way (the set-up command looks without creating):
// RecentUserID, then the two folders, each set as soon as it is read.
void readEmNiftyFolders(const RegistryKey& key, std::string& RecentUserID, std::string& LogPath,
                        std::string& DownPath);

// What the set-up command writes: the user (made the RecentUserID when given) and the folders,
// stored under the user's section, or under the RecentUserID already stored when no user is
// given. Raises the write errors of writeText.
struct EmNiftyFolders {
    std::optional<std::string> RecentUserID;
    std::optional<std::string> LogPath;
    std::optional<std::string> DownPath;
};
void writeEmNiftyFolders(RegistryStore& store, const EmNiftyFolders& folders);

} // namespace qbr
