#include "search/search_index.h"

#include "catalog/catalog.h"
#include "catalog/error.h"
#include "catalog/log_markers.h"
#include "posix/cp932_codec.h"

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

void SearchIndex::markTextMatches(std::string_view needle, const std::vector<std::uint8_t>* among,
                                  std::vector<std::uint8_t>& hit) const {
    const char* const base = folded_.data();
    auto search = [&](std::size_t from, std::size_t to) -> std::size_t {
        const void* found = ::memmem(base + from, to - from, needle.data(), needle.size());
        return found ? static_cast<std::size_t>(static_cast<const char*>(found) - base) : to;
    };
    if (among) {
        // Only the items the earlier words left: each one's own text.
        for (std::size_t item = 0; item < items_.size(); ++item) {
            if (!(*among)[item] || hit[item])
                continue;
            const std::size_t begin = item == 0 ? 0 : itemEnd_[item - 1];
            hit[item] = search(begin, itemEnd_[item]) < itemEnd_[item];
        }
        return;
    }
    // One pass over the whole text; hits come in order, so the item is found by walking on.
    std::size_t item = 0;
    for (std::size_t from = 0; from < folded_.size();) {
        const std::size_t at = search(from, folded_.size());
        if (at == folded_.size())
            return;
        while (itemEnd_[item] <= at)
            ++item;
        hit[item] = 1;
        // One match is enough for an item: go on with the next one.
        from = itemEnd_[item];
    }
}

std::vector<std::size_t> SearchIndex::find(const Query& query) const {
    std::vector<std::uint8_t> all(items_.size(), 1);
    std::vector<std::uint8_t> hit(items_.size());
    std::vector<std::uint8_t> forumHit(forums_.size());
    std::size_t left = items_.size();
    bool first = true;
    for (const QueryWord& word : query.words) {
        std::fill(hit.begin(), hit.end(), 0);
        std::fill(forumHit.begin(), forumHit.end(), 0);
        for (const std::string& alternative : word.alternatives) {
            if (alternative.empty())
                continue;
            for (std::size_t f = 0; f < forums_.size(); ++f)
                forumHit[f] |= forums_[f].folded.find(alternative) != std::string::npos;
        }
        // After the first word, a few items left are cheaper to look at one by one than the
        // whole text; an item whose forum matched needs no look at all.
        std::vector<std::uint8_t> among;
        if (!first) {
            among = all;
            for (std::size_t i = 0; i < items_.size(); ++i)
                among[i] &= !forumHit[items_[i].forum];
        }
        const bool oneByOne = !first && left < items_.size() / 4;
        for (const std::string& alternative : word.alternatives) {
            if (!alternative.empty())
                markTextMatches(alternative, oneByOne ? &among : nullptr, hit);
        }
        left = 0;
        for (std::size_t i = 0; i < items_.size(); ++i) {
            all[i] &= hit[i] | forumHit[items_[i].forum];
            left += all[i];
        }
        first = false;
    }
    std::vector<std::size_t> matches;
    matches.reserve(left);
    for (std::size_t i = 0; i < items_.size(); ++i)
        if (all[i])
            matches.push_back(i);
    return matches;
}

} // namespace qbr::search
