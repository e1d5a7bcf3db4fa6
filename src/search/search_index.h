#pragma once

#include "search/search_query.h"
#include "search/text_folder.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace qbr {
class Catalog;
class TreeNode;
} // namespace qbr

namespace qbr::search {

// One item of the catalog as search sees it.
struct IndexedItem {
    const TreeNode* node = nullptr;
    std::size_t position = 0; // in tree order, as `list` numbers the nodes
    std::size_t forum = 0;    // index into the index's forums
};

// The folded text of every item of a catalog, built once per change of the catalog so that
// a query only runs memmem over one buffer. An item's text is its title and the lines of its
// listing (the file-name marker lines left out: every item has them); its forum's name is
// folded once per forum. The index points into the catalog: rebuild it after any change.
class SearchIndex {
  public:
    explicit SearchIndex(const Catalog& catalog, const TextFolder& folder = textFolder());

    std::size_t size() const noexcept { return items_.size(); }
    const IndexedItem& item(std::size_t i) const { return items_[i]; }
    const TreeNode* forumNode(std::size_t forum) const { return forums_[forum].node; }

    // The items (indices into this index, in tree order) that every word of the query
    // matches: a word matches where one of its alternatives occurs in the item's text or in
    // its forum's name. An empty query matches every item.
    std::vector<std::size_t> find(const Query& query) const;

    // Every item's folded text, lines ended by LF: what a query runs over.
    std::string_view foldedText() const noexcept { return folded_; }

    // The text of the first item whose span points outside the catalog's lines (only damaged
    // catalog files make one): its title alone was indexed, so a search may miss it.
    const std::optional<std::string>& damage() const noexcept { return damage_; }

  private:
    struct Forum {
        const TreeNode* node = nullptr;
        std::string folded;
    };
    // Sets hit[i] for each item whose text holds the needle: all items, or those of `among`.
    void markTextMatches(std::string_view needle, const std::vector<std::uint8_t>* among,
                         std::vector<std::uint8_t>& hit) const;

    std::vector<IndexedItem> items_;
    std::vector<Forum> forums_;
    std::string folded_;                 // every item's text, lines ended by LF
    std::vector<std::uint64_t> itemEnd_; // end of each item's text in folded_
    std::optional<std::string> damage_;
};

} // namespace qbr::search
