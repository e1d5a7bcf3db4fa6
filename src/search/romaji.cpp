#include "search/romaji.h"

#include "search/migemo_pattern.h"

#include <stdexcept>

#ifdef QBR_HAVE_MIGEMO
#include <migemo.h>
#include <sys/stat.h>
#endif

namespace qbr::search {

#ifdef QBR_HAVE_MIGEMO

namespace {
// Beyond this many readings (a one-letter word reads as thousands of dictionary words) the
// search would crawl; such a word is looked for as it is written.
constexpr std::size_t kReadingLimit = 4096;
} // namespace

struct Romaji::Dictionary {
    migemo* handle = nullptr;
    ~Dictionary() {
        if (handle)
            migemo_close(handle);
    }
};

bool Romaji::available() {
    struct stat info {};
    return ::stat(QBR_MIGEMO_DICT, &info) == 0 && S_ISREG(info.st_mode);
}

Romaji::Romaji() : dictionary_(std::make_unique<Dictionary>()) {
    if (!available())
        throw std::runtime_error("the Migemo dictionary " QBR_MIGEMO_DICT " is missing");
    dictionary_->handle = migemo_open(QBR_MIGEMO_DICT);
    if (!dictionary_->handle || !migemo_is_enable(dictionary_->handle))
        throw std::runtime_error("the Migemo dictionary " QBR_MIGEMO_DICT " cannot be read");
    // Plain operators, so that the answer reads as the groups and classes expandMigemoPattern
    // knows, without line-break patterns between letters.
    const unsigned char newline[] = "";
    migemo_set_operator(dictionary_->handle, MIGEMO_OPINDEX_NEWLINE, newline);
}

Romaji::~Romaji() = default;

std::vector<std::string> Romaji::readings(std::string_view word) const {
    const std::string query(word);
    unsigned char* pattern =
        migemo_query(dictionary_->handle, reinterpret_cast<const unsigned char*>(query.c_str()));
    if (!pattern)
        return {query};
    const std::string text(reinterpret_cast<const char*>(pattern));
    migemo_release(dictionary_->handle, pattern);
    std::optional<std::vector<std::string>> words = expandMigemoPattern(text, kReadingLimit);
    if (!words || words->empty())
        return {query};
    words->push_back(query);
    return std::move(*words);
}

#else

struct Romaji::Dictionary {};

bool Romaji::available() {
    return false;
}

Romaji::Romaji() {
    throw std::runtime_error("this build has no romaji search (C/Migemo)");
}

Romaji::~Romaji() = default;

std::vector<std::string> Romaji::readings(std::string_view word) const {
    return {std::string(word)};
}

#endif

} // namespace qbr::search
