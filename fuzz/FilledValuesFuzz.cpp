// The folder scan's reader of a form's filled values over arbitrary bytes:
// records come out only for a whole, undamaged section, and each is a record
// of the file with an ID block's page and number.
#include "revisionlist/RevisionFilledValues.h"

#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArrayView bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    std::vector<RevisionTableRow> records;
    const bool read = ReadFilledValues(bytes, QStringLiteral("f.qfs"), QStringLiteral("1/1/2025"), records);
    if (!read && !records.empty())
        std::abort();
    for (const RevisionTableRow& row : records)
        if (row.GetField(RevisionTableRow::FileName) != QLatin1String("f.qfs") || row.GetPage() < 0
            || row.GetGroup() < 0 || !row.HasContent())
            std::abort();
    return 0;
}
