#pragma once
// The class library's date-time: days since 1899-12-30 as a double, the
// fraction being the time of day.

#include <QDate>
#include <QDateTime>
#include <QString>

#include <functional>

using TDateTime = double;

QDateTime DateTimeToQDateTime(TDateTime value);
// The wall-clock date and time of day a value stands for (the fraction is
// the time of day, also before 1899-12-30), as DateTimeToQDateTime() takes
// them, without making a QDateTime, which costs a time zone lookup and would
// move a time in a summer-time gap. False for a value out of range.
bool DateTimeParts(TDateTime value, QDate& date, QTime& time);
TDateTime QDateTimeToDateTime(const QDateTime& value);
TDateTime QDateToDateTime(const QDate& date);

// False (and value untouched) for an invalid date or time.
bool TryEncodeDate(int year, int month, int day, TDateTime& value);
bool TryEncodeTime(int hour, int minute, int second, int msec, TDateTime& value);
void DecodeDate(TDateTime value, int& year, int& month, int& day);
void DecodeTime(TDateTime value, int& hour, int& minute, int& second, int& msec);

// The clock every part of the program reads; tests set it.
TDateTime Now();
TDateTime Date();
void SetClock(std::function<QDateTime()> clock); // nullptr restores the system clock

// The local date and time of a moment given in whole seconds since 1970 UTC,
// as QDateTime::toLocalTime() gives them, without its cost per call (it
// reloads the time zone every time): the zone is the one read by the last
// ReloadLocalTimeZone(). False when the system cannot convert the moment.
void ReloadLocalTimeZone();
bool LocalDateTime(qint64 secsSinceEpoch, QDate& date, QTime& time);

// Short date / date-time texts in the formats of GetFormatSettings().
QString DateToStr(TDateTime value);
QString TimeToStr(TDateTime value);
// Date, and the time only when it is not midnight (as the class library does).
QString DateTimeToStr(TDateTime value);
QString DateTimeToStr(const QDate& date, const QTime& time);
bool TryStrToDate(const QString& text, TDateTime& value);
bool TryStrToDateTime(const QString& text, TDateTime& value);
