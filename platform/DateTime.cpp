#include "platform/DateTime.h"

#include "platform/NumberText.h"

#include <QMutex>
#include <QMutexLocker>
#include <QRegularExpression>

#include <algorithm>
#include <cmath>
#include <ctime>
#include <optional>

namespace {
const QDate Epoch(1899, 12, 30);
constexpr double MsecPerDay = 86400000.0;

QMutex clockMutex;
std::function<QDateTime()>& Clock()
{
    static std::function<QDateTime()> clock;
    return clock;
}
// The short pattern as the date reader needs it: the place of the day, the
// month and the year among the three numbers, the separator after the first
// two (its non-blank character, or a blank when blanks alone separate) and
// the literal text some locales write after the last number ("yyyy. MM. dd.").
struct DateOrder
{
    static constexpr int Numbers = 3;
    enum Part { Day, Month, Year };
    Part parts[Numbers];
    QChar separators[Numbers - 1];
    QString tail; // its blanks left out
    int yearDigits = 4;
};

constexpr int MaxDayDigits = 2;
constexpr int TwoDigitYearBase = 1900; // as QDate::fromString reads "yy"

// Null for a pattern that is not three numbers in some order (names of days
// or months, eras, numbers run together), which Qt reads as it stands.
std::optional<DateOrder> OrderOf(const QString& pattern)
{
    DateOrder order;
    int count = 0;
    QString literal; // since the last number, blanks left out
    bool blankSeen = false;
    bool seen[DateOrder::Numbers] = {};
    for (qsizetype i = 0; i < pattern.size();) {
        const QChar c = pattern[i];
        if (c == u'd' || c == u'M' || c == u'y') {
            qsizetype run = 1;
            while (i + run < pattern.size() && pattern[i + run] == c)
                ++run;
            i += run;
            const DateOrder::Part part = c == u'd'   ? DateOrder::Day
                                         : c == u'M' ? DateOrder::Month
                                                     : DateOrder::Year;
            const bool known = part == DateOrder::Year ? run == 2 || run == 4 : run <= MaxDayDigits;
            if (!known || seen[part] || count == DateOrder::Numbers)
                return std::nullopt;
            if (count == 0 && !literal.isEmpty())
                return std::nullopt; // text before the date
            if (count > 0) {
                if (literal.size() > 1 || (literal.isEmpty() && !blankSeen))
                    return std::nullopt;
                order.separators[count - 1] = literal.isEmpty() ? QChar(u' ') : literal[0];
            }
            if (part == DateOrder::Year)
                order.yearDigits = static_cast<int>(run);
            seen[part] = true;
            order.parts[count++] = part;
            literal.clear();
            blankSeen = false;
        } else if (c == u'\'') {
            // Quoted literal text; two quotes stand for one.
            qsizetype end = i + 1;
            while (end < pattern.size() && pattern[end] != u'\'')
                ++end;
            literal += end == i + 1 ? QString(u'\'') : pattern.mid(i + 1, end - i - 1).remove(u' ');
            i = end + 1;
        } else if (c.isLetter()) {
            return std::nullopt;
        } else {
            if (c.isSpace())
                blankSeen = true;
            else
                literal += c;
            ++i;
        }
    }
    if (count != DateOrder::Numbers)
        return std::nullopt;
    order.tail = literal;
    return order;
}

const std::optional<DateOrder>& CachedOrder(const QString& pattern)
{
    // Dates are read a whole list at a time, also by worker threads.
    thread_local QString written;
    thread_local std::optional<DateOrder> order;
    if (pattern != written) {
        written = pattern;
        order = OrderOf(pattern);
    }
    return order;
}

void SkipBlanks(const QString& text, qsizetype& pos)
{
    while (pos < text.size() && text[pos].isSpace())
        ++pos;
}

// The number at `pos` and how many digits it has; -1 when there is none.
// Reading stops after MaxDigits, so what follows makes a longer number fail.
int ReadNumber(const QString& text, qsizetype& pos, int& digits)
{
    constexpr int MaxDigits = 4;
    int value = 0;
    digits = 0;
    for (; digits < MaxDigits && pos < text.size() && text[pos].isDigit()
           && text[pos].unicode() < 0x80;
         ++pos, ++digits)
        value = value * 10 + (text[pos].unicode() - u'0');
    return digits == 0 ? -1 : value;
}

// A date typed by the user, read as the class library reads one: the
// numbers in the order of the short pattern, separated by its separator,
// with blanks before and after each number ("20. 4. 2026" where the pattern
// is "dd.MM.yyyy"), a day or a month of one digit or two whatever the pattern
// writes, the year with as many digits as it writes. `pos` ends after the
// date, which is invalid when the text does not begin with one.
QDate ReadDate(const QString& text, const QString& pattern, qsizetype& pos)
{
    pos = 0;
    const std::optional<DateOrder>& order = CachedOrder(pattern);
    if (!order) {
        // The old way for patterns that are not three numbers: the date ends at the first blank.
        QString reading = pattern;
        static const QRegularExpression days(QStringLiteral("(?<!d)dd(?!d)"));
        static const QRegularExpression months(QStringLiteral("(?<!M)MM(?!M)"));
        reading.replace(days, QStringLiteral("d")).replace(months, QStringLiteral("M"));
        SkipBlanks(text, pos);
        const QString date = text.mid(pos).section(u' ', 0, 0);
        pos += date.size();
        return QDate::fromString(date, reading);
    }
    int values[DateOrder::Numbers] = {};
    for (int i = 0; i < DateOrder::Numbers; ++i) {
        SkipBlanks(text, pos);
        const DateOrder::Part part = order->parts[i];
        int digits = 0;
        const int value = ReadNumber(text, pos, digits);
        if (value < 0
            || (part == DateOrder::Year ? digits != order->yearDigits : digits > MaxDayDigits))
            return QDate();
        values[part] = value;
        if (i + 1 == DateOrder::Numbers)
            break;
        const qsizetype numberEnd = pos;
        SkipBlanks(text, pos);
        const QChar separator = order->separators[i];
        if (separator == u' ') {
            if (pos == numberEnd)
                return QDate();
        } else if (pos < text.size() && text[pos] == separator) {
            ++pos;
        } else {
            return QDate();
        }
    }
    const int year = values[DateOrder::Year] + (order->yearDigits == 2 ? TwoDigitYearBase : 0);
    // The text after the last number, when there is some, as the pattern writes it.
    qsizetype after = pos;
    qsizetype matched = 0;
    for (; matched < order->tail.size(); ++matched, ++after) {
        SkipBlanks(text, after);
        if (after == text.size() || text[after] != order->tail[matched])
            break;
    }
    if (matched == order->tail.size())
        pos = after;
    return QDate(year, values[DateOrder::Month], values[DateOrder::Day]);
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
    qsizetype end = 0;
    const QDate date = ReadDate(text, GetFormatSettings().ShortDateFormat, end);
    SkipBlanks(text, end);
    if (!date.isValid() || end != text.size())
        return false;
    value = QDateToDateTime(date);
    return true;
}

bool TryStrToDateTime(const QString& text, TDateTime& value)
{
    const FormatSettings& fs = GetFormatSettings();
    qsizetype end = 0;
    const QDate date = ReadDate(text, fs.ShortDateFormat, end);
    if (!date.isValid())
        return false;
    const QString timeText = text.mid(end).trimmed();
    if (timeText.isEmpty()) {
        value = QDateToDateTime(date);
        return true;
    }
    QTime time = QTime::fromString(timeText, fs.LongTimeFormat);
    if (!time.isValid())
        time = QTime::fromString(timeText, fs.ShortTimeFormat);
    if (!time.isValid())
        return false;
    value = QDateTimeToDateTime(QDateTime(date, time));
    return true;
}
