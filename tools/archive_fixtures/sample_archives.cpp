#include "archive_fixtures/sample_archives.h"

#include "archive_fixtures/lzh_writer.h"
#include "archive_fixtures/zip_writer.h"

namespace qbr::fixtures {
namespace {

std::vector<LzhMember> lzhMembers(int level) {
    std::vector<LzhMember> members;
    LzhMember readMe;
    readMe.name = kReadMe;
    readMe.data = "Sample archive made by quenbrill-mkarchive.\r\n";
    readMe.level = level;
    members.push_back(readMe);
    LzhMember sheet;
    sheet.level = level;
    sheet.data = std::string(300, 'x');
    sheet.date = {1995, 11, 3, 8, 0, 0};
    if (level == 0) {
        sheet.name = kSoft + "\\" + kSheet;
    } else {
        sheet.name = kSheet;
        sheet.directory = kSoft + "\xFF";
    }
    members.push_back(sheet);
    return members;
}

} // namespace

std::string exeStub(std::size_t size) {
    std::string stub = "MZ";
    stub.resize(size, '\x90');
    return stub;
}

std::vector<NamedArchive> sampleArchives() {
    std::vector<NamedArchive> out;
    for (int level = 0; level <= 2; ++level)
        out.push_back({"level" + std::to_string(level) + ".lzh", lzhArchive(lzhMembers(level))});
    const std::vector<ZipMember> zipMembers{
        {kReadMe, "Sample archive made by quenbrill-mkarchive.\r\n", false, false, {}},
        {kSoft + "/", "", false, true, {}},
        {kSoft + "/" + kSheet, std::string(3000, 'y'), true, false, {1995, 11, 3, 8, 0, 0}},
    };
    out.push_back({"cp932.zip", zipArchive(zipMembers)});
    // "日本語.txt" in UTF-8
    out.push_back(
        {"utf8.zip",
         zipArchive({{"\xE6\x97\xA5\xE6\x9C\xAC\xE8\xAA\x9E.txt", "utf-8\n", true, false, {}}},
                    true)});
    out.push_back({"lzhsfx.exe", exeStub() + lzhArchive(lzhMembers(1))});
    out.push_back({"zipsfx.exe", exeStub() + zipArchive(zipMembers)});
    out.push_back({"program.exe", exeStub(4096)});
    const std::string whole = lzhArchive(lzhMembers(2));
    out.push_back({"truncated.lzh", whole.substr(0, whole.size() / 2)});
    return out;
}

} // namespace qbr::fixtures
