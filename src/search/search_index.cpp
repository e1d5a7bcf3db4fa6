#include "search/search_index.h"

#include "catalog/catalog.h"
#include "catalog/error.h"
#include "catalog/log_markers.h"
#include "platform/cp932_codec.h"

#include <algorithm>
#include <cstring>
#include <unordered_map>

namespace qbr::search {

namespace {

void appendFolded(const TextFolder& folder, std::string_view cp932, std::string& out) {
    folder.fold(platform::decodeCp932(cp932), out);
    out += '\n';
}

} // namespace

SearchIndex::SearchIndex(const Catalog& catalog, const TextFolder& folder) {
    std::unordered_map<const TreeNode*, std::size_t> forumIndex;
    std::size_t position = 0;
    folded_.reserve(catalog.lines().byteSize() + catalog.lines().byteSize() / 2);
    forEachPreOrder(catalog.top(), [&](const TreeNode& node) {
        const std::size_t here = position++;
        if (node.level() != 2)
            return;
        const TreeNode* parent = node.parent();
        auto [at, added] = forumIndex.try_emplace(parent, forums_.size());
        if (added)
            forums_.push_back({parent, folder.fold(platform::decodeCp932(parent->text()))});
        items_.push_back({&node, here, at->second});

        appendFolded(folder, node.text(), folded_);
        try {
            for (std::string_view line : catalog.ItemText(node)) {
                if (line != marker::kFileName && line != marker::kFileNameRelinked)
                    appendFolded(folder, line, folded_);
            }
        } catch (const Error& error) {
            if (!damage_)
                damage_ = error.text();
        }
        itemEnd_.push_back(folded_.size());
    });
}

void SearchIndex::markTextMatches(std::string_view needle, std::vector<std::uint8_t>& hit) const {
    const char* const base = folded_.data();
    const char* const end = base + folded_.size();
    const char* from = base;
    while (from < end) {
        const void* found = ::memmem(from, static_cast<std::size_t>(end - from), needle.data(),
                                     needle.size());
        if (!found)
            return;
        const auto offset = static_cast<std::uint64_t>(static_cast<const char*>(found) - base);
        const std::size_t item = static_cast<std::size_t>(
            std::upper_bound(itemEnd_.begin(), itemEnd_.end(), offset) - itemEnd_.begin());
        hit[item] = 1;
        // One match is enough for an item: go on with the next one.
        from = base + itemEnd_[item];
    }
}

std::vector<std::size_t> SearchIndex::find(const Query& query) const {
    std::vector<std::uint8_t> all(items_.size(), 1);
    std::vector<std::uint8_t> hit(items_.size());
    std::vector<std::uint8_t> forumHit(forums_.size());
    for (const QueryWord& word : query.words) {
        std::fill(hit.begin(), hit.end(), 0);
        std::fill(forumHit.begin(), forumHit.end(), 0);
        for (const std::string& alternative : word.alternatives) {
            if (alternative.empty())
                continue;
            markTextMatches(alternative, hit);
            for (std::size_t f = 0; f < forums_.size(); ++f)
                forumHit[f] |= forums_[f].folded.find(alternative) != std::string::npos;
        }
        for (std::size_t i = 0; i < items_.size(); ++i)
            all[i] &= hit[i] | forumHit[items_[i].forum];
    }
    std::vector<std::size_t> matches;
    for (std::size_t i = 0; i < items_.size(); ++i)
        if (all[i])
            matches.push_back(i);
    return matches;
}

} // namespace qbr::search
