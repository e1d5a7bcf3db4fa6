#include "ui/catalog_model.h"

#include "ui/display_text.h"
#include "ui/pictures.h"

namespace qbr::ui {

CatalogModel::CatalogModel(Catalog& catalog, std::array<QPixmap, 2> pictures, QObject* parent)
    : QAbstractItemModel(parent), catalog_(catalog) {
    for (int normal = 0; normal < 2; ++normal) {
        for (int selected = 0; selected < 2; ++selected) {
            QIcon& icon = icons_[static_cast<std::size_t>(normal * 2 + selected)];
            Pictures::addSharp(icon, pictures[static_cast<std::size_t>(normal)].toImage(),
                               QIcon::Normal);
            Pictures::addSharp(icon, pictures[static_cast<std::size_t>(selected)].toImage(),
                               QIcon::Selected);
        }
    }
}

TreeNode* CatalogModel::node(const QModelIndex& index) const {
    return index.isValid() ? static_cast<TreeNode*>(index.internalPointer()) : &catalog_.top();
}

QModelIndex CatalogModel::indexOf(const TreeNode* node) const {
    if (node == nullptr || node == &catalog_.top())
        return {};
    return createIndex(node->row(), 0, const_cast<TreeNode*>(node));
}

int CatalogModel::shownChildCount(const TreeNode& node) const {
    if (appending_) {
        const auto frozen = frozenCounts_.find(&node);
        if (frozen != frozenCounts_.end())
            return frozen->second;
    }
    return node.childCount();
}

QModelIndex CatalogModel::index(int row, int column, const QModelIndex& parent) const {
    if (column != 0 || row < 0)
        return {};
    const TreeNode* holder = node(parent);
    if (row >= shownChildCount(*holder))
        return {};
    return createIndex(row, 0, holder->child(row));
}

QModelIndex CatalogModel::parent(const QModelIndex& child) const {
    if (!child.isValid())
        return {};
    return indexOf(node(child)->parent());
}

int CatalogModel::rowCount(const QModelIndex& parent) const {
    if (parent.isValid() && parent.column() != 0)
        return 0;
    return shownChildCount(*node(parent));
}

int CatalogModel::columnCount(const QModelIndex&) const {
    return 1;
}

bool CatalogModel::hasChildren(const QModelIndex& parent) const {
    return rowCount(parent) > 0;
}

const QIcon& CatalogModel::icon(const TreeNode& node) const {
    static const QIcon none;
    const int normal = node.imageIndex();
    const int selected = node.selectedIndex();
    if (normal < 0 || normal > 1 || selected < 0 || selected > 1)
        return none;
    return icons_[static_cast<std::size_t>(normal * 2 + selected)];
}

QVariant CatalogModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid())
        return {};
    const TreeNode& shown = *node(index);
    switch (role) {
    case Qt::DisplayRole:
        return displayText(shown.text());
    case Qt::DecorationRole:
        return icon(shown);
    default:
        return {};
    }
}

Qt::ItemFlags CatalogModel::flags(const QModelIndex& index) const {
    if (!index.isValid())
        return Qt::NoItemFlags;
    // Captions are read-only: no editing in place.
    return Qt::ItemIsEnabled | Qt::ItemIsSelectable;
}

void CatalogModel::beginAppending() {
    frozenCounts_.clear();
    // A scan appends forums to the root (or a root to an empty tree) and items to forums;
    // these are the only counts that can grow.
    const TreeNode& top = catalog_.top();
    frozenCounts_[&top] = top.childCount();
    for (int i = 0; i < top.childCount(); ++i) {
        const TreeNode& topLevel = *top.child(i);
        frozenCounts_[&topLevel] = topLevel.childCount();
        for (int j = 0; j < topLevel.childCount(); ++j)
            frozenCounts_[topLevel.child(j)] = topLevel.child(j)->childCount();
    }
    appending_ = true;
}

void CatalogModel::endAppending() {
    if (!appending_)
        return;
    // Parents before children, so that a node is announced before rows below it are.
    const TreeNode& top = catalog_.top();
    const auto announce = [this](const TreeNode& holder) {
        const auto frozen = frozenCounts_.find(&holder);
        if (frozen == frozenCounts_.end())
            return;
        const int before = frozen->second;
        const int now = holder.childCount();
        if (now > before) {
            beginInsertRows(indexOf(&holder), before, now - 1);
            frozenCounts_.erase(frozen);
            endInsertRows();
        } else {
            frozenCounts_.erase(frozen);
        }
    };
    announce(top);
    for (int i = 0; i < top.childCount(); ++i) {
        const TreeNode& topLevel = *top.child(i);
        announce(topLevel);
        for (int j = 0; j < topLevel.childCount(); ++j)
            announce(*topLevel.child(j));
    }
    frozenCounts_.clear();
    appending_ = false;
}

bool CatalogModel::deleteNode(const QModelIndex& index) {
    if (!index.isValid())
        return false;
    TreeNode& target = *node(index);
    if (!isDeletable(target))
        return false;
    const int row = target.row();
    beginRemoveRows(index.parent(), row, row);
    const bool removed = catalog_.DeleteNode(target);
    endRemoveRows();
    return removed;
}

void CatalogModel::nodeChanged(const QModelIndex& index) {
    emit dataChanged(index, index, {Qt::DecorationRole});
}

} // namespace qbr::ui
