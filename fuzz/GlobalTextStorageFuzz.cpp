// The global-text store's record from arbitrary bytes: counts and lengths
// are bounded by the stream, and what was read saves and reloads unchanged.
#include "documents/GlobalTextObject.h"

#include "fuzz/RecordRoundTrip.h"

#include <QBuffer>

#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    QBuffer in(&bytes);
    in.open(QIODevice::ReadOnly);
    GlobalTextStorage store;
    const bool loaded = store.Load(in);
    if (in.pos() > bytes.size())
        std::abort();
    if (loaded)
        CheckRoundTrip(store, [] { return GlobalTextStorage(); });
    QBuffer xml;
    xml.open(QIODevice::WriteOnly);
    store.WriteXml(xml);
    return 0;
}
