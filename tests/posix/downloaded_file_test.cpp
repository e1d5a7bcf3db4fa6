#include "catalog/date_time.h"
#include "posix/downloaded_file.h"
#include "posix/file_probe.h"
#include "support/fake_file_probe.h"
#include "support/temp_dir.h"

#include <ctime>
#include <gtest/gtest.h>
#include <sys/stat.h>

namespace qbr::platform {
namespace {

// "表示.lzh" in CP932 (95 5C 8E A6) and in UTF-8.
const std::string kSjisName = "\x95\x5C\x8E\xA6.lzh";
const std::string kUtf8Name = "\xE8\xA1\xA8\xE7\xA4\xBA.lzh";

long long localTime(int year, int month, int day, int hour, int minute, int second) {
    std::tm tm{};
    tm.tm_year = year - 1900;
    tm.tm_mon = month - 1;
    tm.tm_mday = day;
    tm.tm_hour = hour;
    tm.tm_min = minute;
    tm.tm_sec = second;
    tm.tm_isdst = -1;
    return static_cast<long long>(std::mktime(&tm));
}

TEST(LocateDownloadedFile, StoredBytesFirstThenTheUtf8Form) {
    test::FakeFileProbe probe;
    probe.addFile("/dl/" + kUtf8Name);
    const DownloadedFile converted = locateDownloadedFile(probe, "/dl/", kSjisName);
    EXPECT_TRUE(converted.exists);
    EXPECT_EQ(converted.name, kUtf8Name);
    EXPECT_EQ(converted.path, "/dl/" + kUtf8Name);
    EXPECT_EQ(probe.asked(), (std::vector<std::string>{"/dl/" + kSjisName, "/dl/" + kUtf8Name}));

    probe.addFile("/dl/" + kSjisName);
    const DownloadedFile stored = locateDownloadedFile(probe, "/dl/", kSjisName);
    EXPECT_TRUE(stored.exists);
    EXPECT_EQ(stored.name, kSjisName) << "the bytes as stored win";
}

TEST(LocateDownloadedFile, MissingKeepsTheCatalogName) {
    test::FakeFileProbe probe;
    const DownloadedFile missing = locateDownloadedFile(probe, "/dl/", kSjisName);
    EXPECT_FALSE(missing.exists);
    EXPECT_EQ(missing.path, "/dl/" + kSjisName);
    // An ASCII name has no other form, and a name with bytes CP932 does not decode is not
    // guessed at.
    locateDownloadedFile(probe, "/dl/", "A.LZH");
    locateDownloadedFile(probe, "/dl/", "\x85\x40.lzh");
    EXPECT_EQ(probe.asked().size(), 4u);
}

TEST(LocateDownloadedFile, OnDiskDirectoriesDoNotCountAndAttributesDoNotMatter) {
    test::TempDir dir;
    PosixFileProbe probe;
    ::mkdir((dir.path() + "folder.lzh").c_str(), 0755);
    EXPECT_FALSE(locateDownloadedFile(probe, dir.path(), "folder.lzh").exists);
    EXPECT_FALSE(locateDownloadedFile(probe, dir.path(), "").exists) << "DownPath itself";

    dir.write(kUtf8Name, "x");
    const DownloadedFile found = locateDownloadedFile(probe, dir.path(), kSjisName);
    EXPECT_TRUE(found.exists);
    EXPECT_EQ(found.name, kUtf8Name);

    // A hidden file without any permission still gives its date, cut to an even second.
    const std::string hidden = dir.write(".hidden.zip", "x", localTime(2026, 3, 4, 13, 45, 7));
    ::chmod(hidden.c_str(), 0);
    EXPECT_TRUE(probe.isRegularFile(hidden));
    EXPECT_EQ(probe.fileDate(hidden), encodeDateTime(2026, 3, 4, 13, 45, 6));
    EXPECT_FALSE(probe.fileDate(dir.path() + "gone"));
}

TEST(CatalogNameForDiskName, CP932WhereItHoldsTheNameWhole) {
    EXPECT_EQ(catalogNameForDiskName(kUtf8Name), kSjisName);
    EXPECT_EQ(catalogNameForDiskName("A.LZH"), "A.LZH");
    EXPECT_EQ(catalogNameForDiskName(kSjisName), kSjisName) << "Shift-JIS bytes on disk";
    const std::string hangul = "\xED\x95\x9C.zip"; // not in CP932
    EXPECT_EQ(catalogNameForDiskName(hangul), hangul);

    EXPECT_EQ(catalogNameForChosenPath("/home/u/\xE5\xA4\x96/" + kUtf8Name), kSjisName);
    EXPECT_EQ(catalogNameForChosenPath("/dl/" + kSjisName), kSjisName);
}

} // namespace
} // namespace qbr::platform
