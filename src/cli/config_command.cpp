#include "catalog/error.h"
#include "catalog/log_scanner.h"
#include "cli/cli_args.h"
#include "cli/cli_output.h"
#include "cli/commands.h"
#include "cli/program_paths.h"
#include "posix/regedit_store.h"
#include "session/app_session.h"
#include "settings/archiver_command.h"
#include "settings/emnifty_settings.h"
#include "settings/registry_settings.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <sys/stat.h>

namespace qbr::cli {

namespace {

// Settings are file-system bytes and CP932 texts alike; they are written as stored.
void printSetting(std::string_view name, std::string_view value) {
    std::fwrite(name.data(), 1, name.size(), stdout);
    std::fputc(' ', stdout);
    std::fwrite(value.data(), 1, value.size(), stdout);
    std::fputc('\n', stdout);
}

// What a run would read, looked at without creating any key.
void show(platform::RegeditStore& store) {
    std::string user, logPath, downPath;
    if (const auto key = store.openExistingUserKey(kEmNiftyKey))
        readEmNiftyFolders(*key, user, logPath, downPath);
    std::string watermark = "0";
    if (const auto key = store.openExistingUserKey(kOwnKey))
        watermark = readText(*key, kOwnSection, "PreDateTimeF", "0");
    const std::string archiver = detectArchiverCommand(store);
    printSetting("store", store.path());
    printSetting("catalog", CatalogPaths::fromExecutable(desktopProgramPath()).dat());
    printSetting("RecentUserID", user);
    printSetting("LogPath", logPath);
    printSetting("DownPath", downPath);
    printSetting("ArchiverCommand", archiver);
    printSetting("PreDateTimeF", watermark);
}

// A folder as the program will look for it whatever its working folder: absolute.
std::string absoluteFolder(const std::string& folder, const char* option) {
    struct stat st {};
    if (::stat(folder.c_str(), &st) != 0 || !S_ISDIR(st.st_mode))
        std::fprintf(stderr, "quenbrill-cli: note: %s %s is no folder (yet)\n", option,
                     folder.c_str());
    std::error_code error;
    const std::filesystem::path absolute = std::filesystem::absolute(folder, error);
    if (error)
        throw Error(std::string(option) + " " + folder + ": " + error.message());
    return absolute.lexically_normal().string();
}

} // namespace

int configCommand(const std::vector<std::string>& words) {
    std::vector<std::string> rest = words;
    const auto showFlag = std::find(rest.begin(), rest.end(), "--show");
    const bool showOnly = showFlag != rest.end();
    if (showOnly)
        rest.erase(showFlag);
    std::string problem;
    const auto args = Args::parse(rest, {"log-dir", "download-dir", "user"}, problem);
    if (!args)
        return usageError(problem);
    if (!args->positional().empty())
        return usageError("config takes no argument " + args->positional().front());
    for (const char* option : {"log-dir", "download-dir", "user"}) {
        if (args->has(option) && args->get(option).empty())
            return usageError(std::string("--") + option + " needs a value that is not empty");
    }
    const bool writes = args->has("log-dir") || args->has("download-dir") || args->has("user");
    if (showOnly == writes)
        return usageError("config needs --show, or --log-dir, --download-dir or --user");

    platform::RegeditStore store(platform::RegeditStore::defaultPath());
    try {
        if (showOnly) {
            show(store);
        } else {
            EmNiftyFolders folders;
            if (args->has("user"))
                folders.RecentUserID = args->get("user");
            if (args->has("log-dir"))
                folders.LogPath = absoluteFolder(args->get("log-dir"), "--log-dir");
            if (args->has("download-dir"))
                folders.DownPath = absoluteFolder(args->get("download-dir"), "--download-dir");
            writeEmNiftyFolders(store, folders);
        }
    } catch (const Error& error) {
        std::fflush(stdout);
        printError(error.text());
        return 1;
    }
    std::fflush(stdout);
    return 0;
}

} // namespace qbr::cli
