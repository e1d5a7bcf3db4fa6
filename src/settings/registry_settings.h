#pragma once

#include "settings/registry_store.h"

#include <string>
#include <string_view>

namespace qbr {

// The settings kept in the registry like an INI file (key, section as a subkey, named value),
// every value a registry string: integers as decimal text, flags as "1" and "0".

// The text of a value; `fallback` when the section or the value is absent. A string value
// gives its bytes up to the first NUL; a value of another type raises
// "'%s' のﾃﾞｰﾀ型が不正です" with the value's name.
std::string readText(const RegistryKey& key, std::string_view section, std::string_view name,
                     std::string_view fallback);
// The integer of a value's text (see parseSettingInteger); `fallback` when absent or no number.
int readInteger(const RegistryKey& key, std::string_view section, std::string_view name,
                int fallback);
// readInteger with 1 or 0 as the fallback; true when not 0.
bool readFlag(const RegistryKey& key, std::string_view section, std::string_view name,
              bool fallback);

// A text longer than two characters that begins with "0x" or "0X" is hexadecimal after those two;
// any other is decimal with optional leading spaces and an optional sign, or hexadecimal after
// a "$". Anything else, the empty text included, gives the fallback. Hexadecimal takes the 32 bits
// as they are ("$FFFFFFFF" is -1); a decimal number outside the 32-bit range gives the fallback.
int parseSettingInteger(std::string_view text, int fallback);

// Stores a string value, creating the section's subkey first when absent. Raises
// "ｷｰ %s の作成に失敗しました" (the section) or "'%s' の設定に失敗しました" (the value).
void writeText(RegistryKey& key, std::string_view section, std::string_view name,
               std::string_view text);
// Decimal text, "-" before a negative number.
void writeInteger(RegistryKey& key, std::string_view section, std::string_view name, int value);
// "1" or "0".
void writeFlag(RegistryKey& key, std::string_view section, std::string_view name, bool value);

} // namespace qbr
