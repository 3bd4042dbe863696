#include "instruments/Kx350Translator.h"

#include "instruments/InstrumentData.h"
#include "instruments/QuantityTable.h"
#include "instruments/TranslatorRules.h"

#include <QByteArray>

using namespace TranslatorRules;

namespace {

// The third raw value is a frequency, a voltage or the rated-current code.
constexpr int RatedCurrentCode = ThirdRaw;

// A kind's row, and for the residual-current device tests the text that
// follows the rated current in the main item's note.
struct SlotKind
{
    KindRow Row;
    const char* RatedSuffix = nullptr; // nullptr: the note is the row's own
    bool TripTime = false;             // the main item is a trip time (tA or tA 5X)
};

// Limits of W and X; the third value is taken as it is.
constexpr auto Limits2(int w, int x)
{
    return Limits(w, x, Unclamped);
}

constexpr SlotKind Kinds[] = {
    {Kind(0, 0, Limits2(999, 999), Item(Quantity::Voltage, FirstRaw, 1, Primary),
        Item(Quantity::Frequency, ThirdRaw, 1, Accompanying))},
    {Kind(1, 2, Limits2(999, 999), Item(Quantity::VoltageLN, FirstRaw, 1, Primary),
        Item(Quantity::VoltageLPE, SecondRaw, 1, Accompanying),
        Item(Quantity::Voltage, ThirdRaw, 1, Accompanying))},
    {Kind(3, 3, Limits2(1999, 9999), Item(Quantity::LoopImpedance, FirstRaw, 0.01, Primary),
        Item(Quantity::ShortCircuitCurrent, SecondRaw, 1, Accompanying))},
    {Kind(4, 4, Limits2(1999, 9999), Item(Quantity::LoopImpedance, FirstRaw, 0.01, Primary),
        Item(Quantity::ShortCircuitCurrent, SecondRaw, 0.1, Accompanying))},
    {Kind(5, 5, Limits2(1999, 9999), Item(Quantity::LoopImpedance, FirstRaw, 0.1, Primary),
        Item(Quantity::ShortCircuitCurrent, SecondRaw, 1, Accompanying))},
    {Kind(6, 6, Limits2(1999, 9999), Item(Quantity::LoopImpedance, FirstRaw, 0.1, Primary),
        Item(Quantity::ShortCircuitCurrent, SecondRaw, 0.1, Accompanying))},
    {Kind(7, 7, Limits2(1999, 9999), Item(Quantity::LoopImpedance, FirstRaw, 1, Primary),
        Item(Quantity::ShortCircuitCurrent, SecondRaw, 1, Accompanying))},
    {Kind(8, 8, Limits2(1999, 9999), Item(Quantity::LoopImpedance, FirstRaw, 1, Primary),
        Item(Quantity::ShortCircuitCurrent, SecondRaw, 0.1, Accompanying))},
    {Kind(9, 9, Limits2(1999, 9999), Item(Quantity::LineImpedance, FirstRaw, 0.01, Primary),
        Item(Quantity::ShortCircuitCurrent, SecondRaw, 1, Accompanying))},
    {Kind(10, 10, Limits2(1999, 9999), Item(Quantity::LoopImpedance, FirstRaw, 0.01, Primary, "-"),
        Item(Quantity::ShortCircuitCurrent, SecondRaw, 1, Accompanying))},
    {Kind(11, 11, Limits2(1999, 9999), Item(Quantity::LoopImpedance, FirstRaw, 0.01, Primary, "-"),
        Item(Quantity::ShortCircuitCurrent, SecondRaw, 0.1, Accompanying))},
    {Kind(12, 12, Limits2(1999, 999),
        Item(Quantity::ProtectiveConductorResistance, FirstRaw, 0.01, Primary, "I<200mA"))},
    {Kind(13, 13, Limits2(1999, 999),
        Item(Quantity::ProtectiveConductorResistance, FirstRaw, 0.01, Primary, "I>200mA"))},
    {Kind(14, 14, Limits2(9999, 999), Item(Quantity::InsulationResistance, FirstRaw, 1000, Primary))},
    {Kind(15, 15, Limits2(9999, 999), Item(Quantity::InsulationResistance, FirstRaw, 10000, Primary))},
    {Kind(16, 16, Limits2(999, 1999), Item(Quantity::RcdTouchVoltage, FirstRaw, 0.1, Primary),
         Item(Quantity::LoopImpedance, SecondRaw, 0.1, Accompanying)),
        ""},
    {Kind(17, 17, Limits2(999, 9999), Item(Quantity::RcdTouchVoltage, FirstRaw, 0.1, Primary),
         Item(Quantity::LoopImpedance, SecondRaw, 1, Accompanying)),
        ""},
    {Kind(18, 18, Limits2(999, 999), Item(Quantity::TrippingTime, FirstRaw, 0.001, Primary),
         Item(Quantity::RcdTouchVoltage, SecondRaw, 0.1, Accompanying)),
        "AC +", true},
    {Kind(19, 19, Limits2(999, 999), Item(Quantity::TrippingTime, FirstRaw, 0.001, Primary),
         Item(Quantity::RcdTouchVoltage, SecondRaw, 0.1, Accompanying)),
        "AC -", true},
    {Kind(20, 20, Limits2(999, 999), Item(Quantity::TrippingTime, FirstRaw, 0.001, Primary),
         Item(Quantity::RcdTouchVoltage, SecondRaw, 0.1, Accompanying)),
        "A +", true},
    {Kind(21, 21, Limits2(999, 999), Item(Quantity::TrippingTime, FirstRaw, 0.001, Primary),
         Item(Quantity::RcdTouchVoltage, SecondRaw, 0.1, Accompanying)),
        "A -", true},
    {Kind(22, 22, Limits2(999, 999), Item(Quantity::TrippingCurrent, FirstRaw, 0.0001, Primary),
         Item(Quantity::TouchVoltage, SecondRaw, 0.1, Accompanying)),
        "AC"},
    {Kind(23, 23, Limits2(999, 999), Item(Quantity::TrippingCurrent, FirstRaw, 0.001, Primary),
         Item(Quantity::TouchVoltage, SecondRaw, 0.1, Accompanying)),
        "AC"},
    {Kind(24, 24, Limits2(999, 999), Item(Quantity::TrippingCurrent, FirstRaw, 0.0001, Primary),
         Item(Quantity::TouchVoltage, SecondRaw, 0.1, Accompanying)),
        "A +"},
    {Kind(25, 25, Limits2(999, 999), Item(Quantity::TrippingCurrent, FirstRaw, 0.001, Primary),
         Item(Quantity::TouchVoltage, SecondRaw, 0.1, Accompanying)),
        "A -"},
    {Kind(26, 26, Limits2(999, 999), Item(Quantity::TrippingCurrent, FirstRaw, 0.0001, Primary),
         Item(Quantity::TouchVoltage, SecondRaw, 0.1, Accompanying)),
        "A +"},
    {Kind(27, 27, Limits2(999, 999), Item(Quantity::TrippingCurrent, FirstRaw, 0.001, Primary),
         Item(Quantity::TouchVoltage, SecondRaw, 0.1, Accompanying)),
        "A -"},
};

// The rated current of a residual-current device test, coded in the third
// value: the text that starts the main item's note, and whether the trip time
// was measured at five times the rated current.
struct RatedCurrent
{
    int Code;
    const char* Text;
    bool FiveTimes;
};

constexpr RatedCurrent RatedCurrents[] = {
    {1004, "100mA ", false}, {1007, "100mA ", true}, {1067, "10mA ", true},  {3004, "300mA ", false},
    {3067, "30mA ", true},   {5004, "500mA ", false}, {6104, "10mA ", false}, {6304, "30mA ", false},
};

constexpr RatedCurrent NoRatedCurrent{0, "", false};

const RatedCurrent& FindRatedCurrent(int code)
{
    for (const RatedCurrent& row : RatedCurrents)
        if (row.Code == code)
            return row;
    return NoRatedCurrent;
}

const SlotKind* FindSlotKind(int kind)
{
    for (const SlotKind& row : Kinds)
        if (kind >= row.Row.First && kind <= row.Row.Last)
            return &row;
    return nullptr;
}

// A slot: byte 0 the kind (signed), then FirstRaw, X and C as signed 16-bit words.
void DecodeSlot(const InstrumentTranslator& t, int offset, InstrumentBank& bank)
{
    const SlotKind* kind = FindSlotKind(static_cast<int8_t>(t.GetByte(offset)));
    if (!kind)
        return;
    const std::array<int, MaxRawValues> raw{t.GetInt16(offset + 1), t.GetInt16(offset + 3),
                                            t.GetInt16(offset + 5)};
    KindRow row = kind->Row;
    QByteArray note;
    if (kind->RatedSuffix) {
        const RatedCurrent& rated = FindRatedCurrent(raw[RatedCurrentCode]);
        note = QByteArray(rated.Text) + kind->RatedSuffix;
        row.Items[0].Note = note.constData();
        if (kind->TripTime && rated.FiveTimes)
            row.Items[0].Quantity = Quantity::TrippingTimeFiveTimes;
    }
    AddKindItems(bank, row, raw);
}

} // namespace

Kx350Translator::Kx350Translator() : InstrumentTranslator(ModelOf(ModelCode::Kx350)) {}

void Kx350Translator::DecodeData(InstrumentData& data)
{
    DecodeNumberedSlots(*this, data, SevenByteSlots, DecodeSlot);
}
