// The measure field's record (with its measured item and limit) and the limit
// record on their own, over arbitrary bytes. A record that reads must write
// back to bytes that read to the same record.
#include "documents/MeasureObject.h"

#include <QBuffer>

#include <cstdlib>

namespace {

template <typename T>
QByteArray Saved(const T& object)
{
    QBuffer out;
    out.open(QIODevice::WriteOnly);
    object.Save(out);
    return out.data();
}

template <typename T>
void CheckRoundTrip(const T& object)
{
    const QByteArray first = Saved(object);
    QBuffer in;
    in.setData(first);
    in.open(QIODevice::ReadOnly);
    T again;
    if (!again.Load(in) || !in.atEnd() || Saved(again) != first)
        std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));

    QBuffer limitIn;
    limitIn.setData(bytes);
    limitIn.open(QIODevice::ReadOnly);
    MeasureLimit limit;
    if (limit.Load(limitIn))
        CheckRoundTrip(limit);

    QBuffer fieldIn;
    fieldIn.setData(bytes);
    fieldIn.open(QIODevice::ReadOnly);
    MeasureObject field;
    if (field.Load(fieldIn)) {
        CheckRoundTrip(field);
        QBuffer xml;
        xml.open(QIODevice::WriteOnly);
        field.WriteXml(xml);
        field.GetDisplayText();
        field.GetText();
        field.GetForeColor();
        field.GetBackColor();
        field.SetText(field.GetText());
    }
    return 0;
}
