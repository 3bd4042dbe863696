#include "instruments/ValueText.h"

#include <clocale>
#include <cstdlib>
#include <locale.h>
#include <string>

namespace ValueText {

namespace {

bool IsDigit(char c)
{
    return c >= '0' && c <= '9';
}

// The program runs under the user's locale; numbers here always use '.'.
locale_t CLocale()
{
    static const locale_t locale = newlocale(LC_ALL_MASK, "C", locale_t(nullptr));
    return locale;
}

bool IsSpace(char c)
{
    return c == ' ' || (c >= '\t' && c <= '\r');
}

} // namespace

qsizetype SkipSpace(QByteArrayView text, qsizetype from)
{
    while (from < text.size() && IsSpace(text[from]))
        ++from;
    return from;
}

Number ReadNumber(QByteArrayView text)
{
    text = text.first(std::min(text.size(), MaxChars));
    qsizetype i = 0;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-'))
        negative = text[i++] == '-';

    // Rebuilt with '.', whatever the separator was.
    std::string digits;
    bool anyDigit = false;
    while (i < text.size() && IsDigit(text[i])) {
        digits += text[i++];
        anyDigit = true;
    }
    if (i < text.size() && (text[i] == '.' || text[i] == ',')) {
        qsizetype j = i + 1;
        std::string fraction;
        while (j < text.size() && IsDigit(text[j]))
            fraction += text[j++];
        if (anyDigit || !fraction.empty()) {
            digits += '.';
            digits += fraction;
            anyDigit = true;
            i = j;
        }
    }
    if (!anyDigit)
        return {};

    if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
        qsizetype j = i + 1;
        std::string exponent = "e";
        if (j < text.size() && (text[j] == '+' || text[j] == '-')) {
            exponent += text[j++];
        }
        if (j < text.size() && IsDigit(text[j])) {
            while (j < text.size() && IsDigit(text[j]))
                exponent += text[j++];
            digits += exponent;
            i = j;
        }
    }

    // Out of range gives +-HUGE_VAL or a vanishing value, as wanted.
    const double value = strtod_l(digits.c_str(), nullptr, CLocale());
    return {negative ? -value : value, i};
}

} // namespace ValueText
