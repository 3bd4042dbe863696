#pragma once
// Building the older single-stream documents record by record: template
// object records and data bodies as the older program wrote them.

#include "common/RecordBytes.h"

#include <QByteArray>
#include <QString>

#include <string>
#include <string_view>

inline QByteArray Utf16(std::u16string_view units)
{
    QByteArray bytes;
    for (char16_t u : units)
        bytes += Bytes({u & 0xFF, u >> 8});
    return bytes;
}

// One object record of an older template.
struct OldObject
{
    std::u16string text;
    QByteArray font = "Arial";
    int32_t size = 40;
    int32_t fore = 0;
    int32_t kind = 1001;
    int32_t left = 10;
    int32_t top = 20;
    int32_t width = 300;
    int32_t height = 100;
    int32_t align = 4;
    int32_t borders[4] = {1, 1, 1, 1};
    int32_t back = 0xFFFFFF;
    QByteArray picture;

    QByteArray Record() const
    {
        QByteArray r = "Object  " + Le32(int32_t(text.size())) + Utf16(text);
        r += Le32(int32_t(font.size())) + font + Le32(size) + Le32(fore) + Bytes({0x55}) + Le32(kind);
        r += Le32(left) + Le32(top) + Le32(width) + Le32(height) + Le32(align);
        for (int32_t b : borders)
            r += Le32(b);
        return r + Le32(back) + Le32(int32_t(picture.size())) + picture;
    }
};

// Builds an older data body (or any run of 8-byte tagged records).
class LegacyStream
{
public:
    LegacyStream& Tag(const char (&tag)[9])
    {
        m_bytes.append(tag, 8);
        return *this;
    }
    LegacyStream& Int(int32_t value)
    {
        m_bytes += Le32(value);
        return *this;
    }
    LegacyStream& Head(int32_t bank) { return Tag("DataHead").Int(0).Int(bank).Int(0); }
    LegacyStream& Item(const QString& text, int32_t kind)
    {
        Tag("DataItem").Int(static_cast<int32_t>(text.size() * 2));
        for (QChar c : text) {
            m_bytes.append(static_cast<char>(c.unicode() & 0xFF));
            m_bytes.append(static_cast<char>(c.unicode() >> 8));
        }
        return Int(kind).Int(0).Int(0);
    }
    LegacyStream& Raw(const QByteArray& bytes)
    {
        m_bytes += bytes;
        return *this;
    }
    QByteArray Bytes() const { return m_bytes; }

private:
    QByteArray m_bytes;
};
