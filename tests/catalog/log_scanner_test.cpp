#include "catalog/error.h"
#include "catalog/messages.h"
#include "support/scan_fixture.h"
#include "support/sjis.h"

#include <algorithm>
#include <cerrno>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>

namespace qbr {
namespace {

using test::crlf;
using test::download;
using test::ScanFixture;
using Lines = std::vector<std::string>;

Lines concat(std::initializer_list<Lines> parts) {
    Lines all;
    for (const Lines& part : parts)
        all.insert(all.end(), part.begin(), part.end());
    return all;
}

TEST(LogScanner, FilesADownloadUnderTheCurrentForumAndReportsIt) {
    ScanFixture f;
    f.addLog("a.log",
             crlf(concat({{"login", "FORUM>GO FQNB"},
                          download("0012345678Sample Tool", {"  a tool", "  v1"}, "SAMPLE.LZH"),
                          {"bye"}})));
    f.scan();
    ASSERT_EQ(f.items(), (Lines{"FQNB/Sample Tool"}));
    EXPECT_EQ(f.text(*f.item(0)),
              (Lines{"0012345678Sample Tool", "  a tool", "  v1", test::kFileName, "SAMPLE.LZH"}));
    EXPECT_EQ(f.out.report,
              (Lines{"/logs/a.log" + test::kSearching, "0012345678Sample Tool" + test::kFound}));
    EXPECT_EQ(f.out.logName, "a.log");
    EXPECT_EQ(f.out.forumName, "FQNB");
    EXPECT_TRUE(f.catalog.Modified());
    EXPECT_EQ(f.watermark.PreDateTime, 100);
    EXPECT_EQ(f.watermark.ScanDateTime, 100);
}

TEST(LogScanner, ForumChangeLines) {
    struct Case {
        std::string line, forum;
    };
    const Case cases[] = {
        {"FORUM>GO ABC", "ABC"},
        {"FORUM>GO ABC ", "ABC "},
        {"FORUM>GO", ""},
        {"FORUM>GO!", ""},
        {"\x81\x84GO ABC", "ABC"},
        {"MAIL>GO M1", "M1"},
        {"LIB>GO L1", "L1"},
        {"BBS>GO B1", "B1"},
        {"CCS(N)>GO C1", "C1"},
        {"FORUM>GO  TWO", " TWO"},
        {"LIB>GOODS X", "DS X"}, // the name starts after the first "GO"
                                 // and one byte
        {"forum>go abc", ""},    // not a marker: the download is filed under the empty name
        {" FORUM>GO ABC", ""},
    };
    for (const Case& c : cases) {
        ScanFixture f;
        f.addLog("a.log", crlf(concat({{c.line}, download("0123456789T", {}, "X.LZH")})));
        f.scan();
        ASSERT_EQ(f.items().size(), 1u) << c.line;
        EXPECT_EQ(f.item(0)->parent()->text(), Catalog::nodeText(c.forum)) << c.line;
    }
}

TEST(LogScanner, TheForumDoesNotCarryOverToTheNextLog) {
    ScanFixture f;
    f.addLog("a.log", crlf({"FORUM>GO FA"}), 100);
    f.addLog("b.log", crlf(download("0123456789T", {}, "X.LZH")), 101);
    f.scan();
    EXPECT_EQ(f.items(), (Lines{"/T"}));
    EXPECT_EQ(f.out.forumName, "FA") << "the label is not cleared between logs";
}

TEST(LogScanner, WhatFilesNothing) {
    const Lines cases[] = {
        download("0123456789T", {}, "X.LZH", test::kNo),
        download("0123456789T", {}, "X.LZH",
                 "\x81\x46"
                 "E"),
        {"LIB>DOW 1", test::kNoData, test::kPrompt, test::kYes, "", "", "", "  X.LZH"},
        {"LIB>DOW 1", "0123456789T", "no prompt before the end"},
        {"LIB>DOW 1"},
        {"LIB>DO 1", "0123456789T", test::kPrompt, test::kYes, "", "", "", "  X.LZH"},
    };
    for (const Lines& log : cases) {
        ScanFixture f;
        f.addLog("a.log", crlf(concat({{"FORUM>GO F"}, log})));
        f.scan();
        EXPECT_TRUE(f.items().empty()) << log[1];
        EXPECT_EQ(f.out.report.size(), 1u) << "only the log's own line";
        EXPECT_FALSE(f.catalog.Modified());
    }
    ScanFixture f;
    f.addLog("a.log", crlf({"LIB>DOW 1", test::kNoData}));
    f.scan();
    EXPECT_NE(f.catalog.FindForum(""), nullptr) << "the forum is made before anything is read";
}

// The prompt may stand at most on the 302nd line after the command line.
TEST(LogScanner, ThreeHundredLineLimit) {
    for (int promptLine : {2, 301, 302, 303}) {
        Lines log{"FORUM>GO F", "LIB>DOW 1", "0123456789T"};
        for (int i = 2; i < promptLine; ++i)
            log.push_back("listing " + std::to_string(i));
        log.insert(log.end(), {test::kPrompt, test::kYes, "", "", "", "  X.LZH"});
        ScanFixture f;
        f.addLog("a.log", crlf(log));
        f.scan();
        SCOPED_TRACE(promptLine);
        if (promptLine <= 302) {
            ASSERT_EQ(f.items().size(), 1u);
            EXPECT_EQ(f.item(0)->span().Count, promptLine + 1);
        } else {
            EXPECT_TRUE(f.items().empty());
        }
    }
    // The line after the 301st gathered line is tested for a forum change only.
    Lines log{"LIB>DOW 1", "0123456789T"};
    for (int i = 2; i < 302; ++i)
        log.push_back("x");
    log.insert(log.end(), {"FORUM>GO NEXT"});
    log = concat({log, download("0123456789U", {}, "U.LZH")});
    ScanFixture f;
    f.addLog("a.log", crlf(log));
    f.scan();
    EXPECT_EQ(f.items(), (Lines{"NEXT/U"}));
}

TEST(LogScanner, TitleFileNameAndTheLineAfterTheCapture) {
    ScanFixture f;
    f.addLog("a.log",
             crlf(concat({download("0123456789", {}, "A.LZH"), // 10 bytes: empty title
                          download("12345", {}, "B.LZH"),      // shorter still
                          {"LIB>DOW 1", "\x82\xA0\x82\xA0\x82\xA0\x82\xA0\x82\xA0\x82\xA0T",
                           test::kPrompt, test::kYes, "a", "b", "c", "  FORUM>GO X"},
                          {"LIB>DOW 1", "0123456789Short", test::kPrompt, test::kYes, "a"}})));
    f.scan();
    // The name line's cut is the current line: here it begins a forum change.
    ASSERT_EQ(f.items(), (Lines{"/", "/\x82\xA0T", "X/Short"}));
    EXPECT_EQ(f.catalog.FindForum("")->childCount(), 2) << "second empty title refused";
    EXPECT_EQ(f.text(*f.item(0)), (Lines{"0123456789", test::kFileName, "A.LZH"}));
    EXPECT_EQ(f.text(*f.item(1)).back(), "FORUM>GO X");
    EXPECT_EQ(f.text(*f.item(2)), (Lines{"0123456789Short", test::kFileName, ""}))
        << "fewer than four lines after the answer: empty name";
    EXPECT_EQ(f.out.report.size(), 5u) << "the refused duplicate is still reported";
}

TEST(LogScanner, LineEndsAndTheEndOfFileByte) {
    const std::string dl =
        "LIB>DOW 1\r0123456789T\r" + test::kPrompt + "\r" + test::kYes + "\ra\rb\rc\r  X.LZH\r";
    ScanFixture f;
    f.addLog("cr.log", "FORUM>GO F\r" + dl);
    f.addLog("lf.log", "FORUM>GO G\nLIB>DOW 1\n0123456789T\n" + test::kPrompt + "\n" + test::kYes +
                           "\na\nb\nc\n  X.LZH\n");
    f.addLog("eof.log", "FORUM>GO H\r\n\x1A" + dl);
    f.addLog("mid.log", "FORUM>GO K\r\nLIB>DOW 1\r\n0123456789T\r\nli\x1Ane\r\n" + test::kPrompt +
                            "\r\n" + test::kYes + "\r\na\r\nb\r\nc\r\n  X.LZH\r\n");
    f.addLog("nul.log", "FORUM>GO N\r\nLIB>DOW 1\r\n0123456789T\r\nwith\nLF and " +
                            std::string("\0", 1) + "NUL\r\n" + test::kPrompt + "\r\n" + test::kYes +
                            "\r\na\r\nb\r\nc\r\n  X.LZH\r\n");
    f.scan();
    EXPECT_EQ(f.items(), (Lines{"F/T", "N/T"}))
        << "CR alone ends lines; LF alone does not; 1A ends the log";
    EXPECT_EQ(f.text(*f.item(1))[1], "withLF and NUL") << "no LF or NUL reaches the store";
    EXPECT_NE(f.catalog.FindForum("K"), nullptr);
}

TEST(LogScanner, LongLinesAcrossReadBuffers) {
    const std::string longLine(3 << 20, 'x');
    ScanFixture f;
    f.addLog("a.log", crlf(concat({{"FORUM>GO F", longLine},
                                   download("0123456789T", {longLine}, "X.LZH")})));
    f.scan();
    ASSERT_EQ(f.items().size(), 1u);
    EXPECT_EQ(f.text(*f.item(0))[1], longLine);
}

TEST(LogScanner, Watermark) {
    ScanFixture f;
    const std::string log = crlf(download("0123456789T", {}, "X.LZH"));
    f.addLog("old.log", log, 100);
    f.addLog("new.log", log, 100 + 2.0 / 86400);
    f.addLog("older.log", log, 99);
    f.watermark = {100, 100};
    f.scan();
    EXPECT_EQ(f.out.logNames, 1) << "a log dated at the watermark is not taken";
    EXPECT_EQ(f.out.logName, "new.log");
    EXPECT_DOUBLE_EQ(f.watermark.ScanDateTime, 100 + 2.0 / 86400);
    EXPECT_EQ(f.watermark.PreDateTime, f.watermark.ScanDateTime);

    // Re-import: every log again, in listing order; the last one taken sets the watermark.
    f.out.report.clear();
    f.watermark.PreDateTime = 0;
    f.scan();
    EXPECT_EQ(f.watermark.ScanDateTime, 99);
    EXPECT_EQ(f.items().size(), 1u) << "nothing filed twice";
    EXPECT_EQ(f.out.report.size(), 6u) << "but every download reported again";

    ScanFixture empty;
    empty.watermark = {0, 42};
    empty.scan();
    EXPECT_EQ(empty.watermark.PreDateTime, 42);
    EXPECT_EQ(empty.watermark.ScanDateTime, 42);
}

TEST(LogScanner, EntriesThatAreNotLogs) {
    ScanFixture f;
    f.fs.makeDirectory("/logs/sub", 200);
    f.scan();
    EXPECT_EQ(f.out.logName, "sub");
    EXPECT_TRUE(f.out.report.empty());
    EXPECT_EQ(f.watermark.ScanDateTime, 200) << "its date counts all the same";

    ScanFixture missing;
    missing.fs = MemoryFileSystem();
    missing.scan();
    EXPECT_TRUE(missing.out.report.empty());
}

TEST(LogScanner, ErrorsEndTheScanAndKeepTheWatermark) {
    struct Case {
        int openError, readError;
        std::string message;
    };
    const Case cases[] = {
        {ENOENT, 0,
         "\xCC\xA7\xB2\xD9\x82\xAA\x8C\xA9\x82\xC2\x82\xA9\x82\xE8\x82\xDC\x82\xB9\x82\xF1"},
        {EACCES, 0, msg::runtimeMessage(5)},
        {0, EIO, "I/O \xB4\xD7\xB0 (5)"},
        {ETXTBSY, 0, msg::formatNumber(msg::kIoError, ETXTBSY)},
    };
    for (const Case& c : cases) {
        ScanFixture f;
        const std::string log = crlf(concat(
            {{"FORUM>GO F"}, download("0123456789T", {}, "X.LZH"), {std::string(5000, 'p')}}));
        f.addLog("a.log", log, 100);
        f.addLog("b.log",
                 crlf(concat({{std::string(5000, 'p')}, download("0123456789U", {}, "U.LZH")})),
                 120);
        f.addLog("c.log", log, 110);
        MemoryFileSystem::File* bad = f.fs.find("/logs/b.log");
        bad->openError = c.openError;
        bad->readError = c.readError;
        f.watermark = {50, 60};
        try {
            f.scan();
            ADD_FAILURE() << "no error";
        } catch (const Error& e) {
            // The run time's message, then the log it happened on.
            EXPECT_EQ(e.text(), c.message + "\n/logs/b.log");
        }
        EXPECT_EQ(f.items(), (Lines{"F/T"})) << "finds before the error stay";
        EXPECT_TRUE(f.catalog.Modified());
        EXPECT_EQ(f.watermark.PreDateTime, 50);
        EXPECT_EQ(f.watermark.ScanDateTime, 60) << "never past a log that was not read";
    }
}

// The fast search of a log, and reads of any size, change nothing a scan does. The sample logs
// and a few hand-made ones stand for real dialogue.
TEST(LogScanner, SearchingAndReadSizesAgreeWithReadingEveryLine) {
    std::vector<std::pair<std::string, std::string>> logs;
    std::vector<std::filesystem::path> paths;
    for (const auto& entry :
         std::filesystem::directory_iterator(std::string(QBR_SOURCE_DIR) + "/samples/logs"))
        paths.push_back(entry.path());
    std::sort(paths.begin(), paths.end());
    for (const auto& path : paths) {
        std::ifstream in(path, std::ios::binary);
        logs.emplace_back(path.filename().string(),
                          std::string(std::istreambuf_iterator<char>(in), {}));
    }
    ASSERT_GE(logs.size(), 5u);
    const std::string dl = crlf(download("0123456789T", {"d"}, "X.LZH"));
    logs.emplace_back("z1", "\nLIB>DOW 1\r\n" + dl);                 // LF inside a line
    logs.emplace_back("z2", "xFORUM>GO A\r\r\nFORUM>GO B\r\n" + dl); // CR CR LF
    logs.emplace_back("z3", "LIB>GO\rLIB>DOW\r\n\r\nLIB>D");         // markers cut short
    logs.emplace_back("z4", std::string(70000, 'G') + "O\rFORUM>GO C\r" + dl);

    auto scan = [&](std::size_t piece, bool everyLine) {
        ScanFixture f;
        f.fs.setReadPiece(piece);
        for (const auto& [name, bytes] : logs)
            f.addLog(name, bytes);
        LogScanner scanner(f.catalog, f.fs, f.out, f.out);
        scanner.setReadEveryLine(everyLine);
        scanner.xFindFile(ScanFixture::kDir, f.watermark);
        std::string all;
        for (const std::string& line : f.out.report)
            all += line + "\n";
        forEachPreOrder(f.catalog.top(), [&](const TreeNode& node) {
            all += std::to_string(node.level()) + node.text() + "\n";
            if (node.level() == 2)
                for (std::string_view line : f.catalog.ItemText(node))
                    all.append(line).append("\n");
        });
        return all;
    };
    const std::string reference = scan(1 << 20, true);
    EXPECT_GT(std::count(reference.begin(), reference.end(), '\n'), 500) << "the logs file items";
    for (std::size_t piece : {1, 2, 3, 7, 64, 4093}) {
        EXPECT_EQ(scan(piece, true), reference) << piece;
        EXPECT_EQ(scan(piece, false), reference) << piece;
    }
}

} // namespace
} // namespace qbr
