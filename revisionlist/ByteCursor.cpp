#include "revisionlist/ByteCursor.h"

#include "language/Language.h"
#include "storage/Utf8.h"

#include <QtEndian>

#include <algorithm>

std::optional<uint8_t> ByteCursor::Byte()
{
    if (Remaining() < 1)
        return std::nullopt;
    return static_cast<uint8_t>(m_bytes[m_pos++]);
}

std::optional<int32_t> ByteCursor::Int32()
{
    if (Remaining() < 4)
        return std::nullopt;
    const int32_t value = qFromLittleEndian<int32_t>(m_bytes.data() + m_pos);
    m_pos += 4;
    return value;
}

std::optional<QByteArrayView> ByteCursor::Bytes()
{
    const std::optional<int32_t> length = Int32();
    if (!length || *length < 0 || *length > Remaining())
        return std::nullopt;
    const QByteArrayView bytes = m_bytes.sliced(m_pos, *length);
    m_pos += *length;
    return bytes;
}

std::optional<QByteArray> ByteCursor::AnsiText()
{
    const std::optional<QByteArrayView> bytes = Bytes();
    return bytes ? std::optional<QByteArray>(bytes->toByteArray()) : std::nullopt;
}

std::optional<QString> ByteCursor::WideText()
{
    const std::optional<QByteArrayView> utf8 = Bytes();
    if (!utf8)
        return std::nullopt;
    // Most texts are plain ASCII, which decodes byte for byte.
    if (std::all_of(utf8->begin(), utf8->end(), [](char c) {
            const auto b = static_cast<unsigned char>(c);
            return b != 0 && b < 0x80;
        }))
        return utf8->isEmpty() ? QString("") : QString::fromLatin1(*utf8);
    const QString text = DecodeUtf8Text(*utf8);
    return text.isNull() ? QString("") : text;
}
