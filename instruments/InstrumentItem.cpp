#include "instruments/InstrumentItem.h"

#include "instruments/QuantityTable.h"
#include "instruments/ValueText.h"
#include "platform/DateTime.h"
#include "platform/NumberText.h"
#include "storage/Utf8.h"

#include <array>
#include <cmath>

namespace {

// SI prefixes by the decimal exponent of the value, truncated toward zero.
struct PrefixRange
{
    int lowest;
    int highest;
    double factor;
    const char* suffix;
};

constexpr std::array<PrefixRange, 8> kPrefixes{{
    {-9, -7, 1e9, " n"},
    {-6, -4, 1e6, " \u03bc"},
    {-3, -1, 1e3, " m"},
    {0, 3, 1, " "},
    {4, 5, 1e-3, " k"},
    {6, 8, 1e-6, " M"},
    {9, 11, 1e-9, " G"},
    {12, 14, 1e-12, " T"},
}};

// The measure field's scaled formats: flags 8..13 multiply the value.
constexpr int kFirstScaledFlag = 8;
constexpr std::array<double, 6> kScaleFactors{1e6, 1e3, 1, 1e-3, 1e-6, 1e-9};

// Decimal places codes 1..5; other codes use the general float text.
constexpr std::array<const char*, 6> kPrecisionPatterns{
    nullptr, "0.###", "0.0##", "0.00#", "0.000", "0.0000"};

// Letters after a typed value that scale it.
struct ScaleLetter
{
    const char* letter; // UTF-8
    double factor;
};

constexpr std::array<ScaleLetter, 9> kTypedScales{{
    {"G", 1e9},
    {"g", 1e9},
    {"K", 1e3},
    {"k", 1e3},
    {"M", 1e6},
    {"m", 1e-3},
    {"U", 1e-6},
    {"u", 1e-6},
    {"\u03bc", 1e-6},
}};

} // namespace

InstrumentItem::InstrumentItem(double value, int quantity, QByteArrayView note, bool primary,
                               bool over)
    : m_value(value)
    , m_quantity(quantity < 0 ? 0 : quantity)
    , m_note(note.toByteArray())
    , m_primary(primary)
    , m_over(over)
{
}

InstrumentItem::InstrumentItem(double value, int quantity, bool primary, bool over)
    : InstrumentItem(value, quantity, QByteArrayView(), primary, over)
{
}

QByteArray InstrumentItem::GetNote() const
{
    return m_note.isEmpty() ? QByteArray() : m_note;
}

QByteArray InstrumentItem::GetNoteText() const
{
    return m_note.isEmpty() ? QByteArray("") : m_note;
}

void InstrumentItem::SetNote(QByteArrayView note)
{
    m_note = note.toByteArray();
}

QByteArray InstrumentItem::LookUpSymbol(int quantity)
{
    const QuantityRow* row = FindQuantityRow(quantity);
    return row ? QByteArray(row->Symbol) : QByteArray();
}

QByteArray InstrumentItem::LookUpUnit(int quantity)
{
    const QuantityRow* row = FindQuantityRow(quantity);
    return row ? QByteArray(row->Unit) : QByteArray();
}

QByteArray InstrumentItem::GetOverPrefix() const
{
    if (!m_over)
        return QByteArray("");
    return QByteArray(m_value < 0 ? "<" : ">");
}

QByteArray InstrumentItem::GetValueText() const
{
    if (m_quantity == Quantity::DateTime)
        return GetDefaultText();
    const QuantityRow* row = FindQuantityRow(m_quantity);
    return row && row->SiPrefix ? FormatWithPrefix() : FormatPlain();
}

QByteArray InstrumentItem::FormatPlain() const
{
    return GetOverPrefix() + EncodeUtf8(FloatToStr(m_value));
}

QByteArray InstrumentItem::FormatWithPrefix() const
{
    double factor = 1;
    const char* suffix = " ";
    const double magnitude = std::fabs(m_value);
    if (magnitude > 1e-11) {
        // Compared as a double: infinities have no exponent in the table.
        const double exponent = std::trunc(std::log10(magnitude));
        for (const PrefixRange& range : kPrefixes) {
            if (exponent >= range.lowest && exponent <= range.highest) {
                factor = range.factor;
                suffix = range.suffix;
                break;
            }
        }
    }
    return GetOverPrefix() + EncodeUtf8(FloatToStr(m_value * factor)) + suffix;
}

