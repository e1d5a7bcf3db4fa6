#include "pane/file_actions.h"
#include "pane/file_name_rules.h"

#include <gtest/gtest.h>

namespace qbr {
namespace {

using Words = std::vector<std::string>;

TEST(FileExtension, FromTheLastDotUnlessASeparatorFollows) {
    const struct {
        std::string name, ext;
    } cases[] = {
        {"A.LZH", ".LZH"},
        {"a.zip.bak", ".bak"},
        {"README", ""},
        {"a.", "."},
        {".profile", ".profile"},
        {"a.b\\c", ""},
        {"a.b:c", ""},
        {"a.b/c", ""},
        // 表 (95 5C) and ソ (83 5C): their trail byte is no backslash.
        {"\x95\x5C.lzh", ".lzh"},
        {"x.\x95\x5C", ".\x95\x5C"},
        {"\x83\x5C", ""},
        // A lone lead byte at the end is a byte of its own, and so is one before a byte that
        // cannot follow it (外.lzh in UTF-8: E5 A4 96 2E).
        {"a.b\x81", ".b\x81"},
        {"\xE5\xA4\x96.lzh", ".lzh"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(fileExtension(c.name), c.ext) << c.name;
    EXPECT_EQ(asciiUpper("a.lZh\x82\xa0z"), "A.LZH\x82\xa0Z");
}

TEST(ChosenFileName, LastComponentAfterTheLastSlash) {
    EXPECT_EQ(chosenFileName("/home/u/dl/\x95\x5C\x8E\xA6.lzh"), "\x95\x5C\x8E\xA6.lzh");
    EXPECT_EQ(chosenFileName("/dl/a\\b:c.zip"), "a\\b:c.zip");
    EXPECT_EQ(chosenFileName("plain.txt"), "plain.txt");
    EXPECT_EQ(chosenFileName("/u/\xE5\xA4\x96/a.lzh"), "a.lzh") << "UTF-8 folder 外";
    EXPECT_EQ(chosenFileName("/dl/"), "");
}

TEST(ActsOnFileName, TwoBytesAreEnough) {
    EXPECT_FALSE(actsOnFileName(""));
    EXPECT_FALSE(actsOnFileName("a"));
    EXPECT_TRUE(actsOnFileName("ab"));
}

TEST(ArchiveListing, CommandThenThePathInDoubleQuotes) {
    const auto listing = archiveListing("\"C:\\Tools\\lhmelt.exe\"", "a b.lzh", "/dl/a b.lzh");
    ASSERT_TRUE(listing);
    EXPECT_EQ(listing->commandLine(), "\"C:\\Tools\\lhmelt.exe\" \"/dl/a b.lzh\"");
    EXPECT_EQ(listing->command, "\"C:\\Tools\\lhmelt.exe\"");
    EXPECT_EQ(listing->path, "/dl/a b.lzh");

    EXPECT_TRUE(archiveListing("lh", "X.EXE", "/dl/X.EXE"));
    EXPECT_FALSE(archiveListing("l", "a.lzh", "/dl/a.lzh")) << "1-byte command";
    EXPECT_FALSE(archiveListing("", "a.lzh", "/dl/a.lzh"));
    EXPECT_FALSE(archiveListing("lhmelt.exe", "a.lha", "/dl/a.lha"));
    EXPECT_FALSE(archiveListing("lhmelt.exe", "", "/dl/"));
}

TEST(SplitWindowsCommandLine, ProgramThenRuntimeRules) {
    const struct {
        std::string line;
        Words words;
    } cases[] = {
        {"", {}},
        {"   ", {}},
        {"explorer.exe /select,/dl/a b", {"explorer.exe", "/select,/dl/a", "b"}},
        {"\"C:\\Program Files\\x.exe\" \"/dl/a b.lzh\"",
         {"C:\\Program Files\\x.exe", "/dl/a b.lzh"}},
        {"\"C:\\dir\\\"x", {"C:\\dir\\", "x"}}, // no escaping in the program's name
        {"p a\\b \\\\server", {"p", "a\\b", "\\\\server"}},
        {"p a\\\"b", {"p", "a\"b"}},
        {"p a\\\\\"b c\"", {"p", "a\\b c"}},
        {"p \"a\"\"b\"", {"p", "a\"b"}},
        {"p \"\"", {"p", ""}},
        {"p\ta\t\tb", {"p", "a", "b"}},
        {"p \"open", {"p", "open"}},
        // 表 (95 5C) before a quote: its trail byte escapes nothing.
        {"p \"\x95\x5C\" x", {"p", "\x95\x5C", "x"}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(splitWindowsCommandLine(c.line), c.words) << c.line;
}

} // namespace
} // namespace qbr
