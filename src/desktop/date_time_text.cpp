#include "desktop/date_time_text.h"

#include "pane/detail_pane.h"
#include "posix/cp932_codec.h"

#include <QDate>
#include <QTime>
#include <cmath>

namespace qbr::platform {

namespace {

QString fromCp932(std::string_view bytes) {
    const std::u16string text = decodeCp932(bytes);
    return QString::fromUtf16(text.data(), static_cast<qsizetype>(text.size()));
}

// The locale's long time format without its time-zone fields ("t", outside quotes) and the
// blanks that set them apart.
QString timeFormatWithoutZone(const QLocale& locale) {
    const QString format = locale.timeFormat(QLocale::LongFormat);
    QString kept;
    bool quoted = false;
    for (QChar c : format) {
        if (c == u'\'')
            quoted = !quoted;
        if (!quoted && c == u't')
            continue;
        kept += c;
    }
    return kept.simplified();
}

} // namespace

QString dateTimeText(double value, const QLocale& locale) {
    // The whole days count from 1899-12-30; the fraction, whatever the sign, is the time.
    double days = std::trunc(value);
    long long ms = std::llround(std::fabs(value - days) * 86400000.0);
    if (ms >= 86400000) {
        ms -= 86400000;
        days += value < 0 ? -1 : 1;
    }
    const QDate date = QDate(1899, 12, 30).addDays(static_cast<qint64>(days));
    QString text = locale.toString(date, QLocale::ShortFormat);
    if (ms != 0) {
        const QTime time = QTime::fromMSecsSinceStartOfDay(static_cast<int>(ms));
        text += u' ' + locale.toString(time, timeFormatWithoutZone(locale));
    }
    return text;
}

QString downloadDateLabel(std::optional<double> date, const QLocale& locale) {
    if (!date)
        return noFileLabel();
    return dateTimeText(*date, locale) + fromCp932(pane_text::kDownloaded);
}

QString noFileLabel() {
    return fromCp932(pane_text::kNoFile);
}

} // namespace qbr::platform
