#include "catalog/log_scanner.h"

#include "catalog/error.h"
#include "catalog/log_markers.h"
#include "catalog/log_reader.h"
#include "catalog/messages.h"

#include <vector>

namespace qbr {

namespace {

bool startsWith(std::string_view line, std::string_view prefix) {
    return line.substr(0, prefix.size()) == prefix;
}

// The report pane and the command line show one report per line: LF and NUL bytes of a
// damaged log would break that, so they are left out of the report.
std::string reportText(std::string_view line, std::string_view ending) {
    std::string text = Catalog::storedLine(line);
    text += ending;
    return text;
}

// The forum named by a forum-change line, or false when the line is none. The name is
// everything after the first "GO" and the one byte that follows it (normally a space).
bool forumChange(std::string_view line, std::string& forum) {
    if (line.empty())
        return false;
    switch (line[0]) {
    case 'M':
    case 'L':
    case 'F':
    case '\x81':
    case 'B':
    case 'C':
        break;
    default:
        return false; // most lines: one byte decides
    }
    for (std::string_view markerText : marker::kForumChanges) {
        if (startsWith(line, markerText)) {
            const std::size_t go = line.find(marker::kGo);
            const std::size_t from = go + marker::kGo.size() + 1;
            forum.assign(from < line.size() ? line.substr(from) : std::string_view());
            return true;
        }
    }
    return false;
}

// The reading of one log: the current forum and line, and the handling of a download.
class LogReading {
  public:
    LogReading(Catalog& catalog, LogReader& reader, ScanProgressSink& progress, ReportSink& report)
        : catalog_(catalog), reader_(reader), progress_(progress), report_(report) {}

    void run(bool readEveryLine) {
        // Lines that begin with no marker do nothing, so the fast search may pass them over.
        auto nextLine = [&] {
            return readEveryLine ? !reader_.atEnd()
                                 : reader_.skipToLineStartingWith(marker::kLineStarts,
                                                                  std::size(marker::kLineStarts));
        };
        while (nextLine()) {
            readLine();
            if (startsWith(current_, marker::kDownload))
                handleDownload();
            if (forumChange(current_, forum_))
                progress_.showForumName(forum_);
        }
    }

  private:
    // Reads the next line into current_; past the end of the log, an empty line. A copy: the
    // reader's view ends with its next read, and the line must outlive a test for the end.
    void readLine() { current_.assign(reader_.next()); }

    void handleDownload() {
        TreeNode* forum = catalog_.FindForum(forum_);
        if (!forum)
            forum = catalog_.AddForum(forum_);

        readLine();
        if (current_ == marker::kNoData)
            return;
        const std::string title(current_.size() > marker::kTitleOffset
                                    ? current_.substr(marker::kTitleOffset)
                                    : std::string_view());
        std::vector<std::string> gathered;
        for (int count = 0;;) {
            gathered.emplace_back(current_);
            readLine();
            if (current_ == marker::kPrompt) {
                readLine();
                if (current_ == marker::kYes)
                    file(*forum, title, gathered);
                return;
            }
            ++count;
            if (count > marker::kMaxListingLines || reader_.atEnd())
                return;
        }
    }

    void file(TreeNode& forum, const std::string& title, std::vector<std::string>& gathered) {
        for (int i = 0; i < marker::kLinesToFileName; ++i)
            readLine();
        // The name, cut from the fourth line, becomes the current line.
        current_.erase(0, marker::kNameOffset);
        gathered.emplace_back(marker::kFileName);
        gathered.emplace_back(current_);
        report_.appendLine(reportText(gathered.front(), marker::kFound));
        catalog_.AddItem(forum, title, gathered);
    }

    Catalog& catalog_;
    LogReader& reader_;
    ScanProgressSink& progress_;
    ReportSink& report_;
    std::string forum_; // empty at the start of every log
    std::string current_;
};

} // namespace

std::string withSeparator(std::string directory) {
    if (!directory.empty() && directory.back() != '/')
        directory += '/';
    return directory;
}

LogScanner::LogScanner(Catalog& catalog, FileSystem& fs, ScanProgressSink& progress,
                       ReportSink& report)
    : catalog_(catalog), fs_(fs), progress_(progress), report_(report) {}

void LogScanner::xFindFile(const std::string& LogPath, Watermark& watermark) {
    const double before = watermark.ScanDateTime;
    try {
        for (const DirEntry& entry : fs_.listDirectory(LogPath)) {
            if (entry.date > watermark.PreDateTime) {
                watermark.ScanDateTime = entry.date;
                xSearchWord(LogPath, entry);
            }
        }
    } catch (...) {
        watermark.ScanDateTime = before;
        throw;
    }
    watermark.PreDateTime = watermark.ScanDateTime;
}

void LogScanner::xSearchWord(const std::string& directory, const DirEntry& entry) {
    progress_.showLogName(entry.name);
    const std::string path = directory + entry.name;
    if (!fs_.isRegularFile(path))
        return;
    report_.appendLine(reportText(path, marker::kSearching));

    // A log that cannot be read stops every later scan at the same place: the error names it.
    int error = 0;
    std::unique_ptr<InputFile> file = fs_.openRead(path, error);
    if (!file)
        throw Error(msg::withDetail(msg::systemErrorMessage(error), path));
    try {
        LogReader reader(*file, buffer_);
        LogReading(catalog_, reader, progress_, report_).run(readEveryLine_);
    } catch (const Error& failure) {
        throw Error(msg::withDetail(failure.text(), path));
    }
}

} // namespace qbr
