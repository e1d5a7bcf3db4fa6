#include "posix/document_registry_store.h"

namespace qbr::platform {

namespace {

constexpr std::string_view kCurrentUser = "HKEY_CURRENT_USER\\";
constexpr std::string_view kClassesRoots[] = {
    "HKEY_CURRENT_USER\\Software\\Classes\\",
    "HKEY_CLASSES_ROOT\\",
    "HKEY_LOCAL_MACHINE\\Software\\Classes\\",
};

class DocumentKey final : public RegistryKey {
  public:
    DocumentKey(DocumentRegistryStore& store, RegeditDocument document, std::string key,
                bool writable)
        : store_(store), document_(std::move(document)), key_(std::move(key)), writable_(writable) {
    }

    std::optional<RegistryValue> read(std::string_view section,
                                      std::string_view name) const override {
        return document_.value(sectionKey(section), name);
    }

    std::string failureDetail() const override { return store_.storeName() + ": " + failure_; }

    bool createSection(std::string_view section) override {
        if (!writable_)
            return fail("the key is open for reading only");
        if (!RegeditDocument::canHoldKey(sectionKey(section)))
            return fail("a key of this name cannot be stored");
        RegeditDocument changed = document_;
        if (!changed.ensureKey(sectionKey(section)))
            return true;
        return commit(std::move(changed));
    }

    bool writeString(std::string_view section, std::string_view name,
                     std::string_view text) override {
        if (!writable_)
            return fail("the key is open for reading only");
        if (!RegeditDocument::canHoldKey(sectionKey(section)) ||
            !RegeditDocument::canWrite(name, text))
            return fail("a value of this name or text cannot be stored");
        RegeditDocument changed = document_;
        if (!changed.setString(sectionKey(section), name, text))
            return true; // already holds that text
        return commit(std::move(changed));
    }

  private:
    std::string sectionKey(std::string_view section) const {
        return section.empty() ? key_ : key_ + '\\' + std::string(section);
    }

    bool fail(std::string why) {
        failure_ = std::move(why);
        return false;
    }

    bool commit(RegeditDocument changed) {
        if (!store_.store(changed))
            return fail(store_.lastStoreFailure());
        document_ = std::move(changed);
        return true;
    }

    DocumentRegistryStore& store_;
    RegeditDocument document_;
    std::string key_;
    bool writable_;
    std::string failure_;
};

} // namespace

std::unique_ptr<RegistryKey> DocumentRegistryStore::openUserKey(std::string_view path) {
    RegeditDocument document = load();
    std::string key = std::string(kCurrentUser) + std::string(path);
    // Opening creates the key; when it cannot be stored the key is opened all the same.
    if (document.ensureKey(key) && !store(document))
        document = load();
    return std::make_unique<DocumentKey>(*this, std::move(document), std::move(key), true);
}

std::unique_ptr<RegistryKey> DocumentRegistryStore::openClassesKey(std::string_view path) {
    RegeditDocument document = load();
    for (std::string_view root : kClassesRoots) {
        std::string key = std::string(root) + std::string(path);
        if (document.keyExists(key))
            return std::make_unique<DocumentKey>(*this, std::move(document), std::move(key), false);
    }
    return nullptr;
}

std::unique_ptr<RegistryKey> DocumentRegistryStore::openExistingUserKey(std::string_view path) {
    RegeditDocument document = load();
    std::string key = std::string(kCurrentUser) + std::string(path);
    if (!document.keyExists(key))
        return nullptr;
    return std::make_unique<DocumentKey>(*this, std::move(document), std::move(key), false);
}

} // namespace qbr::platform
