#include "catalog/date_time.h"
#include "desktop/date_time_text.h"
#include "desktop/file_presentation.h"
#include "support/fake_desktop.h"
#include "support/fake_file_probe.h"

#include <QDate>
#include <gtest/gtest.h>

namespace qbr::platform {
namespace {

const QLocale kJapan(QLocale::Japanese, QLocale::Japan);

TEST(PresentDownloadedFile, PresentFileGetsItsProgramsIconAndDate) {
    test::FakeFileProbe probe;
    test::FakeProgramIcons icons(Qt::green);
    probe.addFile("/dl/A.LZH", encodeDateTime(2026, 1, 2, 0, 0, 0));
    const FilePresentation shown = presentDownloadedFile(probe, icons, "/dl/", "A.LZH", kJapan);
    EXPECT_TRUE(shown.file.exists);
    EXPECT_EQ(icons.asked(), std::vector<std::string>{"/dl/A.LZH"});
    EXPECT_EQ(shown.icon.toImage().pixel(0, 0), QColor(Qt::green).rgb());
    // Midnight: the date alone, then " にダウンロードされました。".
    EXPECT_EQ(shown.dateLabel,
              QString::fromUtf16(u"2026/01/02 \u306b\u30c0\u30a6\u30f3\u30ed\u30fc\u30c9"
                                 u"\u3055\u308c\u307e\u3057\u305f\u3002"));
}

TEST(PresentDownloadedFile, MissingFileHasNoIconAndTheMissingText) {
    test::FakeFileProbe probe;
    test::FakeProgramIcons icons;
    const FilePresentation shown = presentDownloadedFile(probe, icons, "/dl/", "A.LZH", kJapan);
    EXPECT_FALSE(shown.file.exists);
    EXPECT_TRUE(shown.icon.isNull());
    EXPECT_TRUE(icons.asked().empty());
    EXPECT_EQ(shown.dateLabel, noFileLabel());
}

TEST(PresentDownloadedFile, Utf8NamedFileIsTheOneShown) {
    test::FakeFileProbe probe;
    test::FakeProgramIcons icons;
    probe.addFile("/dl/\xE8\xA1\xA8.zip", encodeDateTime(2026, 1, 2, 3, 4, 6));
    const FilePresentation shown =
        presentDownloadedFile(probe, icons, "/dl/", "\x95\x5C.zip", kJapan);
    EXPECT_TRUE(shown.file.exists);
    EXPECT_EQ(icons.asked(), std::vector<std::string>{"/dl/\xE8\xA1\xA8.zip"});
    EXPECT_EQ(probe.dated(), std::vector<std::string>{"/dl/\xE8\xA1\xA8.zip"});
    EXPECT_TRUE(shown.dateLabel.startsWith(QStringLiteral("2026/01/02 3")));
}

} // namespace
} // namespace qbr::platform
