#include "settings/watermark_text.h"

#include "catalog/error.h"
#include "catalog/messages.h"

#include <charconv>
#include <cmath>
#include <cstdlib>

namespace qbr {

namespace {

// "'%s' は浮動小数点数ではありません"
constexpr std::string_view kNotAFloat =
    "'%s' \x82\xCD\x95\x82\x93\xAE\x8F\xAC\x90\x94\x93\x5F\x90\x94\x82\xC5\x82\xCD\x82\xA0\x82\xE8"
    "\x82\xDC\x82\xB9\x82\xF1";

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

} // namespace

std::string formatWatermark(double value) {
    if (value == 0 || !std::isfinite(value))
        return "0";
    // to_chars, unlike printf, never takes the decimal separator from the C locale, which a
    // desktop program sets from the user's environment.
    char buffer[64];
    const auto result =
        std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::general, 15);
    std::string text(buffer, result.ptr);
    for (char& c : text) {
        if (c == 'e')
            c = 'E';
    }
    // The general format writes an exponent as "E-5" or "E15": no "+", no leading zeros.
    if (const std::size_t e = text.find('E'); e != std::string::npos) {
        std::string exponent = text.substr(e + 1);
        const bool negative = !exponent.empty() && exponent[0] == '-';
        if (!exponent.empty() && (exponent[0] == '-' || exponent[0] == '+'))
            exponent.erase(0, 1);
        exponent.erase(0, std::min(exponent.find_first_not_of('0'), exponent.size() - 1));
        text = text.substr(0, e + 1) + (negative ? "-" : "") + exponent;
    }
    return text;
}

double parseWatermark(std::string_view text, char localeSeparator) {
    auto fail = [&]() -> double { throw Error(msg::formatText(kNotAFloat, text)); };
    std::size_t i = 0;
    const std::size_t n = text.size();
    while (i < n && text[i] == ' ')
        ++i;
    std::string number;
    if (i < n && (text[i] == '+' || text[i] == '-')) {
        if (text[i] == '-')
            number += '-';
        ++i;
    }
    bool digits = false;
    bool separator = false;
    for (; i < n; ++i) {
        if (isDigit(text[i])) {
            number += text[i];
            digits = true;
        } else if ((text[i] == '.' || text[i] == localeSeparator) && !separator) {
            if (!digits)
                number += '0';
            number += '.';
            separator = true;
        } else {
            break;
        }
    }
    if (!digits)
        return fail();
    if (number.back() == '.')
        number += '0';
    if (i < n && (text[i] == 'E' || text[i] == 'e')) {
        number += 'e';
        ++i;
        if (i < n && (text[i] == '+' || text[i] == '-'))
            number += text[i++];
        bool exponentDigits = false;
        for (; i < n && isDigit(text[i]); ++i) {
            number += text[i];
            exponentDigits = true;
        }
        if (!exponentDigits)
            return fail();
    }
    while (i < n && text[i] == ' ')
        ++i;
    if (i != n)
        return fail();
    double value = 0;
    const auto [end, ec] = std::from_chars(number.data(), number.data() + number.size(), value);
    if (ec != std::errc() || end != number.data() + number.size() || !std::isfinite(value))
        return fail();
    return value;
}

} // namespace qbr
