#pragma once

// Code page 932 (Shift-JIS as Windows writes it) at the display edge. Catalog and log text stays
// bytes everywhere else; these functions turn it into text for a person and back.
//
// Decoding is lossless: a byte that is not part of a character CP932 maps both ways becomes a lone
// surrogate U+DC80..U+DCFF (the byte plus 0xDC00), so encoding gives back the very same bytes. A
// character that CP932 holds twice (the NEC and IBM extension rows) decodes only from the byte pair
// that it encodes to; the other pair is escaped byte by byte.

#include <string>
#include <string_view>

namespace qbr::platform {

// Lossless: any byte sequence decodes to UTF-16 and encodeCp932(decodeCp932(b)) == b for every b.
std::u16string decodeCp932(std::string_view bytes);

// Inverse of decodeCp932. U+DC80..U+DCFF become the byte 0x80..0xFF; a character CP932 cannot
// encode becomes '?'.
std::string encodeCp932(std::u16string_view text);

// For terminal output: valid CP932 as UTF-8; every undecodable byte as U+FFFD.
std::string cp932ToUtf8(std::string_view bytes);

// For command-line arguments (UTF-8 in, CP932 out); returns false in *ok when something could not
// be encoded. Bytes that are not UTF-8 (a Shift-JIS file name the shell expanded, say) are passed
// on unchanged, since they already are what the program works with.
std::string utf8ToCp932(std::string_view utf8, bool* ok = nullptr);

} // namespace qbr::platform
