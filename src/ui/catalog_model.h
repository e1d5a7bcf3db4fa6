#pragma once

#include "catalog/catalog.h"

#include <QAbstractItemModel>
#include <QIcon>
#include <array>
#include <unordered_map>

namespace qbr::ui {

// The catalog tree as an item model: one column, a node's text decoded for display and its
// picture by image index (selected-image index while selected). The catalog stays the one
// source of truth; the model only shows it and reports its changes to the view.
class CatalogModel final : public QAbstractItemModel {
    Q_OBJECT

  public:
    // The pictures of ImageList1, by image index.
    CatalogModel(Catalog& catalog, std::array<QPixmap, 2> pictures, QObject* parent = nullptr);

    QModelIndex index(int row, int column, const QModelIndex& parent = {}) const override;
    QModelIndex parent(const QModelIndex& child) const override;
    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    bool hasChildren(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

    TreeNode* node(const QModelIndex& index) const;
    QModelIndex indexOf(const TreeNode* node) const;

    // Around a change of the whole catalog (the load).
    void beginReplace() { beginResetModel(); }
    void endReplace() { endResetModel(); }

    // Around a scan, which only appends forums, items and (to an empty tree) the root: the
    // model keeps showing the old child counts during the scan and then announces what was
    // appended, so the view keeps its expansion and selection.
    void beginAppending();
    void endAppending();

    // DeleteNode on the node behind the index, announced to the view; false when the rule
    // leaves the node alone.
    bool deleteNode(const QModelIndex& index);

    // For a node whose picture indices the detail pane changed.
    void nodeChanged(const QModelIndex& index);

  private:
    int shownChildCount(const TreeNode& node) const;
    const QIcon& icon(const TreeNode& node) const;

    Catalog& catalog_;
    // Icon by image index * 2 + selected-image index; other indices show no picture.
    std::array<QIcon, 4> icons_;
    // During a scan: the child counts the view knows, for the nodes that existed before it.
    std::unordered_map<const TreeNode*, int> frozenCounts_;
    bool appending_ = false;
};

} // namespace qbr::ui
