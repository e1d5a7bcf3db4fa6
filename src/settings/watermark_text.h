#pragma once

#include <string>
#include <string_view>

namespace qbr {

// The stored watermark: days since 1899-12-30 as text. Written in general format with 15
// significant digits ("36161.4166898148", "0"), always with "." whatever the locale, so a change
// of locale cannot make the next start fail.
std::string formatWatermark(double value);

// Reads a watermark text: optional blanks, sign, digits with at most one decimal separator
// ("." or the locale's), an optional exponent, optional blanks. Anything else, the empty text
// included, raises "'%s' は浮動小数点数ではありません".
double parseWatermark(std::string_view text, char localeSeparator = '.');

} // namespace qbr
