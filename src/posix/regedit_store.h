#pragma once

#include "posix/document_registry_store.h"

#include <string>

namespace qbr::platform {

// The registry kept in one REGEDIT4 file (CP932 bytes), the ANSI form regedit exports, so that
// keys exported on an old PC can be brought in as they are.
//
// A missing file is an empty registry; the file and its folder are made at the first write.
// Every write replaces the file atomically (a temporary file beside it, flushed to disk, then
// renamed over it) and keeps everything it does not change. A file that cannot be read or
// parsed raises qbr::Error at every open and is never written over.
class RegeditStore final : public DocumentRegistryStore {
  public:
    explicit RegeditStore(std::string path);

    // $XDG_CONFIG_HOME/Quenbrill/registry.reg, by default ~/.config/Quenbrill/registry.reg.
    static std::string defaultPath();

    const std::string& path() const noexcept { return path_; }

    RegeditDocument load() override;
    bool store(const RegeditDocument& document) override;
    // The errno value of the last store that failed, for a clear report.
    int lastStoreError() const noexcept { return lastError_; }
    std::string storeName() const override { return path_; }
    std::string lastStoreFailure() const override;

  private:
    std::string path_;
    int lastError_ = 0;
};

} // namespace qbr::platform
