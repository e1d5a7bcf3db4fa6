#pragma once

#include "archive_fixtures/lzh_writer.h"
#include "archive_fixtures/sample_archives.h"
#include "archive_fixtures/zip_writer.h"

#include <string>
#include <vector>

// Members shared by the listing and extraction tests.
namespace qbr::test {

inline const std::string kReadMeText = "read me\r\n";
inline const std::string kSheetData(300, 'x');
inline const fixtures::DosDateTime kSheetDate{1995, 11, 3, 8, 0, 0};

// 読んでね.TXT at the top, 表計算.DOC in the folder ソフト, at the given header level.
inline std::vector<fixtures::LzhMember> twoLzhMembers(int level) {
    fixtures::LzhMember readMe;
    readMe.name = fixtures::kReadMe;
    readMe.data = kReadMeText;
    readMe.level = level;
    fixtures::LzhMember sheet;
    sheet.data = kSheetData;
    sheet.level = level;
    sheet.date = kSheetDate;
    if (level == 0) {
        sheet.name = fixtures::kSoft + "\\" + fixtures::kSheet;
    } else {
        sheet.name = fixtures::kSheet;
        sheet.directory = fixtures::kSoft + "\xFF";
    }
    return {readMe, sheet};
}

inline fixtures::LzhMember lzhMember(std::string name, std::string data, int level = 0) {
    fixtures::LzhMember member;
    member.name = std::move(name);
    member.data = std::move(data);
    member.level = level;
    return member;
}

} // namespace qbr::test
