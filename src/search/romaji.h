#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace qbr::search {

// Japanese readings of a romaji word ("pazuru": ぱずる, パズル, and the dictionary's words that
// are read so), through C/Migemo and its UTF-8 dictionary. Built in only where Migemo was
// found when the project was configured.
class Romaji {
  public:
    // Whether this build has Migemo and its dictionary can be opened.
    static bool available();

    // Opens the dictionary; raises std::runtime_error when Migemo is not available.
    Romaji();
    ~Romaji();
    Romaji(const Romaji&) = delete;
    Romaji& operator=(const Romaji&) = delete;

    // The word's readings as UTF-8 words, the word itself among them; the word alone when
    // Migemo's answer cannot be spelled out within a few thousand words.
    std::vector<std::string> readings(std::string_view word) const;

  private:
    struct Dictionary;
    std::unique_ptr<Dictionary> dictionary_;
};

} // namespace qbr::search
