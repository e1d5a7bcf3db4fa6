#pragma once

#include <QPixmap>
#include <string>

namespace qbr::platform {

// The picture the detail pane shows for a downloaded file: the icon of the program that opens
// it, 32x32, or the generic program icon when there is no such program or it has no icon.
class ProgramIcons {
  public:
    virtual ~ProgramIcons() = default;
    virtual QPixmap programIcon(const std::string& path) = 0;
};

// The desktop's default application for the file's content type (GIO), and its icon from the
// icon theme.
class DesktopProgramIcons : public ProgramIcons {
  public:
    QPixmap programIcon(const std::string& path) override;
};

// The theme's "application-x-executable", else a picture of our own; 32x32, never null.
QPixmap genericProgramIcon();

} // namespace qbr::platform
