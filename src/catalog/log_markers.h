#pragma once

#include "catalog/log_reader.h"

#include <string_view>

// The lines of the recorded dialogue that the scanner recognises, and the texts it writes,
// as CP932 bytes.
namespace qbr::marker {

inline constexpr std::string_view kDownload = "LIB>DOW";
inline constexpr std::string_view kForumChanges[] = {
    "MAIL>GO", "LIB>GO", "FORUM>GO", "\x81\x84GO" /* ＞GO */, "BBS>GO", "CCS(N)>GO"};
inline constexpr std::string_view kGo = "GO";
// "－該当するデータはありません－"
inline constexpr std::string_view kNoData =
    "\x81\x7C\x8A\x59\x93\x96\x82\xB7\x82\xE9\x83\x66\x81\x5B\x83\x5E\x82\xCD\x82\xA0\x82\xE8\x82"
    "\xDC\x82\xB9\x82\xF1\x81\x7C";
// "項目 (1:OK  2:NG  E:終了)"
inline constexpr std::string_view kPrompt = "\x8D\x80\x96\xDA (1:OK  2:NG  E:\x8F\x49\x97\xB9)";
// "：1"
inline constexpr std::string_view kYes = "\x81\x46"
                                         "1";
// "ファイル名"
inline constexpr std::string_view kFileName = "\x83\x74\x83\x40\x83\x43\x83\x8B\x96\xBC";
// "ファイル名$", the marker of a re-linked item
inline constexpr std::string_view kFileNameRelinked = "\x83\x74\x83\x40\x83\x43\x83\x8B\x96\xBC$";
// " を検索"
inline constexpr std::string_view kSearching = " \x82\xF0\x8C\x9F\x8D\xF5";
// " を発見しました"
inline constexpr std::string_view kFound =
    " \x82\xF0\x94\xAD\x8C\xA9\x82\xB5\x82\xDC\x82\xB5\x82\xBD";

// Every line the scanner acts on begins with one of these; each has "GO" or ">D" at the offset
// given, which is what the fast search of a log looks for.
inline constexpr LogReader::Marker kLineStarts[] = {
    {kDownload, 3},    {"MAIL>GO", 5}, {"LIB>GO", 4},    {"FORUM>GO", 6},
    {"\x81\x84GO", 2}, {"BBS>GO", 4},  {"CCS(N)>GO", 7},
};

// Bytes cut from the header line to give the title, and from the name line to give the name.
inline constexpr std::size_t kTitleOffset = 10;
inline constexpr std::size_t kNameOffset = 2;
// Lines gathered after the header before the capture gives up.
inline constexpr int kMaxListingLines = 300;
// Lines read after the answer; the last of them holds the file name.
inline constexpr int kLinesToFileName = 4;

} // namespace qbr::marker
