#include "archive_fixtures/lzh_writer.h"
#include "archive_fixtures/sample_archives.h"
#include "archive_fixtures/zip_writer.h"
#include "support/run_program.h"
#include "support/temp_dir.h"

#include <cstdlib>
#include <gtest/gtest.h>

namespace qbr {
namespace {

test::ProgramRun archive(const std::vector<std::string>& args, const test::TempDir& dir) {
    return test::runProgram("'" + std::string(std::getenv("QBR_BIN_DIR")) +
                                "/src/cli/quenbrill-cli' archive",
                            args, dir.path() + "stderr.txt");
}

std::string lzh() {
    fixtures::LzhMember readMe;
    readMe.name = fixtures::kReadMe;
    readMe.data = "read me\r\n";
    readMe.date = {1996, 1, 15, 12, 34, 56};
    fixtures::LzhMember sheet;
    sheet.name = fixtures::kSoft + "\\" + fixtures::kSheet;
    sheet.data = std::string(300, 'x');
    sheet.date = {1995, 11, 3, 8, 0, 0};
    return fixtures::lzhArchive({readMe, sheet});
}

TEST(CliArchive, ListsOneEntryPerLineInUtf8OrAsTheArchivesBytes) {
    test::TempDir dir;
    const std::string path = dir.write("A.LZH", lzh());
    const test::ProgramRun utf8 = archive({path}, dir);
    ASSERT_EQ(utf8.status, 0) << utf8.err;
    EXPECT_EQ(utf8.out, "読んでね.TXT\t9\t9\t1996-01-15 12:34:56\t-lh0-\n"
                        "ソフト/表計算.DOC\t300\t300\t1995-11-03 08:00:00\t-lh0-\n");
    const test::ProgramRun sjis = archive({path, "--encoding", "sjis"}, dir);
    ASSERT_EQ(sjis.status, 0) << sjis.err;
    EXPECT_EQ(sjis.out, fixtures::kReadMe + "\t9\t9\t1996-01-15 12:34:56\t-lh0-\n" +
                            fixtures::kSoft + "/" + fixtures::kSheet +
                            "\t300\t300\t1995-11-03 08:00:00\t-lh0-\n");

    // ZIP: a UTF-8 name as it is, and no compressed size (libarchive does not give it).
    const std::string zip = dir.write(
        "B.ZIP", fixtures::zipArchive({{"\xE6\x97\xA5.txt", "abc", false, false, {}}}, true));
    const test::ProgramRun zipped = archive({zip}, dir);
    ASSERT_EQ(zipped.status, 0) << zipped.err;
    EXPECT_EQ(zipped.out, "日.txt\t3\t-\t1996-01-15 12:34:56\tstored\n");
}

TEST(CliArchive, UnreadableArchivesAndUsageErrors) {
    test::TempDir dir;
    const test::ProgramRun program = archive({dir.write("P.EXE", fixtures::exeStub(4096))}, dir);
    EXPECT_EQ(program.status, 1);
    EXPECT_EQ(program.out, "");
    EXPECT_NE(program.err.find("自己解凍書庫ではありません"), std::string::npos) << program.err;

    // A cut archive: what was read, then the error.
    const std::string whole = lzh();
    const test::ProgramRun cut = archive({dir.write("C.LZH", whole.substr(0, 60))}, dir);
    EXPECT_EQ(cut.status, 1);
    EXPECT_EQ(cut.out, "読んでね.TXT\t9\t9\t1996-01-15 12:34:56\t-lh0-\n");
    EXPECT_NE(cut.err.find("書庫を読めません"), std::string::npos) << cut.err;

    EXPECT_EQ(archive({dir.path() + "missing.lzh"}, dir).status, 1);
    EXPECT_EQ(archive({}, dir).status, 2);
    EXPECT_EQ(archive({"a.lzh", "b.lzh"}, dir).status, 2);
    EXPECT_EQ(archive({"a.lzh", "--encoding", "latin1"}, dir).status, 2);
    EXPECT_EQ(archive({"a.lzh", "--catalog", "x"}, dir).status, 2);
}

} // namespace
} // namespace qbr
