// A text field's record (base record first) from arbitrary bytes: loading
// must stay inside the stream, a loaded field must save and reload to the
// same bytes, and its XML and drawing must cope with whatever was read.
#include "documents/TextObject.h"
#include "tests/common/RecordingCanvas.h"

#include "fuzz/RecordRoundTrip.h"

#include <QBuffer>

#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    QBuffer in(&bytes);
    in.open(QIODevice::ReadOnly);
    TextObject field;
    const bool loaded = field.Load(in);
    if (in.pos() > bytes.size())
        std::abort();
    if (loaded)
        CheckRoundTrip(field, [] { return TextObject(); });
    QBuffer xml;
    xml.open(QIODevice::WriteOnly);
    field.WriteXml(xml);
    RecordingCanvas canvas;
    field.Draw(canvas, {});
    field.DrawSelected(canvas, {});
    return 0;
}
