#pragma once
// Decoding and encoding rules that the translators of several models share,
// written once: clamping raw values, decade factors, per-kind tables, the two
// ways banks come into being, the BCD date record, the record walkers and the
// setup-area words with their checksum.
//
// Every reader here goes through the translator's bounds-checked accessors,
// so no image content and no table can make a decoder read outside the image.

#include "platform/DateTime.h"

#include <QByteArray>
#include <QByteArrayView>

#include <array>
#include <climits>
#include <cstdint>
#include <functional>
#include <span>

class InstrumentBank;
class InstrumentData;
class InstrumentSetupBank;
class InstrumentSetupItemChoice;
class InstrumentSetupItemNumber;
class InstrumentTranslator;

namespace TranslatorRules {

// ---------------------------------------------------------------- raw values

constexpr int DefaultLimit = 1999;
// A value taken as it is: never clamped, never over.
constexpr int Unclamped = INT_MAX;

enum class ClampRule {
    Symmetric, // beyond +limit or -limit
    AboveOnly, // only above +limit (negative values are taken as they are)
};

struct RawValue
{
    int Value = 0;
    bool Over = false; // the instrument's range was exceeded
};

// Clamps a signed raw number to its kind's limit; the over flag tells whether
// it had to. Unclamped (or any limit below 0) leaves the value as it is.
RawValue ClampRaw(int raw, int limit, ClampRule rule = ClampRule::Symmetric);

// 10^exponent for exponents -12..12, exactly the decimal literal (so 1e-5 is
// the same double as 0.00001); 1.0 outside that range.
double DecadeFactor(int exponent);

// ---------------------------------------------------------------- kind tables

constexpr int NoItem = -1;
constexpr int MaxRawValues = 3;

// Which raw value of a record an item is made from.
constexpr int FirstRaw = 0;
constexpr int SecondRaw = 1;
constexpr int ThirdRaw = 2;
// An item is the record's result, or a value shown beside it.
constexpr bool Primary = true;
constexpr bool Accompanying = false;

// One item a record gives: quantity, which raw value it is made from, the
// factor, an optional note, the primary flag, and whether the clamped value's
// absolute value is taken (insulation resistances of some models).
struct ItemRule
{
    int Quantity = NoItem;
    int Source = 0;
    double Scale = 1.0;
    const char* Note = nullptr;
    bool Primary = false;
    bool Absolute = false;
};

// The kinds First..Last: the limit of each raw value and the items, in the
// order they are added to the bank.
struct KindRow
{
    int First = 0;
    int Last = -1;
    std::array<int, MaxRawValues> Limits{Unclamped, Unclamped, Unclamped};
    std::array<ItemRule, MaxRawValues> Items{};
};

// Table-building shorthands, so that a model's table reads like its layout:
//   Kind(8, 8, Limits(1999, 999), Item(Quantity::ProtectiveConductorResistance, FirstRaw, 0.01, Primary),
//        Item(Quantity::ResistorVoltage, SecondRaw, 0.01, Primary))
constexpr ItemRule Item(int quantity, int source, double scale, bool primary,
                        const char* note = nullptr, bool absolute = false)
{
    return ItemRule{quantity, source, scale, note, primary, absolute};
}
constexpr std::array<int, MaxRawValues> Limits(int first, int second = Unclamped, int third = Unclamped)
{
    return {first, second, third};
}
constexpr KindRow Kind(int first, int last, std::array<int, MaxRawValues> limits, ItemRule a,
                       ItemRule b = {}, ItemRule c = {})
{
    return KindRow{first, last, limits, {a, b, c}};
}

// The row of one kind of a slot that holds one value, limited to
// DefaultLimit (the three-byte slots).
constexpr KindRow SlotKind(int kind, ItemRule item)
{
    return Kind(kind, kind, Limits(DefaultLimit), item);
}

// The first row covering the kind; nullptr when none does (no item).
const KindRow* FindKindRow(std::span<const KindRow> rows, int kind);

// Adds one item; the value is the clamped raw number (its absolute value when
// the rule says so) times the rule's scale, in double. NoItem adds nothing.
void AddRuleItem(InstrumentBank& bank, const ItemRule& rule, const RawValue& value);
// Clamps each raw value to the row's limit and adds the row's items, each with
// the over flag of the value it is made from.
void AddKindItems(InstrumentBank& bank, const KindRow& row,
                  const std::array<int, MaxRawValues>& raw, ClampRule rule = ClampRule::Symmetric);
// Adds an item of any quantity (note UTF-8; empty = none).
void AddItem(InstrumentBank& bank, double value, int quantity, QByteArrayView note, bool primary,
             bool over);

// ---------------------------------------------------------------- banks

// Numbered banks by memory slot: the bank named with the decimal number,
// created (with its first item: the number, quantity "Bank", not primary, not
// over) when the data set has none yet.
InstrumentBank& NumberedBank(InstrumentData& data, int number);

// Banks opened by header records, in the three ways the models reuse them.
enum class HeaderReuse {
    Never,             // every header opens a new bank (Kx460, Kx440)
    WhenGrouped,       // the last bank of that name when groupSameNumber is 1 (Kx420)
    WhenGroupedOrLast, // ... or when that bank is the last of the list (Kx340)
};
// An InstrumentNumber of that name, reused or appended by the rule; *created
// tells whether it was appended (Kx340 then adds its number item).
InstrumentBank& HeaderBank(InstrumentData& data, QByteArrayView name, HeaderReuse reuse,
                           int groupSameNumber, bool* created = nullptr);

// ---------------------------------------------------------------- dates

// Two BCD digits: high nibble x 10 + low nibble (not checked for digits).
int BcdValue(uint8_t byte);
// The BCD byte of 0..99.
uint8_t ToBcd(int value);

// The eight-byte date record at recordOffset: byte 1 seconds, 2 minutes,
// 3 hours, 4 unused, 5 day, 6 month, 7 year - 2000. Built from the fields
// themselves (never through a date text); false when they give no valid date
// and time.
bool DecodeDateRecord(const InstrumentTranslator& t, int recordOffset, TDateTime& value);
// The record's date and time, or the current time of day (date part zero)
// when its fields give none.
TDateTime DateRecordValue(const InstrumentTranslator& t, int recordOffset);
// Adds the date item (quantity 1000, not primary, not over).
void AddDateItem(InstrumentBank& bank, const InstrumentTranslator& t, int recordOffset);

// ---------------------------------------------------------------- walkers

// Memory laid out in blocks whose first SlotsPerBlock bytes are the bank
// bytes of the block's slots (0xFF = empty), followed by the slots themselves,
// SlotSize bytes each. Slot j of a block starts at SlotsPerBlock + SlotSize x j.
struct SlotLayout
{
    int BlockCount;
    int BlockSize;
    int SlotsPerBlock;
    int SlotSize;
};
constexpr SlotLayout ThreeByteSlots{250, 32, 8, 3};  // Kx310, Kx330: kind, value
constexpr SlotLayout SevenByteSlots{250, 32, 4, 7};  // Kx350: kind, three values
constexpr SlotLayout EightByteRecords{1020, 8, 1, 7}; // Kx320: bank byte, type, three values

// Called with the image offset of a slot's first byte and its numbered bank.
using SlotDecoder = std::function<void(const InstrumentTranslator& t, int slotOffset, InstrumentBank& bank)>;
// Clears the data set, puts every used slot (from the translator's data start)
// into numbered bank (bank byte + 1), always scanning all slots, and removes
// the empty banks at the end.
void DecodeNumberedSlots(const InstrumentTranslator& t, InstrumentData& data, const SlotLayout& layout,
                         const SlotDecoder& decode);
// DecodeNumberedSlots over ThreeByteSlots, each slot by a kind table: byte 0
// the kind (a signed byte: 0x80..0xFF are negative kinds), bytes 1-2 the raw
// value (the first raw value of the rows).
void DecodeThreeByteSlots(const InstrumentTranslator& t, InstrumentData& data,
                          std::span<const KindRow> rows);

// The eight-byte record stream of the Kx420 generation: byte 0 the record
// type (0 header, 1 measurement, 2 date; anything else is skipped).
constexpr int RecordSize = 8;
constexpr int HeaderRecord = 0;
constexpr int MeasurementRecord = 1;
constexpr int DateRecord = 2;

struct RecordStream
{
    int Start; // image offset of record 0
    int Count; // always scanned whole
    HeaderReuse Reuse;
    int GroupSameNumber;
};
using HeaderName = std::function<QByteArray(const InstrumentTranslator& t, int recordOffset)>;
using MeasurementDecoder =
    std::function<void(const InstrumentTranslator& t, int recordOffset, InstrumentBank& bank)>;
// Clears the data set, starts with an InstrumentNumber "0", opens a bank per
// header by the stream's reuse rule, decodes measurements and dates into the
// current bank, and removes the empty banks at the end.
void DecodeRecordStream(const InstrumentTranslator& t, InstrumentData& data, const RecordStream& stream,
                        const HeaderName& headerName, const MeasurementDecoder& measurement);
// Header name of Kx460 and Kx440: the signed 16-bit number at bytes 2-3.
QByteArray Int16HeaderName(const InstrumentTranslator& t, int recordOffset);
// The stream of Kx460 and Kx440: 10000 records from the data start, every
// header a new bank named by its 16-bit number, measurements by the kind
// table. The transferred area is rounded up to whole blocks; the bytes after
// record 9999 are not records.
constexpr int Int16HeaderRecordCount = 10000;
void DecodeInt16HeaderStream(const InstrumentTranslator& t, InstrumentData& data,
                             std::span<const KindRow> rows, ClampRule rule = ClampRule::Symmetric);
// A measurement record by a kind table: byte 1 the kind (read as a signed
// byte: 0x80..0xFF are negative kinds), raw values at bytes 2-3, 4-5, 6-7.
void DecodeKindRecord(const InstrumentTranslator& t, int recordOffset, InstrumentBank& bank,
                      std::span<const KindRow> rows, ClampRule rule = ClampRule::Symmetric);

// ---------------------------------------------------------------- setup areas

// The stored check word of a setup section: the complement of Crc16 over
// `length` bytes from `start`.
uint16_t SetupChecksum(const InstrumentTranslator& t, int start, int length);
// Stores it little-endian in the two bytes right after the section.
void StoreSetupChecksum(InstrumentTranslator& t, int start, int length);

// value x factor + addend, truncated toward zero, as the 16-bit word an
// encoder stores; results beyond -32768..65535 saturate there, NaN gives 0.
uint16_t EncodeWord(double value, double factor, double addend = 0.0);
// value x factor rounded to the nearest whole number and held in 0..65535
// (unsigned words such as the beep limits).
uint16_t EncodeUnsignedWord(double value, double factor);
// The largest value an unsigned word of value x factor can hold
// (655.35 for a factor of 100).
constexpr double UnsignedWordMaximum(double factor) { return 65535.0 / factor; }

// A choice read from a byte: indexes past the options (0xFF from erased
// memory) select the last option, negative ones the first.
int ChoiceFromByte(int stored, int optionCount);

// Items of a settings group, nullptr when absent or of another kind.
const InstrumentSetupItemNumber* FindNumber(const InstrumentSetupBank& group, int itemId);
const InstrumentSetupItemChoice* FindChoice(const InstrumentSetupBank& group, int itemId);
// The group's index-th item as a number setting (list order).
const InstrumentSetupItemNumber* NumberAt(const InstrumentSetupBank& group, int index);

} // namespace TranslatorRules
