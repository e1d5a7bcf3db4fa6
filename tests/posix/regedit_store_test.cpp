#include "catalog/error.h"
#include "catalog/messages.h"
#include "posix/regedit_store.h"
#include "settings/settings_messages.h"
#include "support/memory_registry_store.h"

#include <csignal>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <sstream>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

namespace qbr::platform {
namespace {

namespace fs = std::filesystem;

// "ソ" (83 5C) ends in a backslash byte, "ア" (83 41) in an ASCII capital.
const std::string kSo = "\x83\x5C";
const std::string kA = "\x83\x41";

RegeditDocument parse(std::string_view text) {
    return RegeditDocument::parse(text, "test.reg");
}

std::string errorOf(std::string_view text) {
    try {
        parse(text);
    } catch (const Error& error) {
        return error.text();
    }
    return "(no error)";
}

struct ReadCase {
    std::string line;
    RegistryType type;
    std::string data;
};

TEST(RegeditDocument, ReadsEachValueForm) {
    const ReadCase cases[] = {
        {R"("V"="C:\\Nifty\\Log")", RegistryType::String, "C:\\Nifty\\Log"},
        {R"("V"="say \"hi\"")", RegistryType::String, "say \"hi\""},
        {R"("V"="a\b")", RegistryType::String, "a\\b"}, // a lone backslash stands for itself
        {R"(@="default")", RegistryType::String, "default"},
        {"\"V\"=\"C:\\" + kSo + "\"", RegistryType::String, "C:\\" + kSo},
        {"\"V\"=hex(2):25,54,4d,50,25,00", RegistryType::ExpandString, std::string("%TMP%\0", 6)},
        {"\"V\"=hex(1):41,42,00", RegistryType::String, std::string("AB\0", 3)},
        {"\"V\"=dword:00000020", RegistryType::Other, "00000020"},
        {"\"V\"=hex:01,02", RegistryType::Other, "\x01\x02"},
        {"\"V\"=hex(7):41,00,00,00", RegistryType::Other, std::string("A\0\0\0", 4)},
        {"\"V\"=hex(fff5ffa2):43", RegistryType::Other, "C"}, // a type of eight digits
        {"  \"V\" = \"spaced\"  ", RegistryType::String, "spaced"},
        // UTF-8 typed into the file: "あ" ends in 82, which CP932 would pair with the quote.
        {"\"V\"=\"/home/u/\xE3\x81\x82\"", RegistryType::String, "/home/u/\xE3\x81\x82"},
    };
    for (const ReadCase& c : cases) {
        SCOPED_TRACE(c.line);
        const std::string name = c.line.substr(0, 1) == "@" ? "" : "V";
        const RegeditDocument doc =
            parse(std::string("REGEDIT4\r\n\r\n[HKEY_CURRENT_USER\\K]\r\n") + c.line + "\r\n");
        const auto value = doc.value("HKEY_CURRENT_USER\\K", name);
        ASSERT_TRUE(value);
        EXPECT_EQ(value->type, c.type);
        EXPECT_EQ(value->data, c.data);
    }
}

TEST(RegeditDocument, ContinuedByteListsAndCaseOfNames) {
    const RegeditDocument doc = parse("REGEDIT4\n\n[HKEY_CURRENT_USER\\Software\\EmSoft]\n"
                                      "\"Path\"=hex(2):43,3a,\\\n  5c,00\n"
                                      "[HKEY_CURRENT_USER\\Software\\" +
                                      kA + "]\n\"X\"=\"1\"\n");
    const auto path = doc.value("hkey_current_user\\SOFTWARE\\emsoft", "PATH");
    ASSERT_TRUE(path);
    EXPECT_EQ(path->data, std::string("C:\\\0", 4));
    EXPECT_TRUE(doc.keyExists("HKEY_CURRENT_USER\\software\\" + kA));
    // The second byte of "ア" is no letter: folding it would find another key.
    EXPECT_FALSE(doc.keyExists("HKEY_CURRENT_USER\\software\\\x83\x61"));
    // A key exists when a subkey is named.
    EXPECT_TRUE(doc.keyExists("HKEY_CURRENT_USER\\Software"));
    EXPECT_FALSE(doc.keyExists("HKEY_CURRENT_USER\\Soft"));
}

TEST(RegeditDocument, RemovalsTakeEffectInFileOrder) {
    const RegeditDocument doc = parse("REGEDIT4\n\n"
                                      "[HKEY_CURRENT_USER\\A\\B]\n\"X\"=\"1\"\n\"Y\"=\"2\"\n\n"
                                      "[-HKEY_CURRENT_USER\\A]\n\n"
                                      "[HKEY_CURRENT_USER\\A\\C]\n\"Z\"=\"3\"\n\"Z\"=-\n");
    EXPECT_FALSE(doc.keyExists("HKEY_CURRENT_USER\\A\\B"));
    EXPECT_FALSE(doc.value("HKEY_CURRENT_USER\\A\\B", "X"));
    EXPECT_TRUE(doc.keyExists("HKEY_CURRENT_USER\\A\\C"));
    EXPECT_FALSE(doc.value("HKEY_CURRENT_USER\\A\\C", "Z"));
}

TEST(RegeditDocument, RejectsWhatItCannotRead) {
    const std::string utf16 = errorOf(std::string("\xFF\xFEW\0i\0", 6));
    EXPECT_NE(utf16.find("Version 5.00"), std::string::npos) << utf16;
    EXPECT_NE(utf16.find("test.reg"), std::string::npos);
    EXPECT_EQ(errorOf("Windows Registry Editor Version 5.00\r\n"), utf16);
    EXPECT_NE(errorOf("[HKEY_CURRENT_USER\\K]\n").find("REGEDIT4"), std::string::npos);
    // The line is named: 4 here.
    const std::string expected = "test.reg \x82\xCC 4 ";
    for (const char* bad : {"\"V\"=\"open", "\"V\"=\"a\" tail", "\"V\"=dword:xyz", "V=\"1\"",
                            "\"V\"=hex:1,2x", "\"V\"", "[HKEY_CURRENT_USER\\K", "\"V\"=bogus"}) {
        SCOPED_TRACE(bad);
        const std::string error =
            errorOf(std::string("REGEDIT4\n\n[HKEY_CURRENT_USER\\K]\n") + bad + "\n");
        EXPECT_NE(error.find(expected), std::string::npos) << error;
    }
    // A value before any section.
    EXPECT_NE(errorOf("REGEDIT4\n\"V\"=\"1\"\n").find("test.reg \x82\xCC 2 "), std::string::npos);
    // Empty files are empty registries.
    EXPECT_EQ(parse("").text(), "");
    EXPECT_EQ(parse("\r\n  \n").text(), "");
}

TEST(RegeditDocument, ChangesOnlyWhatItWrites) {
    const std::string original = "REGEDIT4\r\n"
                                 "; brought from the old PC\r\n"
                                 "\r\n"
                                 "[HKEY_CURRENT_USER\\Software\\Other]\r\n"
                                 "\"Keep\"=dword:00000001\r\n"
                                 "\r\n"
                                 "[HKEY_CURRENT_USER\\Software\\Ostrane\\QBR\\Settings]\r\n"
                                 "\"Top\"=\"5\"\r\n"
                                 "\"Left\"=\"6\"\r\n"
                                 "\r\n"
                                 "[HKEY_LOCAL_MACHINE\\Software\\Unknown]\r\n"
                                 "\"Bin\"=hex:00,01,\\\r\n"
                                 "  02\r\n";
    RegeditDocument doc = parse(original);
    EXPECT_EQ(doc.text(), original);
    const std::string key = "HKEY_CURRENT_USER\\software\\ostrane\\qbr\\settings";
    EXPECT_FALSE(doc.setString(key, "top", "5")); // unchanged: nothing to write
    EXPECT_TRUE(doc.setString(key, "TOP", "7"));  // replaced where it stands, its name kept
    EXPECT_TRUE(doc.setString(key, "Width", "544"));
    EXPECT_TRUE(doc.setString("HKEY_CURRENT_USER\\Software\\New", "", "x"));
    std::string expected = original;
    expected.replace(expected.find("\"Top\"=\"5\""), 9, "\"Top\"=\"7\"");
    expected.replace(expected.find("\"Left\"=\"6\"\r\n") + 12, 0, "\"Width\"=\"544\"\r\n");
    expected += "\r\n[HKEY_CURRENT_USER\\Software\\New]\r\n@=\"x\"\r\n\r\n";
    EXPECT_EQ(doc.text(), expected);
    EXPECT_EQ(parse(doc.text()).value(key, "top")->data, "7");
}

TEST(RegeditDocument, KeepsEachLinesOwnEnding) {
    // Mixed endings, a CR of its own before a CR LF, and a last line without an ending.
    const std::string original = "REGEDIT4\n\n; note\r\r\n[HKEY_CURRENT_USER\\K]\r\n\"A\"=\"1\"";
    RegeditDocument doc = parse(original);
    EXPECT_EQ(doc.text(), original);
    EXPECT_TRUE(doc.setString("HKEY_CURRENT_USER\\K", "A", "2")); // the last line keeps none
    EXPECT_EQ(doc.text(), "REGEDIT4\n\n; note\r\r\n[HKEY_CURRENT_USER\\K]\r\n\"A\"=\"2\"");
    EXPECT_TRUE(doc.setString("HKEY_CURRENT_USER\\K", "B", "3")); // new lines end as the first
    EXPECT_EQ(doc.text(),
              "REGEDIT4\n\n; note\r\r\n[HKEY_CURRENT_USER\\K]\r\n\"A\"=\"2\"\n\"B\"=\"3\"\n");
    EXPECT_EQ(parse(doc.text()).text(), doc.text());
}

TEST(RegeditDocument, WhatIsWrittenReadsBackTheSame) {
    const std::string texts[] = {
        "C:\\Logs\\",
        "a \"quoted\" word",
        "C:\\" + kSo,
        "C:\\" + kSo + "\\",
        "/home/u/\xE3\x81\x82", // UTF-8 whose last byte CP932 takes as a lead byte
        "\x83",                 // a lone lead byte
        "two\r\nlines",         // no line of its own in this format: hex(1)
        "",
    };
    RegeditDocument doc;
    const std::string key = "HKEY_CURRENT_USER\\K\\" + kSo;
    int n = 0;
    for (const std::string& text : texts)
        ASSERT_TRUE(doc.setString(key, kSo + std::to_string(n++), text)) << text;
    const RegeditDocument back = parse(doc.text());
    n = 0;
    for (const std::string& text : texts) {
        SCOPED_TRACE(text);
        const auto value = back.value(key, kSo + std::to_string(n++));
        ASSERT_TRUE(value);
        EXPECT_EQ(value->type, RegistryType::String);
        EXPECT_EQ(value->data.substr(0, value->data.find('\0')), text);
    }
    EXPECT_EQ(doc.text().substr(0, 10), "REGEDIT4\r\n");
    EXPECT_FALSE(doc.setString("HKEY_CURRENT_USER\\K", "V", std::string("a\0b", 3)));
    EXPECT_FALSE(doc.setString("HKEY_CURRENT_USER\\K", "line\nbreak", "x"));
    EXPECT_FALSE(doc.ensureKey("HKEY_CURRENT_USER\\K\nL"));
}

TEST(DocumentRegistryStore, ClassesRootAsWindowsMergesIt) {
    MemoryRegistryStore store("REGEDIT4\n\n"
                              "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Classes\\.lzh]\n@=\"LhmeltFile\"\n\n"
                              "[HKEY_CLASSES_ROOT\\.zip]\n@=\"RootZip\"\n\n"
                              "[HKEY_CURRENT_USER\\Software\\Classes\\.zip]\n@=\"UserZip\"\n");
    const auto lzh = store.openClassesKey(".LZH");
    ASSERT_TRUE(lzh);
    EXPECT_EQ(lzh->read("", "")->data, "LhmeltFile");
    EXPECT_FALSE(lzh->createSection("x"));
    EXPECT_EQ(store.openClassesKey(".zip")->read("", "")->data, "UserZip");
    EXPECT_FALSE(store.openClassesKey(".arj"));
    EXPECT_EQ(store.storeCount(), 0); // reading HKEY_CLASSES_ROOT writes nothing
}

TEST(DocumentRegistryStore, OpeningAUserKeyCreatesIt) {
    MemoryRegistryStore store;
    const auto key = store.openUserKey("Software\\EmSoft\\EmNifty");
    EXPECT_FALSE(key->read("Settings", "RecentUserID"));
    EXPECT_EQ(store.text(),
              "REGEDIT4\r\n\r\n[HKEY_CURRENT_USER\\Software\\EmSoft\\EmNifty]\r\n\r\n");
    store.openUserKey("software\\emsoft\\emnifty");
    EXPECT_EQ(store.storeCount(), 1);
}

class RegeditStoreFile : public ::testing::Test {
  protected:
    void SetUp() override {
        dir_ = fs::temp_directory_path() /
               ("qbr-regedit-" + std::to_string(::getpid()) + "-" +
                ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(dir_);
        fs::create_directories(dir_);
    }
    void TearDown() override { fs::remove_all(dir_); }

    static std::string read(const fs::path& path) {
        std::ifstream in(path, std::ios::binary);
        std::stringstream text;
        text << in.rdbuf();
        return text.str();
    }
    static void write(const fs::path& path, std::string_view text) {
        std::ofstream(path, std::ios::binary) << text;
    }

    fs::path dir_;
};

TEST_F(RegeditStoreFile, MissingFileIsEmptyAndMadeAtTheFirstWrite) {
    const fs::path path = dir_ / "Quenbrill" / "registry.reg";
    RegeditStore store(path.string());
    EXPECT_FALSE(store.openClassesKey(".LZH"));
    EXPECT_FALSE(fs::exists(path));
    auto key = store.openUserKey("Software\\Ostrane\\QBR");
    ASSERT_TRUE(key->createSection("Settings"));
    ASSERT_TRUE(key->writeString("Settings", "PreDateTimeF", "36161.5"));
    RegeditStore again(path.string());
    EXPECT_EQ(again.openUserKey("Software\\Ostrane\\QBR")->read("Settings", "PreDateTimeF")->data,
              "36161.5");
    // No temporary file is left beside it.
    EXPECT_EQ(std::distance(fs::directory_iterator(path.parent_path()), fs::directory_iterator()),
              1);
}

TEST_F(RegeditStoreFile, DamagedFileIsReportedAndNeverWritten) {
    const fs::path path = dir_ / "registry.reg";
    const std::string damaged =
        "REGEDIT4\n\n[HKEY_CURRENT_USER\\Software\\Ostrane\\QBR\\Settings]\n"
        "\"Top\"=\"5\n";
    write(path, damaged);
    RegeditStore store(path.string());
    try {
        store.openUserKey("Software\\Ostrane\\QBR");
        FAIL() << "a damaged file was opened";
    } catch (const Error& error) {
        EXPECT_NE(error.text().find(path.string()), std::string::npos);
        EXPECT_NE(error.text().find(" 4 "), std::string::npos);
    }
    EXPECT_THROW(store.openClassesKey(".LZH"), Error);
    EXPECT_EQ(read(path), damaged);
}

TEST_F(RegeditStoreFile, UnreadableFileIsReported) {
    const fs::path path = dir_ / "registry.reg";
    fs::create_directories(path); // a folder where the file should be
    RegeditStore store(path.string());
    EXPECT_THROW(store.openUserKey("Software\\Ostrane\\QBR"), Error);
}

TEST_F(RegeditStoreFile, FailedWriteKeepsTheOldFile) {
    const fs::path path = dir_ / "registry.reg";
    const std::string original = "REGEDIT4\n\n[HKEY_CURRENT_USER\\Software\\Ostrane\\QBR]\n";
    write(path, original);
    RegeditStore store(path.string());
    auto key = store.openUserKey("Software\\Ostrane\\QBR");
    // No file may grow: every write fails (with EFBIG once the signal is ignored), even for root.
    const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit old{};
    ::getrlimit(RLIMIT_FSIZE, &old);
    rlimit none = old;
    none.rlim_cur = 0;
    ::setrlimit(RLIMIT_FSIZE, &none);
    const bool created = key->createSection("Settings");
    ::setrlimit(RLIMIT_FSIZE, &old);
    std::signal(SIGXFSZ, oldHandler);
    EXPECT_FALSE(created);
    EXPECT_EQ(store.lastStoreError(), EFBIG);
    // The settings' error names the file and the system's reason on its second line.
    EXPECT_EQ(key->failureDetail(), path.string() + ": " + msg::systemReason(EFBIG));
    EXPECT_EQ(read(path), original);
    EXPECT_EQ(std::distance(fs::directory_iterator(dir_), fs::directory_iterator()), 1);
}

TEST_F(RegeditStoreFile, PathUnderAFileIsReported) {
    const fs::path blocker = dir_ / "not-a-folder";
    write(blocker, "x");
    RegeditStore store((blocker / "registry.reg").string());
    EXPECT_THROW(store.openUserKey("Software\\Ostrane\\QBR"), Error);
    EXPECT_EQ(read(blocker), "x");
}

TEST_F(RegeditStoreFile, ALinkedFileStaysALink) {
    const fs::path real = dir_ / "real.reg";
    const fs::path link = dir_ / "registry.reg";
    write(real, "REGEDIT4\n\n; mine\n");
    fs::create_symlink(real, link);
    RegeditStore store(link.string());
    auto key = store.openUserKey("Software\\Ostrane\\QBR");
    EXPECT_TRUE(fs::is_symlink(link));
    EXPECT_EQ(read(real), "REGEDIT4\n\n; mine\n\n[HKEY_CURRENT_USER\\Software\\Ostrane\\QBR]\n\n");
}

TEST_F(RegeditStoreFile, DefaultPathFollowsXdgConfigHome) {
    const char* old = std::getenv("XDG_CONFIG_HOME");
    const std::string saved = old ? old : "";
    ::setenv("XDG_CONFIG_HOME", dir_.c_str(), 1);
    EXPECT_EQ(RegeditStore::defaultPath(), (dir_ / "Quenbrill" / "registry.reg").string());
    ::setenv("XDG_CONFIG_HOME", "relative", 1); // not absolute: ignored, as the standard says
    EXPECT_NE(RegeditStore::defaultPath().find("/.config/Quenbrill/registry.reg"),
              std::string::npos);
    if (old)
        ::setenv("XDG_CONFIG_HOME", saved.c_str(), 1);
    else
        ::unsetenv("XDG_CONFIG_HOME");
}

} // namespace
} // namespace qbr::platform
