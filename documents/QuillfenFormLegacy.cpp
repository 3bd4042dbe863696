// Templates and forms of the older generation: one flat stream of 8-byte
// tags and records, read into a document. Nothing writes this format.

#include "documents/QuillfenForm.h"

#include "documents/Graphics.h"
#include "documents/MeasureObject.h"
#include "documents/PictureObject.h"
#include "documents/StyledText.h"
#include "instruments/QuantityTable.h"

#include <QtEndian>

#include <algorithm>

namespace {

constexpr qint64 TagSize = 8;
const QByteArray TemplateTag = QByteArrayLiteral("Template");
const QByteArray PageTag = QByteArrayLiteral("Page    ");
const QByteArray ObjectTag = QByteArrayLiteral("Object  ");
const QByteArray EndTag = QByteArrayLiteral("TemplEof");

// The style escape of the older texts.
constexpr char16_t OldStyleEscape = 0xFFFF;
// Border widths are stored as signed bytes in today's records.
constexpr int32_t MaxBorder = 127;
// The measure fields of older templates show the value with its unit.
constexpr int32_t OldMeasureFormat = 2;

// What follows the font name of an object record up to the picture length:
// size, fore colour, a byte, kind, four edges, alignment, four borders, back colour.
constexpr qint64 ObjectMiddleSize = 4 + 4 + 1 + 4 + 4 * 4 + 4 + 4 * 4 + 4;

enum class Made { Text, Measure, Picture };

struct OldKind
{
    int32_t first;
    int32_t last;
    Made made;
    // The text field's Type; for a measure field the quantity is kind - this.
    int32_t value;
};

constexpr int32_t NoQuantity = -1;

constexpr OldKind OldKinds[] = {
    {0, 0, Made::Measure, NoQuantity},
    {1, 1, Made::Text, 3}, // the record's ID column
    {2, 2, Made::Text, TextObject::EditableText},
    {3, 999, Made::Measure, 2},
    {1000, 1000, Made::Text, TextObject::EditableText},
    {1001, 1001, Made::Text, TextObject::FixedText},
    {1002, 1002, Made::Text, TextObject::EditableText},
    {1003, 1003, Made::Picture, 0},
};

const OldKind* FindKind(int32_t kind)
{
    for (const OldKind& entry : OldKinds)
        if (entry.first <= kind && kind <= entry.last)
            return &entry;
    return nullptr;
}

// UTF-16 units of the older text: 0xFFFF is the style escape (its style word
// is taken as it stands), a carriage return ends a line; a NUL ends the text.
QString OldText(const QByteArray& bytes)
{
    const qsizetype units = bytes.size() / 2;
    QString text;
    text.reserve(units);
    for (qsizetype i = 0; i < units; ++i) {
        const char16_t unit = qFromLittleEndian<quint16>(bytes.constData() + 2 * i);
        if (unit == OldStyleEscape) {
            text.append(QChar(Style::Esc));
            if (++i < units)
                text.append(QChar(qFromLittleEndian<quint16>(bytes.constData() + 2 * i)));
        } else {
            text.append(QChar(unit == u'\r' ? u'\n' : unit));
        }
    }
    return TextUpToNul(text);
}

int32_t OldBorder(int32_t stored)
{
    return std::min(stored & 0xFF, MaxBorder);
}

// The fields of an object record in reading order.
struct OldObject
{
    QString text;
    QByteArray fontName;
    int32_t size = 0;
    int32_t foreColor = 0;
    int32_t kind = 0;
    int32_t left = 0;
    int32_t top = 0;
    int32_t width = 0;
    int32_t height = 0;
    int32_t align = 0;
    int32_t borders[4] = {};
    int32_t backColor = 0;
    QByteArray picture;
};

// Lengths are bounded by the bytes left: a record that claims more is damaged.
bool ReadOldObject(QIODevice& stream, OldObject& object)
{
    const int32_t textLength = ReadInt32(stream);
    if (!CheckCount(stream, textLength, 2))
        return false;
    object.text = OldText(ReadBytes(stream, qint64(textLength) * 2));
    const int32_t fontLength = ReadInt32(stream);
    if (!CheckCount(stream, fontLength, 1))
        return false;
    object.fontName = ReadBytes(stream, fontLength);
    if (!CheckCount(stream, 1, ObjectMiddleSize + 4))
        return false;
    object.size = ReadInt32(stream);
    object.foreColor = ReadInt32(stream);
    ReadByte(stream);
    object.kind = ReadInt32(stream);
    object.left = ReadInt32(stream);
    object.top = ReadInt32(stream);
    object.width = ReadInt32(stream);
    object.height = ReadInt32(stream);
    object.align = ReadInt32(stream);
    for (int32_t& border : object.borders)
        border = ReadInt32(stream);
    object.backColor = ReadInt32(stream);
    const int32_t pictureLength = ReadInt32(stream);
    if (!CheckCount(stream, pictureLength, 1))
        return false;
    object.picture = ReadBytes(stream, pictureLength);
    return !IsStreamDamaged(stream);
}

void SetTextPart(TextObject& field, const OldObject& object)
{
    field.SetFontName(object.fontName);
    field.SetSize(object.size);
    field.SetAlign(object.align & 0xFF);
}

std::unique_ptr<AbstractFormObject> MakeField(const OldKind& kind, const OldObject& object)
{
    switch (kind.made) {
    case Made::Text: {
        auto field = std::make_unique<TextObject>();
        SetTextPart(*field, object);
        field->SetType(kind.value);
        field->SetText(object.text);
        return field;
    }
    case Made::Measure: {
        auto field = std::make_unique<MeasureObject>();
        SetTextPart(*field, object);
        field->SetFormat(OldMeasureFormat);
        if (kind.value != NoQuantity)
            field->AddSymbol(std::clamp(object.kind - kind.value, 0, Quantity::Count - 1));
        return field;
    }
    case Made::Picture: {
        auto field = std::make_unique<PictureObject>();
        TBitmap bitmap;
        bitmap.LoadFromBytes(object.picture);
        if (!bitmap.Empty())
            field->SetGraphic(&bitmap);
        return field;
    }
    }
    return nullptr;
}

} // namespace

