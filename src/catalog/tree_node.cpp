#include "catalog/tree_node.h"

namespace qbr {

TreeNode::TreeNode(std::string text, TreeNode* parent)
    : text_(std::move(text)), parent_(parent), level_(parent ? parent->level_ + 1 : -1) {}

bool TreeNode::hasChildText(std::string_view text) const {
    if (!childTexts_) {
        childTexts_ = std::make_unique<std::unordered_multiset<std::string_view>>();
        childTexts_->reserve(children_.size());
        for (const auto& child : children_)
            childTexts_->insert(child->text_);
    }
    return childTexts_->count(text) != 0;
}

TreeNode* TreeNode::appendChild(std::string text) {
    auto node = std::make_unique<TreeNode>(std::move(text), this);
    node->row_ = childCount();
    children_.push_back(std::move(node));
    if (childTexts_)
        childTexts_->insert(children_.back()->text_);
    return children_.back().get();
}

void TreeNode::removeChild(int row) {
    if (childTexts_)
        childTexts_->erase(childTexts_->find(children_[static_cast<std::size_t>(row)]->text_));
    children_.erase(children_.begin() + row);
    for (int i = row; i < childCount(); ++i)
        children_[static_cast<std::size_t>(i)]->row_ = i;
}

void TreeNode::removeAllChildren() noexcept {
    // Unlinks level by level so that a very deep tree is not destroyed by deep recursion.
    std::vector<std::unique_ptr<TreeNode>> pending = std::move(children_);
    children_.clear();
    childTexts_.reset();
    while (!pending.empty()) {
        std::unique_ptr<TreeNode> node = std::move(pending.back());
        pending.pop_back();
        for (auto& child : node->children_)
            pending.push_back(std::move(child));
        node->children_.clear();
    }
}

std::size_t TreeNode::subtreeSize() const noexcept {
    std::size_t n = 1;
    forEachPreOrder(*this, [&](const TreeNode&) { ++n; });
    return n;
}

} // namespace qbr
