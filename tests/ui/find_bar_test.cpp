// The find bar's keys and the filter of the tree behind it, on the offscreen platform.
#include "posix/cp932_codec.h"
#include "ui/catalog_model.h"
#include "ui/find_bar.h"
#include "ui/pictures.h"
#include "ui/search_filter_model.h"

#include <QAbstractItemModelTester>
#include <QSignalSpy>
#include <QTest>
#include <gtest/gtest.h>

namespace qbr::test {
namespace {

std::string sjis(std::u16string_view text) {
    return platform::encodeCp932(text);
}

TEST(FindBar, KeysOfTheTextField) {
    QWidget window;
    ui::FindBar bar(&window);
    window.show();
    EXPECT_TRUE(bar.isHidden()) << "the designed layout is untouched until Ctrl+F";
    QSignalSpy typed(&bar, &ui::FindBar::queryChanged);
    QSignalSpy next(&bar, &ui::FindBar::nextRequested);
    QSignalSpy previous(&bar, &ui::FindBar::previousRequested);
    QSignalSpy closed(&bar, &ui::FindBar::closed);

    bar.openBar();
    EXPECT_TRUE(bar.isVisible());
    QTest::keyClicks(&bar.edit(), "lha");
    EXPECT_EQ(typed.count(), 3);
    EXPECT_EQ(typed.last().at(0).toString(), QStringLiteral("lha"));
    QTest::keyClick(&bar.edit(), Qt::Key_Return);
    QTest::keyClick(&bar.edit(), Qt::Key_F3);
    QTest::keyClick(&bar.edit(), Qt::Key_F3, Qt::ShiftModifier);
    EXPECT_EQ(next.count(), 2);
    EXPECT_EQ(previous.count(), 1);

    QTest::keyClick(&bar.edit(), Qt::Key_Escape);
    EXPECT_TRUE(bar.isHidden());
    EXPECT_EQ(closed.count(), 1);
    // The text stays for the next Ctrl+F, selected so that typing replaces it.
    bar.openBar();
    EXPECT_EQ(bar.text(), QStringLiteral("lha"));
    EXPECT_EQ(bar.edit().selectedText(), QStringLiteral("lha"));
}

struct FilterFixture {
    FilterFixture() {
        model.beginReplace();
        games = catalog.AddForum(sjis(u"ゲーム"));
        tools = catalog.AddForum("TOOLS");
        catalog.AddItem(*games, sjis(u"ﾊﾟｽﾞﾙ"), {sjis(u"落ち物パズル")});
        catalog.AddItem(*games, "Shooter", {"space"});
        catalog.AddItem(*tools, "LHA", {sjis(u"ぱずるの圧縮")});
        model.endReplace();
    }
    std::vector<std::string> shown() const {
        std::vector<std::string> texts;
        std::function<void(const QModelIndex&, int)> walk = [&](const QModelIndex& parent,
                                                                int depth) {
            for (int row = 0; row < filter.rowCount(parent); ++row) {
                const QModelIndex index = filter.index(row, 0, parent);
                texts.push_back(std::string(static_cast<std::size_t>(depth), ' ') +
                                filter.data(index).toString().toStdString());
                walk(index, depth + 1);
            }
        };
        walk({}, 0);
        return texts;
    }

