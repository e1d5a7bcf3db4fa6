#include "catalog/date_time.h"
#include "settings/watermark_text.h"
#include "support/run_program.h"
#include "support/sjis.h"
#include "support/temp_dir.h"

#include <array>
#include <cstdio>
#include <cstdlib>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>

namespace qbr {
namespace {

using CliRun = test::ProgramRun;

std::string cli() {
    return std::string(std::getenv("QBR_BIN_DIR")) + "/src/cli/quenbrill-cli";
}

CliRun run(const std::vector<std::string>& args, const test::TempDir& dir) {
    return test::runProgram("'" + cli() + "'", args, dir.path() + "stderr.txt");
}

constexpr long long k19990101 = 915148800;

std::string oneDownload(const std::string& forum, const std::string& header) {
    std::vector<std::string> lines{"FORUM>GO " + forum};
    for (const std::string& line : test::download(header, {"desc"}, "FILE.LZH"))
        lines.push_back(line);
    return test::crlf(lines);
}

TEST(CliScan, ReportsSavesAndPrintsTheWatermark) {
    test::TempDir dir;
    ::mkdir((dir.path() + "logs").c_str(), 0755);
    dir.write("logs/a.log",
              oneDownload("FQNB", "0000000001"
                                  "\x83\x65\x83\x58\x83\x67"), // テスト
              k19990101 + 36003);
    const std::string base = dir.path() + "cat";

    CliRun first = run({"scan", "--catalog", base, "--logs", dir.path() + "logs"}, dir);
    ASSERT_EQ(first.status, 0) << first.err;
    const std::string watermark = formatWatermark(fileDateTime(k19990101 + 36003));
    EXPECT_EQ(first.out, dir.path() +
                             "logs/a.log を検索\n0000000001テスト を発見しました\nwatermark " +
                             watermark + "\n");
    EXPECT_EQ(test::TempDir::read(base + ".trr"),
              "Niftyserve-Library\r\n\tFQNB\r\n\t\t\x83\x65\x83\x58\x83\x67\r\n");

    // From the printed watermark on: the text reads back a hair below the log's date, so the
    // last log is read again, but nothing is filed twice and the files stay untouched.
    struct stat before {};
    ::stat((base + ".dat").c_str(), &before);
    CliRun second = run(
        {"scan", "--catalog", base, "--logs", dir.path() + "logs", "--watermark", watermark}, dir);
    ASSERT_EQ(second.status, 0) << second.err;
    EXPECT_EQ(second.out, first.out);
    struct stat after {};
    ::stat((base + ".dat").c_str(), &after);
    EXPECT_EQ(before.st_ino, after.st_ino) << "an unchanged catalog is not rewritten";

    // A re-import reports again in raw bytes and files nothing twice.
    CliRun sjis =
        run({"scan", "--catalog", base, "--logs", dir.path() + "logs", "--encoding", "sjis"}, dir);
    EXPECT_EQ(sjis.out, dir.path() + "logs/a.log" + test::kSearching +
                            "\n0000000001\x83\x65\x83\x58\x83\x67" + test::kFound + "\nwatermark " +
                            watermark + "\n");

    CliRun list = run({"list", "--catalog", base}, dir);
    EXPECT_EQ(list.out, "0\tNiftyserve-Library\n1\t\tFQNB\n2\t\t\tテスト\n");
    CliRun show = run({"show", "--catalog", base, "2"}, dir);
    EXPECT_EQ(show.out, "0000000001テスト\ndesc\nファイル名\nFILE.LZH\n");
    EXPECT_EQ(run({"show", "--catalog", base, "1"}, dir).status, 2);
}

TEST(CliScan, Errors) {
    test::TempDir dir;
    ::mkdir((dir.path() + "logs").c_str(), 0755);
    dir.write("logs/a.log", oneDownload("F", "0000000001T"), k19990101);

    CliRun badWatermark = run({"scan", "--catalog", dir.path() + "c", "--logs", dir.path() + "logs",
                               "--watermark", "1,5"},
                              dir);
    EXPECT_EQ(badWatermark.status, 2) << "an argument that cannot be used is a usage error";
    EXPECT_EQ(badWatermark.err.rfind("quenbrill-cli: --watermark 1,5: not a watermark", 0), 0u)
        << badWatermark.err;

    // A catalog that cannot be read is left alone and nothing is scanned into it.
    dir.write("c.dat", "line\r\n");
    CliRun noTree =
        run({"scan", "--catalog", dir.path() + "c", "--logs", dir.path() + "logs"}, dir);
    EXPECT_EQ(noTree.status, 1);
    EXPECT_EQ(noTree.err, "ﾌｧｲﾙ " + dir.path() + "c.trr は開けません\n");
    EXPECT_EQ(noTree.out, "");
    EXPECT_EQ(test::TempDir::read(dir.path() + "c.dat"), "line\r\n");

    EXPECT_EQ(run({"scan", "--logs", "x", "--bogus", "1"}, dir).status, 2);
    EXPECT_EQ(run({"frobnicate"}, dir).status, 2);
}

} // namespace
} // namespace qbr
