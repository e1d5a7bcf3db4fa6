#include "search/text_folder.h"

#include "posix/cp932_codec.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <stdexcept>
#include <unicode/coll.h>
#include <unicode/normalizer2.h>
#include <unicode/translit.h>
#include <unicode/uchar.h>
#include <unicode/unistr.h>
#include <unicode/ustring.h>

namespace qbr::search {

namespace {

constexpr char16_t kHiraganaFirst = 0x3040;
constexpr char16_t kKatakanaFirst = 0x30A0;
constexpr std::size_t kBlock = 0x60;
constexpr char16_t kProlongedSoundMark = 0x30FC;

bool isHiragana(char32_t c) {
    return c >= kHiraganaFirst && c < kHiraganaFirst + kBlock;
}
bool isKatakana(char32_t c) {
    return c >= kKatakanaFirst && c < kKatakanaFirst + kBlock;
}

// UTF-8, with a lone surrogate written as the three bytes of its code point.
void appendUtf8(char32_t c, std::string& out) {
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | (c >> 6));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        out += static_cast<char>(0xE0 | (c >> 12));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (c >> 18));
        out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
}

// The code point at i (a pair counts as one; a lone surrogate stands for itself); advances i.
char32_t nextCodePoint(std::u16string_view text, std::size_t& i) {
    const char16_t c = text[i++];
    if (c >= 0xD800 && c < 0xDC00 && i < text.size() && text[i] >= 0xDC00 && text[i] < 0xE000)
        return 0x10000 + ((static_cast<char32_t>(c) - 0xD800) << 10) + (text[i++] - 0xDC00);
    return c;
}

bool isAscii(std::u16string_view text) {
    return std::all_of(text.begin(), text.end(), [](char16_t c) { return c < 0x80; });
}

[[noreturn]] void fail(const char* what, UErrorCode status) {
    throw std::runtime_error(std::string("ICU: ") + what + ": " + u_errorName(status));
}

} // namespace

struct TextFolder::Tables {
    const icu::Normalizer2* nfkc = nullptr;
    // What each hiragana becomes (one katakana, or more for a digraph such as ゟ).
    std::array<std::u16string, kBlock> katakanaOf;
    // The one katakana that stands for every katakana the collation does not tell apart.
    std::array<char16_t, kBlock> representative{};
    // The vowel a prolonged sound mark after this katakana equals, or 0.
    std::array<char16_t, kBlock> vowel{};
};

TextFolder::TextFolder() : tables_(std::make_unique<Tables>()) {
    UErrorCode status = U_ZERO_ERROR;
    tables_->nfkc = icu::Normalizer2::getNFKCCasefoldInstance(status);
    if (U_FAILURE(status))
        fail("NFKC_Casefold", status);

    // The transliterator works on single letters here (it has no context rules for them), so
    // its answers are kept per letter instead of running it over every text.
    std::unique_ptr<icu::Transliterator> toKatakana(
        icu::Transliterator::createInstance("Hiragana-Katakana", UTRANS_FORWARD, status));
    if (U_FAILURE(status))
        fail("Hiragana-Katakana", status);
    for (std::size_t i = 0; i < kBlock; ++i) {
        icu::UnicodeString letter(static_cast<UChar32>(kHiraganaFirst + i));
        toKatakana->transliterate(letter);
        tables_->katakanaOf[i].assign(reinterpret_cast<const char16_t*>(letter.getBuffer()),
                                      static_cast<std::size_t>(letter.length()));
    }

    std::unique_ptr<icu::Collator> collator(
        icu::Collator::createInstance(icu::Locale::getJapanese(), status));
    if (U_FAILURE(status))
        fail("Japanese collation", status);
    collator->setStrength(icu::Collator::SECONDARY);
    auto named = [](char16_t c, const char* word) {
        char name[128] = {};
        UErrorCode nameStatus = U_ZERO_ERROR;
        u_charName(c, U_UNICODE_CHAR_NAME, name, sizeof name, &nameStatus);
        return std::strstr(name, word) != nullptr;
    };
    auto same = [&](const icu::UnicodeString& a, const icu::UnicodeString& b) {
        UErrorCode compareStatus = U_ZERO_ERROR;
        return collator->compare(a, b, compareStatus) == UCOL_EQUAL && U_SUCCESS(compareStatus);
    };
    const std::u16string_view vowels = u"アイウエオ";
    for (std::size_t i = 0; i < kBlock; ++i) {
        const char16_t c = static_cast<char16_t>(kKatakanaFirst + i);
        tables_->representative[i] = c;
        if (!named(c, "KATAKANA LETTER"))
            continue;
        // Small letters join the large letter the collation equates them with.
        for (std::size_t j = 0; j < kBlock; ++j) {
            const char16_t other = static_cast<char16_t>(kKatakanaFirst + j);
            if (other != c && named(other, "KATAKANA LETTER") && !named(other, "SMALL") &&
                named(c, "SMALL") && same(icu::UnicodeString(c), icu::UnicodeString(other))) {
                tables_->representative[i] = other;
                break;
            }
        }
        icu::UnicodeString prolonged(c);
        prolonged.append(static_cast<UChar>(kProlongedSoundMark));
        for (char16_t v : vowels) {
            icu::UnicodeString spelled(c);
            spelled.append(static_cast<UChar>(v));
            if (same(prolonged, spelled))
                tables_->vowel[i] = v;
        }
    }
}

