#pragma once

#include <cstddef>
#include <string_view>

namespace qbr {

// A first byte of a double-byte Shift-JIS character (CP932).
constexpr bool isSjisLeadByte(unsigned char byte) noexcept {
    return (byte >= 0x81 && byte <= 0x9F) || (byte >= 0xE0 && byte <= 0xFC);
}

// A second byte of a double-byte character.
constexpr bool isSjisTrailByte(unsigned char byte) noexcept {
    return byte >= 0x40 && byte <= 0xFC && byte != 0x7F;
}

// Steps over one character: two bytes for a lead byte followed by a trail byte, else one. A
// trail byte is thus never looked at on its own, so its 5C is no backslash; and a byte that
// cannot be a trail byte ("." or "/" after a UTF-8 byte in the lead range) stays itself.
constexpr std::size_t sjisCharLength(std::string_view text, std::size_t at) noexcept {
    return isSjisLeadByte(static_cast<unsigned char>(text[at])) && at + 1 < text.size() &&
                   isSjisTrailByte(static_cast<unsigned char>(text[at + 1]))
               ? 2
               : 1;
}

} // namespace qbr
