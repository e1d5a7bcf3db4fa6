#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace qbr::bench {

// What a plain pass over some files saw.
struct PlainCount {
    std::uint64_t bytes = 0;
    std::uint64_t lineEnds = 0; // LF bytes
};

// The regular files of a directory (not its subdirectories), sorted by name, with the
// directory in front.
std::vector<std::string> filesIn(const std::string& directory);
// Sum of the files' sizes; raises std::runtime_error for a file that cannot be read.
std::uint64_t totalSize(const std::vector<std::string>& paths);

// The reference for the scan: open each file, read it in 1 MiB chunks into one buffer and
// count its line ends with memchr.
PlainCount countLineEndsChunked(const std::vector<std::string>& paths);
// The reference for the catalog files: read each file whole into a buffer of its size, as a
// program that keeps the file would, and count its line ends with memchr.
PlainCount countLineEndsWhole(const std::vector<std::string>& paths);
// Writes the bytes to the file in 1 MiB writes and closes it, without a flush to disk.
void writePlain(const std::string& path, const std::string& bytes);

} // namespace qbr::bench
