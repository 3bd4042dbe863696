// The base record of every field from arbitrary bytes, then the geometry
// operations on whatever edges and borders it holds: nothing may overflow.
#include "documents/AbstractFormObject.h"
#include "tests/common/RecordingCanvas.h"

#include <QBuffer>

#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    QBuffer in(&bytes);
    in.open(QIODevice::ReadOnly);
    AbstractFormObject object;
    if (!object.Load(in))
        return 0;
    if (in.pos() != AbstractFormObject::BaseRecordSize)
        std::abort();
    RecordingCanvas canvas;
    object.Draw(canvas, {});
    object.DrawSelected(canvas, {});
    const TRect r = object.GetRect();
    object.HitCorner(r.Left, r.Bottom);
    object.GetInnerRect();
    // The rest of the input drives the moves.
    const int32_t v = size >= 33 ? int32_t(data[29] | data[30] << 8 | data[31] << 16 | uint32_t(data[32]) << 24) : 0;
    object.MoveRight(v);
    object.MoveBottom(v);
    object.SetWidth(v);
    object.SetHeight(v);
    object.MoveLeft(v);
    object.MoveTop(v);
    const TRect after = object.GetRect();
    if (after.Left < 0 || after.Top < 0 || after.Left > after.Right || after.Top > after.Bottom)
        std::abort();
    return 0;
}
