#include "instruments/Kx460Translator.h"

#include "instruments/InstrumentData.h"
#include "instruments/QuantityTable.h"
#include "instruments/TranslatorRules.h"

#include <array>

using namespace TranslatorRules;

namespace {

// Raw values of a measurement: the first at bytes 2-3, the second at 4-5.
constexpr const char* Adapter = "KD420";
constexpr int OtherLimit = 3999;

// For the paired kinds 0-13 the main value is the second one.
const std::array<KindRow, 10> Kinds = {{
    Kind(0, 2, Limits(999, 3999), Item(Quantity::VoltageLN, SecondRaw, 0.1, Primary, Adapter),
        Item(Quantity::Frequency, FirstRaw, 0.1, Accompanying)),
    Kind(3, 5, Limits(999, 3999), Item(Quantity::ApplianceCurrent, SecondRaw, 0.01, Primary, Adapter),
        Item(Quantity::Frequency, FirstRaw, 0.1, Accompanying)),
    Kind(6, 9, Limits(199, 9999), Item(Quantity::ActivePower, SecondRaw, 1.0, Primary, Adapter),
        Item(Quantity::PowerFactor, FirstRaw, 0.01, Accompanying)),
    Kind(10, 13, Limits(199, 9999), Item(Quantity::ApparentPower, SecondRaw, 1.0, Primary, Adapter),
        Item(Quantity::PowerFactor, FirstRaw, 0.01, Accompanying)),
    Kind(14, 14, Limits(OtherLimit, OtherLimit),
        Item(Quantity::TrippingCurrent, FirstRaw, 0.00001, Primary, Adapter)),
    Kind(15, 15, Limits(OtherLimit, OtherLimit),
        Item(Quantity::ProtectiveConductorCurrent, FirstRaw, 0.00001, Primary, Adapter)),
    Kind(16, 16, Limits(OtherLimit, OtherLimit),
        Item(Quantity::TouchCurrent, FirstRaw, 0.000001, Primary, Adapter)),
    Kind(18, 18, Limits(1999, OtherLimit), Item(Quantity::VoltageU1M, FirstRaw, 0.1, Primary)),
    Kind(20, 20, Limits(1999, OtherLimit), Item(Quantity::CurrentIWP, FirstRaw, 0.00001, Primary)),
    Kind(21, 21, Limits(1999, 1999), Item(Quantity::VoltageU0P, SecondRaw, 0.1, Primary),
        Item(Quantity::OpenCircuitVoltage, FirstRaw, 0.1, Accompanying)),
}};

} // namespace

Kx460Translator::Kx460Translator() : InstrumentTranslator(ModelOf(ModelCode::Kx460)) {}

void Kx460Translator::DecodeData(InstrumentData& data)
{
    DecodeInt16HeaderStream(*this, data, Kinds);
}
