#include "catalog/atomic_file.h"
#include "support/memory_file_system.h"
#include "support/temp_dir.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <sys/stat.h>

namespace qbr {
namespace {

// The steps of a replacement: create the temporary file, write, sync, close, rename, sync
// the folder. A failure at any step before the rename leaves the old file and no temporary
// one; after the rename the new file stands.
TEST(ReplaceFileAtomically, AFailureAtAnyStepLeavesTheOldFileOrTheWholeNewOne) {
    struct Case {
        int failingStep;
        const char* expected;
        int result;
    };
    for (const Case& c :
         {Case{1, "old", 5}, Case{2, "old", 5}, Case{3, "old", 5}, Case{4, "old", 5},
          Case{5, "old", 5}, Case{6, "new", 0}, Case{0, "new", 0}}) {
        MemoryFileSystem fs;
        fs.makeDirectory("/d");
        fs.put("/d/f", "old");
        if (c.failingStep > 0)
            fs.failAt(c.failingStep, 5);
        EXPECT_EQ(replaceFileAtomically(fs, "/d/f", "new"), c.result) << c.failingStep;
        EXPECT_EQ(fs.bytes("/d/f"), c.expected) << c.failingStep;
        EXPECT_EQ(fs.paths(), (std::vector<std::string>{"/d", "/d/f"})) << c.failingStep;
    }
}

TEST(ReplaceFileAtomically, OnDiskTheReplacementKeepsThePermissionsAndLeavesNoTemporaryFile) {
    const test::TempDir dir;
    const std::string path = dir.write("store.reg", "old");
    ASSERT_EQ(::chmod(path.c_str(), 0640), 0);
    ASSERT_EQ(replaceFileAtomically(systemFileSystem(), path, "new"), 0);
    EXPECT_EQ(test::TempDir::read(path), "new");
    struct stat st {};
    ASSERT_EQ(::stat(path.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 07777, 0640u);
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()),
                            std::filesystem::directory_iterator()),
              1);
}

} // namespace
} // namespace qbr
