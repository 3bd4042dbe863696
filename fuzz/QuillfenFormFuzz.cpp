// The document's section "form" from arbitrary bytes, inside a container:
// damage is reported and leaves the document as it was; what loads saves
// and loads again unchanged.
#include "FieldFuzzSupport.h"
#include "FormFuzzSupport.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QString path = ScratchDir().filePath(QStringLiteral("input.qfs"));
    {
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly))
            std::abort();
        // The header of a template whose section "form" follows it.
        QByteArray header("QFS4tempform\x40", 13);
        header.resize(64, '\0');
        file.write(header);
        file.write(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    }

    for (bool append : {false, true}) {
        QuillfenForm doc(nullptr, 2100, 2975);
        FillForFuzzing(doc);
        const QByteArray before = Fingerprint(doc);
        FileReader reader(path);
        const bool read = append ? doc.Append(reader) : doc.Load(reader);
        if (!read && Fingerprint(doc) != before)
            std::abort();
        if (read)
            CheckDocumentRoundTrip(doc);
    }
    return 0;
}
