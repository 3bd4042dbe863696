#include "instruments/Kx310Translator.h"

#include "instruments/ChecksummedSetup.h"
#include "instruments/QuantityTable.h"
#include "instruments/TranslatorRules.h"

using namespace TranslatorRules;
using namespace ChecksummedSetup;

namespace {

// Insulation resistance: the instrument stores it with a meaningless sign.
constexpr KindRow Riso(int kind, double scale, const char* testVoltage)
{
    return SlotKind(kind, Item(Quantity::InsulationResistance, FirstRaw, scale, Primary, testVoltage, true));
}

constexpr KindRow Kinds[] = {
    Riso(0, 1e3, "50V"), Riso(1, 1e4, "50V"), Riso(2, 1e5, "50V"), Riso(3, 1e6, "50V"),
    Riso(4, 1e7, "50V"),
    SlotKind(5, Item(Quantity::Temperature, FirstRaw, 1, Primary, "PT100")),
    SlotKind(6, Item(Quantity::Voltage, FirstRaw, 0.1, Primary)),
    SlotKind(7, Item(Quantity::Voltage, FirstRaw, 1, Primary)),
    Riso(8, 1e3, "100V"), Riso(9, 1e4, "100V"), Riso(10, 1e5, "100V"), Riso(11, 1e6, "100V"),
    Riso(12, 1e7, "100V"),
    SlotKind(13, Item(Quantity::ProtectiveConductorResistance, FirstRaw, 0.01, Primary)),
    SlotKind(14, Item(Quantity::ProtectiveConductorResistance, FirstRaw, 0.1, Primary)),
    SlotKind(15, Item(Quantity::ProtectiveConductorResistance, FirstRaw, 1, Primary)),
    Riso(16, 1e3, "250V"), Riso(17, 1e4, "250V"), Riso(18, 1e5, "250V"), Riso(19, 1e6, "250V"),
    Riso(20, 1e7, "250V"),
    SlotKind(21, Item(Quantity::Temperature, FirstRaw, 1, Primary)),
    SlotKind(23, Item(Quantity::ProtectionTestVoltage, FirstRaw, 1, Primary)),
    Riso(24, 1e3, "500V"), Riso(25, 1e4, "500V"), Riso(26, 1e5, "500V"), Riso(27, 1e6, "500V"),
    Riso(28, 1e7, "500V"),
    SlotKind(29, Item(Quantity::VoltageLN, FirstRaw, 0.1, Primary)),
    SlotKind(30, Item(Quantity::VoltageLN, FirstRaw, 1, Primary)),
    Riso(32, 1e3, "1000V"), Riso(33, 1e4, "1000V"), Riso(34, 1e5, "1000V"), Riso(35, 1e6, "1000V"),
    Riso(36, 1e7, "1000V"),
    SlotKind(37, Item(Quantity::ConductorLength, FirstRaw, 0.001, Primary)),
    SlotKind(38, Item(Quantity::ConductorLength, FirstRaw, 0.01, Primary)),
    SlotKind(39, Item(Quantity::ConductorLength, FirstRaw, 0.1, Primary)),
    SlotKind(40, Item(Quantity::ConductorLength, FirstRaw, 1, Primary)),
    SlotKind(41, Item(Quantity::ConductorLength, FirstRaw, 10, Primary)),
    SlotKind(47, Item(Quantity::Temperature, FirstRaw, 1, Primary, "PT1000")),
};

// mm², as a styled unit text.
constexpr const char16_t* SquareMillimetres = u"mm\x1b\x03" u"2\x1b\x01";

// Cross-sections in mm² x 1000, rounded.
constexpr WordSetting Copper{Kx310Translator::CopperItem, SquareMillimetres, 0.125f, 0.125f, 10, false,
                             WordCoding::Signed, 1000, 0.5, 0.001, 0};
constexpr WordSetting Aluminium{Kx310Translator::AluminiumItem, SquareMillimetres, 0.125f, 0.125f, 10,
                                false, WordCoding::Signed, 1000, 0.5, 0.001, 0};

constexpr WordSetting GeneralSettings[] = {PowerOff, BacklightOff};
constexpr float GeneralFactory[] = {120, 2};
constexpr float CopperFactory[Kx310Translator::CrossSectionCount] = {0.125f, 0.282f, 0.35f, 0.5f, 1,
                                                                    1.5f,   2.5f,   4,     6};
constexpr float AluminiumFactory[Kx310Translator::CrossSectionCount] = {1, 1.5f, 2.5f, 4, 6};

const WordGroup Groups[] = {
    {GeneralGroup, Kx310Translator::GeneralStart, false, GeneralSettings, GeneralFactory},
    {Kx310Translator::CopperGroup, Kx310Translator::CopperStart, true, {&Copper, 1}, CopperFactory},
    {Kx310Translator::AluminiumGroup, Kx310Translator::AluminiumStart, true, {&Aluminium, 1},
     AluminiumFactory},
};

} // namespace

Kx310Translator::Kx310Translator() : ChecksummedSlotTranslator(ModelCode::Kx310, Kinds, Groups) {}
