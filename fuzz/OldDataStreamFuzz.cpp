// Imports an older data body from arbitrary bytes.

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
    LegacyImportList list;
    set.ImportLegacy(in, list);
    for (const LegacyImportEntry& entry : list) {
        if (entry.Item)
            entry.Item->GetText(7, 0);
    }
    return 0;
}
