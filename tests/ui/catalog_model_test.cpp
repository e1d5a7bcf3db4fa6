// The catalog as an item model: checked by Qt's model tester through loads, scans and deletes.
#include "catalog/catalog_files.h"
#include "ui/catalog_model.h"
#include "ui/pictures.h"

#include <QAbstractItemModelTester>
#include <QSignalSpy>
#include <gtest/gtest.h>

namespace qbr::test {
namespace {

struct ModelFixture {
    Catalog catalog;
    ui::CatalogModel model{catalog, ui::Pictures::treePictures()};
    QAbstractItemModelTester tester{&model, QAbstractItemModelTester::FailureReportingMode::Fatal};

    QModelIndex at(std::initializer_list<int> path) const {
        QModelIndex index;
        for (int row : path)
            index = model.index(row, 0, index);
        return index;
    }
    std::string text(const QModelIndex& index) const {
        return model.data(index).toString().toStdString();
    }
};

TEST(CatalogModel, ShowsLevelsInTheOrderTheyWereAdded) {
    ModelFixture f;
    f.model.beginReplace();
    TreeNode* zeta = f.catalog.AddForum("ZETA");
    TreeNode* alpha = f.catalog.AddForum("ALPHA");
    f.catalog.AddItem(*zeta, "b", {"b1"});
    f.catalog.AddItem(*zeta, "a", {"a1"});
    f.catalog.AddItem(*alpha, "c", {"c1"});
    f.model.endReplace();

    ASSERT_EQ(f.model.rowCount(), 1);
    EXPECT_EQ(f.text(f.at({0})), "Niftyserve-Library");
    ASSERT_EQ(f.model.rowCount(f.at({0})), 2);
    EXPECT_EQ(f.text(f.at({0, 0})), "ZETA");
    EXPECT_EQ(f.text(f.at({0, 1})), "ALPHA");
    EXPECT_EQ(f.text(f.at({0, 0, 0})), "b");
    EXPECT_EQ(f.text(f.at({0, 0, 1})), "a");
    EXPECT_EQ(f.model.node(f.at({0, 1, 0}))->level(), 2);
    EXPECT_EQ(f.model.flags(f.at({0, 0})) & Qt::ItemIsEditable, Qt::NoItemFlags);
}

TEST(CatalogModel, ShiftJisTextIsDecodedForDisplayOnly) {
    ModelFixture f;
    f.model.beginReplace();
    // "フォーラム" then a byte that is no character: shown, and kept as it was.
    f.catalog.AddForum("\x83\x74\x83\x48\x81\x5B\x83\x89\x83\x80\xA0");
    f.model.endReplace();
    const QString shown = f.model.data(f.at({0, 0})).toString();
    EXPECT_TRUE(shown.startsWith(QStringLiteral(u"フォーラム")));
    EXPECT_EQ(f.model.node(f.at({0, 0}))->text(), "\x83\x74\x83\x48\x81\x5B\x83\x89\x83\x80\xA0");
}

TEST(CatalogModel, PictureFollowsImageAndSelectedImageIndex) {
    ModelFixture f;
    f.model.beginReplace();
    TreeNode* forum = f.catalog.AddForum("F");
    TreeNode* item = f.catalog.AddItem(*forum, "i", {"x"});
    f.model.endReplace();
    const auto pictures = ui::Pictures::treePictures();
    const auto image = [&](const QModelIndex& index, QIcon::Mode mode) {
        return qvariant_cast<QIcon>(f.model.data(index, Qt::DecorationRole))
            .pixmap(16, 16, mode)
            .toImage()
            .convertToFormat(QImage::Format_ARGB32);
    };
    const QImage closed = pictures[0].toImage().convertToFormat(QImage::Format_ARGB32);
    const QImage open = pictures[1].toImage().convertToFormat(QImage::Format_ARGB32);
    const QModelIndex itemIndex = f.at({0, 0, 0});
    EXPECT_EQ(image(itemIndex, QIcon::Normal), closed);
    EXPECT_EQ(image(itemIndex, QIcon::Selected), closed);
    // What the detail pane gives an item it shows: closed, and open while selected.
    item->setSelectedIndex(1);
    f.model.nodeChanged(itemIndex);
    EXPECT_EQ(image(itemIndex, QIcon::Normal), closed);
    EXPECT_EQ(image(itemIndex, QIcon::Selected), open);
}

TEST(CatalogModel, ScanAppendsAreAnnouncedAfterTheScan) {
    ModelFixture f;
    f.model.beginReplace();
    TreeNode* old = f.catalog.AddForum("OLD");
    f.catalog.AddItem(*old, "o1", {"x"});
    f.model.endReplace();
    QSignalSpy inserted(&f.model, &QAbstractItemModel::rowsInserted);

    f.model.beginAppending();
    f.catalog.AddItem(*old, "o2", {"y"});
    TreeNode* fresh = f.catalog.AddForum("NEW");
    f.catalog.AddItem(*fresh, "n1", {"z"});
    // During the scan the view still sees the tree it knew.
    EXPECT_EQ(f.model.rowCount(f.at({0})), 1);
    EXPECT_EQ(f.model.rowCount(f.at({0, 0})), 1);
    f.model.endAppending();

    EXPECT_EQ(inserted.count(), 2);
    EXPECT_EQ(f.model.rowCount(f.at({0})), 2);
    EXPECT_EQ(f.model.rowCount(f.at({0, 0})), 2);
    EXPECT_EQ(f.text(f.at({0, 1, 0})), "n1");
}

TEST(CatalogModel, ScanIntoATreeWithoutNodesBringsTheRootBack) {
    ModelFixture f;
    f.model.beginReplace();
    f.catalog.top().removeAllChildren();
    f.model.endReplace();
    ASSERT_EQ(f.model.rowCount(), 0);
    f.model.beginAppending();
    TreeNode* forum = f.catalog.AddForum("F");
    f.catalog.AddItem(*forum, "i", {"x"});
    f.model.endAppending();
    ASSERT_EQ(f.model.rowCount(), 1);
    EXPECT_EQ(f.text(f.at({0, 0, 0})), "i");
}

TEST(CatalogModel, DeleteFollowsTheCatalogsRule) {
    ModelFixture f;
    f.model.beginReplace();
    TreeNode* full = f.catalog.AddForum("FULL");
    f.catalog.AddForum("EMPTY");
    f.catalog.AddItem(*full, "i1", {"x"});
    f.catalog.AddItem(*full, "i2", {"y"});
    f.model.endReplace();
    EXPECT_FALSE(f.model.deleteNode(f.at({0})));    // the root
    EXPECT_FALSE(f.model.deleteNode(f.at({0, 0}))); // a forum with items
    EXPECT_EQ(f.model.rowCount(), 1);
    EXPECT_EQ(f.model.rowCount(f.at({0})), 2);
    EXPECT_EQ(f.model.rowCount(f.at({0, 0})), 2);
    EXPECT_TRUE(f.model.deleteNode(f.at({0, 1})));    // an empty forum
    EXPECT_TRUE(f.model.deleteNode(f.at({0, 0, 0}))); // an item
    EXPECT_EQ(f.model.rowCount(f.at({0})), 1);
    ASSERT_EQ(f.model.rowCount(f.at({0, 0})), 1);
    EXPECT_EQ(f.text(f.at({0, 0, 0})), "i2");
    EXPECT_TRUE(f.model.deleteNode(f.at({0, 0, 0})));
    EXPECT_TRUE(f.model.deleteNode(f.at({0, 0}))); // emptied, now it goes
    EXPECT_EQ(f.model.rowCount(f.at({0})), 0);
}

TEST(CatalogModel, DeeperNodesFromAFileAreShownAndKept) {
    ModelFixture f;
    f.model.beginReplace();
    readTree(f.catalog, "R\r\n\tF\r\n\t\tI\r\n\t\t\tDEEP\r\n");
    f.model.endReplace();
    const QModelIndex deep = f.at({0, 0, 0, 0});
    ASSERT_TRUE(deep.isValid());
    EXPECT_EQ(f.text(deep), "DEEP");
    EXPECT_FALSE(f.model.deleteNode(deep));
    EXPECT_EQ(f.model.rowCount(f.at({0, 0, 0})), 1);
}

} // namespace
} // namespace qbr::test
