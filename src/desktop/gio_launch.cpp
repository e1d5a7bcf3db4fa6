#include "desktop/gio_launch.h"

#include "desktop/gio_handles.h"

#include <gio/gdesktopappinfo.h>
#include <unistd.h>

namespace qbr::platform {

namespace {

// Runs in the child between fork and exec: only async-signal-safe calls.
void enterDirectory(gpointer directory) {
    if (directory != nullptr)
        (void)::chdir(static_cast<const char*>(directory));
}

} // namespace

bool launchDefaultApplication(const std::string& path, const std::string& workingDirectory) {
    GObjectPtr<GFile> file(g_file_new_for_path(path.c_str()));
    GObjectPtr<GFileInfo> info(g_file_query_info(file.get(), G_FILE_ATTRIBUTE_STANDARD_CONTENT_TYPE,
                                                 G_FILE_QUERY_INFO_NONE, nullptr, nullptr));
    GCharPtr type;
    if (info && g_file_info_get_content_type(info.get()))
        type.reset(g_strdup(g_file_info_get_content_type(info.get())));
    else
        type.reset(g_content_type_guess(path.c_str(), nullptr, 0, nullptr));
    GObjectPtr<GAppInfo> app(g_app_info_get_default_for_type(type.get(), FALSE));
    if (!app)
        return false;

    const GCharPtr uri(g_file_get_uri(file.get()));
    GList uris{uri.get(), nullptr, nullptr};
    if (G_IS_DESKTOP_APP_INFO(app.get())) {
        GDesktopAppInfo* desktop = G_DESKTOP_APP_INFO(app.get());
        const GCharPtr ownPath(g_desktop_app_info_get_string(desktop, "Path"));
        const bool enter = !ownPath && !workingDirectory.empty();
        // Without G_SPAWN_DO_NOT_REAP_CHILD GLib detaches the program, so no zombie stays.
        return g_desktop_app_info_launch_uris_as_manager(
                   desktop, &uris, nullptr, G_SPAWN_SEARCH_PATH, enterDirectory,
                   enter ? const_cast<char*>(workingDirectory.c_str()) : nullptr, nullptr, nullptr,
                   nullptr) != FALSE;
    }
    return g_app_info_launch_uris(app.get(), &uris, nullptr, nullptr) != FALSE;
}

bool spawnDetached(const std::vector<std::string>& argv) {
    if (argv.empty() || argv.front().empty())
        return false;
    std::vector<std::string> words(argv);
    std::vector<gchar*> pointers;
    for (std::string& word : words)
        pointers.push_back(word.data());
    pointers.push_back(nullptr);
    return g_spawn_async(nullptr, pointers.data(), nullptr, G_SPAWN_SEARCH_PATH, nullptr, nullptr,
                         nullptr, nullptr) != FALSE;
}

std::string fileUri(const std::string& path) {
    GObjectPtr<GFile> file(g_file_new_for_path(path.c_str()));
    const GCharPtr uri(g_file_get_uri(file.get()));
    return uri ? std::string(uri.get()) : std::string();
}

std::string parentFolder(const std::string& path) {
    const std::size_t slash = path.rfind('/');
    if (slash == std::string::npos)
        return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

} // namespace qbr::platform
