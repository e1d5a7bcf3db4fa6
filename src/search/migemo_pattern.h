#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace qbr::search {

// The words a C/Migemo pattern stands for. Migemo writes the readings of a romaji word as a
// regular expression of groups "(a|b)", classes "[abc]" and "\" escapes over UTF-8 text; this
// spells every alternative out. Nothing when the pattern is not of that form or stands for
// more than `limit` words.
std::optional<std::vector<std::string>> expandMigemoPattern(std::string_view pattern,
                                                            std::size_t limit);

} // namespace qbr::search
