// Arbitrary bytes through the UTF-8 decoder. The first two bytes give the
// character count the caller asks for (as a signed 16-bit number, so negative
// and oversized counts are exercised); the rest is the text.
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "storage/Utf8.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size < 2)
        return 0;
    const int count = static_cast<int16_t>(data[0] | (data[1] << 8));
    const QByteArrayView text(reinterpret_cast<const char*>(data + 2), static_cast<qsizetype>(size - 2));

    const int chars = CountUtf8Chars(text);
    if (chars < 0 || chars > text.size())
        std::abort();

    for (int wanted : {count, chars}) {
        const QString decoded = DecodeUtf8(text, wanted);
        if (decoded.size() > (wanted < 0 ? 0 : wanted) || decoded.size() > text.size())
            std::abort();
        // Whatever was decoded encodes again within the stated size.
        if (EncodeUtf8(decoded).size() != GetUtf8Size(decoded))
            std::abort();
    }
    return 0;
}
