#pragma once
// Byte images of field records, built by hand from their documented layout,
// and helpers that run a field (or any other stored record) through Save,
// Load and WriteXml in memory.

#include "common/RecordBytes.h"
#include "documents/AbstractFormObject.h"

#include <QByteArray>

#include <cstdint>

// The 29-byte record every field record begins with; by default that of a new object.
inline QByteArray BaseRecord(int32_t left = 0, int32_t top = 0, int32_t right = 0, int32_t bottom = 0,
                             int8_t border = 1, int32_t fore = 0, int32_t back = 0xFFFFFF)
{
    QByteArray bytes("\x01", 1);
    bytes += Le32(left) + Le32(top) + Le32(right) + Le32(bottom);
    bytes += QByteArray(4, static_cast<char>(border));
    bytes += Le32(fore) + Le32(back);
    return bytes;
}

// A stored text: its UTF-8 byte length, then the bytes.
inline QByteArray Wide(const QByteArray& utf8)
{
    return Le32(static_cast<int32_t>(utf8.size())) + utf8;
}

// What a text field writes after the base record.
inline QByteArray TextRecordTail(const QByteArray& utf8, uint8_t align = 4, const QByteArray& font = "Arial",
                                 int32_t size = 40, uint8_t type = 0)
{
    QByteArray bytes("\x01", 1);
    bytes += Wide(utf8);
    bytes += static_cast<char>(align);
    QByteArray slot = font.left(31);
    slot += QByteArray(32 - slot.size(), '\0');
    bytes += slot;
    bytes += Le32(size);
    bytes += static_cast<char>(type);
    return bytes;
}

// The XML elements of a new object's base part.
inline QByteArray DefaultBaseXml()
{
    return "<Left>0</Left>\n<Top>0</Top>\n<Right>0</Right>\n<Bottom>0</Bottom>\n"
           "<LeftBorder>0.1</LeftBorder>\n<TopBorder>0.1</TopBorder>\n"
           "<RightBorder>0.1</RightBorder>\n<BottomBorder>0.1</BottomBorder>\n"
           "<ForeColor>0</ForeColor>\n<BackColor>16777215</BackColor>\n";
}

inline QByteArray SavedRecord(const PropertiesAbstract& object)
{
    return Written([&object](QIODevice& s) { object.Save(s); });
}

inline QByteArray WrittenXml(const PropertiesAbstract& object)
{
    return Written([&object](QIODevice& s) { object.WriteXml(s); });
}

// Loads `record` into `object`; `left` receives the bytes not consumed.
inline bool LoadRecord(AbstractFormObject& object, const QByteArray& record, qint64* left = nullptr,
                       bool* damaged = nullptr)
{
    ReadBuffer buffer(record);
    const bool ok = object.Load(buffer);
    if (left)
        *left = buffer.size() - buffer.pos();
    if (damaged)
        *damaged = IsStreamDamaged(buffer);
    return ok;
}
