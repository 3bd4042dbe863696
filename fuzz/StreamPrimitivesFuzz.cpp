// ReadAnsiString / ReadWideString and the XML escaping over arbitrary bytes.
#include "storage/File.h"

#include <QBuffer>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    QBuffer in;
    in.setData(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    in.open(QIODevice::ReadOnly);
    QBuffer out;
    out.open(QIODevice::WriteOnly);
    while (!in.atEnd() && !IsStreamDamaged(in)) {
        const QByteArray ansi = ReadAnsiString(in);
        WriteXmlEscaped(out, ansi);
        const QString wide = ReadWideString(in);
        WriteXmlWideText(out, "T", wide);
        WriteWideString(out, wide);
    }
    return 0;
}
