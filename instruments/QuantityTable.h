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

namespace Quantity {
constexpr int Count = 48;
constexpr int Bank = 0;             // a bank's own number item
constexpr int InstrumentNumber = 30;
constexpr int DateTime = 1000;      // the value is a date-time day count
} // namespace Quantity

// The row of a quantity index, or nullptr for an index with no row (the
// date-time quantity, and any index outside the table read from a file).
const QuantityRow* FindQuantityRow(int quantity);

// The description of a row in the current language; empty without a row.
QString GetQuantityDescription(int quantity);
