#pragma once

#include "posix/regedit_document.h"
#include "settings/registry_store.h"

namespace qbr::platform {

// A registry held as one REGEDIT4 document. Each opened key reads the document once, when it is
// opened, and stores the whole document again after each change it makes, so that a value
// written before a failure stays written. Writes that change nothing store nothing.
//
// HKEY_CLASSES_ROOT is read the way Windows merges it: a key under
// HKEY_CURRENT_USER\Software\Classes first, then HKEY_CLASSES_ROOT itself, then
// HKEY_LOCAL_MACHINE\Software\Classes, so that any of the three exports can be brought in.
class DocumentRegistryStore : public RegistryStore {
  public:
    std::unique_ptr<RegistryKey> openUserKey(std::string_view path) override;
    std::unique_ptr<RegistryKey> openClassesKey(std::string_view path) override;
    // HKEY_CURRENT_USER\path for reading only, or nullptr when absent: looks without creating.
    std::unique_ptr<RegistryKey> openExistingUserKey(std::string_view path);

    // The document as stored now. Raises qbr::Error when it cannot be read or parsed.
    virtual RegeditDocument load() = 0;
    // Replaces the stored document; false when it cannot be stored.
    virtual bool store(const RegeditDocument& document) = 0;
};

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
