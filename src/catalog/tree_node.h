#pragma once

#include "catalog/item_span.h"

#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_set>
#include <vector>

namespace qbr {

// One node of the catalog tree. Its text never changes after creation; children are only
// appended at the end or removed. Item nodes (level 2) carry one TItemSpan.
class TreeNode {
  public:
    TreeNode(std::string text, TreeNode* parent);
    ~TreeNode() { removeAllChildren(); }
    TreeNode(const TreeNode&) = delete;
    TreeNode& operator=(const TreeNode&) = delete;

    const std::string& text() const noexcept { return text_; }
    // Number of ancestors: 0 for a top-level node. The holder of the top-level nodes is -1.
    int level() const noexcept { return level_; }
    // The parent, or the holder of the top-level nodes for a top-level node.
    TreeNode* parent() const noexcept { return parent_; }
    // Position among the parent's children.
    int row() const noexcept { return row_; }

    int childCount() const noexcept { return static_cast<int>(children_.size()); }
    bool hasChildren() const noexcept { return !children_.empty(); }
    TreeNode* child(int row) const noexcept {
        return children_[static_cast<std::size_t>(row)].get();
    }
    TreeNode* lastChild() const noexcept {
        return children_.empty() ? nullptr : children_.back().get();
    }

    // Whether a child has this text. The first call builds an index of the children's texts,
    // kept from then on, so that filing thousands of items into one forum stays linear.
    bool hasChildText(std::string_view text) const;

    TreeNode* appendChild(std::string text);
    void removeChild(int row);
    void removeAllChildren() noexcept;

    int imageIndex() const noexcept { return imageIndex_; }
    int selectedIndex() const noexcept { return selectedIndex_; }
    void setImageIndex(int index) noexcept { imageIndex_ = index; }
    void setSelectedIndex(int index) noexcept { selectedIndex_ = index; }

    bool hasSpan() const noexcept { return span_.has_value(); }
    // The span, or an empty one for an item that lost it (a load stopped part-way).
    TItemSpan span() const noexcept { return span_.value_or(TItemSpan{}); }
    void setSpan(TItemSpan span) noexcept { span_ = span; }
    void clearSpan() noexcept { span_.reset(); }

    // Number of nodes in this node's subtree, itself included.
    std::size_t subtreeSize() const noexcept;

  private:
    std::string text_;
    TreeNode* parent_;
    std::vector<std::unique_ptr<TreeNode>> children_;
    std::optional<TItemSpan> span_;
    // Views of the children's texts (which never change and never move), built on demand.
    mutable std::unique_ptr<std::unordered_multiset<std::string_view>> childTexts_;
    int level_;
    int row_ = 0;
    int imageIndex_ = 0;
    int selectedIndex_ = 0;
};

// The delete rule: an item, or a forum that holds no item. The root, and a forum with items,
// stay. The catalog's DeleteNode, the tree's model and the delete button all follow it.
constexpr bool isDeletable(int level, bool hasChildren) noexcept {
    return level == 2 || (level == 1 && !hasChildren);
}
inline bool isDeletable(const TreeNode& node) noexcept {
    return isDeletable(node.level(), node.hasChildren());
}

// Visits a subtree in tree order (depth-first, pre-order). Iterative: a damaged catalog file
// can make a tree as deep as it has lines.
template <typename Node, typename Visit> void forEachPreOrder(Node& top, Visit&& visit) {
    std::vector<std::pair<Node*, int>> stack;
    for (int i = 0; i < top.childCount(); ++i) {
        stack.clear();
        stack.emplace_back(top.child(i), 0);
        visit(*top.child(i));
        while (!stack.empty()) {
            auto& [node, next] = stack.back();
            if (next >= node->childCount()) {
                stack.pop_back();
                continue;
            }
            Node* child = node->child(next++);
            visit(*child);
            stack.emplace_back(child, 0);
        }
    }
}

} // namespace qbr
