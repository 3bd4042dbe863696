#include "instruments/Kx440.h"

#include "instruments/InstrumentData.h"
#include "instruments/TranslatorRules.h"

#include <array>

using namespace TranslatorRules;

namespace {

// Raw values x1, x2, x3 at bytes 2-3, 4-5, 6-7; limited from above only.
constexpr int X1 = 0;
constexpr int X2 = 1;
constexpr int X3 = 2;
constexpr double Nanofarad = 0.00000001;

// Insulation resistance with its test voltage: the kind selects the decade.
KindRow InsulationFromX3(int kind)
{
    return Kind(kind, kind, Limits(Unclamped, 9999, 1999), Item(15, X3, DecadeFactor(kind + 1), true),
                Item(22, X2, 1.0, false));
}
KindRow InsulationFromX2(int kind)
{
    return Kind(kind, kind, Limits(9999, 1999), Item(15, X2, DecadeFactor(kind - 28), true),
                Item(22, X1, 1.0, false));
}

const std::array<KindRow, 18> Kinds = {{
    Kind(1, 1, Limits(Unclamped), Item(29, X1, 1.0, true)),
    InsulationFromX3(2), InsulationFromX3(3), InsulationFromX3(4), InsulationFromX3(5),
    InsulationFromX3(6), InsulationFromX3(7), InsulationFromX3(8),
    Kind(15, 15, Limits(999, 999), Item(46, X1, 0.01, true), Item(47, X2, Nanofarad, false)),
    Kind(23, 23, Limits(999, 999, 999), Item(45, X1, 0.01, true), Item(46, X2, 0.01, false),
         Item(47, X3, Nanofarad, false)),
    Kind(30, 30, Limits(Unclamped, 1999), Item(27, X2, 1.0, true)),
    InsulationFromX2(31), InsulationFromX2(32), InsulationFromX2(33), InsulationFromX2(34),
    InsulationFromX2(35), InsulationFromX2(36), InsulationFromX2(37),
}};

} // namespace

Kx440Translator::Kx440Translator() : InstrumentTranslator(ModelOf(ModelCode::Kx440)) {}

void Kx440Translator::DecodeData(InstrumentData& data)
{
    DecodeInt16HeaderStream(*this, data, Kinds, ClampRule::AboveOnly);
}
