#include "desktop/associated_program.h"

#include "desktop/gio_handles.h"

namespace qbr::platform {

namespace {

// The file's content type as the desktop sees it; from the name alone for a missing file.
GCharPtr contentType(const std::string& path) {
    GObjectPtr<GFile> file(g_file_new_for_path(path.c_str()));
    GObjectPtr<GFileInfo> info(g_file_query_info(file.get(), G_FILE_ATTRIBUTE_STANDARD_CONTENT_TYPE,
                                                 G_FILE_QUERY_INFO_NONE, nullptr, nullptr));
    if (info && g_file_info_get_content_type(info.get()))
        return GCharPtr(g_strdup(g_file_info_get_content_type(info.get())));
    gboolean uncertain = FALSE;
    return GCharPtr(g_content_type_guess(path.c_str(), nullptr, 0, &uncertain));
}

} // namespace

AssociatedProgram associatedProgram(const std::string& path) {
    AssociatedProgram program;
    const GCharPtr type = contentType(path);
    GObjectPtr<GAppInfo> app(g_app_info_get_default_for_type(type.get(), FALSE));
    if (!app)
        return program;
    program.found = true;
    if (const char* id = g_app_info_get_id(app.get()))
        program.desktopId = id;
    GIcon* icon = g_app_info_get_icon(app.get()); // owned by the application info
    if (icon && G_IS_THEMED_ICON(icon)) {
        for (const gchar* const* name = g_themed_icon_get_names(G_THEMED_ICON(icon)); *name; ++name)
            program.iconNames.emplace_back(*name);
    } else if (icon && G_IS_FILE_ICON(icon)) {
        const GCharPtr file(g_file_get_path(g_file_icon_get_file(G_FILE_ICON(icon))));
        if (file)
            program.iconFile = file.get();
    }
    return program;
}

} // namespace qbr::platform
