// A clipboard block of copied fields comes from any program that writes our
// format: it must paste whole or not at all, and never crash.

#include "designer/FieldClipboard.h"
#include "documents/AbstractFormObject.h"
#include "documents/GlobalTextObject.h"

#include <QBuffer>

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    GlobalTextStorage store;
    const QByteArrayView block(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    std::unique_ptr<AbstractFormObject> pasted = UnpackFields(block, &store);
    if (!pasted)
        return 0;
    // What pastes, copies again to a block that pastes the same.
    AbstractFormObject* objects[] = {pasted.get()};
    const QByteArray again = PackFields(objects);
    if (!UnpackFields(again, &store))
        std::abort();
    return 0;
}
