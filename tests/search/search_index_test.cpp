#include "catalog/catalog.h"
#include "posix/cp932_codec.h"
#include "search/romaji.h"
#include "search/search_index.h"
#include "search/search_query.h"
#include "support/sjis.h"

#include <gtest/gtest.h>

namespace qbr::search {
namespace {

std::string sjis(std::u16string_view text) {
    return platform::encodeCp932(text);
}

// A small catalog with one item for each folding rule.
class SearchFixture : public ::testing::Test {
  protected:
    SearchFixture() {
        TreeNode* games = catalog.AddForum(sjis(u"ゲーム"));
        TreeNode* tools = catalog.AddForum("TOOLS");
        catalog.AddItem(
            *games, sjis(u"ﾊﾟｽﾞﾙ ｹﾞｰﾑ"),
            {sjis(u"落ち物パズルです"), sjis(u"ＬＨＡで圧縮"), test::kFileName, "PUZZLE.LZH"});
        catalog.AddItem(*games, sjis(u"ハズル"), {"no voiced sign"});
        catalog.AddItem(*tools, "LHA Utility",
                        {sjis(u"アーカイバ"), test::kFileName + "$", "LHA.EXE"});
        catalog.AddItem(*tools, sjis(u"メア"), {sjis(u"ﾁｪｯｸ")});
        catalog.AddItem(*tools, sjis(u"ソフト"), {"tool"});
        catalog.AddItem(*tools, sjis(u"らーめんタイマー"), {"timer"});
        catalog.AddItem(*tools,
                        "A\x80"
                        "B",
                        {"raw byte"});
    }

    // The titles of the matching items, decoded, joined by "|".
    std::string titles(std::string_view typed, const Romaji* romaji = nullptr) {
        const SearchIndex index(catalog);
        std::string out;
        for (std::size_t i : index.find(parseQuery(typed, textFolder(), romaji))) {
            if (!out.empty())
                out += '|';
            out += platform::cp932ToUtf8(index.item(i).node->text());
        }
        return out;
    }

