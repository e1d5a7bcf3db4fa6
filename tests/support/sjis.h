#pragma once

#include <initializer_list>
#include <string>
#include <string_view>
#include <vector>

// Small helpers for writing CP932 test data.
namespace qbr::test {

// "ファイル名", the prompt, the answers and other dialogue lines as bytes.
inline const std::string kFileName = "\x83\x74\x83\x40\x83\x43\x83\x8B\x96\xBC";
inline const std::string kPrompt = "\x8D\x80\x96\xDA (1:OK  2:NG  E:\x8F\x49\x97\xB9)";
inline const std::string kYes = "\x81\x46"
                                "1";
inline const std::string kNo = "\x81\x46"
                               "2";
inline const std::string kNoData = "\x81\x7C\x8A\x59\x93\x96\x82\xB7\x82\xE9\x83\x66\x81\x5B\x83"
                                   "\x5E\x82\xCD\x82\xA0\x82\xE8\x82\xDC\x82\xB9\x82\xF1\x81\x7C";
inline const std::string kSearching = " \x82\xF0\x8C\x9F\x8D\xF5";
inline const std::string kFound = " \x82\xF0\x94\xAD\x8C\xA9\x82\xB5\x82\xDC\x82\xB5\x82\xBD";

// Joins lines with CR LF after each.
inline std::string crlf(std::initializer_list<std::string_view> lines) {
    std::string text;
    for (std::string_view line : lines) {
        text += line;
        text += "\r\n";
    }
    return text;
}

inline std::string crlf(const std::vector<std::string>& lines) {
    std::string text;
    for (const std::string& line : lines)
        text += line + "\r\n";
    return text;
}

// A recorded download: the command, the header, the listing, the prompt, the answer, three
// protocol lines and the name line ("  " + name).
inline std::vector<std::string> download(const std::string& header,
                                         const std::vector<std::string>& listing,
                                         const std::string& name,
                                         const std::string& answer = kYes) {
    std::vector<std::string> lines{"LIB>DOW 1", header};
    lines.insert(lines.end(), listing.begin(), listing.end());
    lines.insert(lines.end(), {kPrompt, answer, "protocol", "receiving", "done", "  " + name});
    return lines;
}

} // namespace qbr::test
