#pragma once

#include "catalog/item_span.h"
#include "catalog/line_store.h"

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace qbr {

// Texts the detail pane writes, as CP932 bytes.
namespace pane_text {
// " 行", after the line count in the status panel
inline constexpr std::string_view kLines = " \x8D\x73";
// " にダウンロードされました。", after the download date
inline constexpr std::string_view kDownloaded =
    " \x82\xC9\x83\x5F\x83\x45\x83\x93\x83\x8D\x81\x5B\x83\x68\x82\xB3\x82\xEA\x82\xDC\x82\xB5\x82"
    "\xBD\x81\x42";
// "ファイルはありません。"
inline constexpr std::string_view kNoFile =
    "\x83\x74\x83\x40\x83\x43\x83\x8B\x82\xCD\x82\xA0\x82\xE8\x82\xDC\x82\xB9\x82\xF1\x81\x42";
} // namespace pane_text

// An item's text is shown up to its first 302 lines: a prompt further than 301 lines away from
// the listing's start files nothing, so the scanner never writes more.
inline constexpr int kShownLinesCap = 302;

// The lines of an item as the pane shows them: at most the first 302 of its span, each line
// longer than two bytes that ends in "*" with that one byte shown as a blank. Nothing for a
// Count of 0 or less. A span that leaves the LineStore raises the list index error at the
// first line that cannot be read.
std::vector<std::string> shownItemLines(const LineStore& lines, TItemSpan span);

// The status panel's text: the number of displayed lines and " 行".
std::string lineCountText(std::size_t displayedLines);

// The file section at the end of the pane's displayed lines: more than three lines, the
// second-to-last exactly "ファイル名" or "ファイル名$", the last one the file's name.
struct FileSection {
    std::string name;
    bool relinked = false; // the marker "ファイル名$"
};
std::optional<FileSection> findFileSection(const std::vector<std::string>& displayedLines);

// What the three archive extensions look like once upper-cased; see fileExtension().
bool isArchiveExtension(std::string_view name);

// The archive button's rule: an archive tool longer than one byte, the show-in-file-manager
// button enabled, and an archive extension in any ASCII letter case.
bool archiveListingOffered(std::string_view archiverCommand, bool showEnabled,
                           std::string_view name);

// The enabled state of the tool buttons the pane decides.
struct PaneButtons {
    bool run = false;     // SpeedButton5 実行
    bool show = false;    // SpeedButton6 閲覧
    bool archive = false; // SpeedButton7 書庫一覧
    bool search = false;  // SpeedButton8 探す
    bool remove = false;  // SpeedButton9 削除
    friend bool operator==(const PaneButtons&, const PaneButtons&) = default;
};

// What Label2 holds after a refresh.
enum class DateLabel { Empty, DownloadDate, NoFile };

// The inputs of the refresh once Memo1 has been filled: the node's kind, the file section
// found on the displayed lines, and whether DownPath holds that file as a regular file.
struct DetailPaneInput {
    int level = 0;            // 0 root, 1 forum, 2 item
    bool hasChildren = false; // for a forum: whether it still holds items
    std::optional<FileSection> section;
    bool fileExists = false;
    std::string_view archiverCommand;
};

// What the refresh shows apart from Memo1 and the status panel.
struct DetailPane {
    std::string fileName; // Label1: the name line, or empty
    DateLabel dateLabel = DateLabel::Empty;
    bool showIcon = false; // the associated program's icon in Image1
    PaneButtons buttons;
};

DetailPane decideDetailPane(const DetailPaneInput& input);

} // namespace qbr
