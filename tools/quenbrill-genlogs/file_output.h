#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace genlogs {

// Creates the directory and its missing parents; throws std::runtime_error on failure.
void makeDirectories(const std::string& path);

// Writes the whole file (replacing it) and sets its access and modification times to
// seconds since 1970, UTC; throws std::runtime_error on failure.
void writeFile(const std::string& path, std::string_view data, std::int64_t mtime);

} // namespace genlogs
