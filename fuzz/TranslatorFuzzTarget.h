#pragma once
// The body every translator's fuzz target shares. The input is laid into the
// image twice, at the start and at the end of the data area, so that the
// last records see arbitrary bytes too. Whatever the image holds, a decoder
// may only make named banks of items whose quantity has a table row (or is
// the date-time) and whose value is a finite number; and a second decoding
// into the same set must replace the first.

#include "instruments/InstrumentData.h"
#include "instruments/InstrumentTranslator.h"
#include "instruments/QuantityTable.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstdint>

inline bool IsSoundDecodedItem(const InstrumentItem& item)
{
    const bool known = item.GetQuantity() == Quantity::DateTime || FindQuantityRow(item.GetQuantity());
    return known && std::isfinite(item.GetValue());
}

inline int FuzzDecodeData(InstrumentTranslator& t, const uint8_t* data, size_t size)
{
    const int length = static_cast<int>(std::min<size_t>(size, static_cast<size_t>(t.GetDataLength())));
    t.CopyToImage(data, t.GetDataStart(), length);
    t.CopyToImage(data, t.GetDataStart() + t.GetDataLength() - length, length);

    InstrumentData set;
    t.DecodeData(set);
    const int banks = set.GetCount();
    for (int b = 0; b < banks; ++b) {
        const InstrumentBank& bank = *set.GetBank(b);
        if (bank.GetName().isEmpty() || bank.GetCount() == 0)
            __builtin_trap();
        for (int i = 0; i < bank.GetCount(); ++i)
            if (!IsSoundDecodedItem(*bank.GetItem(i)))
                __builtin_trap();
    }
    t.DecodeData(set);
    if (set.GetCount() != banks)
        __builtin_trap();
    return 0;
}
