#include "catalog/line_store.h"

#include "catalog/error.h"
#include "catalog/messages.h"

#include <cstring>

namespace qbr {

LineStore LineStore::fromText(std::string text, bool* stoppedAtNul) {
    LineStore store;
    const void* nul = std::memchr(text.data(), '\0', text.size());
    if (stoppedAtNul)
        *stoppedAtNul = nul != nullptr;
    if (nul)
        text.resize(static_cast<const char*>(nul) - text.data());

    // Lines are moved down over the line ends that separated them, in place.
    char* const base = text.data();
    const std::size_t n = text.size();
    std::size_t read = 0;
    std::size_t write = 0;
    // The next CR and the next LF at or after `read`, each found with memchr and kept until
    // passed, so that files with only one kind of line end stay linear.
    auto findFrom = [&](std::size_t from, char c) {
        const void* hit = std::memchr(base + from, c, n - from);
        return hit ? static_cast<std::size_t>(static_cast<const char*>(hit) - base) : n;
    };
    std::size_t nextCr = findFrom(0, '\r');
    std::size_t nextLf = findFrom(0, '\n');
    while (read < n) {
        if (nextCr < read)
            nextCr = findFrom(read, '\r');
        if (nextLf < read)
            nextLf = findFrom(read, '\n');
        const std::size_t end = nextCr < nextLf ? nextCr : nextLf;
        const std::size_t len = end - read;
        if (write != read)
            std::memmove(base + write, base + read, len);
        write += len;
        store.ends_.push_back(write);
        read = end;
        if (read < n && base[read] == '\r')
            ++read;
        if (read < n && base[read] == '\n')
            ++read;
    }
    // The line ends removed are a few percent of the text: not worth a copy to give back.
    text.resize(write);
    store.ends_.shrink_to_fit();
    store.bytes_ = std::move(text);
    return store;
}

std::string_view LineStore::at(std::int64_t position) const {
    if (position < 0 || static_cast<std::uint64_t>(position) >= ends_.size())
        throw Error(msg::listIndexMessage(position));
    return (*this)[static_cast<std::size_t>(position)];
}

void LineStore::append(std::string_view line) {
    bytes_.append(line);
    ends_.push_back(bytes_.size());
}

void LineStore::reserve(std::size_t lines, std::size_t bytes) {
    ends_.reserve(lines);
    bytes_.reserve(bytes);
}

void LineStore::clear() noexcept {
    bytes_.clear();
    ends_.clear();
}

} // namespace qbr
