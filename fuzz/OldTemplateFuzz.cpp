// Older template and form streams from arbitrary bytes: the import ends at
// the end of the stream, leaves a page, and what it built saves and loads
// again unchanged.
#include "FieldFuzzSupport.h"
#include "FormFuzzSupport.h"

#include <cstring>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    QBuffer stream;
    stream.setData(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    stream.open(QIODevice::ReadOnly);

    QuillfenForm doc(nullptr, 2100, 2975);
    FillForFuzzing(doc);
    const QByteArray before = Fingerprint(doc);
    const bool oldStream = size >= 4 && (std::memcmp(data, "QFT ", 4) == 0 || std::memcmp(data, "QFF ", 4) == 0);
    const bool read = doc.ImportLegacy(stream);
    if (read && !oldStream)
        std::abort();
    if (!oldStream) {
        if (Fingerprint(doc) != before)
            std::abort();
        return 0;
    }
    if (doc.IsModified() || doc.GetCurrentPageIndex() != 0)
        std::abort();
    CheckDocumentRoundTrip(doc);
    return 0;
}
