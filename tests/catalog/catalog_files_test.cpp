#include "catalog/error.h"
#include "catalog/messages.h"
#include "support/catalog_fixture.h"

#include <cerrno>
#include <gtest/gtest.h>

namespace qbr {
namespace {

using test::describe;
using test::RecordingProgress;
using test::sampleCatalog;

const CatalogPaths kPaths = CatalogPaths::fromBase("/q/quenbrill");

std::string record(std::int32_t first, std::int32_t count) {
    std::string r(8, '\0');
    for (int i = 0; i < 4; ++i) {
        r[i] = static_cast<char>((static_cast<std::uint32_t>(first) >> (8 * i)) & 0xFF);
        r[4 + i] = static_cast<char>((static_cast<std::uint32_t>(count) >> (8 * i)) & 0xFF);
    }
    return r;
}

struct Files {
    MemoryFileSystem fs;
    void put(std::string dat, std::string trr, std::string nod) {
        fs.put(kPaths.dat(), std::move(dat));
        fs.put(kPaths.trr(), std::move(trr));
        fs.put(kPaths.nod(), std::move(nod));
    }
    // Loads into a fresh catalog; returns the error text, or "" when there was none.
    std::string load(Catalog& catalog, RecordingProgress& progress) {
        try {
            LoadCatalog(catalog, kPaths, fs, progress);
        } catch (const Error& e) {
            EXPECT_FALSE(progress.open) << "the progress window is closed on errors too";
            return e.text();
        }
        return "";
    }
};

TEST(CatalogFiles, FileNamesFollowTheProgram) {
    struct Case {
        std::string exe, dat;
    };
    const Case cases[] = {
        {"/opt/q/quenbrill", "/opt/q/quenbrill.dat"},
        {"/opt/q/quenbrill.exe", "/opt/q/quenbrill.dat"},
        {"/opt/q.d/quenbrill", "/opt/q.d/quenbrill.dat"},
        {"/opt/q/a.b.c", "/opt/q/a.b.dat"},
        {"C:\\Tools\\catalog", "C:\\Tools\\catalog.dat"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(CatalogPaths::fromExecutable(c.exe).dat(), c.dat);
    EXPECT_EQ(CatalogPaths::fromExecutable("/x/y.exe").trr(), "/x/y.trr");
    EXPECT_EQ(CatalogPaths::fromExecutable("/x/y.exe").nod(), "/x/y.nod");
    EXPECT_EQ(CatalogPaths::fromBase("/x/y.v2").dat(), "/x/y.v2.dat");
}

TEST(CatalogFiles, WritesTheThreeFormatsByteForByte) {
    Catalog catalog = sampleCatalog();
    MemoryFileSystem fs;
    RecordingProgress progress;
    SaveCatalog(catalog, kPaths, fs, progress);
    EXPECT_EQ(fs.bytes(kPaths.dat()), "a1\r\na2\r\nb1\r\nb2\r\nb3\r\nc1\r\n");
    EXPECT_EQ(fs.bytes(kPaths.trr()),
              "Niftyserve-Library\r\n\tFONE\r\n\t\tA\r\n\t\tB\r\n\tFTWO\r\n\t\tC\r\n");
    EXPECT_EQ(fs.bytes(kPaths.nod()), record(0, 2) + record(2, 3) + record(5, 1));
    EXPECT_EQ(progress.texts, (std::vector<std::string>{std::string(msg::kSaving)}));
    EXPECT_EQ(progress.positions, (std::vector<int>{33, 50, 83})) << "N = 6: items at 2, 3, 5";
    EXPECT_EQ(fs.paths().size(), 3u) << "no temporary file or marker left behind";

    Catalog rootOnly;
    rootOnly.setModified();
    MemoryFileSystem fs2;
    SaveCatalog(rootOnly, kPaths, fs2, progress);
    EXPECT_EQ(fs2.bytes(kPaths.trr()), "Niftyserve-Library\r\n");
    EXPECT_EQ(fs2.bytes(kPaths.dat()), "");
    EXPECT_EQ(fs2.bytes(kPaths.nod()), "");
}

TEST(CatalogFiles, ProgressForOneForumAndTwoItems) {
    Catalog catalog;
    TreeNode* forum = catalog.AddForum("F");
    catalog.AddItem(*forum, "A", {"a"});
    catalog.AddItem(*forum, "B", {"b"});
    Files files;
    RecordingProgress save;
    SaveCatalog(catalog, kPaths, files.fs, save);
    EXPECT_EQ(save.positions, (std::vector<int>{50, 75}));
    Catalog loaded;
    RecordingProgress load;
    EXPECT_EQ(files.load(loaded, load), "");
    EXPECT_EQ(load.positions, (std::vector<int>{50, 75}));
    EXPECT_EQ(load.texts, (std::vector<std::string>{std::string(msg::kLoading)}));
    EXPECT_EQ(load.ended, 1);
}

TEST(CatalogFiles, SaveThenLoadGivesTheSameCatalog) {
    Catalog catalog = sampleCatalog();
    // Texts the files could not carry as they stand: made storable on the way in.
    TreeNode* odd = catalog.AddForum("  lead\nand\rbreaks");
    catalog.AddItem(*odd, std::string("\tnul\0x", 6), {"with\nLF", std::string("nul\0", 4), ""});
    catalog.root()->child(0)->child(0)->appendChild("deeper kept");
    Files files;
    RecordingProgress progress;
    SaveCatalog(catalog, kPaths, files.fs, progress);
    Catalog loaded;
    EXPECT_EQ(files.load(loaded, progress), "");
    EXPECT_EQ(describe(loaded), describe(catalog));
    EXPECT_EQ(loaded.loadState(), Catalog::LoadState::Complete);
    EXPECT_FALSE(loaded.Modified());
}

TEST(CatalogFiles, LoadEdgeCases) {
    struct Case {
        const char* name;
        std::string dat, trr, nod;
        std::string tree;  // describe() of the result
        std::string error; // "" for none
    };
    const std::string itemTree = "Niftyserve-Library\r\n\tF\r\n\t\tA\r\n\t\tB\r\n";
    const Case cases[] = {
        {"all empty", "", "", "", "", ""},
        {"root only", "", "Niftyserve-Library\r\n", "", "0 Niftyserve-Library\n", ""},
        {"LF and CR line ends", "x\ny\rz", "R\n\tF\r\t\tA\n\t\tB", record(0, 1) + record(1, 2),
         "0 R\n1 F\n2 A [0,1]\n2 B [1,2]\n| x\n| y\n| z\n", ""},
        {"spaces for TABs", "", "R\r\n F\r\n  A\r\n \tB\r\n", record(0, 0) + record(0, 0),
         "0 R\n1 F\n2 A [0,0]\n2 B [0,0]\n", ""},
        {"level 3 takes no record", "", "R\r\n\tF\r\n\t\tA\r\n\t\t X\r\n\t\tB\r\n",
         record(1, 1) + record(2, 2), "0 R\n1 F\n2 A [1,1]\n3 X\n2 B [2,2]\n", ""},
        {"back up two levels and a second top", "", "R\r\n\tF\r\n\t\tA\r\nS\r\n\tG\r\n",
         record(7, 7), "0 R\n1 F\n2 A [7,7]\n0 S\n1 G\n", ""},
        {"first line at any level", "", "\t\tR\r\n\tF\r\n", "", "0 R\n1 F\n", ""},
        // Records left over, whole or in part: the files hold more than was read.
        {"extra records unread", "", itemTree, record(0, 0) + record(0, 0) + record(9, 9),
         "0 Niftyserve-Library\n1 F\n2 A [0,0]\n2 B [0,0]\n",
         msg::formatText(msg::kExtraRecords, kPaths.nod())},
        {"part of an extra record", "", itemTree, record(0, 0) + record(0, 0) + "\1",
         "0 Niftyserve-Library\n1 F\n2 A [0,0]\n2 B [0,0]\n",
         msg::formatText(msg::kExtraRecords, kPaths.nod())},
        {"spans past the end load", "a\r\n", itemTree, record(5, 1) + record(-3, 900),
         "0 Niftyserve-Library\n1 F\n2 A [5,1]\n2 B [-3,900]\n| a\n", ""},
        // Read as far as the NUL, and then reported for each file it cut short.
        {"NUL ends both texts", std::string("a\r\nb\0c\r\nd\r\n", 10),
         std::string("R\r\n\tF\0\r\n\tG\r\n", 11), "", "0 R\n1 F\n| a\n| b\n",
         msg::formatText(msg::kStoppedAtNul, kPaths.dat()) + "\n" +
             msg::formatText(msg::kStoppedAtNul, kPaths.trr())},
        {"NUL at the very end of the .trr", "", std::string("R\r\n\0", 4), "", "0 R\n",
         msg::formatText(msg::kStoppedAtNul, kPaths.trr())},
        {"level jump", "a\r\n", "Niftyserve-Library\r\n\t\t  Bad one\r\n\tF\r\n", "",
         "0 Niftyserve-Library\n| a\n", msg::formatText(msg::kBadLevel, "Bad one")},
        {"fewer records", "", itemTree, record(0, 0) + "\1\2\3",
         "0 Niftyserve-Library\n1 F\n2 A [0,0]\n2 B\n",
         msg::withDetail(msg::kReadBeyondEnd, kPaths.nod())},
    };
    for (const Case& c : cases) {
        Files files;
        files.put(c.dat, c.trr, c.nod);
        Catalog catalog;
        RecordingProgress progress;
        EXPECT_EQ(files.load(catalog, progress), c.error) << c.name;
        EXPECT_EQ(describe(catalog), c.tree) << c.name;
        EXPECT_EQ(catalog.loadState(),
                  c.error.empty() ? Catalog::LoadState::Complete : Catalog::LoadState::Incomplete)
            << c.name;
    }
}

TEST(CatalogFiles, MissingFiles) {
    const std::string tree = "Niftyserve-Library\r\n\tF\r\n\t\tA\r\n";
    {
        Files files; // no file at all: nothing is looked at, no window
        Catalog catalog;
        RecordingProgress progress;
        EXPECT_EQ(files.load(catalog, progress), "");
        EXPECT_EQ(describe(catalog), "0 Niftyserve-Library\n");
        EXPECT_TRUE(progress.texts.empty());
        EXPECT_EQ(catalog.loadState(), Catalog::LoadState::NotLoaded);
    }
    for (bool withTree : {true, false}) {
        Files files; // no .dat beside a .trr or a .nod: nothing read, and nothing written over
        files.fs.put(withTree ? kPaths.trr() : kPaths.nod(), withTree ? tree : record(0, 0));
        Catalog catalog;
        RecordingProgress progress;
        EXPECT_EQ(files.load(catalog, progress), msg::formatText(msg::kCannotOpen, kPaths.dat()));
        EXPECT_EQ(describe(catalog), "0 Niftyserve-Library\n");
        EXPECT_TRUE(progress.texts.empty());
        EXPECT_EQ(catalog.loadState(), Catalog::LoadState::Incomplete);
    }
    {
        Files files; // .dat but no .trr
        files.fs.put(kPaths.dat(), "a\r\n");
        Catalog catalog;
        RecordingProgress progress;
        EXPECT_EQ(files.load(catalog, progress), msg::formatText(msg::kCannotOpen, kPaths.trr()));
        EXPECT_EQ(describe(catalog), "0 Niftyserve-Library\n| a\n");
    }
    {
        Files files; // no .nod
        files.fs.put(kPaths.dat(), "a\r\n");
        files.fs.put(kPaths.trr(), tree);
        Catalog catalog;
        RecordingProgress progress;
        EXPECT_EQ(files.load(catalog, progress),
                  msg::withDetail(msg::runtimeMessage(2), kPaths.nod()))
            << "the .nod's errors name the .nod";
        EXPECT_EQ(describe(catalog), "0 Niftyserve-Library\n1 F\n2 A\n| a\n");
        EXPECT_NO_THROW(catalog.ItemText(*catalog.root()->child(0)->child(0)));
    }
    {
        Files files; // a directory named like the .dat is no catalog
        files.fs.makeDirectory(kPaths.dat());
        Catalog catalog;
        RecordingProgress progress;
        EXPECT_EQ(files.load(catalog, progress), "");
        EXPECT_TRUE(progress.texts.empty());
    }
    {
        Files files; // unreadable .dat
        files.put("a\r\n", tree, record(0, 1));
        files.fs.find(kPaths.dat())->openError = EACCES;
        Catalog catalog;
        RecordingProgress progress;
        EXPECT_EQ(files.load(catalog, progress), msg::formatText(msg::kCannotOpen, kPaths.dat()));
    }
}

TEST(CatalogFiles, APartlyLoadedCatalogIsNeverWrittenBack) {
    Files files;
    files.put("a\r\n", "Niftyserve-Library\r\n\tF\r\n\t\tA\r\n", "");
    Catalog catalog;
    RecordingProgress progress;
    EXPECT_NE(files.load(catalog, progress), "");
    catalog.AddItem(*catalog.AddForum("NEW"), "N", {"n"});
    EXPECT_THROW(SaveCatalog(catalog, kPaths, files.fs, progress), Error);
    EXPECT_EQ(files.fs.bytes(kPaths.trr()), "Niftyserve-Library\r\n\tF\r\n\t\tA\r\n");
    EXPECT_EQ(files.fs.bytes(kPaths.dat()), "a\r\n");
}

TEST(CatalogFiles, SaveErrorsAndTheirMessages) {
    // Changing operations of a save: create, write, sync, close for each file (4 x 3), then
    // directory sync, marker create/sync/close, directory sync, three renames, directory
    // sync, marker removal.
    struct Case {
        int step, error;
        std::string message;
    };
    // The first line is the system's own text; the second names the file that failed (the
    // new version being written) and the system's reason.
    const std::string datNew = kPaths.dat() + ".new", trrNew = kPaths.trr() + ".new",
                      nodNew = kPaths.nod() + ".new";
    auto detail = [](const std::string& path, int error) {
        return path + ": " + msg::systemReason(error);
    };
    const Case cases[] = {
        {1, EACCES,
         msg::withDetail(msg::formatText(msg::kCannotCreate, datNew), msg::systemReason(EACCES))},
        {2, ENOSPC, msg::withDetail(msg::kStreamWriteError, detail(datNew, ENOSPC))},
        {5, EACCES,
         msg::withDetail(msg::formatText(msg::kCannotCreate, trrNew), msg::systemReason(EACCES))},
        {6, EIO, msg::withDetail(msg::kStreamWriteError, detail(trrNew, EIO))},
        {9, EACCES, msg::withDetail(msg::runtimeMessage(5), detail(nodNew, EACCES))},
        {10, ENOSPC, msg::withDetail(msg::kDiskFull, detail(nodNew, ENOSPC))},
        {10, EIO, msg::withDetail(msg::formatNumber(msg::kIoError, EIO), detail(nodNew, EIO))},
        {11, EIO, msg::withDetail(msg::formatNumber(msg::kIoError, EIO), detail(nodNew, EIO))},
    };
    for (const Case& c : cases) {
        Files files;
        Catalog catalog = sampleCatalog();
        files.fs.failAt(c.step, c.error);
        RecordingProgress progress;
        try {
            SaveCatalog(catalog, kPaths, files.fs, progress);
            ADD_FAILURE() << "no error at step " << c.step;
        } catch (const Error& e) {
            EXPECT_EQ(e.text(), c.message) << c.step;
        }
        EXPECT_FALSE(progress.open);
        EXPECT_FALSE(files.fs.exists(kPaths.dat())) << "nothing replaced before the commit";
    }
}

TEST(CatalogFiles, ASaveInterruptedAnywhereLeavesTheOldOrTheNewCatalog) {
    Files seed;
    Catalog oldCatalog = sampleCatalog();
    RecordingProgress progress;
    SaveCatalog(oldCatalog, kPaths, seed.fs, progress);
    const std::string oldText = describe(oldCatalog);

    Catalog newCatalog = sampleCatalog();
    newCatalog.AddItem(*newCatalog.AddForum("FNEW"), "N", {"n1", "n2"});
    newCatalog.DeleteNode(*newCatalog.root()->child(0)->child(0));
    Catalog expected = sampleCatalog();
    expected.AddItem(*expected.AddForum("FNEW"), "N", {"n1", "n2"});
    expected.DeleteNode(*expected.root()->child(0)->child(0));
    expected.Collect();
    const std::string newText = describe(expected);

    // Count the changing operations of a whole save.
    MemoryFileSystem counting = seed.fs;
    Catalog probe = sampleCatalog();
    const int before = counting.changingOperations();
    SaveCatalog(probe, kPaths, counting, progress);
    const int steps = counting.changingOperations() - before;
    ASSERT_GT(steps, 10);

    for (bool crash : {false, true}) {
        int sawOld = 0;
        int sawNew = 0;
        for (int step = 1; step <= steps; ++step) {
            Files files;
            files.fs = seed.fs;
            Catalog saving = sampleCatalog();
            saving.AddItem(*saving.AddForum("FNEW"), "N", {"n1", "n2"});
            saving.DeleteNode(*saving.root()->child(0)->child(0));
            files.fs.failAt(step, EIO, crash);
            try {
                SaveCatalog(saving, kPaths, files.fs, progress);
            } catch (const Error&) {
            }
            files.fs.failAt(0); // the machine is back
            Catalog loaded;
            EXPECT_EQ(files.load(loaded, progress), "") << step;
            const std::string text = describe(loaded);
            EXPECT_TRUE(text == oldText || text == newText)
                << "step " << step << (crash ? " (crash)" : "") << "\n"
                << text;
            sawOld += text == oldText;
            sawNew += text == newText;
        }
        EXPECT_GT(sawOld, 0);
        EXPECT_GT(sawNew, 0) << "a failure after the commit point still gives the new set";
    }
}

TEST(CatalogFiles, ASaveThatCannotBeFinishedIsNeverWrittenOver) {
    Files files;
    Catalog catalog = sampleCatalog();
    RecordingProgress progress;
    SaveCatalog(catalog, kPaths, files.fs, progress);
    files.fs.put(kPaths.trr() + ".new", "Niftyserve-Library\r\n");
    files.fs.put(kPaths.commitMarker(), "");
    files.fs.failAt(1, EACCES); // the rename that would finish it
    Catalog loaded;
    EXPECT_NE(files.load(loaded, progress), "");
    EXPECT_EQ(loaded.loadState(), Catalog::LoadState::Incomplete);
    loaded.AddItem(*loaded.AddForum("NEW"), "N", {"n"});
    EXPECT_THROW(SaveCatalog(loaded, kPaths, files.fs, progress), Error);
    EXPECT_TRUE(files.fs.exists(kPaths.trr() + ".new"));
    EXPECT_TRUE(files.fs.exists(kPaths.commitMarker()));
}

TEST(CatalogFiles, AnUnchangedCatalogIsNotRewrittenByLoading) {
    Files files;
    Catalog catalog = sampleCatalog();
    RecordingProgress progress;
    SaveCatalog(catalog, kPaths, files.fs, progress);
    const int ops = files.fs.changingOperations();
    Catalog loaded;
    EXPECT_EQ(files.load(loaded, progress), "");
    EXPECT_EQ(files.fs.changingOperations(), ops);
}

} // namespace
} // namespace qbr
