#pragma once
// The UTF-8 routines used for every text that goes into a file or a table.
//
// The byte form is deliberately not standard UTF-8: each UTF-16 unit is
// encoded on its own (a surrogate becomes its own 3-byte sequence), because
// stored documents rely on exactly that. Use these routines for file texts,
// never QString::toUtf8.

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

// The number of characters of a UTF-8 text up to its end or first NUL:
// every byte that is not a continuation byte (0x80..0xBF).
int CountUtf8Chars(QByteArrayView utf8);

// Bytes the UTF-8 form of a UTF-16 text needs (1, 2 or 3 per unit), no terminator.
int GetUtf8Size(const QString& text);

// The UTF-8 form of a UTF-16 text, one unit at a time (no terminator in the result).
QByteArray EncodeUtf8(const QString& text);

// Decodes at most `count` characters. Stops at the end of the input, at a NUL,
// at a byte that cannot start a 1..3 byte sequence (continuation byte, 4-byte
// lead) and at a sequence cut short by the end of the input.
QString DecodeUtf8(QByteArrayView utf8, int count);
// Decodes the whole text, up to its end or first NUL, with the same stops.
QString DecodeUtf8Text(QByteArrayView utf8);