TextFolder::~TextFolder() = default;

void TextFolder::foldNormalized(std::u16string_view text, char32_t& previous,
                                std::string& out) const {
    const Tables& t = *tables_;
    auto emitKatakana = [&](char16_t k) {
        k = t.representative[k - kKatakanaFirst];
        if (k == kProlongedSoundMark && isKatakana(previous) &&
            t.vowel[previous - kKatakanaFirst] != 0)
            k = t.vowel[previous - kKatakanaFirst];
        appendUtf8(k, out);
        previous = k;
    };
    for (std::size_t i = 0; i < text.size();) {
        const char32_t c = nextCodePoint(text, i);
        if (isHiragana(c)) {
            for (char16_t k : t.katakanaOf[c - kHiraganaFirst]) {
                if (isKatakana(k)) {
                    emitKatakana(k);
                } else {
                    appendUtf8(k, out);
                    previous = k;
                }
            }
        } else if (isKatakana(c)) {
            emitKatakana(static_cast<char16_t>(c));
        } else {
            appendUtf8(c, out);
            previous = c;
        }
    }
}

void TextFolder::fold(std::u16string_view text, std::string& out) const {
    if (isAscii(text)) {
        // Listing text is mostly ASCII, and there NFKC with case folding is only lower case.
        for (char16_t c : text)
            out += static_cast<char>(c >= 'A' && c <= 'Z' ? c + ('a' - 'A') : c);
        return;
    }
    UErrorCode status = U_ZERO_ERROR;
    const icu::UnicodeString source(false, reinterpret_cast<const UChar*>(text.data()),
                                    static_cast<int32_t>(text.size()));
    const icu::UnicodeString normalized = tables_->nfkc->normalize(source, status);
    char32_t previous = 0;
    if (U_FAILURE(status)) {
        foldNormalized(text, previous, out);
        return;
    }
    foldNormalized(std::u16string_view(reinterpret_cast<const char16_t*>(normalized.getBuffer()),
                                       static_cast<std::size_t>(normalized.length())),
                   previous, out);
}

std::string TextFolder::fold(std::u16string_view text) const {
    std::string out;
    fold(text, out);
    return out;
}

std::string TextFolder::foldCp932(std::string_view bytes) const {
    return fold(platform::decodeCp932(bytes));
}

std::string TextFolder::foldUtf8(std::string_view text) const {
    std::u16string utf16(text.size(), u'\0');
    int32_t length = 0;
    UErrorCode status = U_ZERO_ERROR;
    u_strFromUTF8(reinterpret_cast<UChar*>(utf16.data()), static_cast<int32_t>(utf16.size()),
                  &length, text.data(), static_cast<int32_t>(text.size()), &status);
    if (U_FAILURE(status))
        return foldCp932(text);
    utf16.resize(static_cast<std::size_t>(length));
    return fold(utf16);
}

std::vector<TextFolder::Range> TextFolder::findIn(std::u16string_view text,
                                                  std::string_view foldedNeedle) const {
    std::vector<Range> found;
    if (foldedNeedle.empty())
        return found;
    // Folded piece by piece between normalization boundaries, which gives the same bytes as
    // folding the whole text, while each output byte remembers the piece it came from.
    std::string folded;
    std::vector<std::size_t> pieceOfByte;
    std::vector<Range> pieces;
    char32_t previous = 0;
    const icu::Normalizer2& nfkc = *tables_->nfkc;
    for (std::size_t begin = 0; begin < text.size();) {
        std::size_t end = begin;
        nextCodePoint(text, end);
        while (end < text.size()) {
            std::size_t next = end;
            const char32_t c = nextCodePoint(text, next);
            if (nfkc.hasBoundaryBefore(static_cast<UChar32>(c)))
                break;
            end = next;
        }
        UErrorCode status = U_ZERO_ERROR;
        const std::u16string_view piece = text.substr(begin, end - begin);
        const icu::UnicodeString source(false, reinterpret_cast<const UChar*>(piece.data()),
                                        static_cast<int32_t>(piece.size()));
        const icu::UnicodeString normalized = nfkc.normalize(source, status);
        const std::size_t before = folded.size();
        if (U_FAILURE(status))
            foldNormalized(piece, previous, folded);
        else
            foldNormalized(
                std::u16string_view(reinterpret_cast<const char16_t*>(normalized.getBuffer()),
                                    static_cast<std::size_t>(normalized.length())),
                previous, folded);
        pieceOfByte.resize(folded.size(), pieces.size());
        if (folded.size() > before)
            pieces.push_back({begin, end});
        else
            pieceOfByte.resize(before);
        begin = end;
    }
    for (std::size_t at = folded.find(foldedNeedle); at != std::string::npos;
         at = folded.find(foldedNeedle, at + foldedNeedle.size())) {
        const Range first = pieces[pieceOfByte[at]];
        const Range last = pieces[pieceOfByte[at + foldedNeedle.size() - 1]];
        found.push_back({first.begin, last.end});
    }
    return found;
}

const TextFolder& textFolder() {
    static const TextFolder folder;
    return folder;
}

} // namespace qbr::search
