// A page record (the group record with its children of every kind) from
// arbitrary bytes: loading must stay inside the stream and report damage, a
// loaded page must save and reload to the same bytes, and drawing, resizing,
// hit tests, XML and the filled-values block must cope with whatever was read.
#include "documents/GlobalTextObject.h"
#include "documents/PageObject.h"
#include "tests/common/RecordingCanvas.h"

#include "fuzz/RecordRoundTrip.h"

#include <QBuffer>

#include <climits>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    QBuffer in(&bytes);
    in.open(QIODevice::ReadOnly);
    GlobalTextStorage store;
    PageObject page(&store);
    const bool loaded = page.Load(in);
    if (in.pos() > bytes.size() || loaded == IsStreamDamaged(in))
        std::abort();
    if (loaded)
        CheckRoundTrip(page, [&store] { return PageObject(&store); });

    QBuffer out;
    out.open(QIODevice::WriteOnly);
    page.WriteXml(out);
    page.SaveFilledValues(out);

    RecordingCanvas canvas;
    page.DrawWithSelection(canvas, [](const AbstractFormObject* o) { return o->IsGroup(); }, true);
    const TRect r = page.GetRect();
    // One step inside the corner; an edge read as INT_MAX has no step beyond
    // it, and the harness must not overflow where the model does not.
    const auto inside = [](int32_t edge) { return edge < INT_MAX ? edge + 1 : edge; };
    page.FindObjectAtDeep(inside(r.Left), inside(r.Top));
    const auto copy = page.Clone();
    copy->SetRect(r.Right, r.Bottom, r.Left / 2, r.Top / 2);
    page.ClearFilledTexts();
    page.ClearMeasuredValues();
    page.FillFromRevisionRow([](int field) { return QString::number(field); });
    return 0;
}
