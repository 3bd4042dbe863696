// Packing of inspection records into the Kx420's upload area.

#include "instruments/InstrumentDatabase.h"
#include "instruments/Kx420Translator.h"
#include "instruments/TranslatorRules.h"

#include <algorithm>
#include <vector>

using TranslatorRules::ToBcd;

namespace {

// Word of a record without a usable date (the revision list sends the zero
// date): year - 2000 would otherwise spill into the month and day bits.
constexpr uint16_t NoDate = 0xFFFF;
constexpr int FirstYear = 2000;
constexpr int LastYear = FirstYear + 127; // seven bits of year

// Units that the 12-bit codes cannot hold travel as "?".
constexpr char16_t Unpackable = 63;

// ID: 14 characters as 14 nibbles, high nibble first; a digit gives its
// value, anything else 0xF.
void WriteIdNibbles(InstrumentTranslator& t, int offset, const InstrumentDatabaseItem::Id& id)
{
    auto nibble = [](char c) { return c >= '0' && c <= '9' ? c - '0' : 0xF; };
    for (int i = 0; i < InstrumentDatabaseItem::IdLength / 2; ++i)
        t.SetByte(offset + i, static_cast<uint8_t>(nibble(id[2 * i]) << 4 | nibble(id[2 * i + 1])));
}

// 16 UTF-16 units in pairs (a, b), each pair the 24-bit little-endian number
// a + b x 4096.
void WritePackedText(InstrumentTranslator& t, int offset, const InstrumentDatabaseItem::Text& text)
{
    auto code = [](char16_t unit) -> unsigned { return unit >= 4096 ? Unpackable : unit; };
    for (int pair = 0; pair < InstrumentDatabaseItem::TextLength / 2; ++pair) {
        const unsigned a = code(text[2 * pair]);
        const unsigned b = code(text[2 * pair + 1]);
        const int at = offset + 3 * pair;
        t.SetByte(at, static_cast<uint8_t>(a & 0xFF));
        t.SetByte(at + 1, static_cast<uint8_t>((a >> 8) | ((b & 0xF) << 4)));
        t.SetByte(at + 2, static_cast<uint8_t>(b >> 4));
    }
}

// Bits 0-6 year - 2000, bits 7-10 month, bits 11-15 day.
uint16_t DateWord(TDateTime date)
{
    int year = 0;
    int month = 0;
    int day = 0;
    DecodeDate(date, year, month, day);
    if (year < FirstYear || year > LastYear || month < 1 || month > 12 || day < 1 || day > 31)
        return NoDate;
    return static_cast<uint16_t>((year - FirstYear) | month << 7 | day << 11);
}

void WriteTimeStamp(InstrumentTranslator& t, TDateTime now)
{
    int year = 0, month = 0, day = 0, hour = 0, minute = 0, second = 0, msec = 0;
    DecodeDate(now, year, month, day);
    DecodeTime(now, hour, minute, second, msec);
    const int time = Kx420Translator::TimeStampStart;
    t.SetByte(time, ToBcd(second));
    t.SetByte(time + 1, ToBcd(minute));
    t.SetByte(time + 2, ToBcd(hour));
    const int date = Kx420Translator::DateStampStart;
    t.SetByte(date, ToBcd(day));
    t.SetByte(date + 1, ToBcd(month));
    t.SetByte(date + 2, ToBcd(year - FirstYear)); // 0xFF outside 2000..2099
}

// The location list: entry 0 is a blank that is never written, so that the
// records of the blank location (and of every location that no longer fits)
// point at an erased entry.
class LocationTable
{
public:
    LocationTable()
    {
        InstrumentDatabaseItem::Text blank{};
        blank[0] = u' ';
        m_entries.push_back(blank);
    }

    // The entry's index, appending (and writing) a new location while there
    // is room; 0 when the table is full.
    int IndexOf(InstrumentTranslator& t, const InstrumentDatabaseItem::Text& location)
    {
        const auto found = std::find(m_entries.begin(), m_entries.end(), location);
        if (found != m_entries.end())
            return static_cast<int>(found - m_entries.begin());
        if (static_cast<int>(m_entries.size()) >= Kx420Translator::MaxLocations)
            return 0;
        const int index = static_cast<int>(m_entries.size());
        m_entries.push_back(location);
        WritePackedText(t, Kx420Translator::LocationTableStart + index * Kx420Translator::LocationEntrySize,
                        location);
        return index;
    }

private:
    std::vector<InstrumentDatabaseItem::Text> m_entries;
};

} // namespace

void Kx420Translator::EncodeDatabase(InstrumentDatabase& database)
{
    database.RemoveBlankIds();
    database.SortById();
    WriteTimeStamp(*this, Now());

    LocationTable locations;
    const int count = std::min(database.GetCount(), MaxUploadRecords);
    for (int i = 0; i < count; ++i) {
        const InstrumentDatabaseItem& item = *database.GetItem(i);
        const int offset = UploadRecordStart + i * UploadRecordSize;
        WriteIdNibbles(*this, offset, item.GetIdField());
        WritePackedText(*this, offset + 7, item.GetNameField());
        SetUInt16(offset + 32, static_cast<uint16_t>(locations.IndexOf(*this, item.GetLocationField())));
        SetUInt16(offset + 34, DateWord(item.GetDate()));
    }
}
