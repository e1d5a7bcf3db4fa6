#include "pane/detail_pane.h"
#include "pane/relink.h"
#include "support/sjis.h"

#include <gtest/gtest.h>

namespace qbr {
namespace {

const std::string kMarker = test::kFileName;
const std::string kRelinked = test::kFileName + "$";

class Relink : public ::testing::Test {
  protected:
    void SetUp() override {
        forum = catalog.AddForum("FORUM");
        item = catalog.AddItem(*forum, "TITLE", {"listing*", "more", kMarker, "OLD.LZH"});
        other = catalog.AddItem(*forum, "OTHER", {"x"});
    }
    std::vector<std::string> shown() const { return shownItemLines(catalog.lines(), item->span()); }
    std::vector<std::string> stored() const {
        std::vector<std::string> lines;
        for (std::string_view line : catalog.ItemText(*item))
            lines.emplace_back(line);
        return lines;
    }

    Catalog catalog;
    TreeNode* forum = nullptr;
    TreeNode* item = nullptr;
    TreeNode* other = nullptr;
};

TEST_F(Relink, StoresTheShownLinesWithTheNewMarkerAndName) {
    const std::size_t before = catalog.lines().size();
    const auto lines = relinkItem(catalog, item, shown(), "NEW.ZIP");
    const std::vector<std::string> expected{"listing ", "more", kRelinked, "NEW.ZIP"};
    ASSERT_TRUE(lines);
    EXPECT_EQ(*lines, expected) << "the final \"*\" shown as a blank is stored as a blank";
    EXPECT_EQ(stored(), expected);
    EXPECT_EQ(item->span(), (TItemSpan{static_cast<std::int32_t>(before), 4}));
    EXPECT_TRUE(catalog.Modified());
    // The re-linked item is shown with the marker "ファイル名$" from now on.
    const auto section = findFileSection(shown());
    ASSERT_TRUE(section);
    EXPECT_TRUE(section->relinked);
    EXPECT_EQ(section->name, "NEW.ZIP");
}

TEST_F(Relink, EditedLinesAreStored) {
    auto displayed = shown();
    displayed[1] = "edited by the user";
    displayed.insert(displayed.begin(), "a line typed in");
    ASSERT_TRUE(relinkItem(catalog, item, displayed, "\x95\x5C.lzh"));
    const std::vector<std::string> expected{"a line typed in", "listing ", "edited by the user",
                                            kRelinked, "\x95\x5C.lzh"};
    EXPECT_EQ(stored(), expected);
}

TEST_F(Relink, TwiceThenCompactionKeepsOnlyTheLastText) {
    const std::size_t start = catalog.lines().size();
    ASSERT_TRUE(relinkItem(catalog, item, shown(), "ONE.LZH"));
    ASSERT_TRUE(relinkItem(catalog, item, shown(), "TWO.LZH"));
    EXPECT_EQ(catalog.lines().size(), start + 8) << "each re-link appends the whole text";
    catalog.Collect();
    EXPECT_EQ(catalog.lines().size(), 5u);
    const std::vector<std::string> expected{"listing ", "more", kRelinked, "TWO.LZH"};
    EXPECT_EQ(stored(), expected);
    EXPECT_EQ(catalog.ItemText(*other).front(), "x");
}

TEST_F(Relink, WithoutTheMarkerLinesNothingIsStored) {
    const TItemSpan span = item->span();
    const std::size_t size = catalog.lines().size();
    const std::vector<std::vector<std::string>> displays{
        {"scan report", "a line"},            // a scan wrote into the box
        {"x", kMarker, "OLD.LZH"},            // three lines only
        {"1", "2", kMarker + " ", "OLD.LZH"}, // marker with a trailing blank
        {"1", "2", kMarker, "OLD.L", "ZH"},   // the name line wrapped in the box
    };
    for (const auto& displayed : displays)
        EXPECT_FALSE(relinkItem(catalog, item, displayed, "NEW.ZIP"));
    EXPECT_FALSE(relinkItem(catalog, forum, shown(), "NEW.ZIP")) << "a forum is no item";
    EXPECT_FALSE(relinkItem(catalog, nullptr, shown(), "NEW.ZIP"));
    EXPECT_EQ(catalog.lines().size(), size);
    EXPECT_EQ(item->span(), span);
}

TEST(RelinkedLines, AnyNameStaysOneLine) {
    const std::string longName(500, 'n');
    const auto lines = relinkedLines({"1", "2", test::kFileName, "old"}, longName);
    ASSERT_TRUE(lines);
    EXPECT_EQ(lines->size(), 4u);
    EXPECT_EQ(lines->back(), longName);
}

} // namespace
} // namespace qbr
