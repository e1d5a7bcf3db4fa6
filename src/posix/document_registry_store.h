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
    // The store's name for messages (its file), and why the last store failed.
    virtual std::string storeName() const { return "(memory)"; }
    virtual std::string lastStoreFailure() const { return "the store refused the write"; }
};

} // namespace qbr::platform
