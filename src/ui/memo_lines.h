#pragma once

#include <QPlainTextEdit>
#include <string>
#include <string_view>
#include <vector>

namespace qbr::ui {

// Memo1's lines as the program counts and reads them: the lines as displayed, a text line that
// wraps at the box's width counting once per displayed line. The box holds each line followed
// by a line break, so a final empty line (the place after the last break) is not counted.

// Where one displayed line lies in the box's document, in UTF-16 units.
struct MemoLine {
    int position = 0;
    int length = 0;
};

// The displayed lines, laid out at the box's current width.
std::vector<MemoLine> displayedLineRanges(const QPlainTextEdit& memo);

// The displayed lines' texts, encoded back to CP932 bytes without loss.
std::vector<std::string> displayedLines(const QPlainTextEdit& memo);

// Replaces the box's content by these lines, each decoded and followed by a line break.
void setMemoLines(QPlainTextEdit& memo, const std::vector<std::string>& lines);

// Replaces the last two displayed lines by two lines of their own, the rest of the box left as
// it is (its wrapping and the place shown). Needs at least two displayed lines.
void replaceLastTwoLines(QPlainTextEdit& memo, std::string_view secondToLast,
                         std::string_view last);

} // namespace qbr::ui
