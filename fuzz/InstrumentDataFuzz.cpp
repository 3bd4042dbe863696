// Reads a "data" section from arbitrary bytes, then writes back what was read.

#include "instruments/InstrumentData.h"
#include "storage/File.h"

#include <QBuffer>

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    QBuffer in(&bytes);
    in.open(QIODevice::ReadOnly);
    InstrumentData set;
    set.Load(in);

    QBuffer out;
    out.open(QIODevice::WriteOnly);
    set.Save(out);
    set.WriteXml(out);
    for (int b = 0; b < set.GetCount(); ++b) {
        const InstrumentBank* bank = set.GetBank(b);
        bank->GetText(1, 0);
        for (int i = 0; i < bank->GetCount(); ++i) {
            const InstrumentItem* item = bank->GetItem(i);
            item->GetText(7, 0);
            item->GetText(8 + i % 7, i % 6);
        }
    }
    set.SortBanks();
    set.RemoveEmptyBanks();
    return 0;
}
