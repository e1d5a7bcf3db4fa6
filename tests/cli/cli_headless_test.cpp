#include "catalog/date_time.h"
#include "settings/watermark_text.h"
#include "support/run_program.h"
#include "support/sjis.h"
#include "support/temp_dir.h"

#include <array>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>

namespace qbr {
namespace {

constexpr long long k19990101 = 915148800;

// The CLI copied into a folder of its own, so that the catalog of "quenbrill" beside it lies
// in the test's folder, with the settings store under the test's XDG_CONFIG_HOME.
class Headless : public ::testing::Test {
  protected:
    void SetUp() override {
        std::filesystem::create_directories(dir_.path() + "bin");
        std::filesystem::create_directories(dir_.path() + "logs");
        std::filesystem::copy_file(
            std::string(std::getenv("QBR_BIN_DIR")) + "/src/cli/quenbrill-cli", cli());
    }

    std::string cli() const { return dir_.path() + "bin/quenbrill-cli"; }
    std::string store() const { return dir_.path() + "config/Quenbrill/registry.reg"; }

    using Result = test::ProgramRun;
    Result run(const std::vector<std::string>& args) const {
        return test::runProgram("XDG_CONFIG_HOME='" + dir_.path() + "config' '" + cli() + "'", args,
                                dir_.path() + "stderr.txt");
    }

    void addLog(const std::string& name, const std::string& title, long long when) const {
        std::vector<std::string> lines{"FORUM>GO FQNB"};
        for (const std::string& line : test::download("0000000001" + title, {"desc"}, "F.LZH"))
            lines.push_back(line);
        dir_.write("logs/" + name, test::crlf(lines), when);
    }

    test::TempDir dir_;
};

TEST_F(Headless, OneRunWithTheStoredSettings) {
    // The placement of an earlier run of the window, which a run without one keeps.
    std::filesystem::create_directories(dir_.path() + "config/Quenbrill");
    dir_.write("config/Quenbrill/registry.reg",
               "REGEDIT4\r\n\r\n[HKEY_CURRENT_USER\\Software\\Ostrane\\QBR\\Settings]\r\n"
               "\"Top\"=\"7\"\r\n\"Maximized\"=\"0\"\r\n");
    const Result config = run({"config", "--log-dir", dir_.path() + "logs", "--user", "ABC01234"});
    ASSERT_EQ(config.status, 0) << config.err;
    addLog("a.log", "ONE", k19990101 + 36002);

    const Result first = run({"scan"});
    ASSERT_EQ(first.status, 0) << first.err;
    const std::string watermark = formatWatermark(fileDateTime(k19990101 + 36002));
    EXPECT_EQ(first.out, dir_.path() +
                             "logs/a.log を検索\n0000000001ONE を発見しました\nwatermark " +
                             watermark + "\n");
    EXPECT_EQ(test::TempDir::read(dir_.path() + "bin/quenbrill.trr"),
              "Niftyserve-Library\r\n\tFQNB\r\n\t\tONE\r\n");
    const std::string settings = test::TempDir::read(store());
    EXPECT_NE(settings.find("\"PreDateTimeF\"=\"" + watermark + "\""), std::string::npos);
    EXPECT_NE(settings.find("\"Top\"=\"7\"\r\n\"Maximized\"=\"0\""), std::string::npos);
    EXPECT_EQ(settings.find("Splitter"), std::string::npos);

    // The next run starts from the stored watermark: the new log is read (the first one may be
    // read again, its date reading back a hair below), and nothing is filed twice.
    addLog("b.log", "TWO", k19990101 + 86400);
    const Result second = run({"scan"});
    ASSERT_EQ(second.status, 0) << second.err;
    EXPECT_NE(second.out.find("0000000001TWO を発見しました\n"), std::string::npos);
    EXPECT_EQ(test::TempDir::read(dir_.path() + "bin/quenbrill.trr"),
              "Niftyserve-Library\r\n\tFQNB\r\n\t\tONE\r\n\t\tTWO\r\n");

    const Result show = run({"config", "--show"});
    ASSERT_EQ(show.status, 0) << show.err;
    EXPECT_NE(show.out.find("RecentUserID ABC01234\nLogPath " + dir_.path() + "logs/\n"),
              std::string::npos);
    EXPECT_NE(show.out.find("catalog " + dir_.path() + "bin/quenbrill.dat\n"), std::string::npos);
}

TEST_F(Headless, DamagedStoreIsReportedAndKept) {
    std::filesystem::create_directories(dir_.path() + "config/Quenbrill");
    const std::string damaged = "REGEDIT4\r\n\r\n[HKEY_CURRENT_USER\\Software\\Ostrane\\QBR]\r\n"
                                "\"PreDateTimeF\"=\"1\r\n";
    dir_.write("config/Quenbrill/registry.reg", damaged);
    const Result result = run({"scan"});
    EXPECT_EQ(result.status, 1);
    EXPECT_NE(result.err.find(store()), std::string::npos) << result.err;
    EXPECT_EQ(result.out.find("watermark"), std::string::npos);
    EXPECT_EQ(test::TempDir::read(store()), damaged);
    EXPECT_EQ(run({"config", "--show"}).status, 1);
    EXPECT_EQ(run({"config", "--log-dir", "/tmp"}).status, 1);
    EXPECT_EQ(test::TempDir::read(store()), damaged);
}

TEST_F(Headless, UsageErrors) {
    EXPECT_EQ(run({"scan", "--catalog", "x"}).status, 2);
    EXPECT_EQ(run({"scan", "--watermark", "0"}).status, 2);
    EXPECT_EQ(run({"config"}).status, 2);
    EXPECT_EQ(run({"config", "--show", "--user", "X"}).status, 2);
    EXPECT_FALSE(std::filesystem::exists(store()));
}

} // namespace
} // namespace qbr
