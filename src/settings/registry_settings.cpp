#include "settings/registry_settings.h"

#include "bytes/hex_digit.h"
#include "catalog/error.h"
#include "catalog/messages.h"
#include "settings/settings_messages.h"

#include <cstdint>
#include <limits>

namespace qbr {

namespace {

// Hexadecimal digits to 32 bits; false when there are none, or something else, or too many.
bool parseHex(std::string_view digits, std::uint32_t& out) {
    if (digits.empty())
        return false;
    std::uint64_t value = 0;
    for (char c : digits) {
        const int d = hexDigitValue(c);
        if (d < 0)
            return false;
        value = value * 16 + static_cast<unsigned>(d);
        if (value > 0xFFFFFFFFu)
            return false;
    }
    out = static_cast<std::uint32_t>(value);
    return true;
}

} // namespace

int parseSettingInteger(std::string_view text, int fallback) {
    if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
        std::uint32_t value = 0;
        return parseHex(text.substr(2), value) ? static_cast<std::int32_t>(value) : fallback;
    }
    std::size_t i = 0;
    while (i < text.size() && text[i] == ' ')
        ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-'))
        negative = text[i++] == '-';
    if (i < text.size() && text[i] == '$') {
        std::uint32_t value = 0;
        if (!parseHex(text.substr(i + 1), value))
            return fallback;
        const auto result = static_cast<std::int32_t>(value);
        return negative ? static_cast<std::int32_t>(0u - value) : result;
    }
    if (i == text.size())
        return fallback;
    std::int64_t value = 0;
    for (; i < text.size(); ++i) {
        if (text[i] < '0' || text[i] > '9')
            return fallback;
        value = value * 10 + (text[i] - '0');
        if (value > std::int64_t{std::numeric_limits<std::int32_t>::max()} + 1)
            return fallback;
    }
    if (negative)
        value = -value;
    if (value > std::numeric_limits<std::int32_t>::max())
        return fallback;
    return static_cast<int>(value);
}

std::string readText(const RegistryKey& key, std::string_view section, std::string_view name,
                     std::string_view fallback) {
    const std::optional<RegistryValue> value = key.read(section, name);
    if (!value)
        return std::string(fallback);
    if (value->type == RegistryType::Other)
        throw Error(msg::formatText(msg::kBadDataType, name));
    return value->data.substr(0, value->data.find('\0'));
}

int readInteger(const RegistryKey& key, std::string_view section, std::string_view name,
                int fallback) {
    return parseSettingInteger(readText(key, section, name, {}), fallback);
}

bool readFlag(const RegistryKey& key, std::string_view section, std::string_view name,
              bool fallback) {
    return readInteger(key, section, name, fallback ? 1 : 0) != 0;
}

void writeText(RegistryKey& key, std::string_view section, std::string_view name,
               std::string_view text) {
    if (!key.createSection(section))
        throw Error(qbr::msg::withDetail(msg::formatText(msg::kCreateKeyFailed, section),
                                         key.failureDetail()));
    if (!key.writeString(section, name, text))
        throw Error(
            qbr::msg::withDetail(msg::formatText(msg::kSetValueFailed, name), key.failureDetail()));
}

void writeInteger(RegistryKey& key, std::string_view section, std::string_view name, int value) {
    writeText(key, section, name, std::to_string(value));
}

void writeFlag(RegistryKey& key, std::string_view section, std::string_view name, bool value) {
    writeText(key, section, name, value ? "1" : "0");
}

} // namespace qbr
