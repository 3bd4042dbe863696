#pragma once
// Little-endian records read from bytes in memory. Unlike the stream
// primitives, a read past the end gives no value, so a reader can tell a
// truncated record from a record of zeros.

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

#include <cstdint>
#include <optional>

class ByteCursor
{
public:
    explicit ByteCursor(QByteArrayView bytes) : m_bytes(bytes) {}

    qsizetype Remaining() const { return m_bytes.size() - m_pos; }
    std::optional<uint8_t> Byte();
    std::optional<int32_t> Int32();
    // int32 length, then that many bytes; none for a negative length or one
    // past the end.
    std::optional<QByteArrayView> Bytes();
    std::optional<QByteArray> AnsiText();
    // The same bytes as UTF-8 in the program's form, decoded.
    std::optional<QString> WideText();

private:
    QByteArrayView m_bytes;
    qsizetype m_pos = 0;
};
