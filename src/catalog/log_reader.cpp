#include "catalog/log_reader.h"

#include "catalog/error.h"
#include "catalog/messages.h"

#include <algorithm>
#include <cstring>
#if defined(__SSE2__)
#include <immintrin.h>
#endif

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

bool LogReader::lineStartsWith(std::size_t at, const Marker* markers, std::size_t count) const {
    const std::string_view rest(buffer_.data() + at, end_ - at);
    for (std::size_t i = 0; i < count; ++i) {
        if (rest.substr(0, markers[i].text.size()) == markers[i].text)
            return true;
    }
    return false;
}

// Whether a line begins at `at` (> begin_, which is itself a line start): after a CR, or after
// the LF of a CR LF. An LF at begin_ itself is part of that line.
bool LogReader::isLineStart(std::size_t at) const {
    const char before = buffer_[at - 1];
    return before == '\r' || (before == '\n' && at - 1 > begin_ && buffer_[at - 2] == '\r');
}

namespace {

// The position of the next "GO" or ">D" (every marker's key) from p, or `end`. Sixteen or
// thirty-two positions at a time where the processor can.
std::size_t nextKeyScalar(const char* b, std::size_t p, std::size_t end) {
    for (; p + 1 < end; ++p) {
        if ((b[p] == 'G' && b[p + 1] == 'O') || (b[p] == '>' && b[p + 1] == 'D'))
            return p;
    }
    return end;
}

#if defined(__SSE2__)
std::size_t nextKeySse2(const char* b, std::size_t p, std::size_t end) {
    const __m128i g = _mm_set1_epi8('G'), o = _mm_set1_epi8('O');
    const __m128i gt = _mm_set1_epi8('>'), d = _mm_set1_epi8('D');
    for (; p + 17 <= end; p += 16) {
        const __m128i first = _mm_loadu_si128(reinterpret_cast<const __m128i*>(b + p));
        const __m128i second = _mm_loadu_si128(reinterpret_cast<const __m128i*>(b + p + 1));
        const __m128i hits =
            _mm_or_si128(_mm_and_si128(_mm_cmpeq_epi8(first, g), _mm_cmpeq_epi8(second, o)),
                         _mm_and_si128(_mm_cmpeq_epi8(first, gt), _mm_cmpeq_epi8(second, d)));
        if (const unsigned mask = static_cast<unsigned>(_mm_movemask_epi8(hits)))
            return p + static_cast<std::size_t>(__builtin_ctz(mask));
    }
    return nextKeyScalar(b, p, end);
}
#endif

#if defined(__x86_64__) && (defined(__GNUC__) || defined(__clang__))
#define QBR_HAVE_AVX2_PATH 1
__attribute__((target("avx2"))) std::size_t nextKeyAvx2(const char* b, std::size_t p,
                                                        std::size_t end) {
    const __m256i g = _mm256_set1_epi8('G'), o = _mm256_set1_epi8('O');
    const __m256i gt = _mm256_set1_epi8('>'), d = _mm256_set1_epi8('D');
    for (; p + 33 <= end; p += 32) {
        const __m256i first = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(b + p));
        const __m256i second = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(b + p + 1));
        const __m256i hits = _mm256_or_si256(
            _mm256_and_si256(_mm256_cmpeq_epi8(first, g), _mm256_cmpeq_epi8(second, o)),
            _mm256_and_si256(_mm256_cmpeq_epi8(first, gt), _mm256_cmpeq_epi8(second, d)));
        if (const unsigned mask = static_cast<unsigned>(_mm256_movemask_epi8(hits)))
            return p + static_cast<std::size_t>(__builtin_ctz(mask));
    }
    return nextKeySse2(b, p, end);
}
#endif

using KeyFinder = std::size_t (*)(const char*, std::size_t, std::size_t);

KeyFinder chooseKeyFinder() {
#if defined(QBR_HAVE_AVX2_PATH)
    __builtin_cpu_init();
    if (__builtin_cpu_supports("avx2"))
        return nextKeyAvx2;
#endif
#if defined(__SSE2__)
    return nextKeySse2;
#else
    return nextKeyScalar;
#endif
}

std::size_t nextKey(const char* b, std::size_t p, std::size_t end) {
    static const KeyFinder finder = chooseKeyFinder();
    return finder(b, p, end);
}

} // namespace

// The first position after begin_ where a line starts whose first bytes can be a marker, or
// npos. Searches for the markers' two-byte keys.
std::size_t LogReader::nextCandidate(std::size_t from, const Marker* markers,
                                     std::size_t count) const {
    const char* base = buffer_.data();
    auto check = [&](std::size_t key) -> std::size_t {
        for (std::size_t i = 0; i < count; ++i) {
            const Marker& m = markers[i];
            if (key < begin_ + m.keyOffset + 1)
                continue;
            if (base[key] != m.text[m.keyOffset] || base[key + 1] != m.text[m.keyOffset + 1])
                continue;
            const std::size_t start = key - m.keyOffset;
            if (isLineStart(start) &&
                std::string_view(base + start, std::min(m.text.size(), end_ - start)) ==
                    m.text.substr(0, std::min(m.text.size(), end_ - start)))
                return start;
        }
        return std::string_view::npos;
    };
    for (std::size_t p = from; (p = nextKey(base, p, end_)) < end_; ++p) {
        const std::size_t start = check(p);
        if (start != std::string_view::npos)
            return start;
    }
    return std::string_view::npos;
}

bool LogReader::skipToLineStartingWith(const Marker* markers, std::size_t count) {
    std::size_t longest = 0;
    for (std::size_t i = 0; i < count; ++i)
        longest = std::max(longest, markers[i].text.size());
    for (;;) {
        if (midLine_) {
            // Finish the line passed over: up to its CR, and the LF that may follow it.
            const void* cr = std::memchr(buffer_.data() + begin_, '\r', end_ - begin_);
            if (!cr) {
                begin_ = end_;
                if (!fill())
                    return false;
                continue;
            }
            begin_ = static_cast<std::size_t>(static_cast<const char*>(cr) - buffer_.data()) + 1;
            skipLf_ = true;
            midLine_ = false;
        }
        if (atEnd())
            return false;
        // begin_ starts a line: is it one of the markers? Its first bytes must be at hand.
        if (end_ - begin_ < longest && !exhausted_) {
            fill();
            continue;
        }
        if (lineStartsWith(begin_, markers, count))
            return true;
        const std::size_t next = nextCandidate(begin_, markers, count);
        if (next != std::string_view::npos) {
            begin_ = next; // a line start; checked in full once its bytes are in
            if (end_ - begin_ >= longest || exhausted_) {
                if (lineStartsWith(begin_, markers, count))
                    return true;
                midLine_ = true; // a key without its marker: pass this line over
            }
            continue;
        }
        // No marker line starts in what is buffered. Keep what follows the last CR, which may
        // begin a marker line that the buffer cuts off; without a CR, the whole rest belongs to
        // this line, which is passed over.
        const void* lastCr = ::memrchr(buffer_.data() + begin_, '\r', end_ - begin_);
        if (lastCr) {
            begin_ =
                static_cast<std::size_t>(static_cast<const char*>(lastCr) - buffer_.data()) + 1;
            skipLf_ = true;
        } else {
            begin_ = end_;
            midLine_ = true;
        }
    }
}

} // namespace qbr
