#include "instruments/Kx320Translator.h"

#include "instruments/InstrumentData.h"
#include "instruments/QuantityTable.h"
#include "instruments/TranslatorRules.h"

#include <array>

using namespace TranslatorRules;

namespace {

// What a raw value of one type means; quantity NoItem for the types that give
// no item. Every value is limited to +-1999.
struct ValueType
{
    int Quantity;
    double Scale;
    bool RatedCurrentNote;
};

constexpr int TypeCount = 32;
constexpr ValueType None{NoItem, 1.0, false};

const std::array<ValueType, TypeCount> ValueTypes = {{
    /*  0 */ {Quantity::VoltageLN, 1.0, false},
    /*  1 */ {Quantity::VoltageLPE, 1.0, false},
    /*  2 */ {Quantity::VoltageLN, 1.0, false},
    /*  3 */ {Quantity::Frequency, 0.1, false},
    /*  4 */ {Quantity::LoopImpedance, 0.01, false},
    /*  5 */ {Quantity::LoopImpedance, 0.1, false},
    /*  6 */ {Quantity::LoopImpedance, 1.0, false},
    /*  7 */ {Quantity::LoopImpedance, 0.01, false},
    /*  8 */ {Quantity::ResistorCurrent, 0.001, false},
    /*  9 */ {Quantity::RcdTouchVoltage, 0.1, true},
    /* 10 */ {Quantity::TrippingCurrent, 0.000001, true},
    /* 11 */ {Quantity::TrippingCurrent, 0.000001, true},
    /* 12 */ {Quantity::TrippingCurrent, 0.0000001, true},
    /* 13 */ {Quantity::TrippingCurrent, 0.0000001, true},
    /* 14 */ {Quantity::TrippingTime, 0.001, true},
    /* 15 */ {Quantity::TrippingTime, 0.001, true},
    /* 16 */ {Quantity::TrippingTimeFiveTimes, 0.001, true},
    /* 17 */ None,
    /* 18 */ None,
    /* 19 */ None,
    /* 20 */ {Quantity::ShortCircuitCurrent, 1.0, false},
    /* 21 */ {Quantity::ShortCircuitCurrent, 0.1, false},
    /* 22 */ {Quantity::ShortCircuitCurrent, 0.01, false},
    /* 23 */ {Quantity::ShortCircuitCurrent, 0.001, false},
    /* 24 */ {Quantity::ProtectiveConductorResistance, 0.01, false},
    /* 25 */ None, None, None, None, None, None, None,
}};

// The type in which value B of a record is decoded.
const std::array<int, TypeCount> PairedTypes = {{
    1, 0, 0, 0, 20, 20, 20, 20, 0, 5, 9, 9, 9, 9, 9, 9,
    9, 0, 0, 0, 0, 0, 0, 0, 8, 0, 0, 0, 0, 0, 0, 0,
}};

// Rated currents of the residual-current tests, selected by the low three
// bits of value C; 6 and 7 select none.
const std::array<const char*, 8> RatedCurrents = {
    "6 mA", "10 mA", "30 mA", "100 mA", "300 mA", "500 mA", nullptr, nullptr,
};

constexpr int FrequencyType = 3;
constexpr int VoltageType = 0;

bool IsResidualCurrentTest(int type) { return type >= 9 && type <= 16; }

void AddValue(InstrumentBank& bank, int type, int raw, bool primary, const char* note = nullptr)
{
    if (type < 0 || type >= TypeCount)
        return;
    const ValueType& row = ValueTypes[static_cast<std::size_t>(type)];
    AddRuleItem(bank, Item(row.Quantity, 0, row.Scale, primary, note), ClampRaw(raw, DefaultLimit));
}

// slot: byte 0 type and range, bytes 1-2 value A, 3-4 B, 5-6 C.
void DecodeRecord(const InstrumentTranslator& t, int slot, InstrumentBank& bank)
{
    const uint8_t typeByte = t.GetByte(slot);
    const int type = typeByte & 0x1F;
    const int range = typeByte >> 6;
    const int a = t.GetInt16(slot + 1);
    const int b = t.GetInt16(slot + 3);
    const int c = t.GetInt16(slot + 5);
    const int paired = PairedTypes[static_cast<std::size_t>(type)];

    if (IsResidualCurrentTest(type)) {
        AddValue(bank, type, a, true, RatedCurrents[static_cast<std::size_t>(c & 7)]);
        AddValue(bank, type == 9 ? paired + range : paired, b, false);
        return;
    }
    AddValue(bank, type, a, true);
    AddValue(bank, type <= 8 ? paired + range : paired, b, false);
    AddValue(bank, type == 0 ? FrequencyType : VoltageType, c, false);
}

} // namespace

Kx320Translator::Kx320Translator() : InstrumentTranslator(ModelOf(ModelCode::Kx320)) {}

void Kx320Translator::DecodeData(InstrumentData& data)
{
    DecodeNumberedSlots(*this, data, EightByteRecords, DecodeRecord);
}
