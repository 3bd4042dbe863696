// Decodes an arbitrary Kx340 memory image.

#include "fuzz/TranslatorFuzzTarget.h"
#include "instruments/Kx340Translator.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    Kx340Translator t(size % 2 ? 1 : 0);
    return FuzzDecodeData(t, data, size);
}
