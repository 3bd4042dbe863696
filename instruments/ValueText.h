#pragma once
// Reading typed and stored value texts: the number at the start of a text and
// the scale letter after it.

#include <QByteArrayView>

namespace ValueText {

// At most this many characters of a value text are looked at.
constexpr qsizetype MaxChars = 200;

struct Number
{
    double value = 0;
    qsizetype length = 0; // characters consumed; 0 when no number was found
};

// A decimal number at the start of `text` (optional sign, digits, optional
// fraction, optional exponent), as far as it goes. ',' counts as the decimal
// point. No number gives 0 with length 0; a number beyond the double range
// gives +-infinity (or 0 for a vanishing one).
Number ReadNumber(QByteArrayView text);

// Index of the first character at or after `from` that is not white space.
qsizetype SkipSpace(QByteArrayView text, qsizetype from);

} // namespace ValueText
