// Opens and appends an older measured-data stream from arbitrary bytes.

#include "dataprocessing/QuillfenTransferForm.h"

#include <QBuffer>

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    QBuffer in(&bytes);
    in.open(QIODevice::ReadOnly);
    InstrumentData set;
    if (QuillfenTransferForm::ImportLegacyData(in, set)) {
        in.seek(0);
        QuillfenTransferForm::AppendLegacyData(in, set);
        QuillfenTransferForm::HtmlTable(set);
    }
    return 0;
}