bool QuillfenForm::ImportLegacy(QIODevice& stream)
{
    const int32_t tag = ReadInt32(stream);
    if (tag != Tag::QFT && tag != Tag::QFF)
        return false;
    ReadInt32(stream);
    // It empties the document, and selecting page 0 gives the zoom the page size.
    return ReadLegacyTemplate(stream);
}

bool QuillfenForm::ReadLegacyTemplate(QIODevice& stream)
{
    DeletePages();
    ClearStreamDamaged(stream);
    const bool read = ReadLegacyBody(stream);
    if (Pages.empty())
        Pages.push_back(NewPage());
    SelectPage(0);
    Modified = false;
    return read;
}

bool QuillfenForm::ReadLegacyBody(QIODevice& stream)
{
    if (stream.read(TagSize) != TemplateTag || !CheckCount(stream, 1, 4 + 4))
        return false;
    Width = ReadInt32(stream);
    Height = ReadInt32(stream);
    PageObject* page = nullptr;
    for (;;) {
        // A stream cut before its end tag ends here, not by taking its last tag again.
        const QByteArray tag = stream.read(TagSize);
        if (tag.size() < TagSize)
            return false;
        if (tag == EndTag)
            return true;
        if (tag == PageTag) {
            Pages.push_back(NewPage());
            page = Pages.back().get();
        } else if (tag == ObjectTag) {
            // An object with no page to go on ends the body; what came before stays.
            if (!page)
                return true;
            if (!ReadLegacyObject(stream, *page))
                return false;
        }
        // Any other tag is passed over.
    }
}

bool QuillfenForm::ReadLegacyObject(QIODevice& stream, PageObject& page)
{
    OldObject object;
    if (!ReadOldObject(stream, object))
        return false;
    const OldKind* kind = FindKind(object.kind);
    if (!kind)
        return true;
    std::unique_ptr<AbstractFormObject> field = MakeField(*kind, object);
    if (!field)
        return true;
    field->SetRect(object.left, object.top, ClampToInt32(int64_t(object.left) + object.width),
                   ClampToInt32(int64_t(object.top) + object.height));
    field->SetLeftBorder(OldBorder(object.borders[0]));
    field->SetTopBorder(OldBorder(object.borders[1]));
    field->SetRightBorder(OldBorder(object.borders[2]));
    field->SetBottomBorder(OldBorder(object.borders[3]));
    field->SetBackColor(object.backColor);
    field->SetForeColor(object.foreColor);
    page.AddObject(std::move(field));
    return true;
}
