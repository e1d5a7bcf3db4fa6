#include "posix/cp932_codec.h"

#include "bytes/sjis_text.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <iconv.h>
#include <memory>
#include <optional>

namespace qbr::platform {
namespace {

// Decoding marks. Both are noncharacters, so no CP932 byte sequence decodes to them.
constexpr char16_t kNoCharacter = 0xFFFF;
// A pair that decodes to a character which encodes to another pair (ED40 and FA5C are both
// U+7E8A; encoding gives FA5C). Decoding it to that character would lose the bytes.
constexpr char16_t kDuplicate = 0xFFFE;
// Encoding mark: no lead byte is 0xFF, so no byte pair encodes to it.
constexpr std::uint16_t kUnencodable = 0xFFFF;

constexpr char16_t kEscapeBase = 0xDC00; // byte 0x80..0xFF escapes as U+DC80..U+DCFF

bool isEscape(char16_t c) {
    return c >= 0xDC80 && c <= 0xDCFF;
}

bool isHighSurrogate(char32_t c) {
    return c >= 0xD800 && c <= 0xDBFF;
}

bool isLowSurrogate(char32_t c) {
    return c >= 0xDC00 && c <= 0xDFFF;
}

struct Tables {
    std::array<char16_t, 256> single;         // bytes that are a character on their own
    std::array<char16_t, 65536> pair;         // indexed by lead << 8 | trail
    std::array<std::uint16_t, 65536> encoded; // by UTF-16 unit: one byte, or lead << 8 | trail
};

class Converter {
  public:
    Converter(const char* to, const char* from) : cd_(iconv_open(to, from)) {}
    ~Converter() {
        if (valid())
            iconv_close(cd_);
    }
    Converter(const Converter&) = delete;
    Converter& operator=(const Converter&) = delete;

    bool valid() const { return cd_ != reinterpret_cast<iconv_t>(-1); }

    // Converts the whole input or nothing; returns the number of bytes written to out.
    std::optional<std::size_t> convert(const unsigned char* in, std::size_t inSize,
                                       unsigned char* out, std::size_t outSize) {
        iconv(cd_, nullptr, nullptr, nullptr, nullptr); // start each call from the initial state
        char* inPtr = reinterpret_cast<char*>(const_cast<unsigned char*>(in));
        char* outPtr = reinterpret_cast<char*>(out);
        std::size_t inLeft = inSize;
        std::size_t outLeft = outSize;
        if (iconv(cd_, &inPtr, &inLeft, &outPtr, &outLeft) == static_cast<std::size_t>(-1) ||
            inLeft != 0)
            return std::nullopt;
        // Flush, so a converter that holds back output cannot hide it.
        if (iconv(cd_, nullptr, nullptr, &outPtr, &outLeft) == static_cast<std::size_t>(-1))
            return std::nullopt;
        return outSize - outLeft;
    }

