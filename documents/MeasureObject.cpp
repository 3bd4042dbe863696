#include "documents/MeasureObject.h"

#include "documents/StyledText.h"
#include "instruments/QuantityTable.h"
#include "storage/Utf8.h"

#include <algorithm>

namespace {

// version, Format, value present: what follows the text record at the least.
constexpr qint64 MeasureRecordHeadSize = 3;

// At most MaxTextLength UTF-16 units, never half of a surrogate pair.
QString CutDisplayText(QString text)
{
    if (text.size() > MeasureObject::MaxTextLength) {
        qsizetype length = MeasureObject::MaxTextLength;
        if (text.at(length - 1).isHighSurrogate())
            --length;
        text.truncate(length);
    }
    return text;
}

// At most MaxTextLength bytes, never part of a character.
QByteArray CutUtf8(QByteArray utf8)
{
    if (utf8.size() > MeasureObject::MaxTextLength) {
        qsizetype length = MeasureObject::MaxTextLength;
        while (length > 0 && (static_cast<uint8_t>(utf8.at(length)) & 0xC0) == 0x80)
            --length;
        utf8.truncate(length);
    }
    return utf8;
}

} // namespace

MeasureObject::MeasureObject()
{
    Type = MeasuredValue;
    Symbols.fill(NoSymbol);
}

MeasureObject::MeasureObject(const MeasureObject& other)
    : TextObject(other),
      Format(other.Format),
      Symbols(other.Symbols),
      Value(other.Value ? other.Value->CloneItem() : nullptr),
      Limit(other.Limit ? std::make_unique<MeasureLimit>(*other.Limit) : nullptr),
      DecimalPosition(other.DecimalPosition)
{
    // The text copy went through other.GetText(), which is the value's text
    // while the other holds a value; the copy keeps the other's own text, to
    // show when its value is taken away.
    Text = other.Text;
}

MeasureObject::~MeasureObject() = default;

bool MeasureObject::Load(QIODevice& stream)
{
    if (!TextObject::Load(stream) || !CheckCount(stream, 1, MeasureRecordHeadSize))
        return false;
    const uint8_t version = ReadByte(stream);
    Format = ReadByte(stream);

    Value.reset();
    if (ReadByte(stream) != 0) {
        auto item = std::make_unique<InstrumentItem>(0.0, 0, true, false);
        if (!item->Load(stream))
            return false;
        Value = std::move(item);
    }

    if (!CheckCount(stream, 1, 1))
        return false;
    Limit.reset();
    if (ReadByte(stream) != 0) {
        auto limit = std::make_unique<MeasureLimit>();
        if (!limit->Load(stream))
            return false;
        Limit = std::move(limit);
    }

    // Older records end here; their fields keep what the field had.
    if (version >= 2) {
        if (!CheckCount(stream, SymbolCount, 4))
            return false;
        for (int32_t& symbol : Symbols)
            symbol = ReadInt32(stream);
    }
    if (version >= 3) {
        if (!CheckCount(stream, 1, 4))
            return false;
        DecimalPosition = ReadInt32(stream);
    }
    return true;
}

void MeasureObject::Save(QIODevice& stream) const
{
    TextObject::Save(stream);
    WriteByte(stream, RecordVersion);
    WriteByte(stream, static_cast<uint8_t>(Format));
    WriteByte(stream, Value ? 1 : 0);
    if (Value)
        Value->Save(stream);
    WriteByte(stream, Limit ? 1 : 0);
    if (Limit)
        Limit->Save(stream);
    for (const int32_t symbol : Symbols)
        WriteInt32(stream, symbol);
    WriteInt32(stream, DecimalPosition);
}

void MeasureObject::WriteXml(QIODevice& out) const
{
    // The text field's elements without its text.
    AbstractFormObject::WriteXml(out);
    WriteXmlInt(out, "Align", Align);
    WriteXmlText(out, "Font", GetFontName());
    WriteXmlInt(out, "Size", Size);
    WriteXmlInt(out, "Type", Type);
    WriteXmlInt(out, "Format", Format);
    if (Value)
        Value->WriteXml(out);
    if (Limit)
        Limit->WriteXml(out);
    for (int slot = 0; slot < SymbolCount; ++slot) {
        if (Symbols[slot] != NoSymbol) {
            const QByteArray name = "Symbol" + QByteArray::number(slot + 1);
            WriteXmlInt(out, name.constData(), Symbols[slot]);
        }
    }
    WriteXmlInt(out, "DecimalPosition", DecimalPosition);
}

