#include "catalog/error.h"
#include "catalog/messages.h"
#include "pane/detail_pane.h"
#include "support/sjis.h"

#include <gtest/gtest.h>

namespace qbr {
namespace {

const std::string kMarker = test::kFileName;
const std::string kRelinked = test::kFileName + "$";

LineStore storeOf(const std::vector<std::string>& lines) {
    LineStore store;
    for (const std::string& line : lines)
        store.append(line);
    return store;
}

// An item of `listing` lines followed by the marker and the name.
std::vector<std::string> itemText(int listing, const std::string& marker, const std::string& name) {
    std::vector<std::string> lines;
    for (int i = 0; i < listing; ++i)
        lines.push_back("line " + std::to_string(i));
    lines.push_back(marker);
    lines.push_back(name);
    return lines;
}

TEST(ShownItemLines, NothingForCountZeroOrLess) {
    const LineStore store = storeOf({"a", "b"});
    EXPECT_TRUE(shownItemLines(store, {0, 0}).empty());
    EXPECT_TRUE(shownItemLines(store, {1, -5}).empty());
    EXPECT_EQ(lineCountText(0), "0 \x8D\x73");
}

TEST(ShownItemLines, FinalAsteriskShownAsBlankOnlyBeyondTwoBytes) {
    const struct {
        std::string stored, shown;
    } cases[] = {
        {"ab*", "ab "},   {"a*", "a*"},   {"*", "*"},
        {"ab**", "ab* "}, {"a*b", "a*b"}, {"\x8E\x9A*", "\x8E\x9A "},
        {"", ""},
    };
    std::vector<std::string> stored;
    for (const auto& c : cases)
        stored.push_back(c.stored);
    const LineStore store = storeOf(stored);
    const auto shown = shownItemLines(store, {0, static_cast<std::int32_t>(stored.size())});
    ASSERT_EQ(shown.size(), std::size(cases));
    for (std::size_t i = 0; i < shown.size(); ++i) {
        EXPECT_EQ(shown[i], cases[i].shown) << cases[i].stored;
        EXPECT_EQ(store[i], cases[i].stored) << "the store is never changed";
    }
}

TEST(ShownItemLines, CapAt302KeepsA302LineItemWholeAndCutsA303LineOne) {
    const auto whole = itemText(300, kMarker, "A.LZH");
    const auto shown302 = shownItemLines(storeOf(whole), {0, 302});
    EXPECT_EQ(shown302, whole);
    const auto section = findFileSection(shown302);
    ASSERT_TRUE(section);
    EXPECT_EQ(section->name, "A.LZH");

    const auto longer = itemText(301, kMarker, "A.LZH");
    const auto shown303 = shownItemLines(storeOf(longer), {0, 303});
    ASSERT_EQ(shown303.size(), 302u);
    EXPECT_EQ(shown303.back(), kMarker);
    EXPECT_FALSE(findFileSection(shown303));
}

TEST(ShownItemLines, SpanOutsideTheStoreRaisesTheListIndexErrorAtTheFirstMissingLine) {
    const LineStore store = storeOf({"a", "b", "c"});
    try {
        shownItemLines(store, {1, 5});
        FAIL() << "no error";
    } catch (const Error& error) {
        EXPECT_EQ(error.text(), msg::listIndexMessage(3));
    }
    EXPECT_THROW(shownItemLines(store, {-1, 2}), Error);
    // Only the lines that are shown are read: a span that overruns beyond line 302 still shows.
    const LineStore big = storeOf(itemText(400, kMarker, "x"));
    EXPECT_EQ(shownItemLines(big, {0, 100000}).size(), 302u);
}

TEST(FileSection, NeedsMoreThanThreeLinesAndAnExactMarker) {
    EXPECT_FALSE(findFileSection({"listing", kMarker, "A.LZH"})) << "exactly three lines";
    EXPECT_FALSE(findFileSection({kMarker, "A.LZH"}));
    EXPECT_FALSE(findFileSection({}));
    EXPECT_FALSE(findFileSection({"1", "2", kMarker + " ", "A.LZH"})) << "trailing blank";
    EXPECT_FALSE(findFileSection({"1", "2", "A.LZH", kMarker})) << "marker last";

    const auto plain = findFileSection({"1", "2", kMarker, "A.LZH"});
    ASSERT_TRUE(plain);
    EXPECT_EQ(plain->name, "A.LZH");
    EXPECT_FALSE(plain->relinked);
    const auto relinked = findFileSection({"1", "2", kRelinked, "B.ZIP"});
    ASSERT_TRUE(relinked);
    EXPECT_TRUE(relinked->relinked);
    const auto empty = findFileSection({"1", "2", kMarker, ""});
    ASSERT_TRUE(empty);
    EXPECT_EQ(empty->name, "");
}

struct PaneCase {
    const char* what;
    int level;
    bool hasChildren;
    std::vector<std::string> lines;
    bool exists;
    std::string fileName;
    DateLabel date;
    bool icon;
    PaneButtons buttons; // run, show, archive, search, remove
};

TEST(DecideDetailPane, FollowsTheTableByKindOfNode) {
    const std::vector<std::string> noMarker{"1", "2", "3", "A.LZH"};
    const std::vector<std::string> plain{"1", "2", kMarker, "A.TXT"};
    const std::vector<std::string> relinked{"1", "2", kRelinked, "A.TXT"};
    const PaneCase cases[] = {
        {"root", 0, true, {}, false, "", DateLabel::Empty, false, {}},
        {"forum with items", 1, true, {}, false, "", DateLabel::Empty, false, {}},
        {"forum without items",
         1,
         false,
         {},
         false,
         "",
         DateLabel::Empty,
         false,
         {false, false, false, false, true}},
        {"item without marker", 2, false, noMarker, true, "", DateLabel::Empty, false, {}},
        {"item, file present",
         2,
         false,
         plain,
         true,
         "A.TXT",
         DateLabel::DownloadDate,
         true,
         {true, true, false, false, false}},
        {"re-linked item, file present",
         2,
         false,
         relinked,
         true,
         "A.TXT",
         DateLabel::DownloadDate,
         true,
         {true, true, false, true, true}},
        {"item, file missing",
         2,
         false,
         plain,
         false,
         "A.TXT",
         DateLabel::NoFile,
         false,
         {false, false, false, true, true}},
        {"re-linked item, file missing",
         2,
         false,
         relinked,
         false,
         "A.TXT",
         DateLabel::NoFile,
         false,
         {false, false, false, true, true}},
        {"item with empty name line",
         2,
         false,
         {"1", "2", kMarker, ""},
         false,
         "",
         DateLabel::NoFile,
         false,
         {false, false, false, true, true}},
    };
    for (const PaneCase& c : cases) {
        const DetailPane pane = decideDetailPane(
            {c.level, c.hasChildren, findFileSection(c.lines), c.exists, "\"lhmelt.exe\""});
        EXPECT_EQ(pane.fileName, c.fileName) << c.what;
        EXPECT_EQ(pane.dateLabel, c.date) << c.what;
        EXPECT_EQ(pane.showIcon, c.icon) << c.what;
        EXPECT_EQ(pane.buttons, c.buttons) << c.what;
    }
}

TEST(DecideDetailPane, ArchiveButtonNeedsToolShowButtonAndArchiveExtension) {
    const struct {
        std::string name;
        std::string archiver;
        bool exists;
        bool offered;
    } cases[] = {
        {"A.LZH", "lhmelt.exe", true, true},
        {"a.lzh", "lhmelt.exe", true, true},
        {"a.Zip", "lhmelt.exe", true, true},
        {"setup.exe", "lhmelt.exe", true, true},
        {"a.lha", "lhmelt.exe", true, false},
        {"README", "lhmelt.exe", true, false},
        {"a.zip.bak", "lhmelt.exe", true, false},
        {"a.lzh", "x", true, false},
        {"a.lzh", "", true, false},
        {"a.lzh", "lhmelt.exe", false, false},
        {"\x83\x5C.zip", "lhmelt.exe", true, true},
    };
    for (const auto& c : cases) {
        const DetailPane pane = decideDetailPane(
            {2, false, findFileSection({"1", "2", kMarker, c.name}), c.exists, c.archiver});
        EXPECT_EQ(pane.buttons.archive, c.offered) << c.name << " / " << c.archiver;
    }
}

} // namespace
} // namespace qbr
