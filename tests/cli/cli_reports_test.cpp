#include "catalog/catalog_files.h"
#include "catalog/date_time.h"
#include "support/csv_reader.h"
#include "support/run_program.h"
#include "support/sjis.h"
#include "support/temp_dir.h"

#include <cstdlib>
#include <ctime>
#include <gtest/gtest.h>
#include <sys/stat.h>

namespace qbr {
namespace {

class SilentSink final : public CatalogProgressSink {
  public:
    void begin(std::string_view) override {}
    void setPosition(int) override {}
    void end() override {}
};

constexpr long long kPuzzleTime = 915148800 + 36002;           // an even second, 1999-01-01 UTC
const std::string kPuzzle = "\x83\x70\x83\x59\x83\x8B";        // パズル
const std::string kTool = "\x83\x63\x81\x5B\x83\x8B.ZIP";      // ツール.ZIP
const std::string kGames = "\x83\x51\x81\x5B\x83\x80\x8F\x57"; // ゲーム集
const std::string kGameForum = "\x83\x51\x81\x5B\x83\x80";     // ゲーム

// A catalog of five items and a download folder: PUZZLE.LZH present, ツール.ZIP present under
// its UTF-8 name only, GONE.LZH and GAMES.LZH missing, one item without a file section; the
// folder also holds two files no item names (one with a Shift-JIS name) and a subfolder.
class CliReports : public ::testing::Test {
  protected:
    CliReports() {
        Catalog catalog;
        TreeNode* fqnb = catalog.AddForum("FQNB");
        TreeNode* games = catalog.AddForum(kGameForum);
        catalog.AddItem(
            *fqnb, kPuzzle,
            {"falling blocks, \"quoted\"", "second line", test::kFileName, "PUZZLE.LZH"});
        catalog.AddItem(*fqnb, "Tool\x80X", {"line one", "two", test::kFileName + "$", kTool});
        catalog.AddItem(*fqnb, "Gone", {"desc", "more", test::kFileName, "GONE.LZH"});
        catalog.AddItem(*fqnb, "NoFile", {"just text"});
        catalog.AddItem(*games, kGames, {"a", "b", test::kFileName, "GAMES.LZH"});
        SilentSink progress;
        SaveCatalog(catalog, CatalogPaths::fromBase(base()), systemFileSystem(), progress);

        ::mkdir(down().c_str(), 0755);
        ::mkdir((down() + "sub").c_str(), 0755);
        dir.write("down/PUZZLE.LZH", "lzh", kPuzzleTime);
        dir.write("down/ツール.ZIP", "zip", kPuzzleTime + 2);
        dir.write("down/EXTRA.TXT", "x");
        dir.write("down/\x83\x65.TXT", "sjis name");
    }

    std::string base() const { return dir.path() + "cat"; }
    std::string down() const { return dir.path() + "down"; }

    // The CLI with a settings store of the test's own.
    test::ProgramRun run(const std::vector<std::string>& args) const {
        return test::runProgram("XDG_CONFIG_HOME='" + dir.path() + "config' '" +
                                    std::getenv("QBR_BIN_DIR") + "/src/cli/quenbrill-cli'",
                                args, dir.path() + "stderr.txt");
    }

