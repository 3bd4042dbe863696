// The revision list document's section over arbitrary bytes: a list read
// from it is whole, and writes back to a section that reads the same again.
#include "revisionlist/RevisionListDocument.h"

#include <QBuffer>

#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArrayView bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    const std::optional<RevisionList> list = ReadList(bytes);
    if (!list)
        return 0;
    for (const RevisionTableColumn* c : list->VisibleColumns())
        if (std::find(list->OrderedColumns().begin(), list->OrderedColumns().end(), c) == list->OrderedColumns().end())
            std::abort();
    QBuffer out;
    out.open(QIODevice::WriteOnly);
    WriteList(out, *list);
    const std::optional<RevisionList> again = ReadList(out.data());
    if (!again || again->Rows().size() != list->Rows().size())
        std::abort();
    return 0;
}
