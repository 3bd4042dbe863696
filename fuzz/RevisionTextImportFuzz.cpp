// The tab-separated import over arbitrary bytes: every record it makes has
// content, and none takes a File name or Modified from the text.
#include "revisionlist/RevisionListDocument.h"

#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArrayView bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    const RevisionRowList rows = ReadListText(bytes);
    if (static_cast<qsizetype>(rows.size()) > bytes.count('\n'))
        std::abort();
    for (const auto& row : rows)
        if (!row->HasContent() || !row->GetField(RevisionTableRow::FileName).isEmpty()
            || !row->GetField(RevisionTableRow::Modified).isEmpty())
            std::abort();
    return 0;
}
