#include "instruments/Kx460.h"

#include "instruments/InstrumentData.h"
#include "instruments/TranslatorRules.h"

#include <array>

using namespace TranslatorRules;

namespace {

// Raw values of a measurement: v at bytes 2-3, s at bytes 4-5.
constexpr int V = 0;
constexpr int S = 1;
constexpr const char* Adapter = "KD420";
constexpr int OtherLimit = 3999;

// For the paired kinds 0-13 the main value is the second one.
const std::array<KindRow, 10> Kinds = {{
    Kind(0, 2, Limits(999, 3999), Item(1, S, 0.1, true, Adapter), Item(8, V, 0.1, false)),
    Kind(3, 5, Limits(999, 3999), Item(12, S, 0.01, true, Adapter), Item(8, V, 0.1, false)),
    Kind(6, 9, Limits(199, 9999), Item(13, S, 1.0, true, Adapter), Item(23, V, 0.01, false)),
    Kind(10, 13, Limits(199, 9999), Item(14, S, 1.0, true, Adapter), Item(23, V, 0.01, false)),
    Kind(14, 14, Limits(OtherLimit, OtherLimit), Item(5, V, 0.00001, true, Adapter)),
    Kind(15, 15, Limits(OtherLimit, OtherLimit), Item(18, V, 0.00001, true, Adapter)),
    Kind(16, 16, Limits(OtherLimit, OtherLimit), Item(19, V, 0.000001, true, Adapter)),
    Kind(18, 18, Limits(1999, OtherLimit), Item(41, V, 0.1, true)),
    Kind(20, 20, Limits(1999, OtherLimit), Item(43, V, 0.00001, true)),
    Kind(21, 21, Limits(1999, 1999), Item(42, S, 0.1, true), Item(44, V, 0.1, false)),
}};

} // namespace

Kx460Translator::Kx460Translator() : InstrumentTranslator(ModelOf(ModelCode::Kx460)) {}

void Kx460Translator::DecodeData(InstrumentData& data)
{
    DecodeInt16HeaderStream(*this, data, Kinds);
}
