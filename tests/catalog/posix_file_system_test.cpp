#include "catalog/catalog_files.h"
#include "catalog/catalog_lock.h"
#include "catalog/date_time.h"
#include "catalog/error.h"
#include "catalog/file_system.h"
#include "catalog/log_scanner.h"
#include "support/catalog_fixture.h"
#include "support/temp_dir.h"

#include <cstdlib>
#include <ctime>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

namespace qbr {
namespace {

class InUtc : public ::testing::Test {
  protected:
    void SetUp() override {
        const char* tz = std::getenv("TZ");
        saved_ = tz ? tz : "";
        hadTz_ = tz != nullptr;
        ::setenv("TZ", "UTC", 1);
        ::tzset();
    }
    void TearDown() override {
        if (hadTz_)
            ::setenv("TZ", saved_.c_str(), 1);
        else
            ::unsetenv("TZ");
        ::tzset();
    }

  private:
    std::string saved_;
    bool hadTz_ = false;
};

constexpr long long k19990101 = 915148800; // 1999-01-01 00:00:00 UTC

using DateTimes = InUtc;

TEST_F(DateTimes, DaysSince18991230CutToAnEvenSecond) {
    EXPECT_EQ(encodeDateTime(1899, 12, 30, 0, 0, 0), 0);
    EXPECT_EQ(encodeDateTime(1999, 1, 1, 0, 0, 0), 36161);
    EXPECT_EQ(encodeDateTime(1999, 1, 1, 12, 0, 0), 36161.5);
    EXPECT_EQ(fileDateTime(k19990101 + 10 * 3600 + 3), encodeDateTime(1999, 1, 1, 10, 0, 2));
    EXPECT_EQ(fileDateTime(k19990101 + 10 * 3600 + 2), encodeDateTime(1999, 1, 1, 10, 0, 2));
    EXPECT_EQ(fileDateTime(k19990101 - 1), encodeDateTime(1998, 12, 31, 23, 59, 58));
    ::setenv("TZ", "JST-9", 1);
    ::tzset();
    EXPECT_EQ(fileDateTime(k19990101), encodeDateTime(1999, 1, 1, 9, 0, 0)) << "local time";
}

TEST_F(DateTimes, ListingGivesEveryEntryWithItsDate) {
    test::TempDir dir;
    const std::string sjisName = "\x83\x8D\x83\x4F.LOG"; // "ログ.LOG" as bytes
    dir.write(sjisName, "x", k19990101 + 7);
    dir.write(".hidden", "y", k19990101 + 9);
    ::mkdir((dir.path() + "sub").c_str(), 0755);
    std::vector<DirEntry> entries = systemFileSystem().listDirectory(dir.path());
    std::sort(entries.begin(), entries.end(),
              [](const DirEntry& a, const DirEntry& b) { return a.name < b.name; });
    ASSERT_EQ(entries.size(), 3u);
    EXPECT_EQ(entries[0].name, ".hidden");
    EXPECT_EQ(entries[1].name, "sub");
    EXPECT_EQ(entries[2].name, sjisName) << "names are bytes, never decoded";
    EXPECT_EQ(entries[2].date, encodeDateTime(1999, 1, 1, 0, 0, 6));
    EXPECT_TRUE(systemFileSystem().isRegularFile(dir.path() + sjisName));
    EXPECT_FALSE(systemFileSystem().isRegularFile(dir.path() + "sub"));
    EXPECT_TRUE(systemFileSystem().listDirectory(dir.path() + "missing/").empty());
    EXPECT_TRUE(systemFileSystem().listDirectory("").empty()) << "no folder set: nothing listed";
}

TEST(PosixFiles, SaveLoadAndAnInterruptedCommitOnDisk) {
    test::TempDir dir;
    const CatalogPaths paths = CatalogPaths::fromExecutable(dir.path() + "quenbrill");
    Catalog catalog = test::sampleCatalog();
    test::RecordingProgress progress;
    SaveCatalog(catalog, paths, systemFileSystem(), progress);
    EXPECT_EQ(test::TempDir::read(paths.trr()),
              "Niftyserve-Library\r\n\tFONE\r\n\t\tA\r\n\t\tB\r\n\tFTWO\r\n\t\tC\r\n");
    EXPECT_FALSE(systemFileSystem().isRegularFile(paths.commitMarker()));

    // A save that stopped after its commit marker: the next load finishes it.
    dir.write("quenbrill.trr.new", "Niftyserve-Library\r\n\tFNEW\r\n\t\tN\r\n");
    dir.write("quenbrill.nod.new", std::string("\0\0\0\0\1\0\0\0", 8));
    dir.write("quenbrill.dat.new", "n\r\n");
    dir.write("quenbrill.dat.commit", "");
    Catalog loaded;
    LoadCatalog(loaded, paths, systemFileSystem(), progress);
    EXPECT_EQ(test::describe(loaded), "0 Niftyserve-Library\n1 FNEW\n2 N [0,1]\n| n\n");
    EXPECT_FALSE(systemFileSystem().isRegularFile(paths.commitMarker()));
    EXPECT_FALSE(systemFileSystem().isRegularFile(paths.trr() + ".new"));

    // Leftovers of a save that failed before its marker are ignored.
    dir.write("quenbrill.trr.new", "garbage\r\n");
    Catalog again;
    LoadCatalog(again, paths, systemFileSystem(), progress);
    EXPECT_EQ(test::describe(again), test::describe(loaded));
}

TEST(PosixFiles, ASaveWritesThroughLinksAndKeepsModesAndOwners) {
    test::TempDir dir;
    ::mkdir((dir.path() + "disk").c_str(), 0755);
    ::mkdir((dir.path() + "prog").c_str(), 0755);
    test::RecordingProgress progress;
    Catalog first = test::sampleCatalog();
    const CatalogPaths real = CatalogPaths::fromBase(dir.path() + "disk/c");
    SaveCatalog(first, real, systemFileSystem(), progress);
    ::chmod(real.dat().c_str(), 0600);
    ::chmod(real.trr().c_str(), 0640);
    ::chmod(real.nod().c_str(), 0604);
    const bool root = ::geteuid() == 0;
    if (root) {
        ASSERT_EQ(::chown(real.nod().c_str(), 4321, 4322), 0);
    }
    // A relative link, an absolute one, and a link to a link.
    const CatalogPaths linked = CatalogPaths::fromBase(dir.path() + "prog/quenbrill");
    ASSERT_EQ(::symlink("../disk/c.dat", linked.dat().c_str()), 0);
    ASSERT_EQ(::symlink(real.trr().c_str(), linked.trr().c_str()), 0);
    ASSERT_EQ(::symlink(real.nod().c_str(), (dir.path() + "prog/hop").c_str()), 0);
    ASSERT_EQ(::symlink("hop", linked.nod().c_str()), 0);

    Catalog catalog;
    LoadCatalog(catalog, linked, systemFileSystem(), progress);
    catalog.AddItem(*catalog.AddForum("FNEW"), "N", {"n"});
    SaveCatalog(catalog, linked, systemFileSystem(), progress);

    for (const std::string* path : {&linked.dat(), &linked.trr(), &linked.nod()}) {
        struct stat st {};
        ASSERT_EQ(::lstat(path->c_str(), &st), 0);
        EXPECT_TRUE(S_ISLNK(st.st_mode)) << *path << " stays a link";
    }
    EXPECT_NE(test::TempDir::read(real.trr()).find("FNEW"), std::string::npos)
        << "written beside the link's target";
    const struct {
        const std::string& path;
        mode_t mode;
    } modes[] = {{real.dat(), 0600}, {real.trr(), 0640}, {real.nod(), 0604}};
    for (const auto& m : modes) {
        struct stat st {};
        ASSERT_EQ(::stat(m.path.c_str(), &st), 0);
        EXPECT_EQ(st.st_mode & 07777, m.mode) << m.path;
        if (root && &m.path == &real.nod()) {
            EXPECT_TRUE(st.st_uid == 4321 && st.st_gid == 4322) << "the owner stays";
        }
    }
    std::vector<DirEntry> disk = systemFileSystem().listDirectory(dir.path() + "disk");
    EXPECT_EQ(disk.size(), 3u) << "no .new file left beside the targets";
    Catalog again;
    LoadCatalog(again, linked, systemFileSystem(), progress);
    EXPECT_EQ(test::describe(again), test::describe(catalog));
}

TEST(PosixFiles, TheCatalogLockHasOneHolderAtATime) {
    test::TempDir dir;
    const CatalogPaths paths = CatalogPaths::fromBase(dir.path() + "quenbrill");
    std::unique_ptr<FileLock> held = lockCatalog(paths, systemFileSystem());
    ASSERT_TRUE(held);
    // A second open of the lock file, as a second program makes it, finds it held.
    EXPECT_THROW(lockCatalog(paths, systemFileSystem()), Error);
    EXPECT_EQ(lockCatalogIfFree(paths, systemFileSystem()), nullptr);
    held.reset();
    EXPECT_NE(lockCatalogIfFree(paths, systemFileSystem()), nullptr);
    // A folder that does not exist holds no catalog to protect.
    EXPECT_EQ(lockCatalog(CatalogPaths::fromBase(dir.path() + "none/q"), systemFileSystem()),
              nullptr);
}

TEST(PosixFiles, ReadWholeFile) {
    test::TempDir dir;
    std::string big(3 << 20, 'q');
    big[12345] = '\0';
    const std::string path = dir.write("big", big);
    std::string out;
    EXPECT_EQ(readWholeFile(systemFileSystem(), path, out), 0);
    EXPECT_EQ(out, big);
    EXPECT_EQ(readWholeFile(systemFileSystem(), dir.path() + "none", out), ENOENT);
}

} // namespace
} // namespace qbr
