#include "catalog/date_time.h"
#include "desktop/date_time_text.h"

#include <QDate>
#include <gtest/gtest.h>

namespace qbr::platform {
namespace {

const QLocale kJapan(QLocale::Japanese, QLocale::Japan);
const QLocale kGermany(QLocale::German, QLocale::Germany);

TEST(DateTimeText, ShortDateBlankLongTime) {
    const double value = encodeDateTime(2026, 12, 11, 9, 5, 8);
    // Qt's Japanese long time is "H時mm分ss秒 t"; the zone field is dropped.
    EXPECT_EQ(dateTimeText(value, kJapan), QString::fromUtf16(u"2026/12/11 9\u6642"
                                                              "05\u5206"
                                                              "08\u79d2"));
    const QString german = dateTimeText(value, kGermany);
    EXPECT_TRUE(
        german.startsWith(kGermany.toString(QDate(2026, 12, 11), QLocale::ShortFormat) + u' '))
        << german.toStdString();
    EXPECT_TRUE(german.endsWith(u"09:05:08")) << "no time zone: " << german.toStdString();
}

TEST(DateTimeText, MidnightShowsTheDateAlone) {
    EXPECT_EQ(dateTimeText(encodeDateTime(1999, 1, 2, 0, 0, 0), kJapan),
              kJapan.toString(QDate(1999, 1, 2), QLocale::ShortFormat));
    EXPECT_NE(dateTimeText(encodeDateTime(1999, 1, 2, 0, 0, 2), kJapan),
              kJapan.toString(QDate(1999, 1, 2), QLocale::ShortFormat));
}

TEST(DownloadDateLabel, DateThenTheDownloadTextOrTheMissingFileText) {
    const QString label = downloadDateLabel(encodeDateTime(2000, 2, 29, 0, 0, 0), kJapan);
    EXPECT_EQ(label, kJapan.toString(QDate(2000, 2, 29), QLocale::ShortFormat) +
                         QString::fromUtf16(u" \u306b\u30c0\u30a6\u30f3\u30ed\u30fc\u30c9\u3055"
                                            u"\u308c\u307e\u3057\u305f\u3002"));
    EXPECT_EQ(downloadDateLabel(std::nullopt, kJapan), noFileLabel());
    EXPECT_EQ(noFileLabel(), QString::fromUtf16(u"\u30d5\u30a1\u30a4\u30eb\u306f\u3042\u308a"
                                                u"\u307e\u305b\u3093\u3002"));
}

} // namespace
} // namespace qbr::platform
