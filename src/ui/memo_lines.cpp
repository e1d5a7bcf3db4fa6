#include "ui/memo_lines.h"

#include "posix/cp932_codec.h"
#include "ui/display_text.h"

#include <QAbstractTextDocumentLayout>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextLayout>

namespace qbr::ui {

namespace {

// Visits the displayed lines: the block each lies in, its start in the block and its length.
template <typename Visit> void forEachDisplayedLine(const QPlainTextEdit& memo, Visit&& visit) {
    QTextDocument* document = memo.document();
    QAbstractTextDocumentLayout* layout = document->documentLayout();
    // The place after the last line break is no line of its own.
    const QTextBlock last = document->lastBlock();
    const bool skipLast = last.length() <= 1;
    for (QTextBlock block = document->begin(); block.isValid(); block = block.next()) {
        if (skipLast && block == last)
            break;
        // The box lays out only what it has shown; asking for a block's bounds lays it out
        // at the box's width.
        layout->blockBoundingRect(block);
        const QTextLayout* blockLayout = block.layout();
        const int count = blockLayout->lineCount();
        if (count == 0)
            visit(block, 0, 0);
        for (int i = 0; i < count; ++i) {
            const QTextLine line = blockLayout->lineAt(i);
            visit(block, line.textStart(), line.textLength());
        }
    }
}

} // namespace

std::vector<MemoLine> displayedLineRanges(const QPlainTextEdit& memo) {
    std::vector<MemoLine> lines;
    forEachDisplayedLine(memo, [&](const QTextBlock& block, int start, int length) {
        lines.push_back({block.position() + start, length});
    });
    return lines;
}

std::vector<std::string> displayedLines(const QPlainTextEdit& memo) {
    std::vector<std::string> lines;
    forEachDisplayedLine(memo, [&](const QTextBlock& block, int start, int length) {
        lines.push_back(platform::encodeCp932(block.text().mid(start, length).toStdU16String()));
    });
    return lines;
}

void setMemoLines(QPlainTextEdit& memo, const std::vector<std::string>& lines) {
    QString text;
    for (const std::string& line : lines) {
        text += displayText(line);
        text += QLatin1Char('\n');
    }
    memo.setPlainText(text);
}

void replaceLastTwoLines(QPlainTextEdit& memo, std::string_view secondToLast,
                         std::string_view last) {
    const std::vector<MemoLine> ranges = displayedLineRanges(memo);
    if (ranges.size() < 2)
        return;
    const MemoLine& from = ranges[ranges.size() - 2];
    const MemoLine& to = ranges.back();
    QTextCursor cursor(memo.document());
    cursor.setPosition(from.position);
    cursor.setPosition(to.position + to.length, QTextCursor::KeepAnchor);
    cursor.insertText(displayText(secondToLast) + QLatin1Char('\n') + displayText(last));
}

} // namespace qbr::ui
