#include "quenbrill-genlogs/world.h"

#include <cstdio>

namespace genlogs {
namespace {

constexpr std::uint32_t kMembers = 240;

std::string memberId(Rng& rng) {
    static constexpr char kLetters[] = "ABCDEFGHJKLMNPQRSTUVWXYZ";
    std::string id;
    for (int i = 0; i < 3; ++i) {
        id += kLetters[rng.below(sizeof kLetters - 1)];
    }
    char digits[8];
    std::snprintf(digits, sizeof digits, "%05u", static_cast<unsigned>(rng.below(100000)));
    return id + digits;
}

} // namespace

World::World(Rng& rng, const Phrasebook& words, std::chrono::sys_days start) : words_(words) {
    members_.reserve(kMembers);
    for (std::uint32_t i = 0; i < kMembers; ++i) {
        members_.push_back(Member{memberId(rng), rng.pick(words.familyNames) + "\x81\x40" +
                                                     rng.pick(words.givenNames)});
    }
    forums_.resize(words.forums.size());
    for (std::uint32_t f = 0; f < forums_.size(); ++f) {
        forums_[f].libraries.resize(kLibrariesPerForum);
        forums_[f].sysop = randomMember(rng);
        for (std::uint32_t lib = 1; lib <= kLibrariesPerForum; ++lib) {
            // The older items, registered in the two years before our user's first session.
            const int count = rng.range(8, 40);
            std::chrono::sys_days day = start - std::chrono::days(rng.range(400, 700));
            for (int i = 0; i < count; ++i) {
                day += std::chrono::days(rng.range(0, 14));
                addItem(rng, f, lib, day < start ? day : start - std::chrono::days(1));
            }
        }
    }
}

std::uint32_t World::randomMember(Rng& rng) const {
    return rng.below(static_cast<std::uint32_t>(members_.size()));
}

std::uint32_t World::addItem(Rng& rng, std::uint32_t forum, std::uint32_t library,
                             std::chrono::sys_days registered) {
    const auto id = static_cast<std::uint32_t>(items_.size());
    const ThemeTexts& theme = words_.themes[static_cast<std::size_t>(words_.forums[forum].theme)];
    Item item;
    item.forum = forum;
    item.library = library;
    auto& shelf = forums_[forum].libraries[library - 1];
    item.number = static_cast<std::uint32_t>(shelf.size()) + 1;
    // The title's noun and the file name's stem name the same kind of thing.
    const std::size_t kind = rng.below(static_cast<std::uint32_t>(theme.nouns.size()));
    item.title = makeTitle(rng, forum, id, kind);
    item.fileName = makeFileName(rng, theme, id, kind);
    // Mostly tens of kilobytes, now and then a megabyte or two.
    item.size = rng.chance(10) ? static_cast<std::uint32_t>(rng.range(300000, 2000000))
                               : static_cast<std::uint32_t>(rng.range(2000, 250000));
    item.uploader = randomMember(rng);
    item.registered = registered;
    item.textSeed = rng.next();
    items_.push_back(std::move(item));
    fetched_.push_back(false);
    shelf.push_back(id);
    return id;
}

bool World::markFetched(std::uint32_t id) {
    if (fetched_[id]) {
        return false;
    }
    fetched_[id] = true;
    forums_[items_[id].forum].fetched.push_back(id);
    return true;
}

std::string World::makeTitle(Rng& rng, std::uint32_t forum, std::uint32_t id, std::size_t kind) {
    const ThemeTexts& theme = words_.themes[static_cast<std::size_t>(words_.forums[forum].theme)];
    auto& titles = forums_[forum].titles;
    for (int attempt = 0; attempt < 20; ++attempt) {
        char version[32];
        std::snprintf(version, sizeof version, " Ver%d.%02d", rng.range(1, 4), rng.range(0, 99));
        std::string title = rng.pick(words_.titlePrefixes) + theme.nouns[kind] + version;
        if (titles.insert(title).second) {
            return title;
        }
    }
    // A forum that has outgrown the combinations numbers its items instead.
    char serial[32];
    std::snprintf(serial, sizeof serial, " #%u", static_cast<unsigned>(id));
    std::string title = theme.nouns[kind] + serial;
    titles.insert(title);
    return title;
}

std::string World::makeFileName(Rng& rng, const ThemeTexts& theme, std::uint32_t id,
                                std::size_t kind) {
    const std::string& extension = rng.pick(theme.extensions);
    for (int attempt = 0; attempt < 20; ++attempt) {
        const std::string& stem = theme.stems[kind];
        // The digits fill the eight characters of the name: a version or a serial.
        const auto digitCount = static_cast<int>(8 - stem.size());
        std::uint32_t limit = 1;
        for (int i = 0; i < digitCount; ++i) {
            limit *= 10;
        }
        char digits[16];
        std::snprintf(digits, sizeof digits, "%0*u", digitCount,
                      static_cast<unsigned>(rng.below(limit)));
        std::string name = stem + digits + extension;
        if (fileNames_.insert(name).second) {
            return name;
        }
    }
    // No stem is a lone "Z", so these names never meet the ones above.
    char name[32];
    std::snprintf(name, sizeof name, "Z%07u", static_cast<unsigned>(id % 10000000));
    std::string fallback = name + extension;
    fileNames_.insert(fallback);
    return fallback;
}

} // namespace genlogs
