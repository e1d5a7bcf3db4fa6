#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace qbr {

// The one ordered list of text lines of the catalog. All lines share one byte buffer and one
// offset table (no allocation per line), so a large catalog costs little more than its file.
class LineStore {
  public:
    LineStore() = default;

    // Splits a whole file's text into lines the way the catalog files are read: a NUL ends
    // the text; CR LF, a lone CR and a lone LF each end one line; bytes after the last line
    // end form one last line. Reuses the text's buffer. `stoppedAtNul`, when given, tells
    // whether a NUL left bytes unread.
    static LineStore fromText(std::string text, bool* stoppedAtNul = nullptr);

    std::size_t size() const noexcept { return ends_.size(); }
    bool empty() const noexcept { return ends_.empty(); }

    // The line at a position; anything outside 0..size()-1 raises the list index error.
    std::string_view at(std::int64_t position) const;
    std::string_view operator[](std::size_t position) const noexcept {
        const std::uint64_t begin = position == 0 ? 0 : ends_[position - 1];
        return std::string_view(bytes_).substr(begin, ends_[position] - begin);
    }

    // The caller guarantees that the line holds no CR, LF or NUL byte.
    void append(std::string_view line);
    void reserve(std::size_t lines, std::size_t bytes);
    void clear() noexcept;

    // Total bytes of all lines (line ends not counted).
    std::size_t byteSize() const noexcept { return bytes_.size(); }
    std::size_t memoryUsage() const noexcept {
        return bytes_.capacity() + ends_.capacity() * sizeof(std::uint64_t);
    }

  private:
    std::string bytes_;
    std::vector<std::uint64_t> ends_; // end offset of each line in bytes_
};

} // namespace qbr
