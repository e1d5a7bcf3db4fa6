#pragma once

#include "catalog/catalog.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace qbr {

// The item's text after a re-link: the pane's displayed lines with the last two replaced by
// "ファイル名$" and the chosen name; nothing when those lines do not end with the marker lines
// (more than three lines, the second-to-last "ファイル名" or "ファイル名$").
//
// The marker and the name are stored as whole lines even where the box would wrap a long
// name: the box's wrapping must not split the name into lines that no later refresh reads as
// a file section.
std::optional<std::vector<std::string>> relinkedLines(const std::vector<std::string>& displayed,
                                                      std::string_view name);

// The re-link of the selected node: for an item with a span whose displayed lines end with
// the marker lines, stores relinkedLines() with ReplaceItemText (which sets Modified) and
// returns them, for the box to show. Nothing changes, and nothing is returned, otherwise.
std::optional<std::vector<std::string>> relinkItem(Catalog& catalog, TreeNode* selected,
                                                   const std::vector<std::string>& displayed,
                                                   std::string_view name);

} // namespace qbr
