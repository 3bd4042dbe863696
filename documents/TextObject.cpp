#include "documents/TextObject.h"

#include "documents/StyledText.h"
#include "instruments/InstrumentItem.h"
#include "storage/Utf8.h"

#include <algorithm>
#include <cstring>

namespace {

// Align, FontName, Size, Type: what follows the text.
constexpr qint64 TextRecordTailSize = 1 + TextObject::FontNameSize + 4 + 1;
// Version, text length and the tail: what follows the base record at the
// least (an empty text).
constexpr qint64 TextRecordMinSize = 1 + 4 + TextRecordTailSize;
// A filled text holds at most this many characters.
constexpr int MaxFilledChars = 1000;

} // namespace

TextObject::TextObject()
{
    Text = TextUpToNul(QString());
    SetFontName("Arial");
}

TextObject::TextObject(const TextObject& other)
    : AbstractFormObject(other), Align(other.Align), Size(other.Size), FontName(other.FontName), Type(other.Type)
{
    // Qualified: the text comes through the other's GetText but is stored as
    // a plain text field stores it.
    TextObject::SetText(other.GetText());
}

TextObject::~TextObject() = default;

bool TextObject::Load(QIODevice& stream)
{
    if (!AbstractFormObject::Load(stream) || !CheckCount(stream, 1, TextRecordMinSize))
        return false;
    ReadByte(stream); // version
    const QString text = ReadWideString(stream);
    if (IsStreamDamaged(stream) || !CheckCount(stream, 1, TextRecordTailSize))
        return false;
    Text = TextUpToNul(text);
    SetAlign(ReadByte(stream));
    const QByteArray name = ReadBytes(stream, FontNameSize);
    std::fill(FontName.begin(), FontName.end(), '\0');
    std::memcpy(FontName.data(), name.constData(), std::min<size_t>(name.size(), FontNameSize));
    FontName[FontNameSize - 1] = '\0';
    Size = ReadInt32(stream);
    Type = ReadByte(stream);
    return !IsStreamDamaged(stream);
}

void TextObject::Save(QIODevice& stream) const
{
    AbstractFormObject::Save(stream);
    WriteByte(stream, 1);
    WriteWideString(stream, Text);
    WriteByte(stream, static_cast<uint8_t>(Align));
    stream.write(FontName.data(), FontNameSize);
    WriteInt32(stream, Size);
    WriteByte(stream, static_cast<uint8_t>(Type));
}

void TextObject::WriteXml(QIODevice& out) const
{
    AbstractFormObject::WriteXml(out);
    WriteXmlWideText(out, "String", TextUpToNul(Text));
    WriteXmlInt(out, "Align", Align);
    WriteXmlText(out, "Font", GetFontName());
    WriteXmlInt(out, "Size", Size);
    WriteXmlInt(out, "Type", Type);
}

void TextObject::Draw(TCanvas& canvas, const DrawContext& context) const
{
    AbstractFormObject::Draw(canvas, context);
    DrawTextBox(canvas, GetInnerRect(), GetDisplayText());
}

void TextObject::DrawTextBox(TCanvas& canvas, const TRect& box, const QString& text) const
{
    const QByteArray face = GetFontName();
    canvas.SetBrushColor(GetBackColor());
    const FontSpec saved = canvas.GetFont();
    canvas.SetFont(FontSpec{Size, 0, 400, false, face});
    canvas.SetTextColor(GetForeColor());
    if (!text.isEmpty())
        DrawStyledBlock(canvas, box, text, Align, Size, face);
    canvas.SetFont(saved);
}

QString TextObject::GetText() const
{
    return Text;
}

QString TextObject::GetDisplayText() const
{
    return Text;
}

void TextObject::SetText(const QString& text)
{
    Text = TextUpToNul(text);
}

void TextObject::Fill(const InstrumentItem* item)
{
    if (!item || Type == FixedText)
        return;
    const QByteArray utf8 = item->GetText(7, 0);
    SetText(DecodeUtf8(utf8, std::min(CountUtf8Chars(utf8), MaxFilledChars)));
}

bool TextObject::IsFillable() const
{
    return Type != FixedText;
}

std::unique_ptr<AbstractFormObject> TextObject::Clone() const
{
    return std::make_unique<TextObject>(*this);
}

int32_t TextObject::GetTypeCode() const
{
    return ObjectCode::Text;
}

void TextObject::SetType(int32_t type)
{
    Type = type;
}

void TextObject::SetAlign(int32_t align)
{
    if (align >= 0 && align < 18)
        Align = align;
}

QByteArray TextObject::GetFontName() const
{
    const auto end = std::find(FontName.begin(), FontName.end(), '\0');
    // Never null: the element is written even for an empty name.
    return QByteArray(FontName.data(), end - FontName.begin());
}

void TextObject::SetFontName(QByteArrayView name)
{
    std::fill(FontName.begin(), FontName.end(), '\0');
    const qsizetype nul = name.indexOf('\0');
    const qsizetype length = std::min<qsizetype>(nul < 0 ? name.size() : nul, FontNameSize - 1);
    if (length > 0)
        std::memcpy(FontName.data(), name.data(), static_cast<size_t>(length));
}

void TextObject::ClearFilledText()
{
    if (Type != FixedText)
        SetText(QString());
}
