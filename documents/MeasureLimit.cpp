#include "documents/MeasureLimit.h"

#include "documents/StyledText.h"
#include "storage/File.h"

namespace {

// One side of the record: action byte, bound, colour, text.
struct SideFields
{
    int32_t& type;
    double& bound;
    TColor& color;
    QString& text;
};

bool ReadSide(QIODevice& stream, bool doubleBounds, const SideFields& side)
{
    const qint64 boundSize = doubleBounds ? 8 : 4;
    // type, bound, colour and the text's length
    if (!CheckCount(stream, 1, 1 + boundSize + 4 + 4))
        return false;
    side.type = ReadByte(stream);
    side.bound = doubleBounds ? ReadDouble(stream) : ReadInt32(stream);
    side.color = ReadInt32(stream);
    const QString text = ReadWideString(stream);
    if (IsStreamDamaged(stream))
        return false;
    // A stored length of 0 stands for "no text".
    side.text = text.isEmpty() ? QString() : text;
    return true;
}

void WriteSide(QIODevice& stream, int32_t type, double bound, TColor color, const QString& text)
{
    WriteByte(stream, static_cast<uint8_t>(type));
    WriteDouble(stream, bound);
    WriteInt32(stream, color);
    WriteWideString(stream, text);
}

QString OwnedText(const QString& text)
{
    return text.isNull() ? QString() : TextUpToNul(text);
}

} // namespace

bool MeasureLimit::Load(QIODevice& stream)
{
    if (!CheckCount(stream, 1, 1))
        return false;
    // The first version wrote 1 here and its readers never looked at it, so
    // anything but the current version is read as the integer layout.
    const bool doubleBounds = ReadByte(stream) == RecordVersion;
    return ReadSide(stream, doubleBounds, {MinType, Minimum, MinColor, MinText})
           && ReadSide(stream, doubleBounds, {MaxType, Maximum, MaxColor, MaxText});
}

void MeasureLimit::Save(QIODevice& stream) const
{
    WriteByte(stream, RecordVersion);
    WriteSide(stream, MinType, Minimum, MinColor, MinText);
    WriteSide(stream, MaxType, Maximum, MaxColor, MaxText);
}

void MeasureLimit::WriteXml(QIODevice& out) const
{
    WriteXmlInt(out, "MinType", MinType);
    WriteXmlDouble(out, "Minimum", Minimum);
    WriteXmlInt(out, "MinColor", MinColor);
    WriteXmlWideText(out, "MinText", MinText);
    WriteXmlInt(out, "MaxType", MaxType);
    WriteXmlDouble(out, "Maximum", Maximum);
    WriteXmlInt(out, "MaxColor", MaxColor);
    WriteXmlWideText(out, "MaxText", MaxText);
}

void MeasureLimit::SetMinText(const QString& text)
{
    MinText = OwnedText(text);
}

void MeasureLimit::SetMaxText(const QString& text)
{
    MaxText = OwnedText(text);
}
