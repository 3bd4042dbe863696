#include "instruments/Kx330Translator.h"

#include "instruments/ChecksummedSetup.h"
#include "instruments/QuantityTable.h"
#include "instruments/TranslatorRules.h"

using namespace TranslatorRules;
using namespace ChecksummedSetup;

namespace {

// Earth resistance: four decades from 0.01 ohm for each connection method.
constexpr KindRow Earth(int kind, double scale, const char* method)
{
    return SlotKind(kind, Item(Quantity::EarthResistance, FirstRaw, scale, Primary, method));
}

constexpr KindRow Kinds[] = {
    Earth(0, 0.01, "3 wire"), Earth(1, 0.1, "3 wire"), Earth(2, 1, "3 wire"), Earth(3, 10, "3 wire"),
    Earth(4, 0.01, "4 wire"), Earth(5, 0.1, "4 wire"), Earth(6, 1, "4 wire"), Earth(7, 10, "4 wire"),
    Earth(8, 0.01, "PK"), Earth(9, 0.1, "PK"), Earth(10, 1, "PK"), Earth(11, 10, "PK"),
    Earth(12, 0.01, "3 wire+S"), Earth(13, 0.1, "3 wire+S"),
    Earth(14, 1, "3 wire+S"), Earth(15, 10, "3 wire+S"),
    Earth(16, 0.01, "4 wire+S"), Earth(17, 0.1, "4 wire+S"),
    Earth(18, 1, "4 wire+S"), Earth(19, 10, "4 wire+S"),
    SlotKind(20, Item(Quantity::Voltage, FirstRaw, 0.1, Primary)),
    SlotKind(23, Item(Quantity::Resistivity, FirstRaw, 0.01, Primary)),
    SlotKind(24, Item(Quantity::Resistivity, FirstRaw, 0.1, Primary)),
    SlotKind(25, Item(Quantity::Resistivity, FirstRaw, 1, Primary)),
    SlotKind(26, Item(Quantity::Resistivity, FirstRaw, 10, Primary)),
    SlotKind(28, Item(Quantity::Voltage, FirstRaw, 0.1, Primary, "AC")),
    SlotKind(32, Item(Quantity::ResistorCurrent, FirstRaw, 0.0001, Primary)),
    SlotKind(33, Item(Quantity::ResistorCurrent, FirstRaw, 0.001, Primary)),
    SlotKind(34, Item(Quantity::ResistorCurrent, FirstRaw, 0.01, Primary)),
    SlotKind(35, Item(Quantity::ProtectiveConductorResistance, FirstRaw, 0.01, Primary)),
};

constexpr WordSetting BeepLimit{Kx330Translator::BeepLimitItem, u"\u03A9", 0, 0,
                                static_cast<float>(UnsignedWordMaximum(Kx330Translator::BeepLimitFactor)),
                                true, WordCoding::RoundedUnsigned, Kx330Translator::BeepLimitFactor, 0,
                                0.01, 0};
// Read back from an instrument the lowest frequency is 59 Hz, although the
// factory list holds 53 Hz.
constexpr WordSetting Frequency{Kx330Translator::FrequencyItem, u"Hz", 59, 53, 140, true,
                                WordCoding::Signed, 1, 0, 1, 0};
constexpr WordSetting Distance{Kx330Translator::DistanceItem, u"m", 0.5f, 0.5f, 30, true,
                               WordCoding::Signed, 10, 0.5, 0.1, 0};

constexpr WordSetting GeneralSettings[] = {PowerOff, BacklightOff, BeepLimit};
constexpr float GeneralFactory[] = {120, 2, 1};
constexpr float FrequencyFactory[Kx330Translator::ListLength] = {128, 140, 53, 95};
constexpr float DistanceFactory[Kx330Translator::ListLength] = {20, 25, 30, 0.5f, 1, 1.5f,
                                                               2,  2.5f, 3, 5,  10, 15};

// In the order the settings dialog lists them.
const WordGroup Groups[] = {
    {GeneralGroup, Kx330Translator::GeneralStart, false, GeneralSettings, GeneralFactory},
    {Kx330Translator::FrequencyGroup, Kx330Translator::FrequencyStart, true, {&Frequency, 1},
     FrequencyFactory},
    {Kx330Translator::DistanceGroup, Kx330Translator::DistanceStart, true, {&Distance, 1},
     DistanceFactory},
};

} // namespace

Kx330Translator::Kx330Translator() : ChecksummedSlotTranslator(ModelCode::Kx330, Kinds, Groups) {}
