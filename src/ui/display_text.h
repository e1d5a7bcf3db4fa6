#pragma once

#include <QString>
#include <string>
#include <string_view>

namespace qbr::ui {

// CP932 bytes as a person sees them; lossless, so no byte is lost on the way to a widget.
QString displayText(std::string_view cp932);

// The text of an error report: a full stop is appended when the first byte of the text's last
// character sorts after the full stop, as every letter, digit and double-byte character does;
// a text ending in ")" or "." is left as it is.
std::string withFullStop(std::string_view cp932);

} // namespace qbr::ui