    Catalog catalog;
    ui::CatalogModel model{catalog, ui::Pictures::treePictures()};
    ui::SearchFilterModel filter{model, catalog};
    QAbstractItemModelTester tester{&filter, QAbstractItemModelTester::FailureReportingMode::Fatal};
    TreeNode* games = nullptr;
    TreeNode* tools = nullptr;
};

TEST(SearchFilterModel, ShowsMatchingItemsAndTheirForums) {
    FilterFixture f;
    QSignalSpy changed(&f.filter, &ui::SearchFilterModel::matchesChanged);
    f.filter.setQuery(QStringLiteral(u"パズル"));
    EXPECT_EQ(f.shown(), (std::vector<std::string>{"Niftyserve-Library", " ゲーム", "  ﾊﾟｽﾞﾙ",
                                                   " TOOLS", "  LHA"}));
    EXPECT_EQ(f.filter.matchCount(), 2);
    ASSERT_EQ(changed.count(), 1);
    EXPECT_EQ(changed.last().at(0).toInt(), 2);

    // A key that leaves the same items leaves the tree (and the view's selection) alone.
    QSignalSpy resets(&f.filter, &QAbstractItemModel::modelReset);
    f.filter.setQuery(QStringLiteral(u"ぱずる"));
    EXPECT_EQ(resets.count(), 0);
    EXPECT_EQ(changed.count(), 2);

    f.filter.setQuery(QStringLiteral(u"パズル shooter"));
    EXPECT_EQ(resets.count(), 1);
    EXPECT_EQ(f.filter.matchCount(), 0);
    EXPECT_TRUE(f.shown().empty());

    f.filter.setQuery(QStringLiteral(u"  "));
    EXPECT_FALSE(f.filter.filtering());
    EXPECT_EQ(f.shown().size(), 6u);
}

TEST(SearchFilterModel, FollowsTheCatalogAfterAScanOrADelete) {
    FilterFixture f;
    f.filter.setQuery(QStringLiteral("lha"));
    ASSERT_EQ(f.filter.matchCount(), 1);
    f.model.beginAppending();
    f.catalog.AddItem(*f.games, "LHA Game", {"x"});
    f.model.endAppending();
    QTest::qWait(1); // the rebuild waits for the change to be over
    EXPECT_EQ(f.filter.matchCount(), 2);
    EXPECT_EQ(f.shown(), (std::vector<std::string>{"Niftyserve-Library", " ゲーム", "  LHA Game",
                                                   " TOOLS", "  LHA"}));

    ASSERT_TRUE(f.model.deleteNode(f.model.indexOf(f.tools->child(0))));
    QTest::qWait(1);
    EXPECT_EQ(f.filter.matchCount(), 1);
    EXPECT_EQ(f.shown(), (std::vector<std::string>{"Niftyserve-Library", " ゲーム", "  LHA Game"}));
}

TEST(SearchFilterModel, NextMatchInTreeOrderWrapsRound) {
    FilterFixture f;
    f.filter.setQuery(QStringLiteral(u"ぱずる"));
    const QModelIndex first = f.filter.nextMatch({});
    ASSERT_TRUE(first.isValid());
    EXPECT_EQ(f.model.node(f.filter.mapToSource(first)), f.games->child(0));
    const QModelIndex second = f.filter.nextMatch(first);
    EXPECT_EQ(f.model.node(f.filter.mapToSource(second)), f.tools->child(0));
    EXPECT_EQ(f.filter.nextMatch(second), first);
    EXPECT_EQ(f.filter.nextMatch(first, true), second);
    // From a forum: the first match after it.
    const QModelIndex toolsForum = f.filter.mapFromSource(f.model.indexOf(f.tools));
    EXPECT_EQ(f.filter.nextMatch(toolsForum), second);

    f.filter.setQuery(QStringLiteral("nothing"));
    EXPECT_FALSE(f.filter.nextMatch({}).isValid());
}

TEST(SearchFilterModel, MatchRangesForTheHighlight) {
    FilterFixture f;
    f.filter.setQuery(QStringLiteral(u"ぱずる 圧縮"));
    const QString memo = QStringLiteral(u"ﾊﾟｽﾞﾙを圧縮、パズル");
    const auto ranges = f.filter.matchRanges(memo);
    ASSERT_EQ(ranges.size(), 3u);
    EXPECT_EQ(memo.mid(ranges[0].first, ranges[0].second), QStringLiteral(u"ﾊﾟｽﾞﾙ"));
    EXPECT_EQ(memo.mid(ranges[1].first, ranges[1].second), QStringLiteral(u"圧縮"));
    EXPECT_EQ(memo.mid(ranges[2].first, ranges[2].second), QStringLiteral(u"パズル"));
}

} // namespace
} // namespace qbr::test
