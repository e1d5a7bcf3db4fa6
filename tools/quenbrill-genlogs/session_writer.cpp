#include "quenbrill-genlogs/session_writer.h"

#include "quenbrill-genlogs/markers.h"

#include <algorithm>

namespace genlogs {
namespace {

constexpr std::size_t kLineWidth = 76;      // bytes; the service's screen is 80 columns
constexpr std::uint32_t kMaxNumber = 99999; // the header's number column has 5 places

bool isTextFile(const std::string& fileName) {
    return fileName.ends_with(".TXT") || fileName.ends_with(".DOC");
}

} // namespace

SessionWriter::SessionWriter(Rng& rng, const Phrasebook& words, World& world, const Member& user)
    : rng_(rng), words_(words), world_(world), user_(user) {
    for (const auto& forum : words_.forums) {
        forumWeights_.push_back(forum.weight);
    }
}

void SessionWriter::write(const Session& session, std::string& out,
                          std::vector<Download>& downloads) {
    LogText log(out);
    const std::size_t end = out.size() + session.targetBytes;
    area_ = Area::Top;
    start_ = session.start;
    today_ = std::chrono::floor<std::chrono::days>(
        std::chrono::sys_seconds{std::chrono::seconds{session.start + kServiceUtcOffset}});

    logIn(log, session);
    bool mailRead = false;
    for (int visit = 0; visit == 0 || log.size() < end; ++visit) {
        const std::uint32_t roll = rng_.below(100);
        if (roll < 6 && !mailRead) {
            goTo(log, "MAIL");
            readMail(log);
            mailRead = true;
        } else if (roll < 10) {
            goTo(log, "BBS");
            readBoard(log);
        } else if (roll < 14) {
            goTo(log, "CCS");
            chat(log);
        } else {
            const auto forum = static_cast<std::uint32_t>(rng_.weighted(forumWeights_));
            goTo(log, words_.forums[forum].goName);
            visitForum(log, forum, end, downloads);
        }
    }
    logOff(log, session);
}

std::string_view SessionWriter::prompt() const {
    switch (area_) {
    case Area::Top:
        return kTopPrompt;
    case Area::Mail:
        return "MAIL>";
    case Area::Board:
        return "BBS>";
    case Area::Chat:
        return "CCS(N)>";
    case Area::Forum:
        return "FORUM>";
    case Area::Library:
        return "LIB>";
    }
    return kTopPrompt;
}

std::string SessionWriter::memberText(std::uint32_t index) const {
    const Member& m = world_.member(index);
    return m.id + " " + m.name;
}

void SessionWriter::logIn(LogText& log, const Session& session) {
    static const std::vector<std::string> speeds = {
        "9600/ARQ/V32/LAPM/V42BIS", "14400/ARQ/V32/LAPM/V42BIS", "28800/ARQ/V34/LAPM/V42BIS",
        "33600/ARQ/V34/LAPM/V42BIS"};
    const FixedTexts& f = words_.fixed;
    log.line("ATZ");
    log.line("OK");
    log.line("ATDT0", number(rng_.range(100000000, 999999999)));
    log.line("CONNECT ", rng_.pick(speeds));
    log.line(f.serviceName, rng_.pick(words_.accessPoints), f.accessPoint);
    log.line(f.idPrompt, user_.id);
    log.line(f.passwordPrompt);
    log.line("");
    log.line(f.welcome);
    log.line(f.loginAt, dateTime(session.start, true));
    if (session.previousStart != 0) {
        log.line(f.lastAccess, dateTime(session.previousStart, false));
    }
    const int unread = rng_.range(0, 3);
    if (unread == 0) {
        log.line(f.noMail);
    } else {
        log.line(f.unreadMail, number(static_cast<std::uint64_t>(unread)), f.mailUnit);
    }
    log.line("");
    for (int i = rng_.range(1, 3); i > 0; --i) {
        log.line(rng_.pick(words_.news));
    }
    log.line("");
    log.line(f.topMenu);
}

void SessionWriter::goTo(LogText& log, std::string_view name) {
    log.line(prompt(), "GO ", name);
}

void SessionWriter::visitForum(LogText& log, std::uint32_t forum, std::size_t budgetEnd,
                               std::vector<Download>& downloads) {
    const FixedTexts& f = words_.fixed;
    log.line(words_.forums[forum].title);
    log.line(f.sysop, memberText(world_.forum(forum).sysop));
    log.line("");
    log.line(f.forumNews);
    paragraph(log, rng_.range(1, 3), "\x81\x40");
    log.line(f.forumMenu);
    area_ = Area::Forum;
    const int actions = rng_.range(1, 4);
    for (int i = 0; i < actions; ++i) {
        if (i > 0 && log.size() >= budgetEnd) {
            break;
        }
        if (rng_.chance(45)) {
            visitLibrary(log, forum, downloads);
        } else {
            readMessages(log, budgetEnd);
        }
    }
}

void SessionWriter::readMessages(LogText& log, std::size_t budgetEnd) {
    const FixedTexts& f = words_.fixed;
    if (area_ == Area::Library) {
        log.line(prompt(), "E");
        log.line(f.forumMenu);
        area_ = Area::Forum;
    }
    log.line(prompt(), "MES");
    log.line(f.roomList);
    const auto rooms = static_cast<std::uint32_t>(rng_.range(4, 6));
    for (std::uint32_t r = 1; r <= rooms; ++r) {
        log.line("\x81\x40", number(r, 2), " ", words_.rooms[r - 1], "\x81\x40", f.messageCount,
                 number(static_cast<std::uint64_t>(rng_.range(20, 3000)), 6));
    }
    log.line(prompt(), "RD ", number(rng_.range(1, static_cast<int>(rooms))));
    const auto total = static_cast<std::uint32_t>(rng_.range(200, 20000));
    const auto first = total - static_cast<std::uint32_t>(rng_.range(10, 150));
    const int count = rng_.range(2, 14);
    // The messages were written in the days before, in order.
    std::int64_t written = start_ - rng_.range(86400, 4 * 86400);
    for (int i = 0; i < count && (i == 0 || log.size() < budgetEnd); ++i) {
        written += rng_.range(300, 20000);
        message(log, first + static_cast<std::uint32_t>(i), total, std::min(written, start_ - 60));
    }
}

void SessionWriter::message(LogText& log, std::uint32_t number_, std::uint32_t total,
                            std::int64_t written) {
    const std::uint32_t author = world_.randomMember(rng_);
    const bool reply = rng_.chance(60);
    log.line("#", number(number_, 6, '0'), "/", number(total, 6, '0'), "  ", memberText(author),
             "  ", reply ? "RE:" : "", rng_.pick(words_.messageTitles), "  ",
             dateTime(written, false));
    if (reply) {
        for (int i = rng_.range(1, 3); i > 0; --i) {
            log.line(kTopPrompt, rng_.pick(words_.chatter));
        }
        log.line("");
    }
    paragraph(log, rng_.range(2, 12), "");
    log.line("");
}

void SessionWriter::paragraph(LogText& log, int lines, std::string_view indent) {
    for (int i = 0; i < lines; ++i) {
        std::string text(indent);
        text += rng_.pick(words_.chatter);
        const std::string& more = rng_.pick(words_.chatter);
        if (text.size() + more.size() <= kLineWidth && !text.ends_with(more) && rng_.chance(50)) {
            text += more;
        }
        log.line(text);
    }
}

void SessionWriter::visitLibrary(LogText& log, std::uint32_t forum,
                                 std::vector<Download>& downloads) {
    const FixedTexts& f = words_.fixed;
    const ThemeTexts& theme = words_.themes[static_cast<std::size_t>(words_.forums[forum].theme)];
    if (area_ == Area::Library) {
        log.line(prompt(), "E");
        log.line(f.forumMenu);
        area_ = Area::Forum;
    }
    const auto library = static_cast<std::uint32_t>(rng_.range(1, World::kLibrariesPerForum));
    log.line(prompt(), "LIB ", number(library));
    log.line(f.libraryEntry, number(library), "\x81\x46", theme.libraries[library - 1]);
    area_ = Area::Library;

    // New items arrive between visits.
    auto& shelf = world_.forum(forum).libraries[library - 1];
    if (rng_.chance(45)) {
        for (int i = rng_.range(1, 3); i > 0 && shelf.size() < kMaxNumber; --i) {
            world_.addItem(rng_, forum, library, today_ - std::chrono::days(rng_.range(0, 3)));
        }
    }
    if (rng_.chance(60)) {
        log.line(prompt(), "BRO");
        log.line(f.libraryColumns);
        const auto shown = std::min<std::size_t>(shelf.size(), rng_.range(5, 15));
        for (std::size_t i = 0; i < shown; ++i) {
            const Item& item = world_.item(shelf[shelf.size() - 1 - i]);
            log.line(number(item.number, 5), isTextFile(item.fileName) ? " TXT " : " BIN ",
                     item.title);
        }
    }
    static const std::vector<int> downloadCounts = {30, 42, 20, 6, 2};
    for (auto n = rng_.weighted(downloadCounts); n > 0; --n) {
        download(log, forum, library, downloads);
    }
    if (rng_.chance(50)) {
        log.line(prompt(), "E");
        log.line(f.forumMenu);
        area_ = Area::Forum;
    }
}

void SessionWriter::download(LogText& log, std::uint32_t forum, std::uint32_t library,
                             std::vector<Download>& downloads) {
    const FixedTexts& f = words_.fixed;
    const auto& shelf = world_.forum(forum).libraries[library - 1];
    const std::uint32_t roll = rng_.below(100);
    if (roll < 5) {
        // A number past the end of the library.
        log.line(kLibDow, " ", number(shelf.size() + static_cast<std::size_t>(rng_.range(1, 40))));
        log.line(kNoData);
        return;
    }
    std::uint32_t id = shelf.back();
    std::vector<std::uint32_t> again;
    if (roll < 14) {
        for (std::uint32_t fetched : world_.forum(forum).fetched) {
            if (world_.item(fetched).library == library) {
                again.push_back(fetched);
            }
        }
    }
    if (!again.empty()) {
        id = rng_.pick(again);
    } else {
        // Mostly one of the newest items, now and then an old one; one not fetched yet when
        // a few looks find one.
        const auto reach = rng_.chance(80) ? std::min<std::size_t>(shelf.size(), 12) : shelf.size();
        for (int look = 0; look < 4; ++look) {
            id = shelf[shelf.size() - 1 - rng_.below(static_cast<std::uint32_t>(reach))];
            if (!world_.wasFetched(id)) {
                break;
            }
        }
    }
    const Item& item = world_.item(id);
    log.line(kLibDow, " ", number(item.number));
    itemListing(log, item);
    log.line(kPrompt);
    const std::uint32_t answer = rng_.below(100);
    if (answer < 80) {
        log.line(kAnswerYes);
        log.line(f.protocolMenu);
        const std::uint32_t protocol = rng_.below(10);
        if (protocol < 6) {
            log.line("\x81\x46", "3");
            log.line(f.sendZmodem);
        } else if (protocol < 9) {
            log.line("\x81\x46", "2");
            log.line(f.sendBplus);
        } else {
            log.line("\x81\x46", "1");
            log.line(f.sendXmodem);
        }
        // The fourth line after the answer: two blanks, then the file's name.
        const std::size_t offset = log.size();
        log.line("  ", item.fileName);
        log.line(f.transferDone, number(item.size), f.byteUnit,
                 number(item.size / 2800 + static_cast<std::uint32_t>(rng_.range(1, 9))),
                 f.seconds);
        const bool first = world_.markFetched(id);
        downloads.push_back(Download{id, offset, first});
    } else if (answer < 92) {
        log.line(kAnswerNo);
        log.line(f.cancelled);
    } else {
        log.line(kAnswerEnd);
    }
}

void SessionWriter::itemListing(LogText& log, const Item& item) const {
    const FixedTexts& f = words_.fixed;
    const ThemeTexts& theme =
        words_.themes[static_cast<std::size_t>(words_.forums[item.forum].theme)];
    Rng text(item.textSeed);
    // The first 10 bytes are the number and type columns; the title follows.
    log.line(number(item.number, 5), isTextFile(item.fileName) ? " TXT " : " BIN ", item.title);
    // 3 to 30 lines of description, mostly 6 to 16.
    int remaining = text.chance(80) ? text.range(6, 16) : text.range(3, 30);
    log.line(f.registrant, memberText(item.uploader));
    log.line(f.registered, shortDate(item.registered), f.bytes, number(item.size), f.downloads,
             number(static_cast<std::uint64_t>(text.range(1, 900))));
    log.line(f.fileLabel, item.fileName);
    remaining -= 3;
    const std::vector<std::string>* headings[] = {&words_.environments, &words_.softwareKinds,
                                                  &words_.reprintTerms};
    for (const auto* heading : headings) {
        if (remaining > 0) {
            log.line(text.pick(*heading));
            --remaining;
        }
    }
    if (remaining > 0) {
        log.line(f.aboutLabel);
        --remaining;
    }
    for (; remaining > 0; --remaining) {
        if (text.chance(8)) {
            log.line("");
            continue;
        }
        std::string line("\x81\x40");
        line += text.chance(70) ? text.pick(theme.sentences) : text.pick(words_.genericSentences);
        log.line(line);
    }
}

void SessionWriter::readMail(LogText& log) {
    const FixedTexts& f = words_.fixed;
    log.line(f.mailArea);
    area_ = Area::Mail;
    for (int i = rng_.range(1, 3); i > 0; --i) {
        log.line(prompt(), "RD");
        log.line(f.mailHeader, memberText(world_.randomMember(rng_)));
        log.line(f.subject, rng_.pick(words_.messageTitles));
        log.line("");
        paragraph(log, rng_.range(2, 8), "");
        log.line("");
    }
}

void SessionWriter::readBoard(LogText& log) {
    const FixedTexts& f = words_.fixed;
    log.line(f.bbsArea);
    area_ = Area::Board;
    log.line(prompt(), "RD");
    for (int i = rng_.range(2, 6); i > 0; --i) {
        const Member& author = world_.member(world_.randomMember(rng_));
        log.line(number(static_cast<std::uint64_t>(rng_.range(1, 999)), 4), " ",
                 rng_.pick(words_.bbsTitles), "  ", author.id, "  ",
                 dateTime(start_ - rng_.range(3600, 10 * 86400), false));
        paragraph(log, rng_.range(1, 4), "\x81\x40");
    }
}

void SessionWriter::chat(LogText& log) {
    const FixedTexts& f = words_.fixed;
    log.line(f.chatArea);
    area_ = Area::Chat;
    log.line("*** ", user_.id, " ", user_.name, f.chatJoin);
    std::uint32_t others[3];
    for (auto& other : others) {
        other = world_.randomMember(rng_);
    }
    const std::string* said = nullptr;
    for (int i = rng_.range(5, 25); i > 0; --i) {
        const bool mine = rng_.chance(30);
        const std::string& id = mine ? user_.id : world_.member(others[rng_.below(3)]).id;
        const std::string* line = &rng_.pick(words_.chatLines);
        if (line == said) {
            line = &rng_.pick(words_.chatLines); // a room seldom says the same thing twice
        }
        said = line;
        log.line("<", id, "> ", *line);
        if (rng_.chance(5)) {
            log.line("*** ", memberText(others[rng_.below(3)]), f.chatLeave);
        }
    }
}

void SessionWriter::logOff(LogText& log, const Session& session) {
    const FixedTexts& f = words_.fixed;
    log.line(prompt(), "OFF");
    log.line(f.logoffTime, clock(session.duration));
    log.line(f.thanks);
    log.line("");
    log.line("NO CARRIER");
}

} // namespace genlogs
