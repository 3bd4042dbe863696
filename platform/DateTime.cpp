#include "platform/DateTime.h"

#include "platform/NumberText.h"

#include <QMutex>
#include <QMutexLocker>
#include <QRegularExpression>

#include <algorithm>
#include <cmath>
#include <ctime>

namespace {
const QDate Epoch(1899, 12, 30);
constexpr double MsecPerDay = 86400000.0;

QMutex clockMutex;
std::function<QDateTime()>& Clock()
{
    static std::function<QDateTime()> clock;
    return clock;
}
// A date typed by the user, read as the class library reads one: a day or a
// month of one digit or two whatever the pattern writes ("1.4.2027" where
// the format is "dd.MM.yyyy").
QDate ReadDate(const QString& text, const QString& pattern)
{
    // Dates are read a whole list at a time, also by the folder scan's thread.
    thread_local QString written;
    thread_local QString reading;
    if (pattern != written) {
        static const QRegularExpression days(QStringLiteral("(?<!d)dd(?!d)"));
        static const QRegularExpression months(QStringLiteral("(?<!M)MM(?!M)"));
        written = pattern;
        reading = pattern;
        reading.replace(days, QStringLiteral("d")).replace(months, QStringLiteral("M"));
    }
    return QDate::fromString(text, reading);
}
} // namespace

bool DateTimeParts(TDateTime value, QDate& date, QTime& time)
{
    if (!std::isfinite(value) || std::fabs(value) > 3e6)
        return false;
    double days = std::trunc(value);
    qint64 msec = std::llround(std::fabs(value - days) * MsecPerDay);
    if (msec >= 86400000) {
        msec -= 86400000;
        days += value < 0 ? -1 : 1;
    }
    date = Epoch.addDays(static_cast<qint64>(days));
    time = QTime(0, 0).addMSecs(static_cast<int>(msec));
    return true;
}

QDateTime DateTimeToQDateTime(TDateTime value)
{
    QDate date;
    QTime time;
    return DateTimeParts(value, date, time) ? QDateTime(date, time) : QDateTime();
}

TDateTime QDateToDateTime(const QDate& date) { return static_cast<double>(Epoch.daysTo(date)); }

TDateTime QDateTimeToDateTime(const QDateTime& value)
{
    const double days = QDateToDateTime(value.date());
    const double time = value.time().msecsSinceStartOfDay() / MsecPerDay;
    // Before the epoch the fraction still counts forward from midnight.
    return days < 0 ? days - time : days + time;
}

bool TryEncodeDate(int year, int month, int day, TDateTime& value)
{
    if (year < 1 || year > 9999 || !QDate::isValid(year, month, day))
        return false;
    value = QDateToDateTime(QDate(year, month, day));
    return true;
}

bool TryEncodeTime(int hour, int minute, int second, int msec, TDateTime& value)
{
    if (!QTime::isValid(hour, minute, second, msec))
        return false;
    value = QTime(hour, minute, second, msec).msecsSinceStartOfDay() / MsecPerDay;
    return true;
}

void DecodeDate(TDateTime value, int& year, int& month, int& day)
{
    const QDate date = DateTimeToQDateTime(value).date();
    year = date.isValid() ? date.year() : 0;
    month = date.isValid() ? date.month() : 0;
    day = date.isValid() ? date.day() : 0;
}

void DecodeTime(TDateTime value, int& hour, int& minute, int& second, int& msec)
{
    const QTime time = DateTimeToQDateTime(value).time();
    hour = time.hour();
    minute = time.minute();
    second = time.second();
    msec = time.msec();
}

void SetClock(std::function<QDateTime()> clock)
{
    QMutexLocker lock(&clockMutex);
    Clock() = std::move(clock);
}

TDateTime Now()
{
    QMutexLocker lock(&clockMutex);
    const QDateTime now = Clock() ? Clock()() : QDateTime::currentDateTime();
    return QDateTimeToDateTime(now);
}

TDateTime Date() { return std::trunc(Now()); }

void ReloadLocalTimeZone()
{
#ifdef Q_OS_WIN
    _tzset();
#else
    tzset();
#endif
}

bool LocalDateTime(qint64 secsSinceEpoch, QDate& date, QTime& time)
{
    const std::time_t t = static_cast<std::time_t>(secsSinceEpoch);
    std::tm local{};
#ifdef Q_OS_WIN
    if (static_cast<qint64>(t) != secsSinceEpoch || localtime_s(&local, &t) != 0)
        return false;
#else
    if (static_cast<qint64>(t) != secsSinceEpoch || !localtime_r(&t, &local))
        return false;
#endif
    date = QDate(local.tm_year + 1900, local.tm_mon + 1, local.tm_mday);
    // A leap second counts as the second before it.
    time = QTime(local.tm_hour, local.tm_min, std::min(local.tm_sec, 59));
    return date.isValid() && time.isValid();
}

QString DateToStr(TDateTime value)
{
    return DateTimeToQDateTime(value).date().toString(GetFormatSettings().ShortDateFormat);
}

QString TimeToStr(TDateTime value)
{
    return DateTimeToQDateTime(value).time().toString(GetFormatSettings().LongTimeFormat);
}

QString DateTimeToStr(TDateTime value)
{
    const QDateTime dt = DateTimeToQDateTime(value);
    return DateTimeToStr(dt.date(), dt.time());
}

QString DateTimeToStr(const QDate& date, const QTime& time)
{
    QString text = date.toString(GetFormatSettings().ShortDateFormat);
    if (time != QTime(0, 0))
        text += u' ' + time.toString(GetFormatSettings().LongTimeFormat);
    return text;
}

bool TryStrToDate(const QString& text, TDateTime& value)
{
    const QDate date = ReadDate(text.trimmed(), GetFormatSettings().ShortDateFormat);
    if (!date.isValid())
        return false;
    value = QDateToDateTime(date);
    return true;
}

bool TryStrToDateTime(const QString& text, TDateTime& value)
{
    const QString t = text.trimmed();
    const FormatSettings& fs = GetFormatSettings();
    const qsizetype space = t.indexOf(u' ');
    if (space < 0)
        return TryStrToDate(t, value);
    const QDate date = ReadDate(t.left(space), fs.ShortDateFormat);
    const QString timeText = t.mid(space + 1).trimmed();
    QTime time = QTime::fromString(timeText, fs.LongTimeFormat);
    if (!time.isValid())
        time = QTime::fromString(timeText, fs.ShortTimeFormat);
    if (!date.isValid() || !time.isValid())
        return false;
    value = QDateTimeToDateTime(QDateTime(date, time));
    return true;
}
