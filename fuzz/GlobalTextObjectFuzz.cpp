// A global-text field's record from arbitrary bytes, read against a store:
// the GID stays in range and the field draws, exports and saves whatever it read.
#include "documents/GlobalTextObject.h"
#include "tests/common/RecordingCanvas.h"

#include <QBuffer>

#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    QBuffer in(&bytes);
    in.open(QIODevice::ReadOnly);
    GlobalTextStorage store;
    store.SetText(7, QStringLiteral("Seven\nlines"));
    GlobalTextObject field(&store);
    field.Load(in);
    if (in.pos() > bytes.size() || field.GetGID() < 0 || field.GetGID() >= GlobalTextStorage::Count)
        std::abort();
    QBuffer out;
    out.open(QIODevice::WriteOnly);
    field.Save(out);
    field.WriteXml(out);
    RecordingCanvas canvas;
    field.Draw(canvas, {});
    field.Clone()->SetText(QStringLiteral("x"));
    return 0;
}
