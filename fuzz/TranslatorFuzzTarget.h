#pragma once
// The body every translator's fuzz target shares: the input is laid into the
// image twice, at the start and at the end of the data area (so the last
// records see arbitrary bytes too), the data decoded, every text of the
// result formatted, and the data decoded again into the same set.

#include "instruments/InstrumentData.h"
#include "instruments/InstrumentTranslator.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>

inline int FuzzDecodeData(InstrumentTranslator& t, const uint8_t* data, size_t size)
{
    const int length = static_cast<int>(std::min<size_t>(size, static_cast<size_t>(t.GetDataLength())));
    t.CopyToImage(data, t.GetDataStart(), length);
    t.CopyToImage(data, t.GetDataStart() + t.GetDataLength() - length, length);

    InstrumentData set;
    t.DecodeData(set);
    for (int b = 0; b < set.GetCount(); ++b) {
        const InstrumentBank* bank = set.GetBank(b);
        bank->GetText(1, 0);
        for (int i = 0; i < bank->GetCount(); ++i) {
            const InstrumentItem* item = bank->GetItem(i);
            item->GetText(7, 0);
            item->GetText(8 + i % 7, i % 6);
        }
    }
    t.DecodeData(set);
    return 0;
}
