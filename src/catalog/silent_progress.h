#pragma once

#include "catalog/catalog_files.h"
#include "catalog/log_scanner.h"

namespace qbr {

// Progress and report sinks that show nothing, for runs without windows: the command line, the
// tests, the fuzzers and the benchmarks.
class SilentProgress final : public ScanProgressSink,
                             public CatalogProgressSink,
                             public ReportSink {
  public:
    void showLogName(std::string_view) override {}
    void showForumName(std::string_view) override {}
    void begin(std::string_view) override {}
    void setPosition(int) override {}
    void end() override {}
    void appendLine(std::string_view) override {}
};

} // namespace qbr
