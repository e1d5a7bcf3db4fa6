#pragma once

#include "posix/document_registry_store.h"

#include <string>

namespace qbr::platform {

// An in-memory registry for tests: the text of a REGEDIT4 file, and a number of stores that
// succeed before every further one fails.
class MemoryRegistryStore final : public DocumentRegistryStore {
  public:
    explicit MemoryRegistryStore(std::string text = {}) : text_(std::move(text)) {}

    const std::string& text() const noexcept { return text_; }
    void setText(std::string text) { text_ = std::move(text); }
    // After `count` more successful stores, every store fails; -1 lifts the limit.
    void failStoresAfter(int count) noexcept { storesLeft_ = count; }
    int storeCount() const noexcept { return stores_; }

    RegeditDocument load() override;
    bool store(const RegeditDocument& document) override;

  private:
    std::string text_;
    int storesLeft_ = -1;
    int stores_ = 0;
};

} // namespace qbr::platform
