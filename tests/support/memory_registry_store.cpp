#include "support/memory_registry_store.h"

namespace qbr::platform {

RegeditDocument MemoryRegistryStore::load() {
    return RegeditDocument::parse(text_, "(memory)");
}

bool MemoryRegistryStore::store(const RegeditDocument& document) {
    if (storesLeft_ == 0)
        return false;
    if (storesLeft_ > 0)
        --storesLeft_;
    ++stores_;
    text_ = document.text();
    return true;
}

} // namespace qbr::platform
