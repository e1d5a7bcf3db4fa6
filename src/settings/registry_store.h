#pragma once

#include <memory>
#include <optional>
#include <string>
#include <string_view>

namespace qbr {

// The registry as the settings see it: keys under HKEY_CURRENT_USER that are read and written,
// keys under HKEY_CLASSES_ROOT that are only read. Key paths are written with backslashes
// ("Software\EmSoft\EmNifty"); key and value names match without regard to ASCII case. Value
// data are bytes (CP932 text), kept byte for byte.

enum class RegistryType {
    String,       // REG_SZ
    ExpandString, // REG_EXPAND_SZ: a string whose variables nobody expands here
    Other,        // any other type (DWORD, binary, multi-string, ...)
};

struct RegistryValue {
    RegistryType type = RegistryType::String;
    // The stored bytes; for the string types the text, possibly followed by a NUL and more.
    std::string data;
};

// One opened key. A section is a subkey of the key ("" is the key itself); a value name ""
// is the key's default value.
class RegistryKey {
  public:
    virtual ~RegistryKey() = default;
    // The value, or nothing when the section or the value is absent.
    virtual std::optional<RegistryValue> read(std::string_view section,
                                              std::string_view name) const = 0;
    // Creates the section's subkey when it is absent; false when it cannot be created.
    virtual bool createSection(std::string_view section) = 0;
    // Stores a string value (REG_SZ) in the section, which createSection made before; false
    // when it cannot be stored.
    virtual bool writeString(std::string_view section, std::string_view name,
                             std::string_view text) = 0;
    // Where and why the last createSection or writeString failed ("FILE: reason"), for the
    // second line of the error; empty when nothing more is known.
    virtual std::string failureDetail() const { return {}; }
};

class RegistryStore {
  public:
    virtual ~RegistryStore() = default;
    // HKEY_CURRENT_USER\path, opened for reading and writing and created when absent. A key
    // that cannot be created is still opened (its reads find nothing, its writes fail). Raises
    // qbr::Error when the store itself cannot be read.
    virtual std::unique_ptr<RegistryKey> openUserKey(std::string_view path) = 0;
    // HKEY_CLASSES_ROOT\path opened for reading, or nullptr when there is no such key. Raises
    // qbr::Error when the store itself cannot be read.
    virtual std::unique_ptr<RegistryKey> openClassesKey(std::string_view path) = 0;
};

} // namespace qbr
