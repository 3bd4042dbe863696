// Arbitrary bytes as the RTF of the text edit dialog's control. The styled
// text read from them must be well formed (every ESC followed by a style word
// that names a position), and writing it and reading it back must give it
// again, save the final line feed that reading drops.
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "documents/RtfParser.h"
#include "documents/StyledText.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArrayView rtf(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    RtfParser parser;
    const QString styled = parser.Parse(rtf);

    for (qsizetype i = 0; i < styled.size(); ++i) {
        const char16_t unit = styled[i].unicode();
        if (unit == 0)
            std::abort();
        if (unit != Style::Esc)
            continue;
        if (++i >= styled.size())
            std::abort();
        const char16_t style = styled[i].unicode();
        if (style > 15 || (style & 3) == 0)
            std::abort();
    }

    const QString again = parser.Parse(RtfParser::ToRtf(styled));
    if (again != styled && !(styled.endsWith(u'\n') && again == styled.chopped(1)))
        std::abort();
    return 0;
}