QByteArray InstrumentItem::GetText(int flags, int precision) const
{
    if (flags >= kFirstScaledFlag) {
        const int scale = flags - kFirstScaledFlag;
        const double value =
            m_value * (scale < static_cast<int>(kScaleFactors.size()) ? kScaleFactors[scale] : 1.0);
        const bool fixed = value == 0 || (value >= 0.0001 && value < 100000)
                           || (value > -100000 && value <= -0.0001);
        if (!fixed)
            return EncodeUtf8(FormatFloat(QStringLiteral("0.###E+0"), value));
        if (precision >= 1 && precision < static_cast<int>(kPrecisionPatterns.size()))
            return EncodeUtf8(FormatFloat(QString::fromLatin1(kPrecisionPatterns[precision]), value));
        return EncodeUtf8(FloatToStr(value));
    }

    if (m_quantity == Quantity::DateTime)
        return EncodeUtf8(DateTimeToStr(m_value));

    QByteArray text;
    if (flags & 1) {
        text += GetSymbol();
        if (!m_over)
            text += '=';
    }
    text += GetValueText();
    if (flags & 2)
        text += GetUnit();
    if (flags & 4) {
        text += ' ';
        text += m_note;
    }
    return text;
}

void InstrumentItem::SetValueText(QByteArrayView text)
{
    if (m_quantity == Quantity::DateTime) {
        TDateTime value = 0;
        if (TryStrToDateTime(DecodeUtf8(text, static_cast<int>(text.size())), value))
            m_value = value;
        return;
    }

    qsizetype i = ValueText::SkipSpace(text, 0);
    m_over = i < text.size() && (text[i] == '>' || text[i] == '<');
    if (m_over)
        i = ValueText::SkipSpace(text, i + 1);
    text = text.sliced(i);
    text = text.first(std::min(text.size(), ValueText::MaxChars));

    const ValueText::Number number = ValueText::ReadNumber(text);
    m_value = number.value;
    const QByteArrayView rest = text.sliced(ValueText::SkipSpace(text, number.length));
    for (const ScaleLetter& scale : kTypedScales) {
        if (rest.startsWith(scale.letter)) {
            m_value *= scale.factor;
            return;
        }
    }
}

std::unique_ptr<InstrumentAbstract> InstrumentItem::Clone() const
{
    return CloneItem();
}

std::unique_ptr<InstrumentItem> InstrumentItem::CloneItem() const
{
    return std::make_unique<InstrumentItem>(*this);
}

bool InstrumentItem::Load(QIODevice& stream)
{
    if (!CheckCount(stream, 1, MinRecordSize))
        return false;
    ReadByte(stream); // version: every version has the same fields
    m_value = ReadDouble(stream);
    m_quantity = ReadInt32(stream);
    m_note = ReadAnsiString(stream);
    if (IsStreamDamaged(stream) || !CheckCount(stream, 1, 2))
        return false;
    m_primary = ReadByte(stream) != 0;
    m_over = ReadByte(stream) != 0;
    return true;
}

void InstrumentItem::Save(QIODevice& stream) const
{
    WriteByte(stream, 1);
    WriteDouble(stream, m_value);
    WriteInt32(stream, m_quantity);
    WriteAnsiString(stream, m_note);
    WriteByte(stream, m_primary ? 1 : 0);
    WriteByte(stream, m_over ? 1 : 0);
}

void InstrumentItem::WriteXml(QIODevice& out) const
{
    WriteXmlOpenTag(out, "Item");
    WriteXmlDouble(out, "Value", m_value);
    WriteXmlInt(out, "Symbol", m_quantity);
    if (!m_note.isEmpty())
        WriteXmlText(out, "Note", m_note);
    WriteXmlEmptyTag(out, "Primary", m_primary);
    WriteXmlEmptyTag(out, "Over", m_over);
    WriteXmlCloseTag(out, "Item");
}
