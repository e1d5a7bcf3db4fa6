#include "session_fixture.h"
#include "support/scan_fixture.h"

namespace qbr::test {
namespace {

// 再取込 reads every log again, whatever the watermark, and files nothing twice.
TEST_F(SessionTest, ReimportReadsEveryLogAgainWithoutFilingTwice) {
    setUpFolders();
    addLog("A.LOG", {"Alpha", "Beta"}, 60);
    ASSERT_EQ(run().titles, (std::vector<std::string>{"Alpha", "Beta"}));

    platform::RegeditStore store(storePath());
    AppSession session(store, systemFileSystem(), exe());
    ASSERT_FALSE(session.FormCreate(progress_).error);
    RecordingScan scan;
    session.scan(scan, scan);
    session.scan(scan, scan); // the watermark is past the log now
    const int read = scan.logNames;
    session.reimport(scan, scan);
    EXPECT_EQ(scan.logNames, read + 1);
    EXPECT_EQ(titles(session.catalog()), (std::vector<std::string>{"Alpha", "Beta"}));
    EXPECT_FALSE(session.Modified());
}

} // namespace
} // namespace qbr::test