    test::TempDir dir;
};

TEST_F(CliReports, SearchPrintsMatchesInTreeOrder) {
    const test::ProgramRun one = run({"search", "--catalog", base(), "ぱずる"});
    EXPECT_EQ(one.status, 0) << one.err;
    EXPECT_EQ(one.out, "2\tFQNB\tパズル\n");

    // The forum's name matches its items; every word must match.
    EXPECT_EQ(run({"search", "--catalog", base(), "ｹﾞｰﾑ"}).out, "7\tゲーム\tゲーム集\n");
    EXPECT_EQ(run({"search", "--catalog", base(), "fqnb", "LINE"}).out,
              "2\tFQNB\tパズル\n3\tFQNB\tTool\xEF\xBF\xBDX\n");
    EXPECT_EQ(run({"search", "--catalog", base(), "fqnb second"}).out, "2\tFQNB\tパズル\n");
    EXPECT_EQ(run({"search", "--catalog", base(), "--encoding", "sjis", "tool"}).out,
              "3\tFQNB\tTool\x80X\n");

    const test::ProgramRun none = run({"search", "--catalog", base(), "pazuru"});
    EXPECT_EQ(none.status, 1);
    EXPECT_EQ(none.out, "");
    EXPECT_EQ(run({"search", "--catalog", base()}).status, 2);
    EXPECT_EQ(run({"search", "--catalog", base(), "--encoding", "euc", "x"}).status, 2);
    EXPECT_EQ(run({"search", "--catalog", dir.path() + "nothing", "x"}).status, 1);
}

TEST_F(CliReports, SearchWithRomaji) {
    const test::ProgramRun romaji = run({"search", "--catalog", base(), "--romaji", "pazuru"});
    if (romaji.status == 2 && romaji.err.find("C/Migemo") != std::string::npos)
        GTEST_SKIP() << "built without C/Migemo";
    EXPECT_EQ(romaji.status, 0) << romaji.err;
    EXPECT_EQ(romaji.out, "2\tFQNB\tパズル\n");
}

TEST_F(CliReports, MissingAndOrphans) {
    const test::ProgramRun missing =
        run({"missing", "--catalog", base(), "--download-dir", down()});
    EXPECT_EQ(missing.status, 0) << missing.err;
    EXPECT_EQ(missing.out, "4\tFQNB\tGone\tGONE.LZH\n7\tゲーム\tゲーム集\tGAMES.LZH\n");

    const test::ProgramRun orphans =
        run({"orphans", "--catalog", base(), "--download-dir", down()});
    EXPECT_EQ(orphans.status, 0) << orphans.err;
    // Sorted by bytes, spelled as the file system spells them.
    EXPECT_EQ(orphans.out, "EXTRA.TXT\n\x83\x65.TXT\n");

    // DownPath from the settings store, as the program reads it.
    ASSERT_EQ(run({"config", "--download-dir", down()}).status, 0);
    EXPECT_EQ(run({"missing", "--catalog", base()}).out, missing.out);
    EXPECT_EQ(run({"orphans", "--catalog", base()}).out, orphans.out);
}

TEST_F(CliReports, MissingNeedsAFolderThatIsThere) {
    // No folder set: an error, not a report that every file is missing.
    const test::ProgramRun unset = run({"missing", "--catalog", base()});
    EXPECT_EQ(unset.status, 1);
    EXPECT_NE(unset.err.find("no download folder"), std::string::npos) << unset.err;
    EXPECT_EQ(unset.out, "");
    const test::ProgramRun gone =
        run({"missing", "--catalog", base(), "--download-dir", dir.path() + "unmounted"});
    EXPECT_EQ(gone.status, 1);
    EXPECT_EQ(gone.out, "");
    EXPECT_EQ(
        run({"orphans", "--catalog", base(), "--download-dir", dir.path() + "unmounted"}).status,
        1);
    EXPECT_EQ(run({"missing", "--catalog", base(), "extra"}).status, 2);
}

std::string isoLocal(long long seconds) {
    const std::time_t t = static_cast<std::time_t>(seconds);
    std::tm local{};
    ::localtime_r(&t, &local);
    char text[32];
    std::strftime(text, sizeof text, "%Y-%m-%dT%H:%M:%S", &local);
    return text;
}

TEST_F(CliReports, ExportCsv) {
    const test::ProgramRun csv =
        run({"export", "--format", "csv", "--catalog", base(), "--download-dir", down()});
    ASSERT_EQ(csv.status, 0) << csv.err;
    const auto records = test::readCsv(csv.out);
    ASSERT_TRUE(records) << csv.out;
    ASSERT_EQ(records->size(), 6u);
    using Row = std::vector<std::string>;
    EXPECT_EQ((*records)[0],
              (Row{"position", "forum", "title", "file", "relinked", "present", "date", "text"}));
    EXPECT_EQ((*records)[1],
              (Row{"2", "FQNB", "パズル", "PUZZLE.LZH", "0", "1", isoLocal(kPuzzleTime),
                   "falling blocks, \"quoted\"\nsecond line"}));
    // Found under its UTF-8 name; an undecodable byte is U+FFFD in UTF-8 output.
    EXPECT_EQ((*records)[2][2], "Tool\xEF\xBF\xBDX");
    EXPECT_EQ((Row{(*records)[2][3], (*records)[2][4], (*records)[2][5]}),
              (Row{"ツール.ZIP", "1", "1"}));
    EXPECT_EQ((Row((*records)[3].begin() + 3, (*records)[3].end())),
              (Row{"GONE.LZH", "0", "0", "", "desc\nmore"}));
    EXPECT_EQ((Row((*records)[4].begin() + 3, (*records)[4].end())),
              (Row{"", "", "", "", "just text"}));

    // The raw bytes, for a spreadsheet that reads Shift-JIS.
    const auto sjis = test::readCsv(run({"export", "--format", "csv", "--catalog", base(),
                                         "--download-dir", down(), "--encoding", "sjis"})
                                        .out);
    ASSERT_TRUE(sjis);
    EXPECT_EQ((*sjis)[2][2], "Tool\x80X");
    EXPECT_EQ((*sjis)[2][3], kTool);

    // Without a readable folder, presence is left open rather than reported as absent.
    const test::ProgramRun open = run({"export", "--format", "csv", "--catalog", base()});
    EXPECT_EQ(open.status, 0);
    const auto unknown = test::readCsv(open.out);
    ASSERT_TRUE(unknown);
    EXPECT_EQ((*unknown)[1][5], "");
    EXPECT_EQ(run({"export", "--catalog", base()}).status, 2);
}

TEST_F(CliReports, ExportJsonKeepsEveryByte) {
    const test::ProgramRun json =
        run({"export", "--format", "json", "--catalog", base(), "--download-dir", down()});
    ASSERT_EQ(json.status, 0) << json.err;
    dir.write("export.json", json.out);
    // Python's JSON reader takes the document; its surrogateescape gives the bytes back.
    const std::string script =
        "import json,sys\n"
        "d=json.load(open(sys.argv[1],encoding='utf-8'))\n"
        "for i in d['items']:\n"
        "  b=lambda s: s.encode('cp932','surrogateescape').hex() if s is not None else '-'\n"
        "  print(i['position'],b(i['forum']),b(i['title']),b(i['file']),i['relinked'],\n"
        "        i['present'],i['date'] or '-','|'.join(i['text']))\n";
    dir.write("read.py", script);
    const test::ProgramRun read = test::runProgram(
        "python3", {dir.path() + "read.py", dir.path() + "export.json"}, dir.path() + "py.txt");
    ASSERT_EQ(read.status, 0) << read.err;
    auto hex = [](std::string_view bytes) {
        std::string out;
        for (unsigned char c : bytes) {
            const char digits[] = "0123456789abcdef";
            out += digits[c >> 4];
            out += digits[c & 15];
        }
        return out;
    };
    const std::string fqnb = hex("FQNB");
    EXPECT_EQ(read.out,
              "2 " + fqnb + " " + hex(kPuzzle) + " " + hex("PUZZLE.LZH") + " False True " +
                  isoLocal(kPuzzleTime) + " falling blocks, \"quoted\"|second line\n" + "3 " +
                  fqnb + " " + hex("Tool\x80X") + " " + hex(kTool) + " True True " +
                  isoLocal(kPuzzleTime + 2) + " line one|two\n" + "4 " + fqnb + " " + hex("Gone") +
                  " " + hex("GONE.LZH") + " False False - desc|more\n" + "5 " + fqnb + " " +
                  hex("NoFile") + " - False None - just text\n" + "7 " + hex(kGameForum) + " " +
                  hex(kGames) + " " + hex("GAMES.LZH") + " False False - a|b\n");
}

// A span outside the .dat file: the item is still searched by its title and exported without its
// text, and the status says that something could not be read.
TEST(CliReportsDamaged, ASpanOutsideTheLinesIsReportedNotHidden) {
    test::TempDir dir;
    dir.write("cat.dat", "only line\r\n");
    dir.write("cat.trr", "Niftyserve-Library\r\n\tF\r\n\t\tBroken\r\n");
    dir.write("cat.nod", std::string("\x05\0\0\0\x02\0\0\0", 8));
    auto run = [&](const std::vector<std::string>& args) {
        return test::runProgram(std::string("'") + std::getenv("QBR_BIN_DIR") +
                                    "/src/cli/quenbrill-cli'",
                                args, dir.path() + "stderr.txt");
    };
    const test::ProgramRun search = run({"search", "--catalog", dir.path() + "cat", "broken"});
    EXPECT_EQ(search.status, 1);
    EXPECT_EQ(search.out, "2\tF\tBroken\n");
    EXPECT_NE(search.err.find("(5)"), std::string::npos) << search.err;

    const test::ProgramRun json = run({"export", "--format", "json", "--catalog",
                                       dir.path() + "cat", "--download-dir", dir.path()});
    EXPECT_EQ(json.status, 1);
    EXPECT_NE(json.out.find("\"title\":\"Broken\",\"file\":null"), std::string::npos) << json.out;
    EXPECT_NE(json.out.find("\"text\":null}"), std::string::npos) << json.out;
}

} // namespace
} // namespace qbr
