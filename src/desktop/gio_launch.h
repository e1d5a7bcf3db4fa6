#pragma once

#include <string>
#include <vector>

namespace qbr::platform {

// Opens a file or folder with the desktop's default application for its content type, in
// `workingDirectory` unless the application names its own. False when nothing was started.
bool launchDefaultApplication(const std::string& path, const std::string& workingDirectory);

// Starts a program (found on the search path when it has no directory) with the arguments as
// given, detached: it is never waited for. False when it could not be started.
bool spawnDetached(const std::vector<std::string>& argv);

// The file: URI of a path (bytes percent-encoded); relative paths are taken from the current
// directory.
std::string fileUri(const std::string& path);

// The folder that holds a path: up to its last "/", "." when it has none.
std::string parentFolder(const std::string& path);

} // namespace qbr::platform
