#include "archive/entry_names.h"

#include <gtest/gtest.h>

namespace qbr::archive {
namespace {

TEST(EntryNames, Latin1BytesUndoTheReadersDecoding) {
    EXPECT_EQ(latin1Bytes("A\xC2\x95\xC2\x5C"), std::nullopt); // C2 5C is no UTF-8
    EXPECT_EQ(latin1Bytes("A\xC2\x95\\\xC3\xBF"), std::string("A\x95\\\xFF"));
    // A character beyond U+00FF: a name the reader converted from a code page, UTF-8 as is.
    EXPECT_EQ(latin1Bytes("\xE6\x97\xA5"), std::nullopt);
}

TEST(EntryNames, TrailBytesGetTheirBackslashBack) {
    // ソフト/表計算.DOC as the level 0 reader leaves it: 83 2F ... 2F 95 2F ...
    EXPECT_EQ(restoreTrailBackslashes("\x83/\x83t\x83g/\x95/\x8Cv.DOC"),
              "\x83\\\x83t\x83g/\x95\\\x8Cv.DOC");
    EXPECT_EQ(restoreTrailBackslashes("DOC/A.TXT"), "DOC/A.TXT");
    EXPECT_EQ(restoreTrailBackslashes("\x83"), "\x83"); // a lone lead byte at the end
}

TEST(EntryNames, NamesThatCouldLeaveTheFolder) {
    struct Case {
        std::string name;
        bool escapes;
    };
    const std::vector<Case> cases{
        {"A.TXT", false}, {"DOC/A.TXT", false},  {"..A/B..", false},    {"\x95\\A.TXT", false},
        {"..", true},     {"../A.TXT", true},    {"DOC/../../A", true}, {"DOC\\..\\A", true},
        {"DOC/..", true}, {"/etc/passwd", true}, {"\\A.TXT", true},     {"C:A.TXT", true},
        {"", true},
    };
    for (const Case& c : cases)
        EXPECT_EQ(escapesFolder(c.name), c.escapes) << c.name;
}

TEST(EntryNames, LeafNames) {
    EXPECT_EQ(leafName("DOC/A.TXT"), "A.TXT");
    EXPECT_EQ(leafName("DOC\\A.TXT"), "A.TXT");
    EXPECT_EQ(leafName("DOC/"), "");
    EXPECT_EQ(leafName("DOC/.."), "");
    EXPECT_EQ(leafName("A\nB"), "A_B");
    // 300 bytes of "あ" (3 bytes each) and ".TXT": the end is kept, from a whole character.
    std::string longName;
    for (int i = 0; i < 100; ++i)
        longName += "\xE3\x81\x82";
    longName += ".TXT";
    const std::string leaf = leafName(longName);
    EXPECT_LE(leaf.size(), 255u);
    EXPECT_EQ(leaf.substr(leaf.size() - 4), ".TXT");
    EXPECT_EQ(leaf.substr(0, 3), "\xE3\x81\x82");
}

} // namespace
} // namespace qbr::archive
