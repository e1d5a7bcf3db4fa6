#pragma once

#include "quenbrill-genlogs/cp932.h"

#include <array>
#include <string>
#include <vector>

namespace genlogs {

enum class Theme { Tools, Programming, Games, Graphics, Music, Documents };
inline constexpr std::size_t kThemeCount = 6;

// What the libraries of one kind of forum hold. Texts are CP932 except the file-name parts.
struct ThemeTexts {
    std::vector<std::string> nouns;      // second half of an item's title
    std::vector<std::string> stems;      // ASCII start of a file name, at most 5 letters
    std::vector<std::string> extensions; // repeated to weight them
    std::vector<std::string> sentences;  // description text
    std::vector<std::string> libraries;  // names of the forum's data libraries
};

// An invented forum: the name typed after GO, and the service's title for it.
struct ForumSpec {
    std::string goName;
    std::string title;
    Theme theme;
    int weight; // how often our user goes there
};

// The service's fixed texts, one per use.
struct FixedTexts {
    std::string welcome, idPrompt, passwordPrompt, lastAccess, noMail, topMenu;
    std::string sysop, forumNews, forumMenu, roomList, messageCount, libraryEntry;
    std::string libraryColumns, registrant, registered, bytes, downloads, fileLabel, aboutLabel;
    std::string protocolMenu, sendZmodem, sendBplus, sendXmodem, transferDone, cancelled;
    std::string logoffTime, thanks, mailArea, mailHeader, bbsArea, chatArea, chatJoin;
    std::string chatLeave, serviceName, accessPoint, loginAt, unreadMail, mailUnit, subject;
    std::string byteUnit, seconds;
};

// All the words the generator writes, converted to CP932 once.
struct Phrasebook {
    explicit Phrasebook(const Cp932& cp932);

    FixedTexts fixed;
    std::vector<std::string> familyNames;
    std::vector<std::string> givenNames;
    std::vector<std::string> accessPoints;
    std::vector<std::string> news;
    std::vector<std::string> rooms;
    std::vector<std::string> messageTitles;
    std::vector<std::string> chatter;
    std::vector<std::string> chatLines;
    std::vector<std::string> bbsTitles;
    std::vector<std::string> titlePrefixes;
    std::vector<std::string> environments;
    std::vector<std::string> softwareKinds;
    std::vector<std::string> reprintTerms;
    std::vector<std::string> genericSentences;
    std::array<ThemeTexts, kThemeCount> themes;
    std::vector<ForumSpec> forums;
};

} // namespace genlogs
