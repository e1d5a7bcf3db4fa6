#pragma once

#include <cstddef>
#include <string_view>

namespace qbr {

// A first byte of a double-byte Shift-JIS character (CP932).
constexpr bool isSjisLeadByte(unsigned char byte) noexcept {
    return (byte >= 0x81 && byte <= 0x9F) || (byte >= 0xE0 && byte <= 0xFC);
}

// Steps over one character: two bytes for a lead byte that has a byte after it, else one.
// A trail byte is thus never looked at on its own, so its 5C is no backslash.
constexpr std::size_t sjisCharLength(std::string_view text, std::size_t at) noexcept {
    return isSjisLeadByte(static_cast<unsigned char>(text[at])) && at + 1 < text.size() ? 2 : 1;
}

} // namespace qbr
