// The measure field's record (with its measured item and limit) and the limit
// record on their own, from arbitrary bytes: loading must stay inside the
// stream, a loaded record must save and reload to the same bytes, and the
// field's texts, colours, XML and drawing must cope with whatever was read.
#include "documents/MeasureObject.h"
#include "tests/common/RecordingCanvas.h"

#include "fuzz/RecordRoundTrip.h"

#include <QBuffer>

#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));

    QBuffer limitIn(&bytes);
    limitIn.open(QIODevice::ReadOnly);
    MeasureLimit limit;
    if (limit.Load(limitIn))
        CheckRoundTrip(limit, [] { return MeasureLimit(); });
    if (limitIn.pos() > bytes.size())
        std::abort();

    QBuffer fieldIn(&bytes);
    fieldIn.open(QIODevice::ReadOnly);
    MeasureObject field;
    const bool loaded = field.Load(fieldIn);
    if (fieldIn.pos() > bytes.size())
        std::abort();
    if (loaded)
        CheckRoundTrip(field, [] { return MeasureObject(); });
    QBuffer xml;
    xml.open(QIODevice::WriteOnly);
    field.WriteXml(xml);
    RecordingCanvas canvas;
    field.Draw(canvas, {});
    field.SetText(field.GetText());
    return 0;
}
