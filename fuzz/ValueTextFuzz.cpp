// Parses arbitrary bytes as a typed value and as an older item text.

#include "instruments/InstrumentData.h"
#include "instruments/InstrumentItem.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArrayView text(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    for (int quantity : {1, 16, 99, 1000}) {
        InstrumentItem item(0, quantity, true, false);
        item.SetValueText(text);
        item.GetText(7, 0);
        item.GetText(10, 2);
    }
    bool over = false;
    InstrumentData::ParseLegacyValue(QString::fromUtf8(text), over);
    return 0;
}
