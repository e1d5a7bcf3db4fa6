#include "catalog/catalog.h"

#include "catalog/error.h"
#include "catalog/messages.h"

#include <algorithm>
#include <cstdint>
#include <limits>

namespace qbr {

namespace {

bool isUnstorable(char c) {
    return c == '\r' || c == '\n' || c == '\0';
}

std::int32_t clampToInt32(std::size_t n) {
    return static_cast<std::int32_t>(std::min<std::size_t>(
        n, static_cast<std::size_t>(std::numeric_limits<std::int32_t>::max())));
}

} // namespace

Catalog::Catalog() {
    top_->appendChild(std::string(kRootText));
}

std::string Catalog::nodeText(std::string_view text) {
    // Unstorable bytes go first: what stood behind them may be a blank that now leads.
    const std::string kept = storedLine(text);
    const std::size_t blanks = std::min(kept.find_first_not_of(" \t"), kept.size());
    std::string out;
    out.reserve(kept.size() + blanks);
    for (std::size_t i = 0; i < blanks; ++i)
        out += "\x81\x40";
    out.append(kept, blanks);
    return out;
}

std::string Catalog::storedLine(std::string_view line) {
    std::string out(line);
    std::erase_if(out, isUnstorable);
    return out;
}

TreeNode* Catalog::FindForum(std::string_view name) const {
    const std::string wanted = nodeText(name);
    for (int t = 0; t < top_->childCount(); ++t) {
        const TreeNode* topNode = top_->child(t);
        for (int f = 0; f < topNode->childCount(); ++f) {
            if (topNode->child(f)->text() == wanted)
                return topNode->child(f);
        }
    }
    return nullptr;
}

TreeNode* Catalog::AddForum(std::string_view name) {
    TreeNode* rootNode = root();
    if (!rootNode)
        rootNode = top_->appendChild(std::string(kRootText));
    return rootNode->appendChild(nodeText(name));
}

TreeNode* Catalog::AddItem(TreeNode& forum, std::string_view title,
                           const std::vector<std::string>& lines) {
    std::string text = nodeText(title);
    if (forum.hasChildText(text))
        return nullptr;
    TreeNode* item = forum.appendChild(std::move(text));
    item->setSpan(TItemSpan{clampToInt32(lines_.size()), clampToInt32(lines.size())});
    appendLines(lines);
    modified_ = true;
    return item;
}

void Catalog::appendLines(const std::vector<std::string>& lines) {
    for (const std::string& line : lines) {
        if (std::none_of(line.begin(), line.end(), isUnstorable))
            lines_.append(line);
        else
            lines_.append(storedLine(line));
    }
}

std::vector<std::string_view> Catalog::ItemText(const TreeNode& item) const {
    const TItemSpan span = item.span();
    std::vector<std::string_view> text;
    if (span.Count <= 0)
        return text;
    const std::int64_t first = span.First;
    const std::int64_t end = first + span.Count;
    // The first position that cannot be read is the one the error names; check before
    // allocating, since a damaged span can claim two thousand million lines.
    if (first < 0)
        throw Error(msg::listIndexMessage(first));
    if (end > static_cast<std::int64_t>(lines_.size()))
        throw Error(msg::listIndexMessage(std::max<std::int64_t>(first, lines_.size())));
    text.reserve(static_cast<std::size_t>(span.Count));
    for (std::int64_t i = first; i < end; ++i)
        text.push_back(lines_[static_cast<std::size_t>(i)]);
    return text;
}

void Catalog::ReplaceItemText(TreeNode& item, const std::vector<std::string>& lines) {
    item.setSpan(TItemSpan{clampToInt32(lines_.size()), clampToInt32(lines.size())});
    appendLines(lines);
    modified_ = true;
}

bool Catalog::DeleteNode(TreeNode& node) {
    if (!isDeletable(node))
        return false;
    node.parent()->removeChild(node.row()); // releases the node, its span and any node below it
    modified_ = true;
    return true;
}

void Catalog::Collect() {
    // First pass: check every span, so that a damaged one stops the compaction before the
    // tree or the store has changed.
    std::int64_t total = 0;
    forEachPreOrder(*top_, [&](const TreeNode& node) {
        if (node.level() != 2)
            return;
        const TItemSpan span = node.span();
        if (span.Count <= 0)
            return;
        const std::int64_t first = span.First;
        if (first < 0)
            throw Error(msg::listIndexMessage(first));
        if (first + span.Count > static_cast<std::int64_t>(lines_.size()))
            throw Error(msg::listIndexMessage(std::max<std::int64_t>(first, lines_.size())));
        total += span.Count;
        // Overlapping damaged spans could ask for more lines than a span can address.
        if (total > std::numeric_limits<std::int32_t>::max())
            throw Error(msg::listIndexMessage(total));
    });

    LineStore compact;
    compact.reserve(static_cast<std::size_t>(total), lines_.byteSize());
    std::int32_t k = 0;
    forEachPreOrder(*top_, [&](TreeNode& node) {
        if (node.level() != 2)
            return;
        // An item without a span (a load stopped part-way) gets an empty one here, so that
        // every item has its record when the catalog is written.
        TItemSpan span = node.span();
        for (std::int32_t j = 0; j < span.Count; ++j)
            compact.append(lines_[static_cast<std::size_t>(span.First + j)]);
        node.setSpan(TItemSpan{k, span.Count});
        k += std::max<std::int32_t>(span.Count, 0);
    });
    lines_ = std::move(compact);
}

} // namespace qbr
