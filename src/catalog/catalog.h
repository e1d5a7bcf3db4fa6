#pragma once

#include "catalog/line_store.h"
#include "catalog/tree_node.h"

#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace qbr {

// The catalog: the tree of the root, forums and items, the LineStore of the items' texts and
// the Modified flag. Levels: 0 the root "Niftyserve-Library", 1 a forum, 2 an item; a catalog
// file can bring in other top-level nodes and deeper nodes, which are kept and left alone.
class Catalog {
  public:
    // How the catalog files were read into this catalog. A catalog whose reading did not
    // finish must never be written over the files it came from.
    enum class LoadState { NotLoaded, Complete, Incomplete };

    static constexpr std::string_view kRootText = "Niftyserve-Library";

    // The empty catalog: the root alone.
    Catalog();
    Catalog(Catalog&&) noexcept = default;
    Catalog& operator=(Catalog&&) noexcept = default;

    // Holder of the top-level nodes (level -1); its children are the top-level nodes.
    TreeNode& top() noexcept { return *top_; }
    const TreeNode& top() const noexcept { return *top_; }
    // The first top-level node, or none (an empty tree file leaves none).
    TreeNode* root() const noexcept { return top_->lastChild() ? top_->child(0) : nullptr; }

    LineStore& lines() noexcept { return lines_; }
    const LineStore& lines() const noexcept { return lines_; }

    bool Modified() const noexcept { return modified_; }
    void setModified() noexcept { modified_ = true; }

    LoadState loadState() const noexcept { return loadState_; }
    void setLoadState(LoadState state) noexcept { loadState_ = state; }

    // The first forum (node of level 1) whose text equals the name, in tree order.
    TreeNode* FindForum(std::string_view name) const;
    // Appends a forum as the last child of the root; a tree without a root gets the root
    // back first. Does not set Modified.
    TreeNode* AddForum(std::string_view name);
    // Files an item under a forum, or returns nullptr when the forum already has that title.
    TreeNode* AddItem(TreeNode& forum, std::string_view title,
                      const std::vector<std::string>& lines);
    // The item's lines; raises the list index error for a span outside the LineStore.
    std::vector<std::string_view> ItemText(const TreeNode& item) const;
    // Gives the item a new text at the end of the LineStore; the old lines stay, uncovered.
    void ReplaceItemText(TreeNode& item, const std::vector<std::string>& lines);
    // Removes an item, or a forum without children; anything else is left alone.
    bool DeleteNode(TreeNode& node);
    // Rebuilds the LineStore with the items' lines only, in tree order.
    void Collect();

    // Number of nodes in tree order (the holder not counted).
    std::size_t nodeCount() const noexcept { return top_->subtreeSize() - 1; }

    // What a node text becomes so that the tree file reads it back unchanged: a leading blank
    // (space or TAB) would be read as a level, and CR, LF and NUL would split or end the line.
    // Each leading blank becomes an ideographic space (81 40); CR, LF and NUL are dropped.
    static std::string nodeText(std::string_view text);
    // What a line becomes so that the line file reads it back unchanged: CR, LF and NUL dropped.
    static std::string storedLine(std::string_view line);

  private:
    void appendLines(const std::vector<std::string>& lines);

    // Held by pointer: the top-level nodes point at it, and the catalog can still be moved.
    std::unique_ptr<TreeNode> top_ = std::make_unique<TreeNode>(std::string(), nullptr);
    LineStore lines_;
    bool modified_ = false;
    LoadState loadState_ = LoadState::NotLoaded;
};

} // namespace qbr
