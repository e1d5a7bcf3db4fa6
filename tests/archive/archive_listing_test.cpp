#include "archive/archive_listing.h"
#include "archive/archive_messages.h"
#include "archive_test_data.h"

#include <clocale>
#include <gtest/gtest.h>

namespace qbr {
namespace {

using archive::listArchiveBytes;
using fixtures::kReadMe;
using fixtures::kSheet;
using fixtures::kSoft;

// "ソフト/表計算.DOC" in UTF-8
const std::string kSheetPathUtf8 = "\xE3\x82\xBD\xE3\x83\x95\xE3\x83\x88/"
                                   "\xE8\xA1\xA8\xE8\xA8\x88\xE7\xAE\x97.DOC";

class LzhLevels : public ::testing::TestWithParam<int> {};

TEST_P(LzhLevels, ListsShiftJisNamesAsTheirBytes) {
    const archive::Listing listing =
        listArchiveBytes(fixtures::lzhArchive(test::twoLzhMembers(GetParam())));
    ASSERT_TRUE(listing.complete()) << listing.error;
    ASSERT_EQ(listing.entries.size(), 2u);
    const archive::Entry& readMe = listing.entries[0];
    EXPECT_EQ(readMe.path, kReadMe);
    EXPECT_FALSE(readMe.utf8Name);
    EXPECT_EQ(readMe.size, test::kReadMeText.size());
    EXPECT_EQ(readMe.compressedSize, test::kReadMeText.size());
    EXPECT_EQ(readMe.method, "-lh0-");
    EXPECT_EQ(readMe.modified, fixtures::localSeconds({}));
    // The folder separator is "/" at every level, and the 0x5C trail bytes of ソ and 表
    // stay what they are.
    const archive::Entry& sheet = listing.entries[1];
    EXPECT_EQ(sheet.path, kSoft + "/" + kSheet);
    EXPECT_EQ(archive::nameAsUtf8(sheet), kSheetPathUtf8);
    EXPECT_EQ(sheet.size, 300u);
    EXPECT_EQ(sheet.modified, fixtures::localSeconds(test::kSheetDate));
    const archive::Totals totals = listing.totals();
    EXPECT_EQ(totals.files, 2u);
    EXPECT_EQ(totals.size, 300u + test::kReadMeText.size());
    EXPECT_EQ(totals.compressedSize, totals.size);
}

INSTANTIATE_TEST_SUITE_P(Archive, LzhLevels, ::testing::Values(0, 1, 2));

TEST(ArchiveListing, ZipNamesWithAndWithoutTheUtf8Mark) {
    const std::vector<fixtures::ZipMember> members{
        {kReadMe, test::kReadMeText, false, false, {}},
        {kSoft + "/", "", false, true, {}},
        {kSoft + "/" + kSheet, test::kSheetData, true, false, test::kSheetDate},
    };
    const archive::Listing cp932 = listArchiveBytes(fixtures::zipArchive(members));
    ASSERT_TRUE(cp932.complete()) << cp932.error;
    ASSERT_EQ(cp932.entries.size(), 3u);
    EXPECT_EQ(cp932.entries[0].path, kReadMe);
    EXPECT_FALSE(cp932.entries[0].utf8Name);
    EXPECT_EQ(cp932.entries[0].method, "stored");
    EXPECT_TRUE(cp932.entries[1].directory);
    EXPECT_EQ(cp932.entries[2].path, kSoft + "/" + kSheet);
    EXPECT_EQ(cp932.entries[2].method, "deflate");
    EXPECT_EQ(cp932.entries[2].size, 300u);
    EXPECT_EQ(cp932.entries[2].modified, fixtures::localSeconds(test::kSheetDate));
    EXPECT_EQ(cp932.totals().files, 2u);

    // Marked UTF-8: "日本語.txt", and "café.txt", whose letters all lie below U+0100.
    const std::string japanese = "\xE6\x97\xA5\xE6\x9C\xAC\xE8\xAA\x9E.txt";
    const std::string cafe = "caf\xC3\xA9.txt";
    const archive::Listing utf8 =
        listArchiveBytes(fixtures::zipArchive({{japanese, "a", false, false, {}},
                                               {cafe, "b", true, false, {}},
                                               {"plain.txt", "c", false, false, {}}},
                                              true));
    ASSERT_TRUE(utf8.complete()) << utf8.error;
    ASSERT_EQ(utf8.entries.size(), 3u);
    EXPECT_EQ(utf8.entries[0].path, japanese);
    EXPECT_TRUE(utf8.entries[0].utf8Name);
    EXPECT_EQ(utf8.entries[1].path, cafe);
    EXPECT_TRUE(utf8.entries[1].utf8Name);
    EXPECT_EQ(archive::nameAsUtf8(utf8.entries[1]), cafe);
    EXPECT_EQ(utf8.entries[2].path, "plain.txt");
}

// The desktop program runs in the user's locale; the listing must not depend on it.
TEST(ArchiveListing, SameInAnyProcessLocale) {
    const std::string lzh = fixtures::lzhArchive(test::twoLzhMembers(0));
    const std::string zip = fixtures::zipArchive({{kReadMe, "a", false, false, {}}});
    const std::string saved = std::setlocale(LC_ALL, nullptr);
    for (const char* locale : {"C.UTF-8", "C"}) {
        if (!std::setlocale(LC_ALL, locale))
            continue;
        EXPECT_EQ(listArchiveBytes(lzh).entries.at(1).path, kSoft + "/" + kSheet) << locale;
        const archive::Listing listing = listArchiveBytes(zip);
        EXPECT_EQ(listing.entries.at(0).path, kReadMe) << locale;
        EXPECT_FALSE(listing.entries.at(0).utf8Name) << locale;
    }
    std::setlocale(LC_ALL, saved.c_str());
}

TEST(ArchiveListing, SelfExtractingExeListsTheArchiveInside) {
    const std::string lzh = fixtures::lzhArchive(test::twoLzhMembers(1));
    const std::string zip = fixtures::zipArchive({{kReadMe, "a", false, false, {}}});
    for (const std::string& inner : {lzh, zip}) {
        const archive::Listing plain = listArchiveBytes(inner);
        const archive::Listing sfx = listArchiveBytes(fixtures::exeStub() + inner);
        ASSERT_TRUE(sfx.complete()) << sfx.error;
        ASSERT_EQ(sfx.entries.size(), plain.entries.size());
        for (std::size_t i = 0; i < plain.entries.size(); ++i)
            EXPECT_EQ(sfx.entries[i].path, plain.entries[i].path);
    }
}

TEST(ArchiveListing, FilesThatAreNoArchiveSaySo) {
    const archive::Listing exe = listArchiveBytes(fixtures::exeStub(8192));
    EXPECT_TRUE(exe.entries.empty());
    EXPECT_EQ(exe.error, archive::text::kNotSelfExtracting);
    const archive::Listing text = listArchiveBytes("just some text, no archive at all\r\n");
    EXPECT_EQ(text.error, archive::text::kNotAnArchive);
    EXPECT_EQ(listArchiveBytes("").error, archive::text::kNotAnArchive);
    const archive::Listing missing = archive::listArchiveFile("/nonexistent/quenbrill.lzh");
    EXPECT_FALSE(missing.complete());
    EXPECT_EQ(missing.error.rfind(archive::text::kCannotRead, 0), 0u) << missing.error;
}

// Cut or damaged archives end the listing with an error, keeping the entries read before.
TEST(ArchiveListing, DamagedArchivesGiveAnErrorAndWhatWasRead) {
    const std::string lzh = fixtures::lzhArchive(test::twoLzhMembers(2));
    const std::string zip = fixtures::zipArchive({{kReadMe, test::kSheetData, false, false, {}}});
    struct Case {
        const char* what;
        std::string bytes;
        std::size_t entriesKept;
    };
    std::string badSum = fixtures::lzhArchive(test::twoLzhMembers(0));
    badSum[1] = static_cast<char>(badSum[1] + 1);
    std::string badCrc = lzh;
    badCrc[32] = static_cast<char>(badCrc[32] ^ 0x01); // the first byte of the name
    const std::size_t secondHeader = fixtures::lzhArchive({test::twoLzhMembers(2)[0]}).size() - 1;
    const std::vector<Case> cases{
        {"LZH cut in the first header", lzh.substr(0, 20), 0},
        {"LZH cut in the second entry's data", lzh.substr(0, lzh.size() - 100), 2},
        {"LZH cut in the second header", lzh.substr(0, secondHeader + 10), 1},
        {"level 0 header sum wrong", badSum, 0},
        {"level 2 header CRC wrong", badCrc, 0},
        {"ZIP cut in its first header", zip.substr(0, 40), 0},
        {"ZIP cut in the data", zip.substr(0, 120), 1},
    };
    for (const Case& c : cases) {
        const archive::Listing listing = listArchiveBytes(c.bytes);
        EXPECT_FALSE(listing.complete()) << c.what;
        EXPECT_EQ(listing.entries.size(), c.entriesKept) << c.what;
        if (c.entriesKept > 0) {
            EXPECT_EQ(listing.entries[0].path, kReadMe) << c.what;
        }
    }
}

TEST(ArchiveListing, TooManyEntriesStopWithAnError) {
    std::vector<fixtures::LzhMember> members(archive::kMaxEntries + 1,
                                             test::lzhMember("A.TXT", ""));
    const archive::Listing listing = listArchiveBytes(fixtures::lzhArchive(members));
    EXPECT_EQ(listing.error, archive::text::kTooManyEntries);
    EXPECT_EQ(listing.entries.size(), archive::kMaxEntries);
}

// Hostile names are listed as they stand: the listing shows them; extraction refuses them.
TEST(ArchiveListing, NamesLeadingOutsideAreListedAsTheyStand) {
    const archive::Listing listing = listArchiveBytes(fixtures::lzhArchive(
        {test::lzhMember("..\\..\\EVIL.TXT", "x", 0), test::lzhMember("/etc/passwd", "y", 1)}));
    ASSERT_TRUE(listing.complete()) << listing.error;
    ASSERT_EQ(listing.entries.size(), 2u);
    EXPECT_EQ(listing.entries[0].path, "../../EVIL.TXT");
    EXPECT_EQ(listing.entries[1].path, "/etc/passwd");
}

} // namespace
} // namespace qbr
