#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace qbr::search {

// Folds text into the form search compares: what a Japanese reader takes for the same text
// becomes the same UTF-8 bytes. The rules come from ICU's own data, not from a table of ours:
//   - NFKC with case folding: half-width and full-width forms (ﾊﾟｽﾞﾙ = パズル, ＬＨＡ = lha),
//     ASCII and full-width Latin case;
//   - the "Hiragana-Katakana" transliterator (ぱずる = パズル);
//   - the Japanese collation at secondary strength, which puts small kana with their large
//     kana (ァ = ア, ッ = ツ) and the prolonged sound mark after a kana with that kana's vowel
//     (パー = パア), while keeping voiced marks apart (ハ is not パ).
// Lone surrogates U+DC80..U+DCFF (the codec's undecodable bytes) pass through, written as the
// three bytes a UTF-8 encoder would give a code point there, so they match only themselves.
class TextFolder {
  public:
    TextFolder();
    ~TextFolder();
    TextFolder(const TextFolder&) = delete;
    TextFolder& operator=(const TextFolder&) = delete;

    // Appends the folded form of UTF-16 text to `out`.
    void fold(std::u16string_view text, std::string& out) const;
    std::string fold(std::u16string_view text) const;
    // CP932 bytes, decoded losslessly first.
    std::string foldCp932(std::string_view bytes) const;
    // UTF-8 text (a query typed by a person); bytes that are no UTF-8 are taken as CP932.
    std::string foldUtf8(std::string_view text) const;

    // Where the folded needle occurs in the UTF-16 text, as [begin, end) ranges of UTF-16
    // units of `text`, for a highlight. A range covers the whole characters that folded into
    // the match.
    struct Range {
        std::size_t begin = 0;
        std::size_t end = 0;
        friend bool operator==(const Range&, const Range&) = default;
    };
    std::vector<Range> findIn(std::u16string_view text, std::string_view foldedNeedle) const;

  private:
    struct Tables;
    // Folds one normalization segment (or a whole text) after NFKC: kana rules, then UTF-8.
    void foldNormalized(std::u16string_view normalized, char32_t& previous, std::string& out) const;

    std::unique_ptr<Tables> tables_;
};

// The process's one folder: building ICU's tables takes a few milliseconds, and they never
// change.
const TextFolder& textFolder();

} // namespace qbr::search
