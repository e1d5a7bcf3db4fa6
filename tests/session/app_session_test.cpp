#include "catalog/messages.h"
#include "session_fixture.h"
#include "settings/settings_messages.h"
#include "settings/watermark_text.h"
#include "support/memory_registry_store.h"

namespace qbr::test {
namespace {

const std::string kOwn = "[HKEY_CURRENT_USER\\Software\\Ostrane\\QBR\\Settings]\r\n";

TEST_F(SessionTest, FirstStartOpensMaximizedAndWritesNoBounds) {
    const Run first = run(WindowGeometry{0, 0, 375, 544, 180, true});
    ASSERT_FALSE(first.reads.error);
    EXPECT_EQ(first.reads.Top, 0);
    EXPECT_EQ(first.reads.Left, 0);
    EXPECT_EQ(first.reads.Height, 375);
    EXPECT_EQ(first.reads.Width, 544);
    EXPECT_EQ(first.reads.Splitter, 150);
    EXPECT_EQ(first.reads.Maximized, true);
    EXPECT_EQ(first.watermark.PreDateTime, 0);
    EXPECT_EQ(first.loadState, Catalog::LoadState::NotLoaded);
    EXPECT_FALSE(first.exitError);
    EXPECT_EQ(stored("PreDateTimeF"), "0");
    EXPECT_EQ(stored("Splitter"), "180");
    EXPECT_EQ(stored("Maximized"), "1");
    for (const char* bound : {"Top", "Left", "Height", "Width"})
        EXPECT_FALSE(stored(bound)) << bound;
    // Without the communications program its key is left behind, empty.
    EXPECT_NE(storeText().find("[HKEY_CURRENT_USER\\Software\\EmSoft\\EmNifty]"),
              std::string::npos);
    EXPECT_FALSE(std::filesystem::exists(catalogFile(".dat"))); // nothing changed: no files
}

TEST_F(SessionTest, NormalRunKeepsBoundsThatAMaximizedRunLeavesAlone) {
    run(WindowGeometry{10, 20, 300, 400, 120, false});
    EXPECT_EQ(stored("Maximized"), "0");
    const Run second = run(WindowGeometry{1, 2, 3, 4, 99, true});
    EXPECT_EQ(second.reads.Top, 10);
    EXPECT_EQ(second.reads.Left, 20);
    EXPECT_EQ(second.reads.Height, 300);
    EXPECT_EQ(second.reads.Width, 400);
    EXPECT_EQ(second.reads.Splitter, 120);
    EXPECT_EQ(second.reads.Maximized, false);
    const Run third = run(std::nullopt); // a run without a window writes the watermark alone
    EXPECT_EQ(third.reads.Top, 10);
    EXPECT_EQ(third.reads.Maximized, true);
    EXPECT_EQ(stored("Splitter"), "99");
}

TEST_F(SessionTest, StoredValuesReadAsTheRegistryKeepsThem) {
    setStoreText("REGEDIT4\r\n\r\n" + kOwn +
                 "\"Top\"=\"0x20\"\r\n\"Left\"=\"abc\"\r\n\"Height\"=\"\"\r\n"
                 "\"Maximized\"=\"2\"\r\n\"PreDateTimeF\"=\"36161.5\"\r\n");
    const Run result = run(std::nullopt);
    EXPECT_EQ(result.reads.Top, 32);
    EXPECT_EQ(result.reads.Left, 0);
    EXPECT_EQ(result.reads.Height, 375);
    EXPECT_EQ(result.reads.Maximized, true);
    EXPECT_EQ(result.watermark.PreDateTime, 36161.5); // noon, 1 January 1999
    EXPECT_EQ(stored("PreDateTimeF"), "36161.5");
    EXPECT_EQ(stored("Top"), "0x20"); // what the run did not write stays as it was
}

TEST_F(SessionTest, WatermarkReadsUnderEitherSeparatorAndIsWrittenWithAFullStop) {
    for (const char* text : {"36161.5", "36161,5"}) {
        setStoreText("REGEDIT4\r\n\r\n" + kOwn + "\"PreDateTimeF\"=\"" + text + "\"\r\n");
        const Run result = run(std::nullopt, ',');
        ASSERT_FALSE(result.reads.error) << text;
        EXPECT_EQ(result.watermark.ScanDateTime, 36161.5) << text;
        EXPECT_EQ(stored("PreDateTimeF"), "36161.5");
    }
}

TEST_F(SessionTest, AnUnchangedCatalogIsNotRewritten) {
    setUpFolders();
    const double date = addLog("a.log", {"ONE"}, 36002);
    const Run first = run();
    EXPECT_EQ(first.titles, std::vector<std::string>{"ONE"});
    EXPECT_EQ(stored("PreDateTimeF"), formatWatermark(date));
    const ino_t dat = inode(catalogFile(".dat"));
    const ino_t nod = inode(catalogFile(".nod"));
    ASSERT_NE(dat, 0u);
    run(WindowGeometry{5, 5, 300, 300, 150, false});
    EXPECT_EQ(inode(catalogFile(".dat")), dat);
    EXPECT_EQ(inode(catalogFile(".nod")), nod);
    EXPECT_EQ(stored("Top"), "5"); // the settings are written all the same
    EXPECT_EQ(stored("PreDateTimeF"), formatWatermark(date));
}

// Each row stores one bad value: start-up ends there, and what follows keeps its initial value.
TEST_F(SessionTest, StartUpStopsAtTheFailingRead) {
    const std::string emnifty = "[HKEY_CURRENT_USER\\Software\\EmSoft\\EmNifty\\Settings]\r\n";
    const struct {
        const char* what;
        std::string file;
        std::string error;
        bool folders, top, left, maximized;
        double preDateTime;
    } rows[] = {
        {"RecentUserID", emnifty + "\"RecentUserID\"=dword:00000001\r\n",
         msg::formatText(msg::kBadDataType, "RecentUserID"), false, false, false, false, 0},
        {"PreDateTimeF", kOwn + "\"PreDateTimeF\"=\"abc\"\r\n",
         "'abc' \x82\xCD\x95\x82\x93\xAE\x8F\xAC\x90\x94\x93\x5F\x90\x94\x82\xC5\x82\xCD\x82\xA0"
         "\x82\xE8\x82\xDC\x82\xB9\x82\xF1",
         true, false, false, false, 0},
        {"Left", kOwn + "\"PreDateTimeF\"=\"36161.5\"\r\n\"Left\"=hex:01\r\n",
         msg::formatText(msg::kBadDataType, "Left"), true, true, false, false, 36161.5},
        {"Maximized", kOwn + "\"PreDateTimeF\"=\"36161.5\"\r\n\"Maximized\"=dword:00000001\r\n",
         msg::formatText(msg::kBadDataType, "Maximized"), true, true, true, false, 36161.5},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.what);
        std::filesystem::remove_all(dir_ + "/config");
        setUpFolders();
        std::ofstream(catalogFile(".dat"), std::ios::binary) << "";
        setStoreText(storeText() + "\r\n" + row.file);

        platform::RegeditStore store(storePath());
        AppSession session(store, systemFileSystem(), exe());
        const StartupReads reads = session.FormCreate(progress_);
        ASSERT_TRUE(reads.error);
        EXPECT_EQ(reads.error->text(), row.error);
        EXPECT_EQ(session.LogPath().empty(), !row.folders);
        EXPECT_EQ(reads.Top.has_value(), row.top);
        EXPECT_EQ(reads.Left.has_value(), row.left);
        EXPECT_EQ(reads.Maximized.has_value(), row.maximized);
        EXPECT_EQ(session.watermark().PreDateTime, row.preDateTime);
        EXPECT_EQ(session.watermark().ScanDateTime, 0); // set only after every read
        // The catalog was not read, so it must not be written over at exit.
        EXPECT_EQ(session.catalog().loadState(), Catalog::LoadState::Incomplete);
    }
}

TEST_F(SessionTest, UnreadableCatalogEndsStartUpAfterEverythingElse) {
    setStoreText("REGEDIT4\r\n\r\n" + kOwn + "\"PreDateTimeF\"=\"36161.5\"\r\n");
    std::ofstream(catalogFile(".dat"), std::ios::binary) << "line\r\n"; // no .trr beside it
    platform::RegeditStore store(storePath());
    AppSession session(store, systemFileSystem(), exe());
    const StartupReads reads = session.FormCreate(progress_);
    ASSERT_TRUE(reads.error);
    // The load's own message, then the way forward from a catalog that cannot be read.
    EXPECT_EQ(
        reads.error->text(),
        msg::withDetail(msg::formatText(msg::kCannotOpen, catalogFile(".trr")), msg::kSalvageHint));
    EXPECT_EQ(reads.Maximized, true);
    EXPECT_EQ(session.watermark().ScanDateTime, 36161.5);
    EXPECT_EQ(session.catalog().loadState(), Catalog::LoadState::Incomplete);
}

TEST_F(SessionTest, NoCatalogFileIsNoFailure) {
    setStoreText("REGEDIT4\r\n\r\n[HKEY_CURRENT_USER\\Software\\EmSoft\\EmNifty\\Settings]\r\n"
                 "\"RecentUserID\"=dword:00000001\r\n");
    const Run result = run();
    ASSERT_TRUE(result.reads.error);
    // Nothing on disk to protect: what the run finds may be saved.
    EXPECT_EQ(result.loadState, Catalog::LoadState::NotLoaded);
    EXPECT_FALSE(result.exitError);

    // A save cut short before its renames leaves the marker alone: that is a catalog too.
    std::filesystem::remove(catalogFile(".dat"));
    std::ofstream(catalogFile(".dat.commit"), std::ios::binary) << "";
    EXPECT_EQ(run().loadState, Catalog::LoadState::Incomplete);
}

TEST_F(SessionTest, FailedSaveWritesNoSettingsAndTheNextRunFindsEveryItem) {
    setUpFolders();
    const double date = addLog("a.log", {"ONE", "TWO", "THREE"}, 36002);
    FailingFileSystem full;
    full.failCreates = true;
    const Run failed = run(full, WindowGeometry{1, 1, 100, 100, 100, false});
    EXPECT_EQ(failed.titles.size(), 3u);
    ASSERT_TRUE(failed.exitError);
    for (const char* name : {"PreDateTimeF", "Splitter", "Maximized", "Top"})
        EXPECT_FALSE(stored(name)) << name; // neither watermark nor bounds
    EXPECT_FALSE(std::filesystem::exists(catalogFile(".dat")));

    const Run next = run();
    EXPECT_EQ(next.titles, (std::vector<std::string>{"ONE", "TWO", "THREE"}));
    EXPECT_FALSE(next.exitError);
    EXPECT_EQ(stored("PreDateTimeF"), formatWatermark(date));
}

TEST_F(SessionTest, CatalogNotLoadedIsNotOverwrittenNorTheWatermarkMoved) {
    setUpFolders();
    addLog("a.log", {"ONE"}, 36002);
    run();
    const std::string storedWatermark = *stored("PreDateTimeF");
    const std::string catalog = read(catalogFile(".dat"));
    // One log only, so the listing order cannot decide which date is the last.
    std::filesystem::remove(dir_ + "/logs/a.log");
    const double date = addLog("b.log", {"TWO"}, 40000);

    // A bad value stops start-up before the catalog is loaded.
    const std::string good = storeText();
    setStoreText(good + "\r\n" + kOwn + "\"Top\"=dword:00000001\r\n");
    const std::string bad = storeText();
    const Run stopped = run();
    ASSERT_TRUE(stopped.reads.error);
    EXPECT_EQ(stopped.loadState, Catalog::LoadState::Incomplete);
    ASSERT_TRUE(stopped.exitError);
    EXPECT_EQ(stopped.exitError->text(),
              msg::formatText(msg::kNotSavingPartial, catalogFile(".dat")));
    EXPECT_EQ(read(catalogFile(".dat")), catalog);
    EXPECT_EQ(storeText(), bad);

    setStoreText(good);
    const Run mended = run();
    EXPECT_EQ(mended.titles, (std::vector<std::string>{"ONE", "TWO"}));
    EXPECT_NE(storedWatermark, formatWatermark(date));
    EXPECT_EQ(stored("PreDateTimeF"), formatWatermark(date));
}

TEST_F(SessionTest, DamagedStoreIsReportedAndKept) {
    const std::string damaged = "REGEDIT4\r\n\r\n" + kOwn + "\"Top\"=\"1\r\n";
    setStoreText(damaged);
    const Run result = run();
    ASSERT_TRUE(result.reads.error);
    EXPECT_NE(result.reads.error->text().find(storePath()), std::string::npos);
    ASSERT_TRUE(result.exitError);
    EXPECT_EQ(storeText(), damaged);
}

// Exit writes through a store whose writes start failing.
class ExitWrites : public SessionTest {
  protected:
    std::string exitError(platform::MemoryRegistryStore& store, int storesThatWork) {
        AppSession session(store, systemFileSystem(), exe());
        session.FormCreate(progress_);
        session.watermark().ScanDateTime = 36161.5;
        store.failStoresAfter(storesThatWork);
        try {
            session.FormDestroy(WindowGeometry{1, 2, 3, 4, 5, false}, progress_);
        } catch (const Error& error) {
            return error.text();
        }
        return "(no error)";
    }
};

TEST_F(ExitWrites, SectionThatCannotBeCreated) {
    platform::MemoryRegistryStore store;
    EXPECT_EQ(exitError(store, 0),
              msg::withDetail(msg::formatText(msg::kCreateKeyFailed, "Settings"),
                              "(memory): the store refused the write"));
    EXPECT_EQ(store.text().find("PreDateTimeF"), std::string::npos);
}

TEST_F(ExitWrites, ValueThatCannotBeWrittenKeepsTheOnesBefore) {
    platform::MemoryRegistryStore store("REGEDIT4\r\n\r\n" + kOwn);
    EXPECT_EQ(exitError(store, 1),
              msg::withDetail(msg::formatText(msg::kSetValueFailed, "Splitter"),
                              "(memory): the store refused the write"));
    EXPECT_NE(store.text().find("\"PreDateTimeF\"=\"36161.5\""), std::string::npos);
    EXPECT_EQ(store.text().find("Maximized"), std::string::npos);
}

} // namespace
} // namespace qbr::test
