#pragma once
// Building and capturing stream records byte for byte in tests.

#include <QBuffer>
#include <QByteArray>
#include <QDir>
#include <QFile>

#include <cstdint>
#include <initializer_list>

inline QByteArray Le32(int32_t v)
{
    QByteArray b(4, '\0');
    for (int i = 0; i < 4; ++i)
        b[i] = static_cast<char>((static_cast<uint32_t>(v) >> (8 * i)) & 0xFF);
    return b;
}

inline QByteArray Bytes(std::initializer_list<int> values)
{
    QByteArray b;
    for (int v : values)
        b.append(static_cast<char>(v));
    return b;
}

// What `fn` writes into a memory stream.
template <typename Fn>
QByteArray Written(Fn fn)
{
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    fn(buffer);
    return buffer.data();
}

// A read-only memory stream over bytes (owns its copy).
class ReadBuffer : public QBuffer
{
public:
    explicit ReadBuffer(const QByteArray& bytes) : m_bytes(bytes)
    {
        setBuffer(&m_bytes);
        open(QIODevice::ReadOnly);
    }

private:
    QByteArray m_bytes;
};

// Writes the bytes as the file `name` in `dir` and returns its path.
inline QString WriteTestFile(const QDir& dir, const QString& name, const QByteArray& bytes)
{
    const QString path = dir.filePath(name);
    QFile file(path);
    if (file.open(QIODevice::WriteOnly))
        file.write(bytes);
    return path;
}
