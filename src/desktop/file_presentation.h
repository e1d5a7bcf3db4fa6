#pragma once

#include "desktop/program_icons.h"
#include "posix/downloaded_file.h"
#include "posix/file_probe.h"

#include <QLocale>
#include <QPixmap>
#include <QString>
#include <string_view>

namespace qbr::platform {

// The file part of the detail pane, shared by the refresh and the re-link: where the file
// lies, the icon of its program, and Label2's text.
struct FilePresentation {
    DownloadedFile file;
    QPixmap icon;      // null when the file is missing
    QString dateLabel; // the download date text, or "ファイルはありません。"
};

// Looks the catalog's name up in DownPath (locateDownloadedFile); for a file that exists, its
// program's icon and its date, read whatever its attributes. A file that goes away between
// the look-up and the reading of its date reads as missing in Label2.
FilePresentation presentDownloadedFile(FileProbe& probe, ProgramIcons& icons,
                                       std::string_view downPath, std::string_view catalogName,
                                       const QLocale& locale = QLocale::system());

} // namespace qbr::platform
