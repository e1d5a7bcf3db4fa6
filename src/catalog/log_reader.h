#pragma once

#include "catalog/file_system.h"

#include <string>
#include <string_view>

namespace qbr {

// Reads a session log line by line, as bytes. A line ends at CR, and an LF right after the CR
// belongs to that line end; an LF anywhere else is part of the line. A byte 1A ends the log.
// Lines can be of any length.
class LogReader {
  public:
    // The buffer is the caller's, so that one allocation serves every log of a scan.
    LogReader(InputFile& file, std::string& buffer);

    // True when the log has no more lines. Raises the run time's error when the read fails.
    bool atEnd();
    // The next line without its line end; an empty line past the end of the log. The view
    // stays valid until the next call of any of these functions.
    std::string_view next();

    // Passes over whole lines up to the next one that begins with one of the markers (each
    // with the offset of a two-byte key inside it), and returns false at the end of the log.
    // Lines passed over are never read, so most of a log is only searched for the keys.
    struct Marker {
        std::string_view text;
        std::size_t keyOffset;
    };
    bool skipToLineStartingWith(const Marker* markers, std::size_t count);

  private:
    bool fill();
    bool lineStartsWith(std::size_t at, const Marker* markers, std::size_t count) const;
    bool isLineStart(std::size_t at) const;
    std::size_t nextCandidate(std::size_t from, const Marker* markers, std::size_t count) const;

    InputFile& file_;
    std::string& buffer_;
    std::size_t begin_ = 0;  // first unread byte
    std::size_t end_ = 0;    // end of the bytes read so far
    bool exhausted_ = false; // the file (or a byte 1A) has ended
    bool skipLf_ = false;    // the last line ended with a CR at the buffer's end
    bool midLine_ = false;   // begin_ is inside a line that was passed over
};

} // namespace qbr
