#include "posix/regedit_store.h"

#include "catalog/atomic_file.h"
#include "catalog/error.h"
#include "catalog/file_system.h"
#include "catalog/messages.h"
#include "settings/settings_messages.h"

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <fcntl.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

namespace qbr::platform {

namespace {

std::string parentOf(const std::string& path) {
    const std::size_t slash = path.rfind('/');
    if (slash == std::string::npos)
        return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

// mkdir -p; 0 or an errno value.
int makeFolders(const std::string& folder) {
    struct stat st {};
    if (::stat(folder.c_str(), &st) == 0)
        return S_ISDIR(st.st_mode) ? 0 : ENOTDIR;
    if (folder != "/" && folder != ".") {
        if (const int error = makeFolders(parentOf(folder)))
            return error;
    }
    if (::mkdir(folder.c_str(), 0755) != 0 && errno != EEXIST)
        return errno;
    return 0;
}

// The store's file replaced atomically, its folder made when absent, over a symbolic link's
// target rather than the link.
int replaceStoreFile(const std::string& path, std::string_view bytes) {
    std::string target = path;
    struct stat st {};
    if (::lstat(path.c_str(), &st) == 0 && S_ISLNK(st.st_mode)) {
        // A settings file kept elsewhere and linked here stays a link.
        if (char* resolved = ::realpath(path.c_str(), nullptr)) {
            target = resolved;
            std::free(resolved);
        }
    }
    if (const int error = makeFolders(parentOf(target)))
        return error;
    return replaceFileAtomically(systemFileSystem(), target, bytes);
}

} // namespace

RegeditStore::RegeditStore(std::string path) : path_(std::move(path)) {}

std::string RegeditStore::defaultPath() {
    std::string base;
    if (const char* xdg = std::getenv("XDG_CONFIG_HOME"); xdg && xdg[0] == '/') {
        base = xdg;
    } else {
        const char* home = std::getenv("HOME");
        if (!home || !home[0]) {
            const passwd* user = ::getpwuid(::getuid());
            home = user ? user->pw_dir : "/";
        }
        base = std::string(home) + "/.config";
    }
    return base + "/Quenbrill/registry.reg";
}

RegeditDocument RegeditStore::load() {
    std::string text;
    const int error = readWholeFile(systemFileSystem(), path_, text);
    if (error == ENOENT)
        return RegeditDocument();
    if (error != 0) {
        // The reason first, so that a "%s" in the path is left as it is.
        std::string text(msg::kStoreCannotRead);
        text.replace(text.rfind("%s"), 2, msg::systemErrorMessage(error));
        throw Error(msg::formatText(text, path_));
    }
    return RegeditDocument::parse(text, path_);
}

std::string RegeditStore::lastStoreFailure() const {
    return msg::systemReason(lastError_);
}

bool RegeditStore::store(const RegeditDocument& document) {
    lastError_ = replaceStoreFile(path_, document.text());
    return lastError_ == 0;
}

} // namespace qbr::platform
