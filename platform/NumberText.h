#pragma once
// Number texts as the class library formats them, with the locale's decimal
// separator. One implementation for the quantity table, XML and HTML writers.

#include <QChar>
#include <QString>

struct FormatSettings
{
    QChar DecimalSeparator = u'.';
    QChar DateSeparator = u'/';
    QChar TimeSeparator = u':';
    // Short date and time patterns in QDateTime::toString syntax.
    QString ShortDateFormat = QStringLiteral("M/d/yyyy");
    QString ShortTimeFormat = QStringLiteral("h:mm");
    QString LongTimeFormat = QStringLiteral("h:mm:ss");
};

// The formats in force (read-only from worker threads; set on the main thread).
const FormatSettings& GetFormatSettings();
void SetFormatSettings(const FormatSettings& settings);
// Formats of the user's locale (called once at start-up).
void UseSystemLocaleFormats();
// Fixed formats for tests: '.' separator, M/d/yyyy dates, h:mm times.
void UseCLocaleFormats();

// The general floating format: at most `precision` significant digits, trailing
// zeros and a needless separator removed; fixed notation when the integer part
// has at most `precision` digits and |value| >= 0.00001, else scientific
// ("1.2346E5", exponent with at least `digits` digits, '-' only when negative).
QString FloatToStrGeneral(double value, int precision, int digits);
// FloatToStrGeneral(value, 15, 0).
QString FloatToStr(double value);
// Patterns such as "0.###", "0.0##", "0.###E+0", "0", "0.00" (digit
// placeholders '0' and '#', one '.', optional "E+0"/"E-0"/"e+00" exponent).
QString FormatFloat(const QString& pattern, double value);
// Parses a decimal number with the locale's separator (or '.'); false on junk.
bool TryStrToFloat(const QString& text, double& value);
bool TryStrToInt(const QString& text, int& value);
