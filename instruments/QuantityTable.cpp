#include "instruments/QuantityTable.h"

#include "language/Language.h"

#include <array>

// Style switches inside the symbols and units.
#define SUB "\x1b\x02"
#define SUP "\x1b\x03"
#define NORMAL "\x1b\x01"

namespace {

constexpr std::array<QuantityRow, Quantity::Count> kQuantities{{
    {"Bank", "", false, 218},
    {"U" SUB "LN" NORMAL, "V", true, 130},
    {"U" SUB "LPE" NORMAL, "V", true, 131},
    {"Z" SUB "S" NORMAL, "\u03a9", true, 132},
    {"U" SUB "I\u0394N" NORMAL, "V", true, 133},
    {"I" SUB "\u0394" NORMAL, "A", true, 134},
    {"t" SUB "A" NORMAL, "s", true, 135},
    {"R" SUB "PE" NORMAL, "\u03a9", true, 136},
    {"f", "Hz", true, 137},
    {"I" SUB "\u0394N" NORMAL, "A", true, 138},
    {"I", "A", true, 139},
    {"t" SUB "A 5X" NORMAL, "s", true, 140},
    {"I" SUB "N" NORMAL, "A", true, 141},
    {"P", "W", true, 142},
    {"S", "VA", true, 143},
    {"R" SUB "ISO" NORMAL, "\u03a9", true, 144},
    {"t", "\u00b0C", false, 145},
    {"n", "min." SUP "-1" NORMAL, false, 146},
    {"I" SUB "PE" NORMAL, "A", true, 147},
    {"I" SUB "F" NORMAL, "A", true, 148},
    {"I" SUB "D" NORMAL, "A", true, 149},
    {"I" SUB "\u0394" NORMAL "(194)", "A", true, 150},
    {"U" SUB "ISO" NORMAL, "V", true, 151},
    {"Cos \u03c6", "", false, 152},
    {"U" SUB "\u0394" NORMAL, "V", true, 153},
    {SUB "\u0394" NORMAL "U", "V", true, 154},
    {"I" SUB "K" NORMAL, "A", true, 155},
    {"U" SUB "1000" NORMAL, "V", true, 157},
    {"l", "m", true, 156},
    {"U", "V", true, 158},
    {"No.", "", false, 159},
    {"R" SUB "A" NORMAL, "\u03a9", true, 241},
    {"\u03c1", "\u03a9m", true, 242},
    {"Z" SUB "I" NORMAL, "\u03a9", true, 209},
    {"U" SUB "F" NORMAL, "V", true, 279},
    {"I" SUB " M1" NORMAL, "A", true, 274},
    {"I" SUB " M2" NORMAL, "A", true, 275},
    {"I" SUB " M3" NORMAL, "A", true, 276},
    {"I" SUB " M4" NORMAL, "A", true, 277},
    {"U" SUB " R" NORMAL, "V", true, 278},
    {"I" SUB " C" NORMAL, "A", true, 280},
    {"U" SUB " 1M" NORMAL, "V", true, 281},
    {"U" SUB " 0P" NORMAL, "V", true, 282},
    {"I" SUB " WP" NORMAL, "A", true, 283},
    {"U" SUB " 0" NORMAL, "V", true, 284},
    {"PI", "", true, 286},
    {"DAR", "", true, 287},
    {"C", "F", true, 288},
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
