#include "platform/NumberText.h"

#include <QLocale>
#include <algorithm>

#include <cmath>
#include <cstdio>
#include <string>

namespace {
FormatSettings& Settings()
{
    static FormatSettings settings;
    return settings;
}

// The value's decimal digits, rounded half away from zero to `keep` significant
// digits (as the class library rounds), and the exponent of the first digit.
// keep may be 0 or negative: the result is then "" (rounded to 0) or "1" with
// the exponent raised.
struct Decimal
{
    std::string digits; // no leading zeros; empty means zero
    int exponent = 0;   // value = 0.d1d2... * 10^(exponent + 1)
};

Decimal ToDecimal(double magnitude)
{
    Decimal d;
    if (magnitude == 0)
        return d;
    char buf[64];
    std::snprintf(buf, sizeof buf, "%.16e", magnitude);
    // buf: d.dddddddddddddddde[+-]xx
    std::string s(buf);
    const auto e = s.find('e');
    d.digits = s.substr(0, 1) + s.substr(2, e - 2);
    d.exponent = std::stoi(s.substr(e + 1));
    return d;
}

// Rounds to `keep` significant digits, half away from zero.
void RoundTo(Decimal& d, int keep)
{
    if (d.digits.empty())
        return;
    if (keep < 0) {
        d.digits.clear();
        return;
    }
    if (static_cast<size_t>(keep) >= d.digits.size())
        return;
    const bool up = d.digits[keep] >= '5';
    d.digits.resize(keep);
    if (up) {
        int i = keep - 1;
        while (i >= 0 && d.digits[i] == '9') {
            d.digits[i] = '0';
            --i;
        }
        if (i >= 0) {
            ++d.digits[i];
        } else {
            // Every kept digit carried over: 99.96 -> 100, one decade up.
            d.digits = "1";
            ++d.exponent;
        }
    }
    while (!d.digits.empty() && d.digits.back() == '0')
        d.digits.pop_back();
}

// The digits before and after the decimal point: no integer digits below 1,
// zeros up to the point above the last significant digit.
struct DigitParts
{
    QString integer;
    QString fraction;
};

DigitParts Split(const Decimal& d)
{
    DigitParts parts;
    if (d.digits.empty())
        return parts;
    const QString ds = QString::fromLatin1(d.digits.data(), static_cast<qsizetype>(d.digits.size()));
    const int e = d.exponent;
    if (e >= 0) {
        parts.integer = ds.left(e + 1).leftJustified(e + 1, u'0');
        parts.fraction = ds.mid(e + 1);
    } else {
        parts.fraction = QString(-e - 1, u'0') + ds;
    }
    return parts;
}

QString Exponent(int exponent, int minDigits, bool plusSign)
{
    QString text = QString::number(std::abs(exponent)).rightJustified(minDigits, u'0');
    if (exponent < 0)
        text.prepend(u'-');
    else if (plusSign)
        text.prepend(u'+');
    return text;
}

QString NonFinite(double value)
{
    if (std::isnan(value))
        return QStringLiteral("NAN");
    return value < 0 ? QStringLiteral("-INF") : QStringLiteral("INF");
}
} // namespace

const FormatSettings& GetFormatSettings() { return Settings(); }

void SetFormatSettings(const FormatSettings& settings) { Settings() = settings; }

void UseCLocaleFormats() { Settings() = FormatSettings(); }

void UseSystemLocaleFormats()
{
    const QLocale locale = QLocale::system();
    FormatSettings s;
    s.DecimalSeparator = locale.decimalPoint().isEmpty() ? u'.' : locale.decimalPoint().at(0);
    QString date = locale.dateFormat(QLocale::ShortFormat);
    // Two-digit years would turn 2030 into 1930 when a text is read back.
    if (!date.contains(QStringLiteral("yyyy")))
        date.replace(QStringLiteral("yy"), QStringLiteral("yyyy"));
    s.ShortDateFormat = date;
    for (QChar c : date) {
        if (!c.isLetter()) {
            s.DateSeparator = c;
            break;
        }
    }
    s.ShortTimeFormat = locale.timeFormat(QLocale::ShortFormat);
    s.LongTimeFormat = locale.timeFormat(QLocale::LongFormat).remove(QStringLiteral(" t")).trimmed();
    Settings() = s;
}

