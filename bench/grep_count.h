#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace qbr::bench {

// Runs GNU grep as a child process, "LC_ALL=C grep -c -F PATTERN FILES...", and returns the
// sum of the counts it prints (lines that hold the pattern). Raises std::runtime_error when
// grep cannot be started or fails.
std::uint64_t grepCount(const std::string& pattern, const std::vector<std::string>& paths);

} // namespace qbr::bench
