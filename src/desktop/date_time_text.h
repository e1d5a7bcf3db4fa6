#pragma once

#include <QLocale>
#include <QString>
#include <optional>

namespace qbr::platform {

// A date-time value as the user reads it: the locale's short date, a blank and its long time;
// the blank and the time are left out when the time is exactly 00:00:00. A time-zone field of
// the long format is dropped: the value is local time and carries no zone.
QString dateTimeText(double value, const QLocale& locale = QLocale::system());

// Label2 of the detail pane: the file's date followed by " にダウンロードされました。", or
// "ファイルはありません。" when there is no date (the file went away after it was found).
QString downloadDateLabel(std::optional<double> date, const QLocale& locale = QLocale::system());

// "ファイルはありません。"
QString noFileLabel();

} // namespace qbr::platform
