#pragma once

#include "quenbrill-genlogs/log_text.h"
#include "quenbrill-genlogs/phrasebook.h"
#include "quenbrill-genlogs/rng.h"
#include "quenbrill-genlogs/world.h"

#include <cstdint>
#include <string>
#include <vector>

namespace genlogs {

// One session as the log records it, and what it tells the caller.
struct Session {
    std::int64_t start = 0;         // seconds since 1970, UTC
    std::int64_t previousStart = 0; // shown as the last access; 0 for none
    std::int64_t duration = 0;      // seconds
    std::size_t targetBytes = 0;    // the log stops growing after about this much
};

struct Download {
    std::uint32_t item = 0;
    std::size_t offset = 0; // where in the log the file name stands, for its time
    bool firstTime = false; // false for a repeated download of the same item
};

// Writes the log of one session: log-in, visits to forums, mail, board and chat, library
// listings and downloads, log-off. The dialogue around a download is the one the catalog's
// scanner reads: "LIB>DOW n", the item's listing (a header line of a 10-byte number and
// type column, then the title; then 3 to 30 lines of description), the prompt, the answer,
// and on "：1" the protocol lines, the fourth of which holds the file name after 2 blanks.
class SessionWriter {
  public:
    SessionWriter(Rng& rng, const Phrasebook& words, World& world, const Member& user);

    // Appends the session's log to out and the downloads answered "：1" to downloads.
    void write(const Session& session, std::string& out, std::vector<Download>& downloads);

    // The listing of an item exactly as "LIB>DOW" shows it, header line first.
    void itemListing(LogText& log, const Item& item) const;

  private:
    enum class Area { Top, Mail, Board, Chat, Forum, Library };

    void logIn(LogText& log, const Session& session);
    void goTo(LogText& log, std::string_view name);
    void visitForum(LogText& log, std::uint32_t forum, std::size_t budgetEnd,
                    std::vector<Download>& downloads);
    void readMessages(LogText& log, std::size_t budgetEnd);
    void visitLibrary(LogText& log, std::uint32_t forum, std::vector<Download>& downloads);
    void download(LogText& log, std::uint32_t forum, std::uint32_t library,
                  std::vector<Download>& downloads);
    void readMail(LogText& log);
    void readBoard(LogText& log);
    void chat(LogText& log);
    void logOff(LogText& log, const Session& session);

    void message(LogText& log, std::uint32_t number, std::uint32_t total, std::int64_t written);
    void paragraph(LogText& log, int lines, std::string_view indent);
    std::string_view prompt() const;
    std::string memberText(std::uint32_t index) const;

    Rng& rng_;
    const Phrasebook& words_;
    World& world_;
    const Member& user_;
    std::vector<int> forumWeights_;
    Area area_ = Area::Top;
    std::int64_t start_ = 0;
    std::chrono::sys_days today_{};
};

} // namespace genlogs
