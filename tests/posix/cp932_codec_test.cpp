#include "posix/cp932_codec.h"

#include <cstddef>
#include <gtest/gtest.h>
#include <ostream>
#include <random>
#include <string>
#include <string_view>

namespace {

using qbr::platform::cp932ToUtf8;
using qbr::platform::decodeCp932;
using qbr::platform::encodeCp932;
using qbr::platform::utf8ToCp932;

std::string hex(std::string_view bytes) {
    static const char digits[] = "0123456789ABCDEF";
    std::string out;
    for (const char c : bytes) {
        const auto b = static_cast<unsigned char>(c);
        out += digits[b >> 4];
        out += digits[b & 0xF];
        out += ' ';
    }
    return out;
}

std::string units(std::u16string_view text) {
    std::string out;
    for (const char16_t c : text)
        out += "U+" + hex(std::string{static_cast<char>(c >> 8), static_cast<char>(c & 0xFF)});
    return out;
}

bool isEscape(char16_t c) {
    return c >= 0xDC80 && c <= 0xDCFF;
}

TEST(Cp932Codec, EverySingleByteRoundTripsAndDecodesAsExpected) {
    for (unsigned b = 0; b <= 0xFF; ++b) {
        const std::string bytes(1, static_cast<char>(b));
        const std::u16string text = decodeCp932(bytes);
        ASSERT_EQ(text.size(), 1u) << hex(bytes);
        EXPECT_EQ(encodeCp932(text), bytes) << hex(bytes);
        char16_t expected = 0;
        if (b < 0x80)
            expected = static_cast<char16_t>(b);
        else if (b >= 0xA1 && b <= 0xDF)
            expected = static_cast<char16_t>(0xFF61 + (b - 0xA1)); // half-width katakana
        else
            expected = static_cast<char16_t>(0xDC00 + b); // 80, A0, FD-FF and lone lead bytes
        EXPECT_EQ(text[0], expected) << hex(bytes);
    }
}

TEST(Cp932Codec, EveryBytePairRoundTrips) {
    std::size_t characters = 0;
    for (unsigned code = 0; code <= 0xFFFF; ++code) {
        const std::string bytes{static_cast<char>(code >> 8), static_cast<char>(code & 0xFF)};
        const std::u16string text = decodeCp932(bytes);
        ASSERT_EQ(encodeCp932(text), bytes) << hex(bytes) << "-> " << units(text);
        if (text.size() == 1 && code >= 0x8100) {
            ++characters;
            EXPECT_FALSE(isEscape(text[0])) << hex(bytes);
        }
    }
    // JIS X 0208 (6879 characters) and the user-defined area (1880) alone are more than this; a
    // codec that escaped everything would round-trip too, but not pass here.
    EXPECT_GT(characters, 8759u);
}

TEST(Cp932Codec, RandomByteStringsRoundTrip) {
    std::mt19937 random(932);
    std::uniform_int_distribution<int> length(0, 48);
    std::uniform_int_distribution<int> byte(0, 255);
    for (int n = 0; n < 5000; ++n) {
        std::string bytes(static_cast<std::size_t>(length(random)), '\0');
        for (char& c : bytes)
            c = static_cast<char>(byte(random));
        ASSERT_EQ(encodeCp932(decodeCp932(bytes)), bytes) << hex(bytes);
    }
}

struct Mapping {
    const char* name;
    std::string_view bytes;
    std::u16string_view text;
};

void PrintTo(const Mapping& m, std::ostream* os) {
    *os << m.name;
}

class Cp932Decode : public testing::TestWithParam<Mapping> {};

TEST_P(Cp932Decode, DecodesAndEncodesBack) {
    const Mapping& m = GetParam();
    EXPECT_EQ(units(decodeCp932(m.bytes)), units(m.text));
    EXPECT_EQ(hex(encodeCp932(m.text)), hex(m.bytes));
}

INSTANTIATE_TEST_SUITE_P(
    Mappings, Cp932Decode,
    testing::Values(
        Mapping{"FileName", "\x83\x74\x83\x40\x83\x43\x83\x8B\x96\xBC", u"ファイル名"},
        Mapping{"HalfWidthKatakana", "\xCC\xA7\xB2\xD9", u"ﾌｧｲﾙ"},
        Mapping{"BackslashAndTilde", "C:\\a~b", u"C:\\a~b"},
        Mapping{"IdeographicSpaceAndWaveDash", "\x81\x40\x81\x60", u"\u3000\uFF5E"},
        Mapping{"UserDefinedArea", "\xF0\x40\xF9\xFC", u"\uE000\uE757"},
        // Characters held twice decode only from the pair they encode to.
        Mapping{"IbmRowKeepsItsCharacter", "\xFA\x5C", u"\u7E8A"},
        Mapping{"NecSelectedDuplicateEscaped", "\xED\x40", u"\xDCED@"},
        Mapping{"NecRomanNumeralKept", "\x87\x54", u"\u2160"},
        Mapping{"IbmRomanNumeralEscaped", "\xFA\x4A", u"\xDCFAJ"},
        Mapping{"NecMathDuplicateEscaped", "\x87\x90", u"\xDC87\xDC90"},
        Mapping{"JisNearlyEqualKept", "\x81\xE0", u"\u2252"},
        Mapping{"NotSignDuplicatesEscaped", "\x81\xCA\xEE\xF9\xFA\x54",
                u"\uFFE2\xDCEE\xDCF9\xDCFAT"},
        // Undecodable bytes.
        Mapping{"SingleBytesWithoutCharacter", "\x80\xA0\xFD\xFE\xFF",
                u"\xDC80\xDCA0\xDCFD\xDCFE\xDCFF"},
        Mapping{"LeadByteAtEnd", "A\x81", u"A\xDC81"},
        Mapping{"LeadByteBeforeInvalidTrail", "\x81\x20\x9F\x7F\xE0\xFD",
                u"\xDC81 \xDC9F\x7F\xDCE0\xDCFD"},
        // An unassigned pair escapes its lead byte only; the next byte may start a character.
        Mapping{"UnassignedPair", "\x85\x40\x85\x83\x74", u"\xDC85@\xDC85\u30D5"},
        Mapping{"Empty", "", u""}),
    [](const testing::TestParamInfo<Mapping>& info) { return std::string(info.param.name); });

TEST(Cp932Codec, EncodesCharactersDecodingNeverGives) {
    struct Case {
        std::u16string_view text;
        std::string_view bytes;
    };
    const Case cases[] = {
        {u"\u301C\u2212\u00A5", "\x81\x60\x81\x7C\\"}, // as other Japanese code pages decode them
        {u"\u7E8A\u2252", "\xFA\x5C\x81\xE0"},         // one pair for a character held twice
        {u"a\u00E9b", "a?b"},                          // not in CP932
        {u"\U0001F480", "?"},      // one character beyond the BMP (D83D DC80), not an escape
        {u"\xD800x\xDFFF", "?x?"}, // lone surrogates outside the escape range
        {u"\uFFFD", "?"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(hex(encodeCp932(c.text)), hex(c.bytes)) << units(c.text);
}

TEST(Cp932Codec, Cp932ToUtf8ReplacesOnlyUndecodableBytes) {
    struct Case {
        std::string_view bytes;
        std::string_view utf8;
    };
    const Case cases[] = {
        {"\x83\x74\x83\x40\x83\x43\x83\x8B\x96\xBC.LZH", "ファイル名.LZH"},
        {"\xCC\xA7\xB2\xD9\\", "ﾌｧｲﾙ\\"},
        {"x\x80y\xA0\x81", "x\uFFFDy\uFFFD\uFFFD"},
        {"\xED\x40\xFA\x5C", "\uFFFD@\u7E8A"},
        {"\x81\x20", "\uFFFD "},
    };
    for (const Case& c : cases)
        EXPECT_EQ(cp932ToUtf8(c.bytes), c.utf8) << hex(c.bytes);
}

TEST(Cp932Codec, Utf8ToCp932) {
    struct Case {
        std::string_view utf8;
        std::string_view bytes;
        bool ok;
    };
    const Case cases[] = {
        {"ファイル名ﾌｧｲﾙ", "\x83\x74\x83\x40\x83\x43\x83\x8B\x96\xBC\xCC\xA7\xB2\xD9", true},
        {"〜", "\x81\x60", true}, // the wave dash Unix input methods type
        {"a😀b", "a?b", false},
        {"é", "?", false},
        {"", "", true},
        // Not UTF-8: Shift-JIS bytes as the shell expanded them stay as they are.
        {"\x83\x74\x83\x40", "\x83\x74\x83\x40", true},
        {"\xED\xB2\x80", "\xED\xB2\x80", true}, // an encoded surrogate is no escape
    };
    for (const Case& c : cases) {
        bool ok = !c.ok;
        EXPECT_EQ(hex(utf8ToCp932(c.utf8, &ok)), hex(c.bytes)) << c.utf8;
        EXPECT_EQ(ok, c.ok) << c.utf8;
    }
    EXPECT_EQ(utf8ToCp932("a😀"), "a?"); // ok is optional
}

} // namespace
