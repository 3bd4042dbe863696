#include "instruments/Kx440Translator.h"

#include "instruments/InstrumentData.h"
#include "instruments/QuantityTable.h"
#include "instruments/TranslatorRules.h"

#include <array>

using namespace TranslatorRules;

namespace {

// Raw values at bytes 2-3, 4-5, 6-7; limited from above only.
constexpr double Nanofarad = 0.00000001;

// Insulation resistance with its test voltage: the kind selects the decade.
KindRow InsulationFromX3(int kind)
{
    return Kind(kind, kind, Limits(Unclamped, 9999, 1999),
        Item(Quantity::InsulationResistance, ThirdRaw, DecadeFactor(kind + 1), Primary),
        Item(Quantity::InsulationTestVoltage, SecondRaw, 1.0, Accompanying));
}
KindRow InsulationFromX2(int kind)
{
    return Kind(kind, kind, Limits(9999, 1999),
        Item(Quantity::InsulationResistance, SecondRaw, DecadeFactor(kind - 28), Primary),
        Item(Quantity::InsulationTestVoltage, FirstRaw, 1.0, Accompanying));
}

const std::array<KindRow, 18> Kinds = {{
    Kind(1, 1, Limits(Unclamped), Item(Quantity::Voltage, FirstRaw, 1.0, Primary)),
    InsulationFromX3(2),
    InsulationFromX3(3),
    InsulationFromX3(4),
    InsulationFromX3(5),
    InsulationFromX3(6),
    InsulationFromX3(7),
    InsulationFromX3(8),
    Kind(15, 15, Limits(999, 999), Item(Quantity::AbsorptionRatio, FirstRaw, 0.01, Primary),
        Item(Quantity::Capacitance, SecondRaw, Nanofarad, Accompanying)),
    Kind(23, 23, Limits(999, 999, 999), Item(Quantity::PolarizationIndex, FirstRaw, 0.01, Primary),
        Item(Quantity::AbsorptionRatio, SecondRaw, 0.01, Accompanying),
        Item(Quantity::Capacitance, ThirdRaw, Nanofarad, Accompanying)),
    Kind(30, 30, Limits(Unclamped, 1999), Item(Quantity::ProtectionTestVoltage, SecondRaw, 1.0, Primary)),
    InsulationFromX2(31),
    InsulationFromX2(32),
    InsulationFromX2(33),
    InsulationFromX2(34),
    InsulationFromX2(35),
    InsulationFromX2(36),
    InsulationFromX2(37),
}};

} // namespace

Kx440Translator::Kx440Translator() : InstrumentTranslator(ModelOf(ModelCode::Kx440)) {}

void Kx440Translator::DecodeData(InstrumentData& data)
{
    DecodeInt16HeaderStream(*this, data, Kinds, ClampRule::AboveOnly);
}
