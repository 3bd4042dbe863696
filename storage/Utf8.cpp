#include "storage/Utf8.h"

#include <algorithm>

int CountUtf8Chars(QByteArrayView utf8)
{
    // The NUL first, then a loop without an exit, which the compiler runs
    // many bytes at a time: stored texts reach megabytes.
    const qsizetype nul = utf8.indexOf('\0');
    const auto* bytes = reinterpret_cast<const unsigned char*>(utf8.data());
    const qsizetype end = nul < 0 ? utf8.size() : nul;
    int count = 0;
    for (qsizetype i = 0; i < end; ++i)
        count += bytes[i] < 0x80 || bytes[i] > 0xBF;
    return count;
}

int GetUtf8Size(const QString& text)
{
    int size = 0;
    for (QChar ch : text) {
        const char16_t u = ch.unicode();
        size += u < 0x80 ? 1 : u < 0x800 ? 2 : 3;
    }
    return size;
}

QByteArray EncodeUtf8(const QString& text)
{
    QByteArray out;
    out.reserve(GetUtf8Size(text));
    for (QChar ch : text) {
        const char16_t u = ch.unicode();
        if (u < 0x80) {
            out.append(static_cast<char>(u));
        } else if (u < 0x800) {
            out.append(static_cast<char>(0xC0 | (u >> 6)));
            out.append(static_cast<char>(0x80 | (u & 0x3F)));
        } else {
            out.append(static_cast<char>(0xE0 | (u >> 12)));
            out.append(static_cast<char>(0x80 | ((u >> 6) & 0x3F)));
            out.append(static_cast<char>(0x80 | (u & 0x3F)));
        }
    }
    return out;
}

QString DecodeUtf8(QByteArrayView utf8, int count)
{
    const qsizetype n = utf8.size();
    // One unit a character, written in place: a text of megabytes must not
    // grow one character at a time.
    QString out(std::clamp<qsizetype>(count, 0, n), Qt::Uninitialized);
    char16_t* units = reinterpret_cast<char16_t*>(out.data());
    qsizetype written = 0;
    qsizetype i = 0;
    auto byte = [&](qsizetype k) { return static_cast<unsigned char>(utf8[k]); };
    const auto* bytes = reinterpret_cast<const unsigned char*>(utf8.data());
    for (int c = 0; c < count && i < n; ++c) {
        const unsigned char b = byte(i);
        if (b == 0)
            break;
        if (b < 0x80) {
            // Texts are mostly ASCII: a stretch of it in one tight loop.
            const qsizetype stop = i + std::min<qsizetype>(n - i, qsizetype(count) - c);
            qsizetype j = i;
            while (j < stop && bytes[j] != 0 && bytes[j] < 0x80)
                units[written++] = bytes[j++];
            c += int(j - i) - 1;
            i = j;
            continue;
        }
        char16_t unit;
        if ((b & 0xE0) == 0xC0) {
            if (i + 1 >= n || (byte(i + 1) & 0xC0) != 0x80)
                break;
            unit = static_cast<char16_t>(((b & 0x1F) << 6) | (byte(i + 1) & 0x3F));
            i += 2;
        } else if ((b & 0xF0) == 0xE0) {
            if (i + 2 >= n || (byte(i + 1) & 0xC0) != 0x80 || (byte(i + 2) & 0xC0) != 0x80)
                break;
            unit = static_cast<char16_t>(((b & 0x0F) << 12) | ((byte(i + 1) & 0x3F) << 6)
                                         | (byte(i + 2) & 0x3F));
            i += 3;
        } else {
            break; // continuation byte or 4-byte lead: the text ends here
        }
        units[written++] = unit;
    }
    if (written == 0)
        return QString(); // nothing decoded is the null text, as it always was
    out.truncate(written);
    return out;
}

QString DecodeUtf8Text(QByteArrayView utf8)
{
    return DecodeUtf8(utf8, CountUtf8Chars(utf8));
}
