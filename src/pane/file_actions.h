#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace qbr {

// Run and Show in the file manager act on a name of two bytes or more, and do nothing else.
bool actsOnFileName(std::string_view name);

// The archive listing: the archive tool's command, and the path of the file it lists.
struct ArchiveListing {
    std::string command; // ArchiverCommand, to be split the Windows way
    std::string path;    // DownPath + the file's name, one argument of its own
    // The command line as one text: the command, a blank, and the path in double quotes.
    std::string commandLine() const { return command + " \"" + path + "\""; }
};

// The archive listing for the name shown in Label1, or nothing when the tool's command is
// shorter than two bytes or the name's extension is not ".EXE", ".LZH" or ".ZIP" in any ASCII
// case. `path` is the file that is listed: DownPath + the name, or the name under which the
// file lies on this disk.
std::optional<ArchiveListing> archiveListing(std::string_view archiverCommand,
                                             std::string_view shownName, std::string path);

// Splits a command line the Windows way: the first word is the program (a double-quoted
// program runs to the next double quote, else to the first blank or tab); the arguments follow
// the C runtime's rules (blanks separate, double quotes group, "" inside quotes is a quote,
// 2n backslashes before a quote give n, 2n+1 give n and a literal quote). Double-byte
// characters are kept whole, so a trail byte 5C escapes nothing.
std::vector<std::string> splitWindowsCommandLine(std::string_view commandLine);

} // namespace qbr
