#include "catalog/catalog.h"
#include "catalog/error.h"
#include "catalog/messages.h"

#include <gtest/gtest.h>

namespace qbr {
namespace {

std::vector<std::string> texts(const Catalog& catalog, const TreeNode& item) {
    std::vector<std::string> out;
    for (std::string_view line : catalog.ItemText(item))
        out.emplace_back(line);
    return out;
}

std::vector<std::string> allLines(const Catalog& catalog) {
    std::vector<std::string> out;
    for (std::size_t i = 0; i < catalog.lines().size(); ++i)
        out.emplace_back(catalog.lines()[i]);
    return out;
}

TEST(CatalogModel, StartsWithTheRootAloneAndUnmodified) {
    Catalog catalog;
    ASSERT_NE(catalog.root(), nullptr);
    EXPECT_EQ(catalog.root()->text(), "Niftyserve-Library");
    EXPECT_EQ(catalog.root()->level(), 0);
    EXPECT_EQ(catalog.nodeCount(), 1u);
    EXPECT_FALSE(catalog.Modified());
    EXPECT_TRUE(catalog.lines().empty());
}

TEST(CatalogModel, AddItemFilesOnceAndSetsModified) {
    Catalog catalog;
    TreeNode* forum = catalog.AddForum("FONE");
    EXPECT_FALSE(catalog.Modified()) << "a forum alone is no change to save";
    EXPECT_EQ(catalog.FindForum("FONE"), forum);
    EXPECT_EQ(catalog.FindForum("FTWO"), nullptr);

    TreeNode* a = catalog.AddItem(*forum, "A", {"a1", "a2"});
    ASSERT_NE(a, nullptr);
    EXPECT_TRUE(catalog.Modified());
    EXPECT_EQ(a->level(), 2);
    EXPECT_EQ(a->span(), (TItemSpan{0, 2}));
    EXPECT_EQ(texts(catalog, *a), (std::vector<std::string>{"a1", "a2"}));

    Catalog other;
    TreeNode* f1 = other.AddForum("F1");
    TreeNode* f2 = other.AddForum("F2");
    ASSERT_NE(other.AddItem(*f1, "T", {"x"}), nullptr);
    EXPECT_EQ(other.AddItem(*f1, "T", {"y", "z"}), nullptr) << "same title, same forum";
    EXPECT_EQ(other.lines().size(), 1u);
    EXPECT_NE(other.AddItem(*f2, "T", {"y"}), nullptr) << "same title, other forum";
}

TEST(CatalogModel, DuplicateTitleLeavesModifiedClear) {
    Catalog catalog;
    TreeNode* forum = catalog.AddForum("F");
    catalog.AddItem(*forum, "T", {"x"});
    Catalog fresh;
    TreeNode* f = fresh.AddForum("F");
    // A forum's items come from a loaded catalog in real runs; build one without Modified.
    f->appendChild("T")->setSpan({0, 0});
    EXPECT_EQ(fresh.AddItem(*f, "T", {"x"}), nullptr);
    EXPECT_FALSE(fresh.Modified());
}

TEST(CatalogModel, DeleteNodeRules) {
    Catalog catalog;
    TreeNode* full = catalog.AddForum("FULL");
    TreeNode* item = catalog.AddItem(*full, "I", {"i"});
    TreeNode* empty = catalog.AddForum("EMPTY");
    TreeNode* deep = item->appendChild("deeper");

    Catalog untouched;
    EXPECT_FALSE(untouched.DeleteNode(*untouched.root()));
    TreeNode* withItems = untouched.AddForum("F");
    withItems->appendChild("kept")->setSpan({0, 0});
    EXPECT_FALSE(untouched.DeleteNode(*withItems));
    EXPECT_FALSE(untouched.Modified()) << "refused deletes change nothing";

    EXPECT_FALSE(catalog.DeleteNode(*deep)) << "nodes below level 2 are left alone";
    EXPECT_FALSE(catalog.DeleteNode(*catalog.root()));
    EXPECT_FALSE(catalog.DeleteNode(*full));
    EXPECT_TRUE(catalog.DeleteNode(*item));
    EXPECT_EQ(full->childCount(), 0);
    EXPECT_TRUE(catalog.DeleteNode(*full)) << "a forum emptied item by item can go";
    EXPECT_TRUE(catalog.DeleteNode(*empty));
    EXPECT_EQ(catalog.nodeCount(), 1u);
    EXPECT_EQ(catalog.lines().size(), 1u) << "lines stay until Collect";
}

TEST(CatalogModel, CollectLaysTextsOutInTreeOrder) {
    Catalog catalog;
    TreeNode* f1 = catalog.AddForum("F1");
    TreeNode* f2 = catalog.AddForum("F2");
    TreeNode* a = catalog.AddItem(*f1, "A", {"a1", "a2"});
    TreeNode* b = catalog.AddItem(*f1, "B", {"b1"});
    TreeNode* c = catalog.AddItem(*f2, "C", {"c1", "c2", "c3"});
    TreeNode* d = catalog.AddItem(*f1, "D", {"d1"}); // filed under F1 after F2's items
    catalog.ReplaceItemText(*a, {"a1", "a2", "new"});
    ASSERT_TRUE(catalog.DeleteNode(*b));
    EXPECT_EQ(a->span(), (TItemSpan{7, 3})) << "a re-linked text goes to the end";

    catalog.Collect();
    EXPECT_EQ(allLines(catalog),
              (std::vector<std::string>{"a1", "a2", "new", "d1", "c1", "c2", "c3"}));
    EXPECT_EQ(a->span(), (TItemSpan{0, 3}));
    EXPECT_EQ(d->span(), (TItemSpan{3, 1}));
    EXPECT_EQ(c->span(), (TItemSpan{4, 3}));
    EXPECT_EQ(texts(catalog, *c), (std::vector<std::string>{"c1", "c2", "c3"}));

    Catalog none;
    none.AddForum("F");
    none.Collect();
    EXPECT_TRUE(none.lines().empty());
}

TEST(CatalogModel, DamagedSpansRaiseTheListIndexErrorWithThePosition) {
    struct Case {
        TItemSpan span;
        bool error;
        std::int64_t position; // named by the error: the first line that cannot be read
    };
    const Case cases[] = {
        {{0, 2}, false, 0}, {{1, 1}, false, 0}, {{2, 0}, false, 0},  {{7, -3}, false, 0},
        {{1, 2}, true, 2},  {{5, 1}, true, 5},  {{-1, 1}, true, -1}, {{0, 2147483647}, true, 2},
    };
    for (const Case& c : cases) {
        Catalog catalog;
        TreeNode* forum = catalog.AddForum("F");
        TreeNode* item = catalog.AddItem(*forum, "I", {"x", "y"});
        item->setSpan(c.span);
        SCOPED_TRACE(std::to_string(c.span.First) + "," + std::to_string(c.span.Count));
        if (!c.error) {
            EXPECT_NO_THROW(catalog.ItemText(*item));
            EXPECT_NO_THROW(catalog.Collect());
            continue;
        }
        try {
            catalog.ItemText(*item);
            ADD_FAILURE() << "no error";
        } catch (const Error& e) {
            EXPECT_EQ(e.text(), msg::listIndexMessage(c.position));
        }
        const std::vector<std::string> before = allLines(catalog);
        EXPECT_THROW(catalog.Collect(), Error);
        EXPECT_EQ(allLines(catalog), before) << "a failed compaction changes nothing";
        EXPECT_EQ(item->span(), c.span);
    }
}

TEST(CatalogModel, ItemsWithoutSpanAreReadAsEmptyAndGetOneOnCollect) {
    Catalog catalog;
    TreeNode* forum = catalog.AddForum("F");
    TreeNode* bare = forum->appendChild("bare");
    TreeNode* item = catalog.AddItem(*forum, "I", {"x"});
    EXPECT_TRUE(catalog.ItemText(*bare).empty());
    catalog.Collect();
    EXPECT_TRUE(bare->hasSpan());
    EXPECT_EQ(bare->span(), (TItemSpan{0, 0}));
    EXPECT_EQ(item->span(), (TItemSpan{0, 1}));
    forum->appendChild("bare2");
    EXPECT_TRUE(catalog.DeleteNode(*forum->child(2)));
}

TEST(CatalogModel, TextsThatTheFilesCannotCarryAreMadeStorable) {
    struct Case {
        std::string in, node, line;
    };
    const Case cases[] = {
        {"plain", "plain", "plain"},
        {" lead", "\x81\x40lead", " lead"},
        {"\t\tx", "\x81\x40\x81\x40x", "\t\tx"},
        {"a\nb", "ab", "ab"},
        {std::string("a\0b", 3), "ab", "ab"},
        {"a\rb", "ab", "ab"},
        {"trail ", "trail ", "trail "},
        {std::string("\0\n x", 4), "\x81\x40x", " x"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(Catalog::nodeText(c.in), c.node) << c.in;
        EXPECT_EQ(Catalog::storedLine(c.in), c.line) << c.in;
    }
    Catalog catalog;
    TreeNode* forum = catalog.AddForum(" ABC");
    EXPECT_EQ(forum->text(), "\x81\x40"
                             "ABC");
    EXPECT_EQ(catalog.FindForum(" ABC"), forum) << "found again under the name it was added with";
    catalog.AddItem(*forum, "T", {"x\ny"});
    EXPECT_EQ(catalog.lines()[0], "xy");
}

TEST(CatalogModel, AddForumWithoutRootRestoresTheRoot) {
    Catalog catalog;
    catalog.top().removeAllChildren();
    TreeNode* forum = catalog.AddForum("F");
    ASSERT_NE(catalog.root(), nullptr);
    EXPECT_EQ(catalog.root()->text(), "Niftyserve-Library");
    EXPECT_EQ(forum->parent(), catalog.root());
    EXPECT_EQ(forum->level(), 1);
}

} // namespace
} // namespace qbr
