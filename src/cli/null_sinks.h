#pragma once

#include "catalog/catalog_files.h"
#include "catalog/log_scanner.h"

namespace qbr::cli {

// The command line has no progress windows.
class SilentProgress final : public ScanProgressSink, public CatalogProgressSink {
  public:
    void showLogName(std::string_view) override {}
    void showForumName(std::string_view) override {}
    void begin(std::string_view) override {}
    void setPosition(int) override {}
    void end() override {}
};

} // namespace qbr::cli
