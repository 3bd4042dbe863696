#pragma once
// The quantities an instrument measures: symbol, unit and whether values are
// shown with an SI prefix. Symbols and units are UTF-8 styled texts: ESC 2
// starts a subscript, ESC 3 a superscript, ESC 1 returns to normal text.

#include <QString>

struct QuantityRow
{
    const char* Symbol;
    const char* Unit;
    bool SiPrefix;
    int DescriptionId; // language string shown beside the symbol in lists
};

// The quantity indexes items store: the rows of the table, by their symbols'
// meaning (the symbol follows each name).
namespace Quantity {
enum Row : int {
    Bank = 0, // a bank's own number item
    VoltageLN = 1, // U LN
    VoltageLPE = 2, // U LPE
    LoopImpedance = 3, // Z S
    RcdTouchVoltage = 4, // U IΔN
    TrippingCurrent = 5, // I Δ
    TrippingTime = 6, // t A
    ProtectiveConductorResistance = 7, // R PE
    Frequency = 8, // f
    RatedCurrent = 9, // I ΔN
    ResistorCurrent = 10, // I, through the resistor R PE
    TrippingTimeFiveTimes = 11, // t A 5X
    ApplianceCurrent = 12, // I N
    ActivePower = 13, // P
    ApparentPower = 14, // S
    InsulationResistance = 15, // R ISO
    Temperature = 16, // t
    Revolutions = 17, // n
    ProtectiveConductorCurrent = 18, // I PE
    TouchCurrent = 19, // I F
    SubstitutedLeakageCurrent = 20, // I D
    DifferentialLeakageCurrent = 21, // I Δ(194)
    InsulationTestVoltage = 22, // U ISO
    PowerFactor = 23, // Cos φ
    ResistorVoltage = 24, // U Δ, on the resistor R PE
    TouchVoltage = 25, // ΔU
    ShortCircuitCurrent = 26, // I K
    ProtectionTestVoltage = 27, // U 1000
    ConductorLength = 28, // l
    Voltage = 29, // U
    InstrumentNumber = 30, // No.
    EarthResistance = 31, // R A
    Resistivity = 32, // ρ
    LineImpedance = 33, // Z I
    VoltageUF = 34, // U F
    LeakageCurrentM1 = 35, // I M1
    LeakageCurrentM2 = 36, // I M2
    LeakageCurrentM3 = 37, // I M3
    LeakageCurrentM4 = 38, // I M4
    ResidualVoltage = 39, // U R
    ClampCurrent = 40, // I C
    VoltageU1M = 41, // U 1M
    VoltageU0P = 42, // U 0P
    CurrentIWP = 43, // I WP
    OpenCircuitVoltage = 44, // U 0
    PolarizationIndex = 45, // PI
    AbsorptionRatio = 46, // DAR
    Capacitance = 47, // C
    Count
};
constexpr int DateTime = 1000; // the value is a date-time day count; no row
} // namespace Quantity

// The row of a quantity index, or nullptr for an index with no row (the
// date-time quantity, and any index outside the table read from a file).
const QuantityRow* FindQuantityRow(int quantity);

// The description of a row in the current language; empty without a row.
QString GetQuantityDescription(int quantity);
