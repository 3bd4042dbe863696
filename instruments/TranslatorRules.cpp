#include "instruments/TranslatorRules.h"

#include "instruments/Crc.h"
#include "instruments/InstrumentTranslator.h"

#include <cmath>

namespace TranslatorRules {

RawValue ClampRaw(int raw, int limit, ClampRule rule)
{
    if (limit < 0 || limit == Unclamped)
        return {raw, false};
    if (raw > limit)
        return {limit, true};
    if (rule == ClampRule::Symmetric && raw < -limit)
        return {-limit, true};
    return {raw, false};
}

double DecadeFactor(int exponent)
{
    // Literals rather than pow(): v x 0.00001 must be the same double the
    // tables of the models name.
    static constexpr double Factors[] = {
        1e-12, 1e-11, 1e-10, 1e-9, 1e-8, 1e-7, 1e-6, 1e-5, 1e-4, 1e-3, 1e-2, 1e-1, 1e0,
        1e1,   1e2,   1e3,   1e4,  1e5,  1e6,  1e7,  1e8,  1e9,  1e10, 1e11, 1e12,
    };
    constexpr int Lowest = -12;
    const int index = exponent - Lowest;
    if (index < 0 || index >= static_cast<int>(std::size(Factors)))
        return 1.0;
    return Factors[index];
}

const KindRow* FindKindRow(std::span<const KindRow> rows, int kind)
{
    for (const KindRow& row : rows)
        if (kind >= row.First && kind <= row.Last)
            return &row;
    return nullptr;
}

int BcdValue(uint8_t byte)
{
    return (byte >> 4) * 10 + (byte & 0x0F);
}

uint8_t ToBcd(int value)
{
    if (value < 0 || value > 99)
        return 0xFF;
    return static_cast<uint8_t>((value / 10) << 4 | value % 10);
}

bool DecodeDateRecord(const InstrumentTranslator& t, int recordOffset, TDateTime& value)
{
    const int second = BcdValue(t.GetByte(recordOffset + 1));
    const int minute = BcdValue(t.GetByte(recordOffset + 2));
    const int hour = BcdValue(t.GetByte(recordOffset + 3));
    const int day = BcdValue(t.GetByte(recordOffset + 5));
    const int month = BcdValue(t.GetByte(recordOffset + 6));
    const int year = 2000 + BcdValue(t.GetByte(recordOffset + 7));
    TDateTime date = 0;
    TDateTime time = 0;
    if (!TryEncodeDate(year, month, day, date) || !TryEncodeTime(hour, minute, second, 0, time))
        return false;
    value = date + time;
    return true;
}

TDateTime DateRecordValue(const InstrumentTranslator& t, int recordOffset)
{
    TDateTime value = 0;
    if (DecodeDateRecord(t, recordOffset, value))
        return value;
    const TDateTime now = Now();
    return now - std::floor(now);
}

QByteArray Int16HeaderName(const InstrumentTranslator& t, int recordOffset)
{
    return QByteArray::number(t.GetInt16(recordOffset + 2));
}

uint16_t SetupChecksum(const InstrumentTranslator& t, int start, int length)
{
    uint16_t crc = Crc16Initial;
    for (int i = 0; i < length; ++i)
        crc = Crc16Update(crc, t.GetByte(start + i));
    return static_cast<uint16_t>(~crc);
}

void StoreSetupChecksum(InstrumentTranslator& t, int start, int length)
{
    t.SetUInt16(start + length, SetupChecksum(t, start, length));
}

uint16_t EncodeWord(double value, double factor, double addend)
{
    double scaled = value * factor + addend;
    if (std::isnan(scaled))
        return 0;
    scaled = std::trunc(scaled);
    if (scaled < -32768.0)
        scaled = -32768.0;
    if (scaled > 65535.0)
        scaled = 65535.0;
    // Negative values keep their two's-complement form, as signed words.
    return static_cast<uint16_t>(static_cast<int32_t>(scaled));
}

uint16_t EncodeUnsignedWord(double value, double factor)
{
    double scaled = value * factor;
    if (std::isnan(scaled) || scaled <= 0.0)
        return 0;
    scaled = std::floor(scaled + 0.5);
    return scaled >= 65535.0 ? uint16_t{65535} : static_cast<uint16_t>(scaled);
}

int ChoiceFromByte(int stored, int optionCount)
{
    if (stored < 0 || optionCount <= 0)
        return 0;
    return stored >= optionCount ? optionCount - 1 : stored;
}

} // namespace TranslatorRules
