#pragma once

#include "catalog/catalog.h"
#include "catalog/file_system.h"

#include <string>
#include <string_view>

namespace qbr {

// The two labels of the scan progress window: the log being read and the current forum.
class ScanProgressSink {
  public:
    virtual ~ScanProgressSink() = default;
    virtual void showLogName(std::string_view name) = 0;
    virtual void showForumName(std::string_view name) = 0;
};

// The report pane: one new last line per log read and per download found.
class ReportSink {
  public:
    virtual ~ReportSink() = default;
    virtual void appendLine(std::string_view line) = 0;
};

// A log is taken when its date is strictly later than PreDateTime; ScanDateTime is the date
// of the last log taken, in listing order, and becomes the stored watermark at exit.
struct Watermark {
    double PreDateTime = 0;
    double ScanDateTime = 0;
};

// Recognises the library downloads recorded in session logs and files them in the catalog.
class LogScanner {
  public:
    LogScanner(Catalog& catalog, FileSystem& fs, ScanProgressSink& progress, ReportSink& report);

    // Lists LogPath, reads every log dated after the watermark, then moves the watermark on.
    // An error ends the scan; ScanDateTime then keeps the value it had before the scan, so
    // that the stored watermark never passes a log that was not read to its end.
    void xFindFile(const std::string& LogPath, Watermark& watermark);
    // Reads one log of the directory (which ends with a separator, or is empty).
    void xSearchWord(const std::string& directory, const DirEntry& entry);

    // Reads every line of a log instead of searching it for the marker lines: the plain way
    // that the fast search must agree with, for tests and fuzzers.
    void setReadEveryLine(bool on) noexcept { readEveryLine_ = on; }

  private:
    Catalog& catalog_;
    FileSystem& fs_;
    ScanProgressSink& progress_;
    ReportSink& report_;
    std::string buffer_; // read buffer, reused for every log
    bool readEveryLine_ = false;
};

// Completes a directory with the separator, as the log and download folders are completed.
std::string withSeparator(std::string directory);

} // namespace qbr
