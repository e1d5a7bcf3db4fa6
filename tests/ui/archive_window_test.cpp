// The built-in archive listing window, offscreen, with the desktop shell replaced by a
// recording fake.
#include "archive_fixtures/lzh_writer.h"
#include "archive_fixtures/sample_archives.h"
#include "support/fake_desktop.h"
#include "support/temp_dir.h"
#include "ui/archive_window.h"

#include <QCoreApplication>
#include <QLabel>
#include <QPointer>
#include <QTest>
#include <QTreeWidget>
#include <filesystem>
#include <gtest/gtest.h>
#include <sys/stat.h>

namespace qbr::test {
namespace {

namespace fs = std::filesystem;

std::string twoMembers() {
    fixtures::LzhMember readMe;
    readMe.name = fixtures::kReadMe;
    readMe.data = "read me\r\n";
    fixtures::LzhMember sheet;
    sheet.name = fixtures::kSheet;
    sheet.directory = fixtures::kSoft + "\xFF";
    sheet.data = std::string(300, 'x');
    sheet.level = 2;
    return fixtures::lzhArchive({readMe, sheet});
}

void doubleClick(QTreeWidget& view, int row) {
    QTreeWidgetItem* item = view.topLevelItem(row);
    ASSERT_NE(item, nullptr);
    ASSERT_TRUE(QTest::qWaitForWindowExposed(view.window()));
    const QRect rect = view.visualItemRect(item);
    ASSERT_FALSE(rect.isEmpty());
    // A view takes a double-click on the row that the first press of it hit.
    QTest::mouseClick(view.viewport(), Qt::LeftButton, {}, rect.center());
    QTest::mouseDClick(view.viewport(), Qt::LeftButton, {}, rect.center());
}

TEST(ArchiveWindow, ListsTheEntriesWithTheirJapaneseNamesAndTheTotals) {
    TempDir dir;
    // "書庫.LZH" as the catalog names it, in CP932.
    const std::string path = dir.write("\x8F\x91\x8C\xC9.LZH", twoMembers());
    FakeDesktopShell shell;
    auto* window = new ui::ArchiveWindow(path, shell);
    window->show();
    EXPECT_FALSE(window->isModal());
    EXPECT_TRUE(window->testAttribute(Qt::WA_DeleteOnClose));
    EXPECT_EQ(window->windowTitle(), QString::fromUtf16(u"書庫.LZH"));
    auto* entries = window->findChild<QTreeWidget*>(QStringLiteral("entries"));
    ASSERT_NE(entries, nullptr);
    ASSERT_EQ(entries->topLevelItemCount(), 2);
    EXPECT_EQ(entries->topLevelItem(0)->text(0), QString::fromUtf16(u"読んでね.TXT"));
    EXPECT_EQ(entries->topLevelItem(0)->text(1), QStringLiteral("9"));
    EXPECT_EQ(entries->topLevelItem(0)->text(2), QStringLiteral("9"));
    EXPECT_EQ(entries->topLevelItem(0)->text(4), QStringLiteral("-lh0-"));
    EXPECT_EQ(entries->topLevelItem(1)->text(0), QString::fromUtf16(u"ソフト/表計算.DOC"));
    EXPECT_EQ(entries->topLevelItem(0)->text(3).left(10), QStringLiteral("1996-01-15"));
    EXPECT_EQ(window->findChild<QLabel*>(QStringLiteral("totals"))->text(),
              QString::fromUtf16(u"合計 2 ファイル  309 バイト  圧縮後 309 バイト"));
    EXPECT_FALSE(window->findChild<QLabel*>(QStringLiteral("message"))->isVisible());
    delete window;
}

TEST(ArchiveWindow, DoubleClickExtractsPrivatelyAndOpensTheFileUntilTheWindowCloses) {
    TempDir dir;
    const std::string path = dir.write("a.lzh", twoMembers());
    FakeDesktopShell shell;
    QPointer<ui::ArchiveWindow> window = new ui::ArchiveWindow(path, shell);
    window->show();
    auto* entries = window->findChild<QTreeWidget*>(QStringLiteral("entries"));
    doubleClick(*entries, 1);
    ASSERT_EQ(shell.calls().size(), 1u);
    const ShellCall& call = shell.calls()[0];
    EXPECT_EQ(call.kind, ShellCall::Kind::Open);
    EXPECT_EQ(call.second, "\xE8\xA1\xA8\xE8\xA8\x88\xE7\xAE\x97.DOC"); // 表計算.DOC
    EXPECT_EQ(TempDir::read(call.first + "/" + call.second), std::string(300, 'x'));
    const std::string folder = window->temporaryFolder();
    ASSERT_FALSE(folder.empty());
    EXPECT_EQ(call.first.rfind(folder + "/", 0), 0u);
    struct stat info {};
    ASSERT_EQ(::stat(folder.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0700u);

    window->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(window.isNull()) << "the window deletes itself on close";
    EXPECT_FALSE(fs::exists(folder)) << "its temporary folder goes with it";
}

TEST(ArchiveWindow, AnArchiveThatCannotBeReadSaysSoInTheWindow) {
    TempDir dir;
    FakeDesktopShell shell;
    {
        ui::ArchiveWindow program(dir.write("PROGRAM.EXE", fixtures::exeStub(4096)), shell);
        program.show();
        auto* message = program.findChild<QLabel*>(QStringLiteral("message"));
        EXPECT_TRUE(message->isVisible());
        EXPECT_EQ(message->text(), QString::fromUtf16(u"自己解凍書庫ではありません"));
        EXPECT_EQ(program.findChild<QTreeWidget*>(QStringLiteral("entries"))->topLevelItemCount(),
                  0);
    }
    {
        const std::string whole = twoMembers();
        ui::ArchiveWindow cut(dir.write("CUT.LZH", whole.substr(0, whole.size() - 100)), shell);
        cut.show();
        EXPECT_TRUE(cut.findChild<QLabel*>(QStringLiteral("message"))->isVisible());
        EXPECT_EQ(cut.findChild<QTreeWidget*>(QStringLiteral("entries"))->topLevelItemCount(), 2);
    }
    {
        // A name that leads outside is listed, but double-clicking it opens nothing.
        fixtures::LzhMember evil;
        evil.name = "..\\EVIL.TXT";
        evil.data = "x";
        ui::ArchiveWindow window(dir.write("EVIL.LZH", fixtures::lzhArchive({evil})), shell);
        window.show();
        doubleClick(*window.findChild<QTreeWidget*>(QStringLiteral("entries")), 0);
        auto* message = window.findChild<QLabel*>(QStringLiteral("message"));
        EXPECT_TRUE(message->isVisible());
        EXPECT_TRUE(message->text().contains(QString::fromUtf16(u"展開しません")))
            << message->text().toStdString();
    }
    EXPECT_TRUE(shell.calls().empty());
}

} // namespace
} // namespace qbr::test
