#include "pane/detail_pane.h"

#include "catalog/log_markers.h"
#include "catalog/tree_node.h"
#include "pane/file_name_rules.h"

#include <cstdint>

namespace qbr {

std::vector<std::string> shownItemLines(const LineStore& lines, TItemSpan span) {
    std::vector<std::string> shown;
    for (std::int64_t i = 0; i < span.Count; ++i) {
        std::string line(lines.at(static_cast<std::int64_t>(span.First) + i));
        if (line.size() > 2 && line.back() == '*')
            line.back() = ' ';
        shown.push_back(std::move(line));
        if (i > kShownLinesCap - 2)
            break;
    }
    return shown;
}

std::string lineCountText(std::size_t displayedLines) {
    return std::to_string(displayedLines) + std::string(pane_text::kLines);
}

std::optional<FileSection> findFileSection(const std::vector<std::string>& displayedLines) {
    const std::size_t count = displayedLines.size();
    if (count <= 3)
        return std::nullopt;
    const std::string& marker = displayedLines[count - 2];
    if (marker != marker::kFileName && marker != marker::kFileNameRelinked)
        return std::nullopt;
    return FileSection{displayedLines[count - 1], marker == marker::kFileNameRelinked};
}

bool isArchiveExtension(std::string_view name) {
    const std::string ext = asciiUpper(fileExtension(name));
    return ext == ".EXE" || ext == ".LZH" || ext == ".ZIP";
}

bool archiveListingOffered(std::string_view archiverCommand, bool showEnabled,
                           std::string_view name) {
    return archiverCommand.size() > 1 && showEnabled && isArchiveExtension(name);
}

DetailPane decideDetailPane(const DetailPaneInput& input) {
    DetailPane pane;
    // Memo1 is empty for anything but an item, so only an item can have a file section.
    if (input.level == 2 && input.section) {
        pane.fileName = input.section->name;
        if (input.fileExists) {
            pane.buttons.run = pane.buttons.show = true;
            pane.showIcon = true;
            pane.dateLabel = DateLabel::DownloadDate;
            pane.buttons.search = pane.buttons.remove = input.section->relinked;
        } else {
            pane.dateLabel = DateLabel::NoFile;
            pane.buttons.search = pane.buttons.remove = true;
        }
    }
    pane.buttons.archive =
        archiveListingOffered(input.archiverCommand, pane.buttons.show, pane.fileName);
    // An item's delete button follows its file (above); anything else follows the delete rule.
    if (input.level != 2 && isDeletable(input.level, input.hasChildren))
        pane.buttons.remove = true;
    return pane;
}

} // namespace qbr