    Catalog catalog;
};

TEST_F(SearchFixture, FoldingRules) {
    const struct {
        const char* query;
        const char* titles;
    } cases[] = {
        // half-width, full-width, hiragana and katakana are one
        {"パズル", "ﾊﾟｽﾞﾙ ｹﾞｰﾑ"},
        {"ぱずる", "ﾊﾟｽﾞﾙ ｹﾞｰﾑ"},
        {"ﾊﾟｽﾞﾙ", "ﾊﾟｽﾞﾙ ｹﾞｰﾑ"},
        {"はずる", "ハズル"}, // a voiced mark is no variant: パ is not ハ
        // ASCII and full-width Latin in any case; the file's name is listing text
        {"lha", "ﾊﾟｽﾞﾙ ｹﾞｰﾑ|LHA Utility"},
        {"ＬＨＡ", "ﾊﾟｽﾞﾙ ｹﾞｰﾑ|LHA Utility"},
        {"lHa.ExE", "LHA Utility"},
        // small kana as their large kana, in either script and width
        {"ちぇっく", "メア"},
        {"チエツク", "メア"},
        // the prolonged sound mark as the vowel it lengthens
        {"ラーメン", "らーめんタイマー"},
        {"らあめん", "らーめんタイマー"},
        {"ラメン", ""},
        {"タイマア", "らーめんタイマー"},
        // the forum's name matches all of its items
        {"げえむ", "ﾊﾟｽﾞﾙ ｹﾞｰﾑ|ハズル"},
        {"tools", "LHA Utility|メア|ソフト|らーめんタイマー|A\xEF\xBF\xBD"
                  "B"},
        // never across characters: メア is 83 81 83 41, and 81 83 is "＜"; ソ is 83 5C
        {"＜", ""},
        {"<", ""},
        {"\\", ""},
        {"ab", ""}, // an undecodable byte stands between A and B
        {"a", "ﾊﾟｽﾞﾙ ｹﾞｰﾑ|LHA Utility|A\xEF\xBF\xBD"
              "B"},
        // the marker lines are in every item and are not searched
        {"ファイル名", ""},
        // several words must all match; an ideographic space is a blank too
        {"パズル lha", "ﾊﾟｽﾞﾙ ｹﾞｰﾑ"},
        {"パズル　lha", "ﾊﾟｽﾞﾙ ｹﾞｰﾑ"},
        {"  lha   アーカイバ ", "LHA Utility"},
        {"パズル アーカイバ", ""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(titles(c.query), c.titles) << "query " << c.query;
}

TEST_F(SearchFixture, EmptyQueryMatchesEveryItemInTreeOrder) {
    const SearchIndex index(catalog);
    const std::vector<std::size_t> all = index.find(parseQuery(" \t", textFolder()));
    ASSERT_EQ(all.size(), 7u);
    // Positions as `list` numbers the nodes: root 0, forum 1, items 2 and 3, forum 4, ...
    EXPECT_EQ(index.item(all[0]).position, 2u);
    EXPECT_EQ(index.item(all[1]).position, 3u);
    EXPECT_EQ(index.item(all[2]).position, 5u);
    EXPECT_EQ(index.forumNode(index.item(all[2]).forum)->text(), "TOOLS");
}

TEST_F(SearchFixture, RomajiThroughMigemo) {
    if (!Romaji::available())
        GTEST_SKIP() << "built without C/Migemo";
    const Romaji romaji;
    EXPECT_EQ(titles("pazuru", &romaji), "ﾊﾟｽﾞﾙ ｹﾞｰﾑ");
    EXPECT_EQ(titles("ge-mu", &romaji), "ﾊﾟｽﾞﾙ ｹﾞｰﾑ|ハズル"); // "-" is the prolonged sound mark
    EXPECT_EQ(titles("pazuru lha", &romaji), "ﾊﾟｽﾞﾙ ｹﾞｰﾑ");
    // Romaji stays Latin text as well, and only when asked for.
    EXPECT_EQ(titles("utility", &romaji), "LHA Utility");
    EXPECT_EQ(titles("pazuru"), "");
}

// In a larger catalog, the words after the first look only at the items still matching.
TEST(SearchIndex, LaterWordsOverTheItemsLeft) {
    Catalog catalog;
    TreeNode* plain = catalog.AddForum("plain");
    TreeNode* beta = catalog.AddForum("beta forum");
    for (int i = 0; i < 40; ++i)
        catalog.AddItem(*plain, "item " + std::to_string(i), {"beta " + std::to_string(i)});
    catalog.AddItem(*plain, "alpha one", {"beta"});
    catalog.AddItem(*plain, "alpha two", {"gamma"});
    catalog.AddItem(*beta, "alpha three", {"gamma"});
    catalog.AddItem(*beta, "item beta", {"gamma"});
    const SearchIndex index(catalog);
    std::vector<std::string> found;
    for (std::size_t i : index.find(parseQuery("alpha beta", textFolder())))
        found.push_back(index.item(i).node->text());
    EXPECT_EQ(found, (std::vector<std::string>{"alpha one", "alpha three"}));
    EXPECT_EQ(index.find(parseQuery("alpha beta gamma", textFolder())).size(), 1u);
}

TEST(SearchIndex, ADamagedSpanKeepsTheTitleSearchable) {
    Catalog catalog;
    TreeNode* forum = catalog.AddForum("F");
    TreeNode* item = catalog.AddItem(*forum, "Broken", {"x"});
    item->setSpan({5, 2});
    const SearchIndex index(catalog);
    ASSERT_TRUE(index.damage().has_value());
    EXPECT_EQ(index.find(parseQuery("broken", textFolder())).size(), 1u);
}

TEST(TextFolder, FindInGivesTheCharactersThatFoldedIntoTheMatch) {
    const TextFolder& folder = textFolder();
    const std::u16string line = u"落ち物ﾊﾟｽﾞﾙとぱずる";
    const auto ranges = folder.findIn(line, folder.foldUtf8("パズル"));
    ASSERT_EQ(ranges.size(), 2u);
    EXPECT_EQ(line.substr(ranges[0].begin, ranges[0].end - ranges[0].begin), u"ﾊﾟｽﾞﾙ");
    EXPECT_EQ(line.substr(ranges[1].begin, ranges[1].end - ranges[1].begin), u"ぱずる");
    EXPECT_TRUE(folder.findIn(u"ハズル", folder.foldUtf8("パズル")).empty());
}

TEST(TextFolder, UndecodableBytesMatchOnlyThemselves) {
    const TextFolder& folder = textFolder();
    const std::string folded = folder.foldCp932("A\x80"
                                                "B");
    EXPECT_EQ(folded, "a\xED\xB2\x80"
                      "b");
    EXPECT_EQ(folder.foldCp932("\x80"), folder.foldCp932("\x80"));
    EXPECT_NE(folder.foldCp932("\x80"), folder.foldCp932("\x81"));
}

} // namespace
} // namespace qbr::search
