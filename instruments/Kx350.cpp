#include "instruments/Kx350.h"

#include "instruments/InstrumentData.h"
#include "instruments/TranslatorRules.h"

#include <QByteArray>

using namespace TranslatorRules;

namespace {

constexpr int W = 0; // first raw value
constexpr int X = 1; // second raw value
constexpr int C = 2; // third value: a frequency, a voltage or the rated-current code
constexpr bool P = true;
constexpr bool Acc = false;

constexpr int TripTime = 6;
constexpr int TripTimeFiveTimes = 11;

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
    {Kind(0, 0, Limits2(999, 999), Item(29, W, 1, P), Item(8, C, 1, Acc))},
    {Kind(1, 2, Limits2(999, 999), Item(1, W, 1, P), Item(2, X, 1, Acc), Item(29, C, 1, Acc))},
    {Kind(3, 3, Limits2(1999, 9999), Item(3, W, 0.01, P), Item(26, X, 1, Acc))},
    {Kind(4, 4, Limits2(1999, 9999), Item(3, W, 0.01, P), Item(26, X, 0.1, Acc))},
    {Kind(5, 5, Limits2(1999, 9999), Item(3, W, 0.1, P), Item(26, X, 1, Acc))},
    {Kind(6, 6, Limits2(1999, 9999), Item(3, W, 0.1, P), Item(26, X, 0.1, Acc))},
    {Kind(7, 7, Limits2(1999, 9999), Item(3, W, 1, P), Item(26, X, 1, Acc))},
    {Kind(8, 8, Limits2(1999, 9999), Item(3, W, 1, P), Item(26, X, 0.1, Acc))},
    {Kind(9, 9, Limits2(1999, 9999), Item(33, W, 0.01, P), Item(26, X, 1, Acc))},
    {Kind(10, 10, Limits2(1999, 9999), Item(3, W, 0.01, P, "-"), Item(26, X, 1, Acc))},
    {Kind(11, 11, Limits2(1999, 9999), Item(3, W, 0.01, P, "-"), Item(26, X, 0.1, Acc))},
    {Kind(12, 12, Limits2(1999, 999), Item(7, W, 0.01, P, "I<200mA"))},
    {Kind(13, 13, Limits2(1999, 999), Item(7, W, 0.01, P, "I>200mA"))},
    {Kind(14, 14, Limits2(9999, 999), Item(15, W, 1000, P))},
    {Kind(15, 15, Limits2(9999, 999), Item(15, W, 10000, P))},
    {Kind(16, 16, Limits2(999, 1999), Item(4, W, 0.1, P), Item(3, X, 0.1, Acc)), ""},
    {Kind(17, 17, Limits2(999, 9999), Item(4, W, 0.1, P), Item(3, X, 1, Acc)), ""},
    {Kind(18, 18, Limits2(999, 999), Item(TripTime, W, 0.001, P), Item(4, X, 0.1, Acc)), "AC +", true},
    {Kind(19, 19, Limits2(999, 999), Item(TripTime, W, 0.001, P), Item(4, X, 0.1, Acc)), "AC -", true},
    {Kind(20, 20, Limits2(999, 999), Item(TripTime, W, 0.001, P), Item(4, X, 0.1, Acc)), "A +", true},
    {Kind(21, 21, Limits2(999, 999), Item(TripTime, W, 0.001, P), Item(4, X, 0.1, Acc)), "A -", true},
    {Kind(22, 22, Limits2(999, 999), Item(5, W, 0.0001, P), Item(25, X, 0.1, Acc)), "AC"},
    {Kind(23, 23, Limits2(999, 999), Item(5, W, 0.001, P), Item(25, X, 0.1, Acc)), "AC"},
    {Kind(24, 24, Limits2(999, 999), Item(5, W, 0.0001, P), Item(25, X, 0.1, Acc)), "A +"},
    {Kind(25, 25, Limits2(999, 999), Item(5, W, 0.001, P), Item(25, X, 0.1, Acc)), "A -"},
    {Kind(26, 26, Limits2(999, 999), Item(5, W, 0.0001, P), Item(25, X, 0.1, Acc)), "A +"},
    {Kind(27, 27, Limits2(999, 999), Item(5, W, 0.001, P), Item(25, X, 0.1, Acc)), "A -"},
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

// A slot: byte 0 the kind (signed), then W, X and C as signed 16-bit words.
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
        const RatedCurrent& rated = FindRatedCurrent(raw[C]);
        note = QByteArray(rated.Text) + kind->RatedSuffix;
        row.Items[0].Note = note.constData();
        if (kind->TripTime && rated.FiveTimes)
            row.Items[0].Quantity = TripTimeFiveTimes;
    }
    AddKindItems(bank, row, raw);
}

} // namespace

Kx350Translator::Kx350Translator() : InstrumentTranslator(ModelOf(ModelCode::Kx350)) {}

void Kx350Translator::DecodeData(InstrumentData& data)
{
    DecodeNumberedSlots(*this, data, SevenByteSlots, DecodeSlot);
}
