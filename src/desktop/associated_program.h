#pragma once

#include <string>
#include <vector>

namespace qbr::platform {

// The program the desktop starts for a file (GIO's default application for the file's content
// type, guessed from the name when the file cannot be read), and where its icon comes from.
struct AssociatedProgram {
    bool found = false;
    std::string desktopId;              // "org.gnome.Nautilus.desktop", say
    std::vector<std::string> iconNames; // names in the icon theme, best first
    std::string iconFile;               // a picture file named by the program, if any
};

AssociatedProgram associatedProgram(const std::string& path);

} // namespace qbr::platform
