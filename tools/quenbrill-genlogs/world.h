#pragma once

#include "quenbrill-genlogs/phrasebook.h"
#include "quenbrill-genlogs/rng.h"

#include <chrono>
#include <cstdint>
#include <set>
#include <string>
#include <vector>

namespace genlogs {

struct Member {
    std::string id;   // ASCII, three letters and five digits
    std::string name; // CP932
};

// One item of a forum's data library. Its description is drawn afresh from textSeed each
// time it is shown, so a repeated download shows the same listing.
struct Item {
    std::uint32_t forum = 0;
    std::uint32_t library = 0; // 1-based
    std::uint32_t number = 0;  // 1-based within its library
    std::string title;         // CP932, unique within the forum
    std::string fileName;      // ASCII 8.3, unique within the whole corpus
    std::uint32_t size = 0;
    std::uint32_t uploader = 0; // index into World::members()
    std::chrono::sys_days registered{};
    std::uint64_t textSeed = 0;
};

struct ForumState {
    std::vector<std::vector<std::uint32_t>> libraries; // item ids, by library then number
    std::vector<std::uint32_t> fetched;                // items answered "：1", once each
    std::set<std::string> titles;
    std::uint32_t sysop = 0;
};

// The service as our user finds it: forums whose libraries grow as the days pass.
class World {
  public:
    static constexpr std::uint32_t kLibrariesPerForum = 3;

    World(Rng& rng, const Phrasebook& words, std::chrono::sys_days start);

    std::size_t forumCount() const { return forums_.size(); }
    ForumState& forum(std::uint32_t index) { return forums_[index]; }
    const Item& item(std::uint32_t id) const { return items_[id]; }
    const Member& member(std::uint32_t index) const { return members_[index]; }
    std::uint32_t randomMember(Rng& rng) const;
    std::size_t itemCount() const { return items_.size(); }

    // Registers a new item at the end of a library and returns its id.
    std::uint32_t addItem(Rng& rng, std::uint32_t forum, std::uint32_t library,
                          std::chrono::sys_days registered);

    bool wasFetched(std::uint32_t id) const { return fetched_[id]; }

    // Remembers a "：1" answer; false when the item had been fetched before.
    bool markFetched(std::uint32_t id);

  private:
    std::string makeTitle(Rng& rng, std::uint32_t forum, std::uint32_t id, std::size_t kind);
    std::string makeFileName(Rng& rng, const ThemeTexts& theme, std::uint32_t id, std::size_t kind);

    const Phrasebook& words_;
    std::vector<Member> members_;
    std::vector<ForumState> forums_;
    std::vector<Item> items_;
    std::vector<bool> fetched_;
    std::set<std::string> fileNames_;
};

} // namespace genlogs
