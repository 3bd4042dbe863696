#include "instruments/QuantityTable.h"

#include "language/Language.h"
#include "language/StringIds.h"

#include <array>

// Style switches inside the symbols and units.
#define SUB "\x1b\x02"
#define SUP "\x1b\x03"
#define NORMAL "\x1b\x01"

namespace {

constexpr std::array<QuantityRow, Quantity::Count> kQuantities{{
    {"Bank", "", false, StringId::QuantityBank},
    {"U" SUB "LN" NORMAL, "V", true, StringId::QuantityVoltageLN},
    {"U" SUB "LPE" NORMAL, "V", true, StringId::QuantityVoltageLPE},
    {"Z" SUB "S" NORMAL, "\u03a9", true, StringId::QuantityLoopImpedance},
    {"U" SUB "I\u0394N" NORMAL, "V", true, StringId::QuantityRcdTouchVoltage},
    {"I" SUB "\u0394" NORMAL, "A", true, StringId::QuantityTrippingCurrent},
    {"t" SUB "A" NORMAL, "s", true, StringId::QuantityTrippingTime},
    {"R" SUB "PE" NORMAL, "\u03a9", true, StringId::QuantityProtectiveConductorResistance},
    {"f", "Hz", true, StringId::QuantityFrequency},
    {"I" SUB "\u0394N" NORMAL, "A", true, StringId::QuantityRatedCurrent},
    {"I", "A", true, StringId::QuantityResistorCurrent},
    {"t" SUB "A 5X" NORMAL, "s", true, StringId::QuantityTrippingTimeFiveTimes},
    {"I" SUB "N" NORMAL, "A", true, StringId::QuantityApplianceCurrent},
    {"P", "W", true, StringId::QuantityActivePower},
    {"S", "VA", true, StringId::QuantityApparentPower},
    {"R" SUB "ISO" NORMAL, "\u03a9", true, StringId::QuantityInsulationResistance},
    {"t", "\u00b0C", false, StringId::QuantityTemperature},
    {"n", "min." SUP "-1" NORMAL, false, StringId::QuantityRevolutions},
    {"I" SUB "PE" NORMAL, "A", true, StringId::QuantityProtectiveConductorCurrent},
    {"I" SUB "F" NORMAL, "A", true, StringId::QuantityTouchCurrent},
    {"I" SUB "D" NORMAL, "A", true, StringId::QuantitySubstitutedLeakageCurrent},
    {"I" SUB "\u0394" NORMAL "(194)", "A", true, StringId::QuantityDifferentialLeakageCurrent},
    {"U" SUB "ISO" NORMAL, "V", true, StringId::QuantityInsulationTestVoltage},
    {"Cos \u03c6", "", false, StringId::QuantityPowerFactor},
    {"U" SUB "\u0394" NORMAL, "V", true, StringId::QuantityResistorVoltage},
    {SUB "\u0394" NORMAL "U", "V", true, StringId::QuantityTouchVoltage},
    {"I" SUB "K" NORMAL, "A", true, StringId::QuantityShortCircuitCurrent},
    {"U" SUB "1000" NORMAL, "V", true, StringId::QuantityProtectionTestVoltage},
    {"l", "m", true, StringId::QuantityConductorLength},
    {"U", "V", true, StringId::QuantityVoltage},
    {"No.", "", false, StringId::QuantityInstrumentNumber},
    {"R" SUB "A" NORMAL, "\u03a9", true, StringId::QuantityEarthResistance},
    {"\u03c1", "\u03a9m", true, StringId::QuantityResistivity},
    {"Z" SUB "I" NORMAL, "\u03a9", true, StringId::QuantityLineImpedance},
    {"U" SUB "F" NORMAL, "V", true, StringId::QuantityVoltageUF},
    {"I" SUB " M1" NORMAL, "A", true, StringId::QuantityLeakageCurrentM1},
    {"I" SUB " M2" NORMAL, "A", true, StringId::QuantityLeakageCurrentM2},
    {"I" SUB " M3" NORMAL, "A", true, StringId::QuantityLeakageCurrentM3},
    {"I" SUB " M4" NORMAL, "A", true, StringId::QuantityLeakageCurrentM4},
    {"U" SUB " R" NORMAL, "V", true, StringId::QuantityResidualVoltage},
    {"I" SUB " C" NORMAL, "A", true, StringId::QuantityClampCurrent},
    {"U" SUB " 1M" NORMAL, "V", true, StringId::QuantityVoltageU1M},
    {"U" SUB " 0P" NORMAL, "V", true, StringId::QuantityVoltageU0P},
    {"I" SUB " WP" NORMAL, "A", true, StringId::QuantityCurrentIWP},
    {"U" SUB " 0" NORMAL, "V", true, StringId::QuantityOpenCircuitVoltage},
    {"PI", "", true, StringId::QuantityPolarizationIndex},
    {"DAR", "", true, StringId::QuantityAbsorptionRatio},
    {"C", "F", true, StringId::QuantityCapacitance},
}};

} // namespace

const QuantityRow* FindQuantityRow(int quantity)
{
    if (quantity < 0 || quantity >= Quantity::Count)
        return nullptr;
    return &kQuantities[static_cast<size_t>(quantity)];
}

QString GetQuantityDescription(int quantity)
{
    const QuantityRow* row = FindQuantityRow(quantity);
    return row ? MainLanguage.GetString(row->DescriptionId) : QString();
}