QString FloatToStrGeneral(double value, int precision, int digits)
{
    if (!std::isfinite(value))
        return NonFinite(value);
    precision = std::clamp(precision, 1, 18);
    Decimal d = ToDecimal(std::fabs(value));
    RoundTo(d, precision);
    if (d.digits.empty())
        return QStringLiteral("0");
    const QChar sep = Settings().DecimalSeparator;
    QString text;
    if (value < 0)
        text += u'-';
    const int e = d.exponent;
    if (e + 1 <= precision && e >= -5) {
        const DigitParts parts = Split(d);
        text += parts.integer.isEmpty() ? QStringLiteral("0") : parts.integer;
        if (!parts.fraction.isEmpty())
            text += sep + parts.fraction;
    } else {
        const QString ds = QString::fromLatin1(d.digits.data(), static_cast<qsizetype>(d.digits.size()));
        text += ds.left(1);
        if (ds.size() > 1)
            text += sep + ds.mid(1);
        text += u'E' + Exponent(e, std::clamp(digits, 0, 4), false);
    }
    return text;
}

QString FloatToStr(double value) { return FloatToStrGeneral(value, 15, 0); }

QString FormatFloat(const QString& pattern, double value)
{
    if (!std::isfinite(value))
        return NonFinite(value);
    // Parse the placeholders.
    int minInt = 0, minFrac = 0, maxFrac = 0, minExp = 0;
    bool seenPoint = false, scientific = false, expPlus = false;
    QChar expChar = u'E';
    for (qsizetype i = 0; i < pattern.size(); ++i) {
        const QChar c = pattern[i];
        if ((c == u'E' || c == u'e') && i + 1 < pattern.size()
            && (pattern[i + 1] == u'+' || pattern[i + 1] == u'-')) {
            scientific = true;
            expChar = c;
            expPlus = pattern[i + 1] == u'+';
            for (i += 2; i < pattern.size() && pattern[i] == u'0'; ++i)
                ++minExp;
            break;
        }
        if (c == u'.') {
            seenPoint = true;
        } else if (c == u'0') {
            if (seenPoint) {
                ++minFrac;
                ++maxFrac;
            } else {
                ++minInt;
            }
        } else if (c == u'#') {
            if (seenPoint)
                ++maxFrac;
        }
    }
    const QChar sep = Settings().DecimalSeparator;
    Decimal d = ToDecimal(std::fabs(value));
    int exponent = 0;
    if (scientific) {
        const int intDigits = std::max(1, minInt);
        if (!d.digits.empty()) {
            RoundTo(d, intDigits + maxFrac);
            exponent = d.exponent - (intDigits - 1);
            d.exponent = intDigits - 1;
        }
    } else {
        RoundTo(d, d.exponent + 1 + maxFrac);
    }
    const DigitParts parts = Split(d);
    const QString intPart = parts.integer.rightJustified(minInt, u'0');
    const QString fracPart = parts.fraction.leftJustified(minFrac, u'0');
    QString text;
    if (value < 0 && !d.digits.empty())
        text += u'-';
    text += intPart;
    if (!fracPart.isEmpty())
        text += sep + fracPart;
    if (text.isEmpty() || text == u"-")
        text += u'0';
    if (scientific)
        text += expChar + Exponent(exponent, minExp, expPlus);
    return text;
}

bool TryStrToFloat(const QString& text, double& value)
{
    QString t = text.trimmed();
    if (t.isEmpty())
        return false;
    const QChar sep = Settings().DecimalSeparator;
    if (sep != u'.') {
        if (t.contains(u'.'))
            return false;
        t.replace(sep, u'.');
    }
    bool ok = false;
    const double v = QLocale::c().toDouble(t, &ok);
    if (!ok || !std::isfinite(v))
        return false;
    value = v;
    return true;
}

bool TryStrToInt(const QString& text, int& value)
{
    bool ok = false;
    const QString t = text.trimmed();
    int v = 0;
    if (t.startsWith(u'$'))
        v = t.mid(1).toInt(&ok, 16);
    else
        v = t.toInt(&ok, 10);
    if (!ok)
        return false;
    value = v;
    return true;
}
