#pragma once

#include <gio/gio.h>
#include <memory>

namespace qbr::platform {

// Owners for GLib's reference-counted objects and strings.
struct GObjectUnref {
    void operator()(gpointer object) const noexcept { g_object_unref(object); }
};
struct GFree {
    void operator()(gpointer memory) const noexcept { g_free(memory); }
};
template <typename T> using GObjectPtr = std::unique_ptr<T, GObjectUnref>;
using GCharPtr = std::unique_ptr<gchar, GFree>;

} // namespace qbr::platform
