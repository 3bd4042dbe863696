// Imports an older filled-form stream from arbitrary bytes, then saves what
// was read the way the window would.

#include "dataprocessing/QuillfenTransferForm.h"

#include <QBuffer>

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    QBuffer in(&bytes);
    in.open(QIODevice::ReadOnly);
    QuillfenTransferForm form;
    InstrumentData set;
    if (form.ImportLegacyForm(in, set)) {
        QBuffer out;
        out.open(QIODevice::WriteOnly);
        for (int i = 0; i < form.GetPageCount(); ++i)
            form.GetPage(i)->SaveFilledValues(out);
        set.Save(out);
    }
    return 0;
}
