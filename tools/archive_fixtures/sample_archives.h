#pragma once

#include <string>
#include <vector>

namespace qbr::fixtures {

// CP932 names used by the sample archives and the tests.
// "読んでね.TXT"
inline const std::string kReadMe = "\x93\xC7\x82\xF1\x82\xC5\x82\xCB.TXT";
// "表計算.DOC": the trail byte of 表 is 0x5C, the byte of "\".
inline const std::string kSheet = "\x95\x5C\x8C\x76\x8E\x5A.DOC";
// "ソフト": ソ also ends in 0x5C.
inline const std::string kSoft = "\x83\x5C\x83\x74\x83\x67";

struct NamedArchive {
    std::string fileName;
    std::string bytes;
};

// One of each kind the listing reads: LZH with level 0, 1 and 2 headers, ZIP with CP932
// names and with UTF-8 names, a self-extracting .EXE of each, an .EXE that holds no
// archive, and a truncated LZH.
std::vector<NamedArchive> sampleArchives();

// A stand-in for the program part of a self-extracting archive: "MZ" and filler.
std::string exeStub(std::size_t size = 1536);

} // namespace qbr::fixtures
