#pragma once

#include "catalog/catalog_files.h"
#include "catalog/log_scanner.h"

#include <cstddef>
#include <string_view>

namespace qbr::bench {

// The catalog's load and save report to a SilentProgress (catalog/silent_progress.h). The scan's
// sinks show nothing but count what reaches them, so the work behind each call still
// happens and the count can be checked.
class NullScanProgress final : public ScanProgressSink {
  public:
    void showLogName(std::string_view) override { ++calls_; }
    void showForumName(std::string_view) override { ++calls_; }
    std::size_t calls() const noexcept { return calls_; }

  private:
    std::size_t calls_ = 0;
};

class NullReport final : public ReportSink {
  public:
    void appendLine(std::string_view) override { ++lines_; }
    std::size_t lines() const noexcept { return lines_; }

  private:
    std::size_t lines_ = 0;
};

} // namespace qbr::bench
