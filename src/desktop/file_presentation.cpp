#include "desktop/file_presentation.h"

#include "desktop/date_time_text.h"

namespace qbr::platform {

FilePresentation presentDownloadedFile(FileProbe& probe, ProgramIcons& icons,
                                       std::string_view downPath, std::string_view catalogName,
                                       const QLocale& locale) {
    FilePresentation shown;
    shown.file = locateDownloadedFile(probe, downPath, catalogName);
    if (!shown.file.exists) {
        shown.dateLabel = noFileLabel();
        return shown;
    }
    shown.icon = icons.programIcon(shown.file.path);
    shown.dateLabel = downloadDateLabel(probe.fileDate(shown.file.path), locale);
    return shown;
}

} // namespace qbr::platform
