#include "pane/file_actions.h"

#include "bytes/sjis_text.h"
#include "pane/detail_pane.h"

namespace qbr {

bool actsOnFileName(std::string_view name) {
    return name.size() >= 2;
}

std::optional<ArchiveListing> archiveListing(std::string_view archiverCommand,
                                             std::string_view shownName, std::string path) {
    if (archiverCommand.size() < 2 || !isArchiveExtension(shownName))
        return std::nullopt;
    return ArchiveListing{std::string(archiverCommand), std::move(path)};
}

namespace {

bool isBlank(char c) {
    return c == ' ' || c == '\t';
}

// Appends one character (both bytes of a double-byte one) and returns the next position.
std::size_t copyChar(std::string_view text, std::size_t at, std::string& out) {
    const std::size_t length = sjisCharLength(text, at);
    out.append(text.substr(at, length));
    return at + length;
}

} // namespace

std::vector<std::string> splitWindowsCommandLine(std::string_view line) {
    std::vector<std::string> words;
    std::size_t i = 0;
    while (i < line.size() && isBlank(line[i]))
        ++i;
    if (i == line.size())
        return words;

    // The program: quotes only group here, there is no escaping.
    std::string program;
    if (line[i] == '"') {
        ++i;
        while (i < line.size() && line[i] != '"')
            i = copyChar(line, i, program);
        if (i < line.size())
            ++i;
    } else {
        while (i < line.size() && !isBlank(line[i]))
            i = copyChar(line, i, program);
    }
    words.push_back(std::move(program));

    while (true) {
        while (i < line.size() && isBlank(line[i]))
            ++i;
        if (i == line.size())
            break;
        std::string word;
        bool quoted = false;
        while (i < line.size() && (quoted || !isBlank(line[i]))) {
            if (line[i] == '\\') {
                std::size_t run = 0;
                while (i < line.size() && line[i] == '\\') {
                    ++run;
                    ++i;
                }
                if (i < line.size() && line[i] == '"') {
                    word.append(run / 2, '\\');
                    if (run % 2 == 1) {
                        word += '"';
                        ++i;
                    }
                } else {
                    word.append(run, '\\');
                }
            } else if (line[i] == '"') {
                if (quoted && i + 1 < line.size() && line[i + 1] == '"') {
                    word += '"';
                    i += 2;
                } else {
                    quoted = !quoted;
                    ++i;
                }
            } else {
                i = copyChar(line, i, word);
            }
        }
        words.push_back(std::move(word));
    }
    return words;
}

} // namespace qbr
