#include "catalog/error.h"
#include "settings/archiver_command.h"
#include "settings/emnifty_settings.h"
#include "settings/registry_settings.h"
#include "support/memory_registry_store.h"

#include <gtest/gtest.h>

namespace qbr {
namespace {

using platform::MemoryRegistryStore;

std::string reg(const std::string& body) {
    return "REGEDIT4\r\n\r\n" + body;
}

std::string errorText(const std::function<void()>& action) {
    try {
        action();
    } catch (const Error& error) {
        return error.text();
    }
    return "(no error)";
}

TEST(SettingInteger, ReadsAsTheRegistryKeepsThem) {
    const struct {
        const char* text;
        int expected;
    } cases[] = {
        {"0x20", 32},
        {"0X1f", 31},
        {"abc", 7},
        {"", 7},
        {"2", 2},
        {"  -5", -5},
        {"+12", 12},
        {"$1F", 31},
        {"-$10", -16},
        {"$FFFFFFFF", -1},
        {"0x", 7},
        {"0xZ", 7},
        {"0x100000000", 7},
        {" 0x20", 7},
        {"5 ", 7},
        {"1.5", 7},
        {"-", 7},
        {"$", 7},
        {"2147483647", 2147483647},
        {"-2147483648", -2147483647 - 1},
        {"2147483648", 7},
        {"00012", 12},
    };
    for (const auto& c : cases)
        EXPECT_EQ(parseSettingInteger(c.text, 7), c.expected) << '"' << c.text << '"';
}

TEST(SettingValues, TypesFlagsAndDefaults) {
    MemoryRegistryStore store(reg("[HKEY_CURRENT_USER\\K\\S]\r\n"
                                  "\"Two\"=\"2\"\r\n\"Zero\"=\"0\"\r\n\"Word\"=\"abc\"\r\n"
                                  "\"Dword\"=dword:00000001\r\n"
                                  "\"Exp\"=hex(2):25,54,00,78,00\r\n"));
    const auto key = store.openUserKey("K");
    EXPECT_TRUE(readFlag(*key, "S", "Two", false)); // any number but 0 is true
    EXPECT_FALSE(readFlag(*key, "S", "Zero", true));
    EXPECT_TRUE(readFlag(*key, "S", "Missing", true));
    EXPECT_FALSE(readFlag(*key, "S", "Word", false));
    EXPECT_TRUE(readFlag(*key, "S", "Word", true)); // no number: the default
    EXPECT_EQ(readInteger(*key, "Nowhere", "Two", 375), 375);
    EXPECT_EQ(readText(*key, "S", "Exp", "-"), "%T"); // up to the first NUL, unexpanded
    EXPECT_EQ(errorText([&] { readText(*key, "S", "Dword", ""); }),
              "'Dword' \x82\xCC\xC3\xDE\xB0\xC0\x8C^\x82\xAA\x95s\x90\xB3\x82\xC5\x82\xB7");
    EXPECT_THROW(readInteger(*key, "S", "Dword", 0), Error);
}

TEST(SettingValues, WritesDecimalTextAndFlagsCreatingTheSection) {
    MemoryRegistryStore store;
    const auto key = store.openUserKey("K");
    writeInteger(*key, "S", "Top", -12);
    writeFlag(*key, "S", "Maximized", true);
    writeFlag(*key, "S", "Other", false);
    EXPECT_EQ(store.text(),
              reg("[HKEY_CURRENT_USER\\K]\r\n\r\n[HKEY_CURRENT_USER\\K\\S]\r\n"
                  "\"Top\"=\"-12\"\r\n\"Maximized\"=\"1\"\r\n\"Other\"=\"0\"\r\n\r\n"));
}

TEST(SettingValues, WriteFailuresNameTheSectionOrTheValue) {
    MemoryRegistryStore store(reg("[HKEY_CURRENT_USER\\K\\Old]\r\n"));
    const auto key = store.openUserKey("K");
    store.failStoresAfter(0);
    EXPECT_EQ(errorText([&] { writeInteger(*key, "New", "Top", 1); }),
              "\xB7\xB0 New \x82\xCC\x8D\xEC\x90\xAC\x82\xC9\x8E\xB8\x94s\x82\xB5\x82\xDC\x82\xB5"
              "\x82\xBD\n(memory): the store refused the write");
    EXPECT_EQ(errorText([&] { writeInteger(*key, "Old", "Top", 1); }),
              "'Top' \x82\xCC\x90\xDD\x92\xE8\x82\xC9\x8E\xB8\x94s\x82\xB5\x82\xDC\x82\xB5\x82\xBD"
              "\n(memory): the store refused the write");
}

TEST(ArchiverCommand, CutsTheOpenCommandAfterTheFirstExe) {
    const struct {
        const char* command;
        const char* expected;
    } cases[] = {
        {"\"C:\\Program Files\\LHMELT\\LHMELT.EXE\" %1",
         "\"C:\\Program Files\\LHMELT\\LHMELT.EXE\""},
        {"C:\\LHMELT\\LHMELT.EXE %1", "C:\\LHMELT\\LHMELT.EXE"},
        {"C:\\EXETOOLS\\LHMELT.EXE %1", "C:\\EXE"}, // the first "exe" anywhere ends the cut
        {"c:\\tools\\Explzh.exe \"%1\"", "c:\\tools\\Explzh.exe"},
        {"C:\\UNLHA\\UNLHA32.EXE %1", ""},
        {"", ""},
        // Only ASCII capitals are made small: "ＬＨＭＥＬＴ" in full width is no match.
        {"C:\\\x82\x6B\x82\x67\x82\x6C\x82\x64\x82\x6B\x82\x73.EXE", ""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(archiverCommandFrom(c.command), c.expected) << c.command;
}

TEST(ArchiverCommand, FollowsTheLzhAssociation) {
    const struct {
        std::string file;
        const char* expected;
    } cases[] = {
        {reg("[HKEY_CLASSES_ROOT\\.lzh]\r\n@=\"LhmeltFile\"\r\n\r\n"
             "[HKEY_CLASSES_ROOT\\lhmeltfile\\Shell\\Open\\Command]\r\n"
             "@=\"C:\\\\LHMELT\\\\LHMELT.EXE %1\"\r\n"),
         "C:\\LHMELT\\LHMELT.EXE"},
        {"", ""},                                                       // no association
        {reg("[HKEY_CLASSES_ROOT\\.LZH]\r\n@=\"\"\r\n"), ""},           // empty file type
        {reg("[HKEY_CLASSES_ROOT\\.LZH]\r\n@=\"LzhFile\"\r\n"), ""},    // no open command
        {reg("[HKEY_CLASSES_ROOT\\.LZH]\r\n@=\"LzhFile\"\r\n\r\n"       // a command key
             "[HKEY_CLASSES_ROOT\\LzhFile\\shell\\open\\command]\r\n"), // without a value
         ""},
        {reg("[HKEY_CLASSES_ROOT\\.LZH]\r\n@=\"LzhFile\"\r\n\r\n"
             "[HKEY_CLASSES_ROOT\\LzhFile\\shell\\open\\command]\r\n@=\"unlha %1\"\r\n"),
         ""},
    };
    for (const auto& c : cases) {
        MemoryRegistryStore store(c.file);
        EXPECT_EQ(detectArchiverCommand(store), c.expected) << c.file;
        EXPECT_EQ(store.storeCount(), 0);
    }
    MemoryRegistryStore typed(reg("[HKEY_CLASSES_ROOT\\.LZH]\r\n@=dword:00000001\r\n"));
    EXPECT_NE(errorText([&] { GetExtLinkApp(typed, "LZH"); }).find("''"), std::string::npos);
}

TEST(EmNiftyFolders, ReadsTheRecentUsersFolders) {
    const std::string key = "[HKEY_CURRENT_USER\\Software\\EmSoft\\EmNifty";
    const struct {
        std::string file;
        const char* logPath;
        const char* downPath;
    } cases[] = {
        {"", "", ""}, // never installed
        {reg(key + "\\Settings]\r\n\"RecentUserID\"=\"ABC01234\"\r\n\r\n" + key +
             "\\ABC01234]\r\n\"LogPath\"=\"/home/u/log\"\r\n\"DownPath\"=\"/home/u/down/\"\r\n"),
         "/home/u/log/", "/home/u/down/"},
        // No RecentUserID, or an empty one: the key itself.
        {reg(key + "]\r\n\"LogPath\"=\"/l\"\r\n\"DownPath\"=\"\"\r\n"), "/l/", ""},
        {reg(key + "\\Settings]\r\n\"RecentUserID\"=\"\"\r\n\r\n" + key +
             "]\r\n\"LogPath\"=\"/l/\"\r\n"),
         "/l/", ""},
        // A user without a section of their own.
        {reg(key + "\\Settings]\r\n\"RecentUserID\"=\"X\"\r\n\r\n" + key +
             "]\r\n\"LogPath\"=\"/l\"\r\n"),
         "", ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.file);
        MemoryRegistryStore store(c.file);
        std::string logPath = "unset", downPath = "unset";
        readEmNiftyFolders(store, logPath, downPath);
        EXPECT_EQ(logPath, c.logPath);
        EXPECT_EQ(downPath, c.downPath);
        // The key is there afterwards, empty when the program never ran.
        EXPECT_TRUE(platform::RegeditDocument::parse(store.text(), "")
                        .keyExists("HKEY_CURRENT_USER\\Software\\EmSoft\\EmNifty"));
        EXPECT_LE(store.storeCount(), 1);
    }
}

TEST(EmNiftyFolders, SetUpWritesUnderTheRecentUser) {
    MemoryRegistryStore store;
    writeEmNiftyFolders(store, {std::string("ABC01234"), std::string("/logs"), std::nullopt});
    writeEmNiftyFolders(store, {std::nullopt, std::nullopt, std::string("/down")});
    std::string logPath, downPath;
    readEmNiftyFolders(store, logPath, downPath);
    EXPECT_EQ(logPath, "/logs/");
    EXPECT_EQ(downPath, "/down/");
    EXPECT_NE(store.text().find("[HKEY_CURRENT_USER\\Software\\EmSoft\\EmNifty\\ABC01234]\r\n"
                                "\"LogPath\"=\"/logs\"\r\n\"DownPath\"=\"/down\""),
              std::string::npos);
}

} // namespace
} // namespace qbr
