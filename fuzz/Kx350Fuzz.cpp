// Decodes an arbitrary Kx350 memory image.

#include "fuzz/TranslatorFuzzTarget.h"
#include "instruments/Kx350Translator.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    Kx350Translator t;
    return FuzzDecodeData(t, data, size);
}
