#include "archive/archive_messages.h"
#include "archive/entry_extraction.h"
#include "archive_test_data.h"
#include "catalog/error.h"
#include "support/temp_dir.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <sys/stat.h>

namespace qbr {
namespace {

namespace fs = std::filesystem;

struct Extraction {
    test::TempDir dir;
    std::string archivePath;
    archive::Listing listing;

    explicit Extraction(const std::string& bytes)
        : archivePath(dir.write("a.lzh", bytes)), listing(archive::listArchiveFile(archivePath)) {}

    // The error text of extracting entry `index`, or "" when it came out.
    std::string refusal(std::size_t index, archive::PrivateFolder& folder) const {
        try {
            archive::extractEntry(archivePath, index, listing.entries.at(index), folder);
        } catch (const Error& error) {
            return error.text();
        }
        return {};
    }
};

std::size_t filesUnder(const std::string& folder) {
    std::size_t count = 0;
    for (const auto& item : fs::recursive_directory_iterator(folder))
        count += item.is_regular_file() ? 1 : 0;
    return count;
}

TEST(EntryExtraction, WritesTheEntryUnderItsDecodedNameInAPrivateFolder) {
    const Extraction archive(fixtures::lzhArchive(test::twoLzhMembers(2)));
    std::string folderPath;
    {
        archive::PrivateFolder folder;
        folderPath = folder.path();
        struct stat info {};
        ASSERT_EQ(::stat(folderPath.c_str(), &info), 0);
        EXPECT_EQ(info.st_mode & 0777, 0700u);

        const archive::ExtractedFile sheet =
            archive::extractEntry(archive.archivePath, 1, archive.listing.entries[1], folder);
        EXPECT_EQ(sheet.name, "\xE8\xA1\xA8\xE8\xA8\x88\xE7\xAE\x97.DOC"); // 表計算.DOC
        EXPECT_EQ(sheet.directory.rfind(folderPath + "/", 0), 0u);
        EXPECT_EQ(test::TempDir::read(sheet.directory + "/" + sheet.name), test::kSheetData);
        // Opened twice: a fresh subfolder each time, nothing overwritten.
        const archive::ExtractedFile again =
            archive::extractEntry(archive.archivePath, 1, archive.listing.entries[1], folder);
        EXPECT_NE(again.directory, sheet.directory);
        EXPECT_EQ(filesUnder(folderPath), 2u);
    }
    EXPECT_FALSE(fs::exists(folderPath)) << "the folder goes with its owner";
}

TEST(EntryExtraction, ZipEntriesWithUtf8AndCp932Names) {
    test::TempDir dir;
    const std::string path = dir.write(
        "a.zip",
        fixtures::zipArchive(
            {{fixtures::kSoft + "/" + fixtures::kSheet, test::kSheetData, true, false, {}}}));
    const archive::Listing listing = archive::listArchiveFile(path);
    archive::PrivateFolder folder;
    const archive::ExtractedFile file =
        archive::extractEntry(path, 0, listing.entries.at(0), folder);
    EXPECT_EQ(test::TempDir::read(file.directory + "/" + file.name), test::kSheetData);
}

TEST(EntryExtraction, RefusesWhatCouldHarmAndLeavesNothing) {
    fixtures::LzhMember longer = test::lzhMember("LONG.TXT", "short", 0);
    longer.declaredSize = 1000; // claims more than the data hold
    fixtures::LzhMember shorter = test::lzhMember("SHORT.TXT", "longer than said", 1);
    shorter.declaredSize = 3;
    fixtures::LzhMember folderEntry = test::lzhMember("", "", 2);
    folderEntry.method = "-lhd-";
    folderEntry.directory = std::string("DOC\xFF");
    std::string damaged = fixtures::lzhArchive({test::lzhMember("CRC.TXT", "checked", 2)});
    damaged[damaged.size() - 2] ^= 0x01; // a data byte: the level 2 data CRC fails

    struct Case {
        std::string bytes;
        std::string_view refusal;
    };
    const std::vector<Case> cases{
        {fixtures::lzhArchive({test::lzhMember("..\\..\\EVIL.TXT", "x", 0)}),
         archive::text::kUnsafeName},
        {fixtures::lzhArchive({test::lzhMember("/tmp/EVIL.TXT", "x", 1)}),
         archive::text::kUnsafeName},
        {fixtures::zipArchive({{"../evil.txt", "x", false, false, {}}}),
         archive::text::kUnsafeName},
        {fixtures::zipArchive({{"doc/../../evil.txt", "x", true, false, {}}}),
         archive::text::kUnsafeName},
        {fixtures::lzhArchive({longer}), archive::text::kSizeMismatch},
        {fixtures::lzhArchive({shorter}), archive::text::kSizeMismatch},
        {fixtures::lzhArchive({folderEntry}), archive::text::kNotAFile},
        {damaged, archive::text::kCannotExtract},
    };
    for (const Case& c : cases) {
        const Extraction archive(c.bytes);
        ASSERT_EQ(archive.listing.entries.size(), 1u) << archive.listing.error;
        archive::PrivateFolder folder;
        const std::string refusal = archive.refusal(0, folder);
        EXPECT_EQ(refusal.substr(0, c.refusal.size()), c.refusal)
            << archive.listing.entries[0].path;
        EXPECT_EQ(filesUnder(folder.path()), 0u) << archive.listing.entries[0].path;
        EXPECT_FALSE(fs::exists(fs::path(folder.path()).parent_path() / "EVIL.TXT"));
        EXPECT_FALSE(fs::exists(fs::path(folder.path()).parent_path() / "evil.txt"));
    }
}

TEST(EntryExtraction, AnArchiveChangedSinceTheListingIsNotTrusted) {
    test::TempDir dir;
    const std::string path =
        dir.write("a.lzh", fixtures::lzhArchive({test::lzhMember("A.TXT", "one")}));
    const archive::Listing listing = archive::listArchiveFile(path);
    dir.write("a.lzh", fixtures::lzhArchive({test::lzhMember("B.TXT", "two")}));
    archive::PrivateFolder folder;
    try {
        archive::extractEntry(path, 0, listing.entries.at(0), folder);
        ADD_FAILURE() << "extracted an entry that is no longer there";
    } catch (const Error& error) {
        EXPECT_EQ(error.text(), archive::text::kArchiveChanged);
    }
    EXPECT_EQ(filesUnder(folder.path()), 0u);
}

} // namespace
} // namespace qbr
