#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace qbr::search {

class Romaji;
class TextFolder;

// One word of a query, folded: it matches where any of its alternatives occurs (a word alone
// has one; a romaji word has its readings too).
struct QueryWord {
    std::vector<std::string> alternatives;
};

// What the user typed, cut at blanks into words that must all match.
struct Query {
    std::vector<QueryWord> words;
    bool empty() const noexcept { return words.empty(); }
};

// Folds the typed UTF-8 text and cuts it at blanks (ideographic spaces and tabs included,
// since folding turns them into spaces). With romaji given, each word of ASCII letters also
// stands for its Japanese readings; alternatives that contain another one are dropped, as
// whatever holds them holds the shorter one too.
Query parseQuery(std::string_view typed, const TextFolder& folder, const Romaji* romaji = nullptr);

} // namespace qbr::search
