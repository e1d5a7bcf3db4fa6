#include "catalog/log_reader.h"

#include "catalog/error.h"
#include "catalog/messages.h"

#include <cstring>

namespace qbr {

namespace {
// Small enough to stay in the processor's cache between the read and the search of it.
constexpr std::size_t kChunk = std::size_t{128} << 10;
} // namespace

LogReader::LogReader(InputFile& file, std::string& buffer) : file_(file), buffer_(buffer) {
    if (buffer_.size() < kChunk)
        buffer_.resize(kChunk);
}

bool LogReader::fill() {
    if (exhausted_)
        return false;
    if (begin_ > 0) {
        std::memmove(buffer_.data(), buffer_.data() + begin_, end_ - begin_);
        end_ -= begin_;
        begin_ = 0;
    }
    if (end_ == buffer_.size())
        buffer_.resize(buffer_.size() * 2); // one line longer than the buffer
    const long long n = file_.read(buffer_.data() + end_, buffer_.size() - end_);
    if (n < 0)
        throw Error(msg::systemErrorMessage(static_cast<int>(-n)));
    if (n == 0) {
        exhausted_ = true;
        return false;
    }
    const char* fresh = buffer_.data() + end_;
    if (const void* eof = std::memchr(fresh, 0x1A, static_cast<std::size_t>(n))) {
        end_ += static_cast<std::size_t>(static_cast<const char*>(eof) - fresh);
        exhausted_ = true;
    } else {
        end_ += static_cast<std::size_t>(n);
    }
    return true;
}

bool LogReader::atEnd() {
    for (;;) {
        if (begin_ < end_) {
            if (!skipLf_)
                return false;
            skipLf_ = false;
            if (buffer_[begin_] == '\n')
                ++begin_;
            continue;
        }
        if (!fill())
            return true;
    }
}

std::string_view LogReader::next() {
    if (atEnd())
        return {};
    std::size_t searched = begin_;
    for (;;) {
        const char* base = buffer_.data();
        if (const void* cr = std::memchr(base + searched, '\r', end_ - searched)) {
            const std::size_t at = static_cast<std::size_t>(static_cast<const char*>(cr) - base);
            const std::string_view line(base + begin_, at - begin_);
            begin_ = at + 1;
            if (begin_ < end_) {
                if (buffer_[begin_] == '\n')
                    ++begin_;
            } else {
                skipLf_ = true;
            }
            return line;
        }
        searched = end_ - begin_; // relative: fill() moves the unread bytes to the front
        if (!fill()) {
            const std::string_view line(buffer_.data() + begin_, end_ - begin_);
            begin_ = end_;
            return line;
        }
        searched += begin_;
    }
}

} // namespace qbr
