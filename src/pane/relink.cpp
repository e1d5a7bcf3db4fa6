#include "pane/relink.h"

#include "catalog/log_markers.h"
#include "pane/detail_pane.h"

namespace qbr {

std::optional<std::vector<std::string>> relinkedLines(const std::vector<std::string>& displayed,
                                                      std::string_view name) {
    if (!findFileSection(displayed))
        return std::nullopt;
    std::vector<std::string> lines(displayed);
    lines[lines.size() - 2] = std::string(marker::kFileNameRelinked);
    lines[lines.size() - 1] = std::string(name);
    return lines;
}

std::optional<std::vector<std::string>> relinkItem(Catalog& catalog, TreeNode* selected,
                                                   const std::vector<std::string>& displayed,
                                                   std::string_view name) {
    if (selected == nullptr || selected->level() != 2 || !selected->hasSpan())
        return std::nullopt;
    auto lines = relinkedLines(displayed, name);
    if (lines)
        catalog.ReplaceItemText(*selected, *lines);
    return lines;
}

} // namespace qbr
