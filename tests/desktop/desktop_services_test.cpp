#include "desktop/desktop_shell.h"
#include "desktop/fake_desktop_session.h"
#include "desktop/program_icons.h"
#include "pane/file_actions.h"
#include "posix/downloaded_file.h"

#include <QIcon>
#include <QImage>
#include <fstream>
#include <gtest/gtest.h>

namespace qbr::platform {
namespace {

using test::FakeDesktopSession;
using Lines = std::vector<std::string>;

class DesktopServices : public ::testing::Test {
  protected:
    void SetUp() override {
        downPath = (FakeDesktopSession::get().root() / ("dl-" + std::to_string(++count))).string();
        std::filesystem::create_directories(downPath);
        downPath += "/";
        QIcon::setThemeSearchPaths(
            {QString::fromStdString((FakeDesktopSession::get().root() / "icons").string())});
        QIcon::setThemeName(QStringLiteral("qbrtest"));
    }
    std::string write(const std::string& name, const std::string& bytes = "plain text\n") {
        std::ofstream(downPath + name, std::ios::binary) << bytes;
        return downPath + name;
    }
    static QRgb centre(const QPixmap& picture) { return picture.toImage().pixel(16, 16); }

    std::string downPath;
    static inline int count = 0;
};

TEST_F(DesktopServices, OpenStartsTheDefaultHandlerInDownPathWithTheFileAsOneArgument) {
    FreedesktopShell shell;
    // A blank, a double quote and a Shift-JIS byte pair: the bytes reach the handler whole.
    const std::string name = "a b\"\x95\x5C.txt";
    write(name);
    shell.openWithAssociation(downPath, name);
    const auto run = FakeDesktopSession::get().nextRun();
    ASSERT_TRUE(run) << "the handler was not started";
    const std::string folder = downPath.substr(0, downPath.size() - 1);
    EXPECT_EQ(*run,
              (Lines{"program=" +
                         (FakeDesktopSession::get().root() / "bin" / "qbr-stub-archiver").string(),
                     "cwd=" + folder, "arg=" + downPath + name}));
}

TEST_F(DesktopServices, ShowInFileManagerWithoutASessionBusOpensTheFolder) {
    FreedesktopShell shell;
    shell.showInFileManager(write("report.txt"));
    const auto run = FakeDesktopSession::get().nextRun();
    ASSERT_TRUE(run);
    const std::string folder = downPath.substr(0, downPath.size() - 1);
    ASSERT_EQ(run->size(), 3u);
    EXPECT_EQ((*run)[2], "arg=" + folder);
}

TEST_F(DesktopServices, StartCommandSplitsTheWindowsWayAndKeepsTheFileWhole) {
    FreedesktopShell shell;
    const std::string path = downPath + "x \"y\" z.lzh";
    const auto listing = archiveListing("qbr-stub-archiver /l", "x \"y\" z.lzh", path);
    ASSERT_TRUE(listing);
    shell.startCommand(listing->command, {listing->path});
    const auto run = FakeDesktopSession::get().nextRun();
    ASSERT_TRUE(run);
    ASSERT_EQ(run->size(), 4u);
    EXPECT_EQ((*run)[2], "arg=/l");
    EXPECT_EQ((*run)[3], "arg=" + path);

    // A quoted program with a blank in its path.
    const std::string spaced = FakeDesktopSession::get().spacedProgram().string();
    shell.startCommand("\"" + spaced + "\" \"two words\" last", {});
    const auto quoted = FakeDesktopSession::get().nextRun();
    ASSERT_TRUE(quoted);
    EXPECT_EQ(*quoted, (Lines{"program=" + spaced, quoted->at(1), "arg=two words", "arg=last"}));
}

TEST_F(DesktopServices, ProgramIconIsTheHandlersThemeIconElseTheGenericOne) {
    DesktopProgramIcons icons;
    const QPixmap handler = icons.programIcon(write("notes.txt"));
    ASSERT_EQ(handler.size(), QSize(32, 32));
    EXPECT_EQ(centre(handler), QColor(Qt::green).rgb());

    // No application for this type: the theme's generic program icon.
    const QPixmap generic = icons.programIcon(write("data.qbrnone", std::string("\0\1\2", 3)));
    EXPECT_EQ(centre(generic), QColor(Qt::blue).rgb());
    EXPECT_EQ(centre(icons.programIcon(downPath + "missing.qbrnone")), QColor(Qt::blue).rgb());

    // A theme without one: the built-in picture, never nothing.
    QIcon::setThemeName(QStringLiteral("qbrbare"));
    const QPixmap builtIn = icons.programIcon(downPath + "data.qbrnone");
    ASSERT_EQ(builtIn.size(), QSize(32, 32));
    EXPECT_EQ(builtIn.toImage().pixel(10, 8), QColor(0, 0, 0x80).rgb());
}

TEST_F(DesktopServices, Utf8NamedFileIsOpenedForItsShiftJisCatalogName) {
    FreedesktopShell shell;
    PosixFileProbe probe;
    write("\xE8\xA1\xA8.txt"); // 表.txt as it lies on this disk
    const DownloadedFile file = locateDownloadedFile(probe, downPath, "\x95\x5C.txt");
    ASSERT_TRUE(file.exists);
    shell.openWithAssociation(downPath, file.name);
    const auto run = FakeDesktopSession::get().nextRun();
    ASSERT_TRUE(run);
    EXPECT_EQ(run->back(), "arg=" + downPath + "\xE8\xA1\xA8.txt");
}

} // namespace
} // namespace qbr::platform
