#include "search/search_query.h"

#include "search/romaji.h"
#include "search/text_folder.h"

#include <algorithm>

namespace qbr::search {

namespace {

bool isBlank(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f';
}

std::vector<std::string> splitAtBlanks(std::string_view text) {
    std::vector<std::string> words;
    std::size_t i = 0;
    while (i < text.size()) {
        while (i < text.size() && isBlank(text[i]))
            ++i;
        const std::size_t begin = i;
        while (i < text.size() && !isBlank(text[i]))
            ++i;
        if (i > begin)
            words.emplace_back(text.substr(begin, i - begin));
    }
    return words;
}

bool isRomaji(std::string_view word) {
    return std::all_of(word.begin(), word.end(), [](char c) {
        return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || c == '-' || c == '\'';
    });
}

// Keeps the shortest alternatives: one that holds another adds no match.
std::vector<std::string> minimal(std::vector<std::string> words) {
    std::sort(words.begin(), words.end(), [](const std::string& a, const std::string& b) {
        return a.size() != b.size() ? a.size() < b.size() : a < b;
    });
    std::vector<std::string> kept;
    for (std::string& word : words) {
        if (word.empty())
            continue;
        const bool covered = std::any_of(kept.begin(), kept.end(), [&](const std::string& k) {
            return word.find(k) != std::string::npos;
        });
        if (!covered)
            kept.push_back(std::move(word));
    }
    return kept;
}

} // namespace

Query parseQuery(std::string_view typed, const TextFolder& folder, const Romaji* romaji) {
    Query query;
    // Cut the typed text first, so that a romaji word is the word as typed, then fold: folding
    // can make blanks of its own (an ideographic space), so each piece is cut again.
    for (const std::string& raw : splitAtBlanks(typed)) {
        for (const std::string& word : splitAtBlanks(folder.foldUtf8(raw))) {
            std::vector<std::string> alternatives{word};
            if (romaji && isRomaji(raw)) {
                for (const std::string& reading : romaji->readings(word))
                    for (const std::string& piece : splitAtBlanks(folder.foldUtf8(reading)))
                        alternatives.push_back(piece);
            }
            query.words.push_back({minimal(std::move(alternatives))});
        }
    }
    return query;
}

} // namespace qbr::search