TColor MeasureObject::LimitColor(int32_t action, TColor stored) const
{
    if (!Limit || !Value)
        return stored;
    const double value = Value->GetValue();
    if (Limit->GetMinType() == action && Limit->IsBelow(value))
        return Limit->GetMinColor();
    if (Limit->GetMaxType() == action && Limit->IsAbove(value))
        return Limit->GetMaxColor();
    return stored;
}

TColor MeasureObject::GetForeColor() const
{
    return LimitColor(MeasureLimit::ChangeTextColor, ForeColor);
}

TColor MeasureObject::GetBackColor() const
{
    return LimitColor(MeasureLimit::ChangeBackColor, BackColor);
}

QString MeasureObject::GetText() const
{
    return Value ? DecodeUtf8Text(Value->FormatPlain()) : Text;
}

QString MeasureObject::GetDisplayText() const
{
    if (!Value)
        return Text;
    QString text = DecodeUtf8Text(Value->GetText(Format, DecimalPosition));
    if (Limit) {
        // The same comparisons as the colours; the lower bound's text wins
        // when both bounds are passed.
        const double value = Value->GetValue();
        if (Limit->GetMaxType() == MeasureLimit::ShowText && Limit->IsAbove(value)
            && !Limit->GetMaxText().isNull())
            text = Limit->GetMaxText();
        if (Limit->GetMinType() == MeasureLimit::ShowText && Limit->IsBelow(value)
            && !Limit->GetMinText().isNull())
            text = Limit->GetMinText();
    }
    return CutDisplayText(text);
}

void MeasureObject::SetText(const QString& text)
{
    if (!Value) {
        TextObject::SetText(text);
        return;
    }
    if (text.isNull()) {
        Value.reset();
        return;
    }
    Value->SetValueText(CutUtf8(EncodeUtf8(TextUpToNul(text))));
}

void MeasureObject::Fill(const InstrumentItem* item)
{
    SetValue(item);
}

bool MeasureObject::IsFillable() const
{
    return true;
}

std::unique_ptr<AbstractFormObject> MeasureObject::Clone() const
{
    return std::make_unique<MeasureObject>(*this);
}

int32_t MeasureObject::GetTypeCode() const
{
    return ObjectCode::Measure;
}

void MeasureObject::SetType(int32_t type)
{
    if (type == NumberField) {
        Type = NumberField;
        ClearSymbols();
        Symbols[0] = Quantity::InstrumentNumber;
        Symbols[1] = Quantity::Bank;
    } else {
        Type = MeasuredValue;
    }
}

void MeasureObject::SetDecimalPosition(int32_t position)
{
    if (position >= 0 && position <= MaxDecimalPosition)
        DecimalPosition = position;
}

void MeasureObject::SetValue(const InstrumentItem* item)
{
    Value = item ? item->CloneItem() : nullptr;
}

void MeasureObject::SetLimit(const MeasureLimit* limit)
{
    Limit = limit ? std::make_unique<MeasureLimit>(*limit) : nullptr;
}

bool MeasureObject::HasNoSymbols() const
{
    return std::all_of(Symbols.begin(), Symbols.end(), [](int32_t s) { return s == NoSymbol; });
}

bool MeasureObject::HasSymbol(int32_t quantity) const
{
    // An empty slot accepts nothing, whatever quantity a damaged item claims.
    return quantity != NoSymbol && std::find(Symbols.begin(), Symbols.end(), quantity) != Symbols.end();
}

int32_t MeasureObject::GetSymbol(int slot) const
{
    return slot >= 0 && slot < SymbolCount ? Symbols[slot] : NoSymbol;
}

void MeasureObject::AddSymbol(int32_t quantity)
{
    if (quantity < 0 || HasSymbol(quantity))
        return;
    const auto free = std::find(Symbols.begin(), Symbols.end(), NoSymbol);
    if (free != Symbols.end())
        *free = quantity;
}

void MeasureObject::RemoveSymbol(int32_t quantity)
{
    const auto end = std::remove(Symbols.begin(), Symbols.end(), quantity);
    std::fill(end, Symbols.end(), NoSymbol);
}

void MeasureObject::ClearSymbols()
{
    Symbols.fill(NoSymbol);
}