  private:
    iconv_t cd_;
};

// The character the bytes decode to alone, if they are exactly one UTF-16 unit.
std::optional<char16_t> decodeWith(Converter& toUtf16, const unsigned char* bytes,
                                   std::size_t size) {
    unsigned char out[8];
    const auto written = toUtf16.convert(bytes, size, out, sizeof out);
    if (!written || *written != 2)
        return std::nullopt;
    const auto c = static_cast<char16_t>(out[0] | out[1] << 8);
    if (isHighSurrogate(c) || isLowSurrogate(c) || c == kNoCharacter || c == kDuplicate)
        return std::nullopt;
    return c;
}

void fillEncodeTable(Tables& t, Converter& fromUtf16) {
    for (char32_t c = 0x80; c <= 0xFFFF; ++c) {
        if (isHighSurrogate(c) || isLowSurrogate(c))
            continue;
        const unsigned char in[2] = {static_cast<unsigned char>(c & 0xFF),
                                     static_cast<unsigned char>(c >> 8)};
        unsigned char out[8];
        const auto written = fromUtf16.convert(in, sizeof in, out, sizeof out);
        if (!written)
            continue;
        // Some characters encode one way only (U+00A5 to 5C, U+301C to 8160); that is fine, as
        // decoding checks that its characters come back to their own bytes.
        if (*written == 1 && !isSjisLeadByte(out[0]))
            t.encoded[c] = out[0];
        else if (*written == 2 && isSjisLeadByte(out[0]) && isSjisTrailByte(out[1]))
            t.encoded[c] = static_cast<std::uint16_t>(out[0] << 8 | out[1]);
    }
}

void fillDecodeTables(Tables& t, Converter& toUtf16) {
    for (unsigned b = 0x80; b <= 0xFF; ++b) {
        const auto byte = static_cast<unsigned char>(b);
        if (isSjisLeadByte(byte))
            continue;
        const auto c = decodeWith(toUtf16, &byte, 1);
        if (c && t.encoded[*c] == b)
            t.single[b] = *c;
    }
    for (unsigned lead = 0x81; lead <= 0xFC; ++lead) {
        if (!isSjisLeadByte(static_cast<unsigned char>(lead)))
            continue;
        for (unsigned trail = 0x40; trail <= 0xFC; ++trail) {
            if (!isSjisTrailByte(static_cast<unsigned char>(trail)))
                continue;
            const unsigned char in[2] = {static_cast<unsigned char>(lead),
                                         static_cast<unsigned char>(trail)};
            const auto c = decodeWith(toUtf16, in, 2);
            if (!c)
                continue;
            const unsigned code = lead << 8 | trail;
            t.pair[code] = t.encoded[*c] == code ? *c : kDuplicate;
        }
    }
}

std::unique_ptr<Tables> buildTables() {
    auto t = std::make_unique<Tables>();
    t->single.fill(kNoCharacter);
    t->pair.fill(kNoCharacter);
    t->encoded.fill(kUnencodable);
    // ASCII is itself both ways (5C is the backslash, 7E the tilde), whatever the converter says.
    for (unsigned b = 0; b < 0x80; ++b) {
        t->single[b] = static_cast<char16_t>(b);
        t->encoded[b] = static_cast<std::uint16_t>(b);
    }
    Converter fromUtf16("CP932", "UTF-16LE");
    Converter toUtf16("UTF-16LE", "CP932");
    if (!fromUtf16.valid() || !toUtf16.valid()) {
        // Without the converter (a C library lacking its modules) the half-width katakana are
        // still known; everything else stays escaped, so text is never lost, only shown badly.
        for (unsigned b = 0xA1; b <= 0xDF; ++b) {
            t->single[b] = static_cast<char16_t>(0xFF61 + (b - 0xA1));
            t->encoded[0xFF61 + (b - 0xA1)] = static_cast<std::uint16_t>(b);
        }
        return t;
    }
    fillEncodeTable(*t, fromUtf16);
    fillDecodeTables(*t, toUtf16);
    return t;
}

const Tables& tables() {
    static const std::unique_ptr<Tables> instance = buildTables();
    return *instance;
}

char16_t escape(unsigned char b) {
    return static_cast<char16_t>(kEscapeBase + b);
}

template <typename Emit> void decodeTo(std::string_view bytes, Emit&& emit) {
    const Tables& t = tables();
    const std::size_t n = bytes.size();
    std::size_t i = 0;
    while (i < n) {
        const auto b = static_cast<unsigned char>(bytes[i]);
        if (b < 0x80) {
            emit(static_cast<char16_t>(b));
            ++i;
            continue;
        }
        if (isSjisLeadByte(b) && i + 1 < n &&
            isSjisTrailByte(static_cast<unsigned char>(bytes[i + 1]))) {
            const auto trail = static_cast<unsigned char>(bytes[i + 1]);
            const char16_t c = t.pair[b << 8 | trail];
            if (c == kDuplicate) {
                // The pair is a character, so its bytes stay together, each escaped.
                emit(escape(b));
                emit(trail < 0x80 ? static_cast<char16_t>(trail) : escape(trail));
                i += 2;
                continue;
            }
            if (c != kNoCharacter) {
                emit(c);
                i += 2;
                continue;
            }
            // Unassigned pair: only the lead byte is escaped; the next byte starts afresh.
        }
        const char16_t c = t.single[b];
        emit(c != kNoCharacter ? c : escape(b));
        ++i;
    }
}

void appendEncoded(std::string& out, std::uint16_t code) {
    if (code >= 0x100)
        out.push_back(static_cast<char>(code >> 8));
    out.push_back(static_cast<char>(code & 0xFF));
}

// Encodes one code point that is not an escape; false when CP932 has no bytes for it.
bool appendCodePoint(std::string& out, const Tables& t, char32_t c) {
    const std::uint16_t code = c <= 0xFFFF ? t.encoded[c] : kUnencodable;
    if (code == kUnencodable) {
        out.push_back('?');
        return false;
    }
    appendEncoded(out, code);
    return true;
}

void appendUtf8(std::string& out, char32_t c) {
    if (c < 0x80) {
        out.push_back(static_cast<char>(c));
    } else if (c < 0x800) {
        out.push_back(static_cast<char>(0xC0 | c >> 6));
        out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    } else {
        out.push_back(static_cast<char>(0xE0 | c >> 12));
        out.push_back(static_cast<char>(0x80 | (c >> 6 & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    }
}

// Length of the well-formed UTF-8 sequence at s[i] and its code point, or 0 when it is not one
// (overlong forms, surrogates and values past U+10FFFF included).
std::size_t readUtf8(std::string_view s, std::size_t i, char32_t& c) {
    const auto b0 = static_cast<unsigned char>(s[i]);
    std::size_t len = 0;
    char32_t min = 0;
    if (b0 < 0x80) {
        c = b0;
        return 1;
    } else if (b0 >= 0xC2 && b0 <= 0xDF) {
        len = 2;
        c = b0 & 0x1F;
        min = 0x80;
    } else if (b0 >= 0xE0 && b0 <= 0xEF) {
        len = 3;
        c = b0 & 0x0F;
        min = 0x800;
    } else if (b0 >= 0xF0 && b0 <= 0xF4) {
        len = 4;
        c = b0 & 0x07;
        min = 0x10000;
    } else {
        return 0;
    }
    if (s.size() - i < len)
        return 0;
    for (std::size_t k = 1; k < len; ++k) {
        const auto b = static_cast<unsigned char>(s[i + k]);
        if ((b & 0xC0) != 0x80)
            return 0;
        c = c << 6 | (b & 0x3F);
    }
    if (c < min || c > 0x10FFFF || isHighSurrogate(c) || isLowSurrogate(c))
        return 0;
    return len;
}

} // namespace

std::u16string decodeCp932(std::string_view bytes) {
    std::u16string out;
    out.reserve(bytes.size());
    decodeTo(bytes, [&out](char16_t c) { out.push_back(c); });
    return out;
}

std::string encodeCp932(std::u16string_view text) {
    const Tables& t = tables();
    std::string out;
    out.reserve(text.size() * 2);
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char16_t c = text[i];
        if (isEscape(c)) {
            out.push_back(static_cast<char>(c - kEscapeBase));
        } else if (isHighSurrogate(c) && i + 1 < text.size() && isLowSurrogate(text[i + 1])) {
            // A whole character beyond the BMP (its low half may look like an escape); CP932 has
            // none of those.
            out.push_back('?');
            ++i;
        } else if (isHighSurrogate(c) || isLowSurrogate(c)) {
            out.push_back('?');
        } else {
            appendCodePoint(out, t, c);
        }
    }
    return out;
}

std::string cp932ToUtf8(std::string_view bytes) {
    std::string out;
    out.reserve(bytes.size() * 3 / 2);
    decodeTo(bytes, [&out](char16_t c) { appendUtf8(out, isEscape(c) ? 0xFFFD : c); });
    return out;
}

std::string utf8ToCp932(std::string_view utf8, bool* ok) {
    const Tables& t = tables();
    std::string out;
    out.reserve(utf8.size());
    bool allEncoded = true;
    std::size_t i = 0;
    while (i < utf8.size()) {
        char32_t c = 0;
        const std::size_t len = readUtf8(utf8, i, c);
        if (len == 0) {
            out.push_back(utf8[i]);
            ++i;
            continue;
        }
        if (!appendCodePoint(out, t, c))
            allEncoded = false;
        i += len;
    }
    if (ok)
        *ok = allEncoded;
    return out;
}

} // namespace qbr::platform
